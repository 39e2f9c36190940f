#include "app/main_wnd.h"

#include <cairo.h>

#include <cstdio>
#include <cstdlib>
#include <new>
#include <string>
#include <string_view>

#include "app/app_globals.h"
#include "app/device_bar/device_option_ui.h"
#include "app/device_bar/register_device_bar_controls.h"
#include "app/dpi_change.h"
#include "app/skin_change.h"
#include "app/skin_frame.h"
#include "app/tray_menu_anchor.h"
#include "device/quendal_usb_device.h"
#include "hid/device_scan_thread.h"
#include "os/debug_output.h"
#include "os/power_events.h"
#include "toolkit/control_ui.h"
#include "toolkit/controls/menu_wnd.h"
#include "toolkit/resource_manager.h"
#include "ui/controls/audio_record_ui.h"
#include "ui/controls/circle_progress_ui.h"
#include "ui/controls/device_key_button_ui.h"
#include "ui/controls/hand_img_button_ui.h"
#include "ui/controls/hand_img_select_button_ui.h"
#include "ui/controls/redio_macro_button_ui.h"
#include "ui/controls/select_panel_ui.h"

namespace app {

namespace {

constexpr int kAcceptedDpis[] = {48, 72, 96, 120, 144, 168, 192};

// The picture of the window and tray icon, in the skin folder.
constexpr const char* kIconFile = "common/icon.png";

// The icon as straight ARGB pixels; empty when the picture cannot be read.
os::TrayIcon::Image LoadIconImage(const std::string& path) {
    os::TrayIcon::Image image;
    cairo_surface_t* s = cairo_image_surface_create_from_png(path.c_str());
    if (cairo_surface_status(s) == CAIRO_STATUS_SUCCESS &&
        cairo_image_surface_get_format(s) == CAIRO_FORMAT_ARGB32) {
        cairo_surface_flush(s);
        image.width = cairo_image_surface_get_width(s);
        image.height = cairo_image_surface_get_height(s);
        const int stride = cairo_image_surface_get_stride(s);
        const unsigned char* data = cairo_image_surface_get_data(s);
        image.argb.reserve(static_cast<size_t>(image.width) * image.height);
        for (int y = 0; y < image.height; ++y) {
            const auto* row = reinterpret_cast<const uint32_t*>(data + y * stride);
            for (int x = 0; x < image.width; ++x) {
                // Cairo keeps premultiplied pixels; the tray wants straight ones.
                const uint32_t p = row[x];
                const uint32_t a = p >> 24;
                if (a == 0 || a == 255) {
                    image.argb.push_back(p);
                    continue;
                }
                auto un = [a](uint32_t c) { return (c * 255 + a / 2) / a; };
                image.argb.push_back((a << 24) | (un((p >> 16) & 0xFF) << 16) |
                                     (un((p >> 8) & 0xFF) << 8) | un(p & 0xFF));
            }
        }
    } else {
        os::DebugOutput("MainWnd: no icon picture " + path + "\n");
    }
    cairo_surface_destroy(s);
    return image;
}

template <class Control>
toolkit::CControlUI* New() {
    return new (std::nothrow) Control;
}

// The program's own controls by skin class name.
constexpr struct {
    std::string_view name;
    toolkit::CControlUI* (*create)();
} kCustomControls[] = {
    {"CircleProgress", New<ui::CCircleProgressUI>},
    {"SelectPanel", New<ui::CSelectPanelUI>},
    {"DeviceKeyButton", New<ui::CDeviceKeyButtonUI>},
    {"HandImgButton", New<ui::CHandImgButtonUI>},
    {"AudioRecord", New<ui::CAudioRecordUI>},
    {"HandImgSelectButton", New<ui::CHandImgSelectButtonUI>},
    {"RedioMacroButton", New<ui::CRedioMacroButtonUI>},
};

toolkit::CControlUI* CreateCustomControl(const std::string& className) {
    for (const auto& c : kCustomControls)
        if (toolkit::EqualsNoCase(className, c.name)) return c.create();
    return nullptr;
}

}  // namespace

CMainWnd::CMainWnd(os::SessionBus& bus)
    : bus_(bus),
      language_(settings_, DefaultDataFolder() + LanguageSettings::kConfigName),
      slots_(std::make_shared<hid::InterfaceSlotList>()) {}

CMainWnd::~CMainWnd() {
    toolkit::CSkinChangedObserver::GetInstance().RemoveReceiver(this);
    if (GetHWND() != 0) DestroyWindow();
    toolkit::CResourceManager::GetInstance().SetTextQueryInterface(nullptr);
}

int CMainWnd::AcceptedDpi(int dpi) {
    for (int accepted : kAcceptedDpis)
        if (dpi == accepted) return dpi;
    os::DebugOutput("MAIN_WND DPI SET ERROR");
    return 96;
}

int CMainWnd::LayoutDpi(int screenWidth, int screenHeight) {
    if (const char* forced = std::getenv("BRASVIK_DPI"); forced != nullptr && *forced != '\0')
        return std::atoi(forced);
    return screenWidth > 1500 && screenHeight > 960 ? 144 : 96;
}

toolkit::HWND CMainWnd::trayMenu() const {
    return trayMenu_ != 0 && toolkit::CWindowWnd::FromHandle(trayMenu_) != nullptr ? trayMenu_ : 0;
}

void CMainWnd::InitWindow() {
    os::DebugOutput("InitWindow");
    auto& resources = toolkit::CResourceManager::GetInstance();
    resources.SetTextQueryInterface(this);
    resources.LoadLanguage("lan_cn.xml");
    toolkit::CSkinChangedObserver::GetInstance().AddReceiver(this);

    closeBtn_ = m_pm.FindControl("closebtn");
    maxBtn_ = m_pm.FindControl("maxbtn");
    restoreBtn_ = m_pm.FindControl("restorebtn");
    minBtn_ = m_pm.FindControl("minbtn");
    skinBtn_ = m_pm.FindControl("skinbtn");
    gameModeBtn_ = m_pm.FindControl("gamemodebtn");
    cloudBtn_ = m_pm.FindControl("cloudbtn");
    smartEyesBtn_ = m_pm.FindControl("smarteyesbtn");
    setBtn_ = m_pm.FindControl("setbtn");
    setBtn1_ = m_pm.FindControl("setbtn1");

    // The scan thread and the other programs reach the window by this handle.
    Globals().mainWindow = GetHWND();
    bus_.PublishWindow(GetHWND(), GetWindowClassName(), kAppTitle);
    published_ = true;
    CreateTrayIcon();
}

toolkit::CControlUI* CMainWnd::CreateControl(const std::string& className) {
    // FIXME: the panels and their subtrees join the factory with the dispatch tables.
    if (toolkit::CControlUI* c = CreateCustomControl(className)) return c;
    if (toolkit::CControlUI* c = CreateDeviceModel(className)) return c;
    return CreateDeviceBarControl(className);
}

void CMainWnd::CreateTrayIcon() {
    os::MessageLoop* loop = os::MessageLoop::Current();
    if (loop == nullptr) return;
    const toolkit::HWND hwnd = GetHWND();
    // The clicks become the tray message, so that they queue behind what the window does.
    auto click = [this, hwnd](uint32_t mouseMessage) {
        return [this, hwnd, mouseMessage](int x, int y) {
            trayCursor_ = toolkit::UiPoint{x, y};
            os::PostMessage(hwnd, UWM_TRAY_ICON_MSG, kTrayIconId, mouseMessage);
        };
    };
    const os::TrayIcon::Image icon =
        LoadIconImage(toolkit::CPaintManagerUI::GetResourcePath() + kIconFile);
    if (GetBackend() != nullptr && !icon.argb.empty())
        GetBackend()->SetIcon(icon.argb.data(), icon.width, icon.height);
    if (!tray_.Create(*loop, "brasvik-m402", kAppTitle, "M402", icon, click(os::WM_LBUTTONUP),
                      click(os::WM_RBUTTONUP))) {
        os::DebugOutput("MainWnd: no tray icon (no session bus)\n");
    }
}

void CMainWnd::Notify(toolkit::TNotifyUI& msg) {
    if (msg.sType != "timer") {
        os::DebugOutput(msg.sType + " " + (msg.pSender ? msg.pSender->GetName() : std::string()) +
                        "\n");
    }
    if (msg.sType == toolkit::DUI_MSGTYPE_WINDOWINIT) {
        OnWindowInit();
    } else if (msg.sType == toolkit::DUI_MSGTYPE_WINDOWSIZE) {
        if (msg.pSender != nullptr && toolkit::EqualsNoCase(msg.pSender->GetName(), "root") &&
            displayChanged_) {
            displayChanged_ = false;
            ApplyDpiLayout();
        }
    } else if (RouteDeviceBarNotify(msg)) {
    } else if (msg.sType == "click") {
        OnClick(msg);
    }
    WindowImplBase::Notify(msg);
}

void CMainWnd::OnWindowInit() {
    if (initialised_) return;
    // The privilege isolation filter of the original platform has no counterpart: messages
    // from other programs arrive over the session bus, which checks their names.
    bus_.Broadcast(Globals().UWM_LIGHT_CONTROL_ANNOUNCE_MSG, 1, 1);
    language_.EnsureKey();
    language_.ApplyLanguage(language_.StoredIndex(), m_pm);
    slots_->BuildFromCatalogue();
    deviceBar_ = std::make_unique<DeviceBar>(DeviceBarHost{
        .pm = &m_pm,
        .builder = this,
        .window = GetHWND(),
        .slots = slots_,
        .showAndRaise = [this] { ShowAndRaise(); },
        .closeChildWindows = [this] { CloseChildWindows(); },
    });
    deviceBar_->BuildPages();
    const toolkit::UiRect screen = GetBackend() ? GetBackend()->GetScreenRect() : toolkit::UiRect{};
    Globals().screenWidth = screen.GetWidth();
    Globals().screenHeight = screen.GetHeight();
    // Hidden until the scan thread has looked at every interface once (it posts the title
    // message then).
    ShowWindow(false);
    UserDataFolder();
    workers_.CreateSlots(GetHWND());
    const uint32_t titleMessage = Globals().UWM_TITLE_MSG;
    workers_.Start(kDeviceScanSlot, [slots = slots_, titleMessage](auto ctx) {
        hid::DeviceScanThread(std::move(ctx), slots, titleMessage);
    });
    workers_.Start(kLightingSyncSlot,
                   [bar = deviceBar_.get()](auto ctx) { bar->LightingSyncThread(*ctx); });
    // FIXME: "AudioFile.json" comes with the music lighting.
    SetTimer(kDpiLayoutTimer, 100);
    initialised_ = true;
}

void CMainWnd::OnClick(toolkit::TNotifyUI& msg) {
    toolkit::CControlUI* sender = msg.pSender;
    if (sender == nullptr) return;
    const std::string& name = sender->GetName();
    using toolkit::EqualsNoCase;
    if (EqualsNoCase(name, "closebtn")) {
        HideToTray();
    } else if (EqualsNoCase(name, "minbtn")) {
        SendMessage(os::WM_SYSCOMMAND, toolkit::SC_MINIMIZE, 0);
    } else if (EqualsNoCase(name, "maxbtn")) {
        SendMessage(os::WM_SYSCOMMAND, toolkit::SC_MAXIMIZE, 0);
    } else if (EqualsNoCase(name, "restorebtn")) {
        SendMessage(os::WM_SYSCOMMAND, toolkit::SC_RESTORE, 0);
    } else if (EqualsNoCase(name, "skinbtn")) {
        CSkinFrame::Toggle(GetHWND(), sender);
    } else if (EqualsNoCase(name, "nodevice_ok_btn")) {
        ShowWindow(false);
        if (deviceBar_) deviceBar_->SetWindowShown(false);
    }
}

bool CMainWnd::Receive(toolkit::SkinChangedParam param) {
    return ApplySkinChange(m_pm, param);
}

toolkit::LRESULT CMainWnd::OnDestroy(uint32_t, toolkit::WPARAM, toolkit::LPARAM, bool& handled) {
    tray_.Remove();
    os::PostQuitMessage(0);
    handled = false;
    return 0;
}

toolkit::LRESULT CMainWnd::HandleCustomMessage(uint32_t msg, toolkit::WPARAM wParam,
                                               toolkit::LPARAM lParam, bool& handled) {
    handled = false;
    const AppGlobals& g = Globals();
    if (msg == g.UWM_TITLE_MSG && msg != 0) {
        OnTitleMessage(wParam, lParam);
        return 0;
    }
    if (RouteDeviceBarMessage(msg, wParam, lParam)) {
        handled = true;
        return 0;
    }
    switch (msg) {
        case os::WM_DESTROY:
            StopWorkers();
            handled = true;
            return 0;
        case 1224:
            os::DebugOutput("界面 DPI 1发生变化");
            return 0;
        case os::WM_TIMER:
            if (wParam == kDpiLayoutTimer || wParam == kTrayMenuTimer) {
                OnTimer(wParam);
                handled = true;
            }
            return 0;
        case os::WM_DISPLAYCHANGE:
            OnDisplayChange();
            return 0;
        case os::WM_DPICHANGED:
            ApplyDpiChange(*this, wParam, lParam);
            dpi_ = m_pm.GetDPI();
            return 0;
        case UWM_TRAY_ICON_MSG:
            OnTrayIcon(lParam);
            return 0;
        case UWM_APPLY_LANGUAGE_MSG:
            // FIXME: the device pages rebuild their key assignment texts once they exist.
            language_.ApplyLanguage(static_cast<int>(wParam), m_pm);
            return 0;
        case toolkit::WM_MENUCLICK:
            OnMenuCommand(wParam);
            handled = true;
            return 0;
        default:
            return 0;
    }
}

bool CMainWnd::RouteDeviceBarNotify(toolkit::TNotifyUI& msg) {
    if (!deviceBar_ || msg.pSender == nullptr) return false;
    const std::string& name = msg.pSender->GetName();
    using toolkit::EqualsNoCase;
    if (msg.sType == toolkit::DUI_MSGTYPE_SELECTCHANGED) {
        if (EqualsNoCase(name, "device_select"))
            deviceBar_->OnDeviceSelectChanged(msg);
        else if (EqualsNoCase(name, "synchro_device_select"))
            deviceBar_->OnSynchroSelectChanged(msg);
        else
            return false;
        return true;
    }
    if (msg.sType != "click") return false;
    if (EqualsNoCase(name, "device_select_prev"))
        deviceBar_->SelectPrevious();
    else if (EqualsNoCase(name, "device_select_next"))
        deviceBar_->SelectNext();
    else if (EqualsNoCase(name, "deng_same_mode"))
        deviceBar_->SynchroniseLighting();
    else
        return false;
    return true;
}

bool CMainWnd::RouteDeviceBarMessage(uint32_t msg, toolkit::WPARAM wParam, toolkit::LPARAM lParam) {
    if (msg == os::WM_POWERBROADCAST) {
        OnPowerBroadcast(wParam);
        return false;  // the toolkit's own handling goes on
    }
    if (!deviceBar_) return false;
    const bool deviceMessage = msg == hid::WM_DEVICE_ARRIVAL || msg == hid::WM_DEVICE_REMOVAL ||
                               msg == kItemShowMessage ||
                               (msg == os::WM_TIMER && wParam == kReceiverPollTimer);
    if (!deviceMessage) return false;
    // While the system sleeps these wait: the reconcile on resume catches up with the slots.
    if (asleep_) return true;
    if (msg == hid::WM_DEVICE_ARRIVAL)
        deviceBar_->OnDeviceArrival(static_cast<int>(wParam));
    else if (msg == hid::WM_DEVICE_REMOVAL)
        deviceBar_->OnDeviceRemoval(static_cast<int>(wParam));
    else if (msg == kItemShowMessage)
        deviceBar_->OnItemShowMessage(static_cast<int>(wParam), lParam != 0);
    else
        deviceBar_->OnReceiverPollTimer();
    return true;
}

void CMainWnd::OnPowerBroadcast(toolkit::WPARAM event) {
    if (event == os::PBT_APMSUSPEND) {
        asleep_ = true;
        Globals().systemAwake = 0;
        // The devices let go of the lighting while the system sleeps.
        if (deviceBar_)
            deviceBar_->ForEachPadMouseKeyboard(
                [](device::CQuendalUSBDevice& d) { d.SetLightingSwitch(0); });
    } else if (event == os::PBT_APMRESUMEAUTOMATIC) {
        Globals().systemAwake = 1;
        const bool wasAsleep = asleep_;
        asleep_ = false;
        if (deviceBar_) {
            deviceBar_->SetLightingControl(deviceBar_->lightingControl());
            if (wasAsleep) deviceBar_->OnResume();
        }
    }
}

void CMainWnd::OnTimer(uintptr_t id) {
    KillTimer(id);
    if (id == kDpiLayoutTimer) {
        ApplyDpiLayout();
        m_pm.Invalidate();
        GreetAudioCompanion();
    } else if (id == kTrayMenuTimer) {
        OpenTrayMenu();
    }
}

void CMainWnd::OnTitleMessage(toolkit::WPARAM wParam, toolkit::LPARAM lParam) {
    char text[96];
    std::snprintf(text, sizeof text, "软件标示 %d，%xd%xd",
                  static_cast<int>(Globals().UWM_TITLE_MSG), static_cast<unsigned>(wParam),
                  static_cast<unsigned>(lParam));
    os::DebugOutput(text);
    ++wakeCount_;
    ShowAndRaise();
}

void CMainWnd::OnDisplayChange() {
    os::DebugOutput("显示器分辨率发生变化");
    displayChanged_ = true;
    ApplyDpiLayout();
}

void CMainWnd::OnTrayIcon(toolkit::LPARAM mouseMessage) {
    if (mouseMessage == os::WM_LBUTTONUP) {
        UpdateNoDeviceLink();
        const bool wasShown = IsShown();
        CloseChildWindows();
        if (wasShown) {
            ShowWindow(false);
            if (deviceBar_) deviceBar_->SetWindowShown(false);
        } else {
            ApplyDpiLayout();
            ShowWindow(true);
            SendMessage(os::WM_SYSCOMMAND, toolkit::SC_RESTORE, 0);
            m_pm.Invalidate();
            if (deviceBar_) deviceBar_->SetWindowShown(true);
            m_pm.NeedUpdate();
        }
    } else if (mouseMessage == os::WM_RBUTTONUP) {
        SetTimer(kTrayMenuTimer, 10);
    }
}

void CMainWnd::OpenTrayMenu() {
    if (toolkit::HWND open = trayMenu()) os::SendMessage(open, os::WM_CLOSE, 0, 0);
    trayMenu_ = 0;
    // The desktop's panel is not known to the program, so the menu opens at the cursor.
    const TrayMenuAnchor anchor = ComputeTrayMenuAnchor(trayCursor_, std::nullopt);
    toolkit::CMenuWnd* menu = toolkit::CMenuWnd::CreateMenu(nullptr, "menu.xml", anchor.point,
                                                            &m_pm, nullptr, anchor.alignment);
    if (menu != nullptr) trayMenu_ = menu->GetHWND();
}

void CMainWnd::OnMenuCommand(toolkit::WPARAM wParam) {
    std::unique_ptr<toolkit::MenuCmd> cmd = toolkit::MenuCmd::Take(wParam);
    if (!cmd) return;
    if (toolkit::EqualsNoCase(cmd->szName, "exit")) {
        CloseChildWindows();
        Close(0);
    }
    // FIXME: "about_menu" and "setwnd_menu" open the about and settings windows, other names go
    // to the macro editor's context menu; those windows come with their own issues.
}

void CMainWnd::UpdateNoDeviceLink() {
    const int visibleItems = deviceBar_ ? deviceBar_->VisibleItemCount() : 0;
    if (toolkit::CControlUI* notice = m_pm.FindControl("No_device_Link"))
        notice->SetVisible(visibleItems == 0);
}

void CMainWnd::ShowAndRaise() {
    UpdateNoDeviceLink();
    if (deviceBar_) deviceBar_->SetWindowShown(true);
    ShowWindow(true);
    SendMessage(os::WM_SYSCOMMAND, toolkit::SC_RESTORE, 0);
    // Bringing the window to the front is the display backend's part of showing it.
}

void CMainWnd::HideToTray() {
    CloseChildWindows();
    ShowWindow(false);
    if (deviceBar_) deviceBar_->SetWindowShown(false);
}

void CMainWnd::CloseChildWindows() {
    for (toolkit::HWND& child : childWindows_) {
        if (child != 0 && os::IsTarget(child)) os::SendMessage(child, os::WM_CLOSE, 0, 0);
        child = 0;
    }
    if (CSkinFrame* frame = CSkinFrame::Current()) frame->Close(0);
}

void CMainWnd::ApplyDpiLayout() {
    if (GetBackend() == nullptr) return;
    const toolkit::UiRect screen = GetBackend()->GetScreenRect();
    const int dpi = AcceptedDpi(LayoutDpi(screen.GetWidth(), screen.GetHeight()));
    const bool wasShown = IsShown();
    toolkit::CPaintManagerUI::SetAllDPI(96);
    ResizeClient(kLayoutWidth, kLayoutHeight);
    // The toolkit scales the window with the DPI.
    toolkit::CPaintManagerUI::SetAllDPI(dpi);
    dpi_ = dpi;
    CenterWindow();
    ShowWindow(wasShown);
}

os::SessionBus::RemoteWindow CMainWnd::FindAudioCompanion() {
    const std::string title = kAppTitle;
    return bus_.FindWindow(title + "AudioRecord", title + "AUDIORECORD");
}

void CMainWnd::GreetAudioCompanion() {
    const os::SessionBus::RemoteWindow companion = FindAudioCompanion();
    if (!companion) return;
    const uint32_t msg = Globals().UWM_AUDIO_COMPANION_MSG;
    bus_.SendRegistered(companion, msg, 0, static_cast<os::LPARAM>(GetHWND()), 1500);
    bus_.SendRegistered(companion, msg, 3, 0, 1500);
    bus_.SendRegistered(companion, msg, 1, 0, 1500);
}

void CMainWnd::TellAudioCompanionWeEnd() {
    const os::SessionBus::RemoteWindow companion = FindAudioCompanion();
    if (!companion) return;
    const uint32_t msg = Globals().UWM_AUDIO_COMPANION_MSG;
    for (os::WPARAM w : {2, 4, 5}) bus_.SendRegistered(companion, msg, w, 0, 1500);
}

void CMainWnd::StopWorkers() {
    if (stopped_) return;
    stopped_ = true;
    os::DebugOutput("退出测试");
    ShowWindow(false);
    toolkit::CSkinChangedObserver::GetInstance().RemoveReceiver(this);
    workers_.StopAll();
    TellAudioCompanionWeEnd();
    if (published_) {
        bus_.UnpublishWindow(GetHWND());
        published_ = false;
    }
    if (Globals().mainWindow == GetHWND()) Globals().mainWindow = 0;
    os::PostQuitMessage(0);
}

}  // namespace app

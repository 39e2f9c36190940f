#include "app/main_wnd.h"

#include <cairo.h>

#include <unistd.h>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/app_globals.h"
#include "app/companions/ruvuduvo_report.h"
#include "app/device_bar/register_device_bar_controls.h"
#include "app/dispatch/control_factory.h"
#include "app/dpi_change.h"
#include "app/msg_wnd.h"
#include "app/skin_change.h"
#include "app/skin_frame.h"
#include "app/system_settings.h"
#include "app/tray_menu_anchor.h"
#include "device/quendal_usb_device.h"
#include "device/register_device_classes.h"
#include "hid/device_scan_thread.h"
#include "net/about_wnd.h"
#include "net/firmware_update.h"
#include "net/set_wnd.h"
#include "net/update_table.h"
#include "os/debug_output.h"
#include "os/folders.h"
#include "os/platform.h"
#include "toolkit/control_ui.h"
#include "toolkit/controls/menu_wnd.h"
#include "toolkit/resource_manager.h"
#include "ui/controls/register_custom_controls.h"

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

}  // namespace

CMainWnd::CMainWnd(os::SessionBus& bus)
    : bus_(bus),
      language_(settings_, DefaultDataFolder() + LanguageSettings::kConfigName),
      slots_(std::make_shared<hid::InterfaceSlotList>()) {
    // The settings window and the about box run modally over the window and are closed by
    // CloseChildWindows through their own Current(); the openers return once they have closed.
    openers_.openSettings = [this](os::HWND owner, bool centred) -> os::HWND {
        std::vector<net::UpdateRow> table = net::DefaultUpdateTable();
        net::RefreshVersions(table, ConnectedVersions());
        net::OpenSettingsWindow(owner, centred, language_.current(), table);
        return 0;
    };
    openers_.openAbout = [this](os::HWND owner) -> os::HWND {
        std::vector<net::UpdateRow> table = net::DefaultUpdateTable();
        net::RefreshVersions(table, ConnectedVersions());
        net::OpenAbout(owner, table);
        return 0;
    };
}

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
    } else {
        router_.Notify(msg);
    }
    // The picture-wall remove and edit clicks skip the toolkit's own handling.
    if (msg.sType == "click_wpremove" || msg.sType == "click_wpedit") return;
    WindowImplBase::Notify(msg);
}

toolkit::CControlUI* CMainWnd::CreateControl(const std::string& className) {
    // The classes the skins name are registered once, whoever builds the window.
    static const bool registered = [] {
        ui::RegisterCustomControls();
        device::RegisterDeviceClasses();
        RegisterDeviceBarControls();
        return true;
    }();
    (void)registered;
    return dispatch::CreateSkinControl(className, this, &m_pm);
}

void CMainWnd::OnWindowInit() {
    if (initialised_) return;
    // The privilege isolation filter of the original platform has no counterpart: messages
    // from other programs arrive over the session bus, which checks their names.
    bus_.Broadcast(Globals().UWM_LIGHT_CONTROL_ANNOUNCE_MSG, 1, 1);
    language_.EnsureKey();
    language_.ApplyLanguage(language_.StoredIndex(), m_pm);
    slots_->BuildFromCatalogue();
    if (deviceBar() == nullptr) {
        ownBar_ = std::make_unique<DeviceBar>(DeviceBarHost{
            .pm = &m_pm,
            .builder = this,
            .window = GetHWND(),
            .slots = slots_,
            .showAndRaise = [this] { ShowAndRaise(); },
            .closeChildWindows = [this] { CloseChildWindows(); },
        });
        ownBar_->SetLightingControl(lightControl_.flag() != 0);
        router_.SetDeviceBar(ownBar_.get());
    }
    if (IDeviceBarTarget* bar = deviceBar()) bar->BuildPages();
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
    if (ownBar_) {
        workers_.Start(kLightingSyncSlot,
                       [bar = ownBar_.get()](auto ctx) { bar->LightingSyncThread(*ctx); });
    }
    // FIXME: "AudioFile.json" comes with the music lighting.
    SetTimer(kDpiLayoutTimer, 100);
    initialised_ = true;
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
    // Once the shutdown has begun its stop still answers the scan thread's sends so that the
    // thread can end; a device that arrives or leaves then is no longer attached or detached.
    if (stopped_ && (msg == hid::WM_DEVICE_ARRIVAL || msg == hid::WM_DEVICE_REMOVAL)) {
        handled = true;
        return 0;
    }
    router_.Message(msg, wParam, lParam, Globals().systemAwake.load() != 0, handled);
    return 0;
}

// ---- Notifications ----

void CMainWnd::OnRootResized() {
    if (!displayChanged_) return;
    displayChanged_ = false;
    ApplyDpiLayout();
}

void CMainWnd::CloseToTray() {
    CloseChildWindows();
    // The desktop's keyboard is never left captured behind a hidden window.
    hook_.Uninstall();
    // Without a notification area the tray icon that brings the window back is not there: the
    // window is minimised instead, until a desktop panel shows the icon.
    if (!tray_.Registered()) {
        os::DebugOutput("closebtn: no notification area, minimised instead of hidden\n");
        SendMessage(os::WM_SYSCOMMAND, toolkit::SC_MINIMIZE, 0);
        return;
    }
    ShowWindow(false);
    MarkDevicesShown(false);
}

void CMainWnd::SysCommand(uint32_t command) {
    SendMessage(os::WM_SYSCOMMAND, command, 0);
}

void CMainWnd::OpenSkinWindow(toolkit::CControlUI* button) {
    CSkinFrame::Toggle(GetHWND(), button);
}

void CMainWnd::OpenSettingsWindow(bool centred) {
    if (openers_.openSettings == nullptr) {
        os::DebugOutput("settings window: not available in this build\n");
        return;
    }
    childWindows_[kSettingsWindow] = openers_.openSettings(GetHWND(), centred);
}

void CMainWnd::OpenAboutWindow() {
    if (openers_.openAbout == nullptr) {
        os::DebugOutput("about window: not available in this build\n");
        return;
    }
    childWindows_[kAboutWindow] = openers_.openAbout(GetHWND());
}

void CMainWnd::HideWindow() {
    ShowWindow(false);
    MarkDevicesShown(false);
}

void CMainWnd::ToggleLightControl() {
    lightControl_.Toggle(bus_);
    ShowLightControl();
    PassLightControl();
}

void CMainWnd::ShowLightControl() {
    if (toolkit::CControlUI* label = m_pm.FindControl(LightControl::kLabelName))
        label->SetText(lightControl_.Label());
}

void CMainWnd::OpenSystemSettings(int which) {
    if (which != 0 && which != 1) return;
    if (!app::OpenSystemSettings(which))
        Ask("", "message_text_no_system_settings", CMsgWnd::kConfirmOnly);
}

void CMainWnd::ResetSelectedToDefaults() {
    if (Ask("", "message_text_22", CMsgWnd::kConfirmCancel) != 1) return;
    IDeviceBarTarget* bar = deviceBar();
    device::CQuendalUSBDevice* device = bar ? bar->SelectedDevice() : nullptr;
    if (device == nullptr) {
        os::DebugOutput("default_btn: no selected device\n");
        return;
    }
    device->ReloadProfile();
    device->WriteModelKeyAssignments(0);
    device->WriteDeviceSettings(0, 0, 1, Globals().screenWidth, Globals().screenHeight);
}

void CMainWnd::StartWindowTimer(uintptr_t id, int periodMs) {
    SetTimer(id, periodMs);
}

void CMainWnd::SetControlText(const std::string& name, const std::string& text) {
    if (toolkit::CControlUI* control = m_pm.FindControl(name)) control->SetText(text);
}

void CMainWnd::SetInputHook(bool on) {
    if (inputHook_ == nullptr) {
        hook_.OnCaptureSwitch(on ? 1 : 0, GetHWND());
        return;
    }
    if (on)
        inputHook_->Install(GetHWND());
    else
        inputHook_->Remove();
}

int CMainWnd::Ask(const std::string& titleId, const std::string& textId, int buttons) {
    const std::string title =
        titleId.empty() ? std::string() : toolkit::CResourceManager::GetInstance().GetText(titleId);
    return ShowMessage(GetHWND(), title.empty() ? titleId : title, textId, dpi_, true, buttons);
}

// ---- Messages ----

void CMainWnd::PassWindowState() {
    if (IDeviceBarTarget* bar = deviceBar()) {
        const bool hover = hover_;
        bar->ForEachPadMouseKeyboard(
            [hover](device::CQuendalUSBDevice& device) { device.SetWindowActive(hover); });
    }
}

void CMainWnd::PassLightControl() {
    // Pages built later take the flag from the device bar.
    if (ownBar_) ownBar_->SetLightingControl(lightControl_.flag() != 0);
    LightControl::PassToDevices(deviceBar(), lightControl_.flag());
}

void CMainWnd::MarkDevicesShown(bool shown) {
    // The device bar also stops redrawing its pages while the window is hidden.
    if (ownBar_) ownBar_->SetWindowShown(shown);
    if (IDeviceBarTarget* bar = deviceBar()) {
        bar->ForEachPadMouseKeyboard([shown](device::CQuendalUSBDevice& device) {
            const int kind = device.GetDeviceKind();
            if (kind != 3) device.SetWindowShown(shown);
        });
    }
}

void CMainWnd::OnActivate(toolkit::WPARAM state) {
    active_ = hover_ = state != 0;
    PassWindowState();
}

void CMainWnd::OnMouseLeave() {
    os::DebugOutput("鼠标移出");
    if (active_) return;
    hover_ = false;
    PassWindowState();
}

void CMainWnd::OnMouseHover() {
    os::DebugOutput("鼠标移入");
    if (active_) return;
    hover_ = true;
    PassWindowState();
}

void CMainWnd::OnMouseWheel() {
    if (setBtn1_ != nullptr) setBtn1_->SetFocus();
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

void CMainWnd::ForwardToSettings(uint32_t msg, toolkit::WPARAM wParam, toolkit::LPARAM lParam) {
    toolkit::HWND settings = childWindows_[kSettingsWindow];
    // The settings window runs modally inside its opener, so its handle is known only to it.
    if (settings == 0 && net::CSetWnd::Current() != nullptr)
        settings = net::CSetWnd::Current()->GetHWND();
    if (settings == 0 || !os::IsTarget(settings)) return;
    os::PostMessage(settings, msg, wParam, lParam);
}

void CMainWnd::OnLightControlMessage(toolkit::WPARAM wParam, toolkit::LPARAM lParam) {
    if (!lightControl_.OnMessage(wParam, lParam)) return;
    ShowLightControl();
    PassLightControl();
}

void CMainWnd::ReportToRuvuDuvo() {
    app::ReportToRuvuDuvo(bus_, GetHWND(), ReportedDevices());
}

void CMainWnd::OnDestroyMessage() {
    StopWorkers();
}

void CMainWnd::OnSuspend() {
    Globals().systemAwake = 0;
    // The devices give the lighting back while the system sleeps.
    LightControl::PassToDevices(deviceBar(), 0);
}

void CMainWnd::OnResume() {
    Globals().systemAwake = 1;
    PassLightControl();
    if (IDeviceBarTarget* bar = deviceBar()) bar->OnResume();
}

void CMainWnd::OnCopyData(toolkit::WPARAM, toolkit::LPARAM lParam) {
    const auto* record = reinterpret_cast<const os::COPYDATASTRUCT*>(lParam);
    if (record == nullptr || record->cbData == 0 || record->lpData == nullptr) return;
    IDeviceBarTarget* bar = deviceBar();
    if (record->dwData == kAudioFrameRecord) {
        const std::optional<AudioBlock> block = audioFrames_.Feed(record->lpData, record->cbData);
        if (block && bar != nullptr) {
            bar->ForEachDevice([&block](device::CQuendalUSBDevice& device) {
                const int kind = device.GetDeviceKind();
                if (kind == 1 || kind == 9)
                    device.FeedAudioLevels(block->data(), static_cast<int>(block->size()));
            });
        }
    } else if (record->dwData == kAudioBandRecord) {
        CopyAudioBands(audioBands_, record->lpData, record->cbData);
        if (bar == nullptr) return;
        bar->ForEachDevice([this](device::CQuendalUSBDevice& device) {
            const int kind = device.GetDeviceKind();
            if (kind == 1 || kind == 9)
                device.FeedAudioBands(audioBands_.data(), static_cast<int>(audioBands_.size()));
        });
    }
}

void CMainWnd::OnDisplayChange() {
    os::DebugOutput("显示器分辨率发生变化");
    displayChanged_ = true;
    ApplyDpiLayout();
}

void CMainWnd::OnDpiChanged(toolkit::WPARAM wParam, toolkit::LPARAM lParam) {
    ApplyDpiChange(*this, wParam, lParam);
    dpi_ = m_pm.GetDPI();
}

void CMainWnd::OnTrayIcon(toolkit::LPARAM mouseMessage) {
    if (mouseMessage == os::WM_LBUTTONUP) {
        UpdateNoDeviceLink();
        const bool wasShown = IsShown();
        CloseChildWindows();
        if (wasShown) {
            ShowWindow(false);
            MarkDevicesShown(false);
        } else {
            ApplyDpiLayout();
            ShowWindow(true);
            SendMessage(os::WM_SYSCOMMAND, toolkit::SC_RESTORE, 0);
            m_pm.Invalidate();
            MarkDevicesShown(true);
            m_pm.NeedUpdate();
        }
    } else if (mouseMessage == os::WM_RBUTTONUP) {
        SetTimer(kTrayMenuTimer, 10);
    }
}

void CMainWnd::OnMenuCommand(toolkit::WPARAM wParam) {
    std::unique_ptr<toolkit::MenuCmd> cmd = toolkit::MenuCmd::Take(wParam);
    if (!cmd) return;
    if (toolkit::EqualsNoCase(cmd->szName, "exit")) {
        CloseChildWindows();
        Close(0);
    } else if (toolkit::EqualsNoCase(cmd->szName, "about_menu")) {
        OpenAboutWindow();
    } else if (toolkit::EqualsNoCase(cmd->szName, "setwnd_menu")) {
        OpenSettingsWindow(true);
    } else {
        IDeviceBarTarget* bar = deviceBar();
        device::CQuendalUSBDevice* device = bar ? bar->SelectedDevice() : nullptr;
        device::IMacroPanelView* macro = device ? device->MacroPanel() : nullptr;
        if (macro == nullptr || !macro->OnMenuCommand(cmd->szName))
            os::DebugOutput("menu " + cmd->szName + ": no macro editor, dropped\n");
    }
}

void CMainWnd::ShowSettingProgress() {
    if (toolkit::CControlUI* progress = m_pm.FindControl("setting_progress"))
        progress->SetVisible(true);
}

void CMainWnd::ApplyLanguage(int index) {
    language_.ApplyLanguage(index, m_pm);
    net::NotifyLanguageChanged();
    if (IDeviceBarTarget* bar = deviceBar()) {
        bar->ForEachPadMouseKeyboard([](device::CQuendalUSBDevice& device) {
            const int kind = device.GetDeviceKind();
            if (kind == 1 || kind == 9 || kind == 2 || kind == 6) device.RelabelKeys();
        });
    }
}

void CMainWnd::ClearSettingsBadge() {
    if (setBtn_ != nullptr) setBtn_->SetForeImage("");
}

std::string CMainWnd::UpdaterPath() {
    return net::UpdaterPath();
}

void CMainWnd::OnFirmwareVersion(int productId, int version) {
    char text[64];
    std::snprintf(text, sizeof text, "firmware %04x: version %d\n", productId, version);
    os::DebugOutput(text);
    net::FirmwareOfferHooks hooks;
    hooks.ask = [this](const std::string& title, const std::string& textId) {
        return Ask(title, textId, CMsgWnd::kConfirmCancel);
    };
    hooks.endProgram = [this](int) {
        // Refusing the update ends the program, through the usual shutdown.
        os::DebugOutput("firmware update refused: the program ends\n");
        CloseChildWindows();
        Close(0);
    };
    if (net::OfferFirmwareUpdate(static_cast<os::WPARAM>(productId),
                                 static_cast<os::LPARAM>(version),
                                 hooks) == net::FirmwareOffer::kStartFailed)
        Ask("UpdateTiShi", "message_text_updater_missing", CMsgWnd::kConfirmOnly);
}

std::vector<net::ConnectedVersion> CMainWnd::ConnectedVersions() const {
    std::vector<net::ConnectedVersion> versions;
    if (IDeviceBarTarget* bar = deviceBar()) {
        bar->ForEachDevice([&versions](device::CQuendalUSBDevice& device) {
            device::DeviceChannel& channel = device.commandChannel();
            if (!channel.IsOpen()) return;
            const bool viaReceiver = channel.mode() == device::DeviceChannel::kReceiver;
            hid::HidDevice& handle =
                viaReceiver ? channel.receiverHandle() : channel.directHandle();
            versions.push_back({.productId = device.GetCatalogueRow().productId,
                                .viaReceiver = viaReceiver,
                                .versionNumber = handle.VersionNumber()});
        });
    }
    return versions;
}

// ---- Timers ----

bool CMainWnd::OnTimer(uintptr_t id) {
    bool known = false;
    for (const dispatch::TimerRow& row : dispatch::TimerTable()) known = known || row.id == id;
    if (!known) return false;
    KillTimer(id);
    router_.Timer(id);
    return true;
}

void CMainWnd::OnDpiLayoutTimer() {
    ApplyDpiLayout();
    m_pm.Invalidate();
    GreetAudioCompanion(bus_, GetHWND());
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

// ---- Show, hide, layout ----

void CMainWnd::UpdateNoDeviceLink() {
    IDeviceBarTarget* bar = deviceBar();
    const int visibleItems = bar ? bar->VisibleItemCount() : 0;
    if (toolkit::CControlUI* notice = m_pm.FindControl("No_device_Link"))
        notice->SetVisible(visibleItems == 0);
}

void CMainWnd::ShowAndRaise() {
    UpdateNoDeviceLink();
    MarkDevicesShown(true);
    ShowWindow(true);
    SendMessage(os::WM_SYSCOMMAND, toolkit::SC_RESTORE, 0);
    // Bringing the window to the front is the display backend's part of showing it.
}

void CMainWnd::CloseChildWindows() {
    for (toolkit::HWND& child : childWindows_) {
        if (child != 0 && os::IsTarget(child)) os::SendMessage(child, os::WM_CLOSE, 0, 0);
        child = 0;
    }
    if (net::CSetWnd* settings = net::CSetWnd::Current()) settings->Close(0);
    if (net::CAboutWnd* about = net::CAboutWnd::Current()) about->Close(0);
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

void CMainWnd::StopWorkers() {
    if (stopped_) return;
    stopped_ = true;
    os::DebugOutput("退出测试");
    hook_.Uninstall();
    ShowWindow(false);
    toolkit::CSkinChangedObserver::GetInstance().RemoveReceiver(this);
    workers_.StopAll();
    TellAudioCompanionWeEnd(bus_);
    if (published_) {
        bus_.UnpublishWindow(GetHWND());
        published_ = false;
    }
    if (Globals().mainWindow == GetHWND()) Globals().mainWindow = 0;
    os::PostQuitMessage(0);
}

}  // namespace app

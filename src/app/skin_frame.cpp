#include "app/skin_frame.h"

#include "app/app_globals.h"
#include "app/file_dialog.h"
#include "app/ini_file.h"
#include "os/debug_output.h"
#include "toolkit/control_ui.h"
#include "toolkit/controls/tab_layout_ui.h"
#include "toolkit/skin_changed_observer.h"

namespace app {

namespace {

constexpr const char* kSection = "SKINIMAGE";
constexpr int kPicturePage = 0;
constexpr int kColorPage = 1;

CSkinFrame* g_frame = nullptr;

// The image string for a picture file of the user's: a bare path unless the path itself would
// read as image attributes.
std::string ImageStringForFile(const std::string& path) {
    if (path.find('=') == std::string::npos) return path;
    if (path.find('\'') == std::string::npos) return "file='" + path + "'";
    if (path.find('"') == std::string::npos) return "file=\"" + path + "\"";
    return "";
}

}  // namespace

toolkit::UiRect CSkinFrame::Placement(const toolkit::UiRect& buttonOnScreen,
                                      toolkit::UiSize frame) {
    return toolkit::UiRect{buttonOnScreen.right - frame.cx, buttonOnScreen.bottom,
                           buttonOnScreen.right, buttonOnScreen.bottom + frame.cy};
}

CSkinFrame* CSkinFrame::Current() {
    return g_frame;
}

CSkinFrame* CSkinFrame::Toggle(toolkit::HWND owner, toolkit::CControlUI* skinButton) {
    if (g_frame != nullptr) {
        g_frame->Close(0);
        return nullptr;
    }
    auto* ownerWnd = dynamic_cast<toolkit::WindowImplBase*>(toolkit::CWindowWnd::FromHandle(owner));
    auto* frame = new CSkinFrame;
    if (frame->Create(owner, "skin", toolkit::WS_POPUP | toolkit::WS_CLIPCHILDREN,
                      toolkit::WS_EX_TOOLWINDOW) == 0) {
        os::DebugOutput("skin window not created: " + frame->GetBuildError() + "\n");
        delete frame;
        return nullptr;
    }
    if (ownerWnd != nullptr) {
        frame->GetPaintManager().SetDPI(ownerWnd->GetPaintManager().GetDPI());
        frame->m_ownerFilter =
            std::make_unique<toolkit::CPopupOwnerFilter>(&ownerWnd->GetPaintManager(), [frame] {
                if (!frame->m_bChoosing) frame->Close(0);
            });
    }
    toolkit::UiRect button = skinButton != nullptr ? skinButton->GetPos() : toolkit::UiRect{};
    if (ownerWnd != nullptr) {
        toolkit::UiRect ownerRect = ownerWnd->GetWindowRect();
        button.Offset(ownerRect.left, ownerRect.top);
    }
    toolkit::UiRect rc = frame->GetWindowRect();
    frame->MoveWindow(Placement(button, {rc.GetWidth(), rc.GetHeight()}));
    frame->ShowWindow(true);
    return frame;
}

bool CSkinFrame::RecordSkinImage(const std::string& flags, const std::string& image) {
    IniFile ini(UserDataFolder() + kIniName);
    // An unreadable file is replaced rather than left with a stale choice.
    ini.Load();
    ini.Set(kSection, "FLAGS", flags);
    ini.Set(kSection, "IMAGE", image);
    return ini.Save();
}

CSkinFrame::~CSkinFrame() = default;

void CSkinFrame::InitWindow() {
    g_frame = this;
}

void CSkinFrame::OnFinalMessage(toolkit::HWND) {
    if (g_frame == this) g_frame = nullptr;
    delete this;
}

void CSkinFrame::SelectPage(int page) {
    if (auto* tab = dynamic_cast<toolkit::CTabLayoutUI*>(m_pm.FindControl("skin_tab")))
        tab->SelectItem(page);
}

void CSkinFrame::OnImageButton(toolkit::CControlUI* button) {
    toolkit::SkinChangedParam param;
    param.bColor = false;
    param.bgimage = button->GetBkImage();
    toolkit::CSkinChangedObserver::GetInstance().Broadcast(param);
    RecordSkinImage("1", param.bgimage);
}

void CSkinFrame::OnColorButton(toolkit::CControlUI* button) {
    toolkit::SkinChangedParam param;
    param.bColor = true;
    param.bkcolor = button->GetBkColor();
    toolkit::CSkinChangedObserver::GetInstance().Broadcast(param);
}

void CSkinFrame::OnReset() {
    toolkit::SkinChangedParam param;
    param.bColor = false;
    param.bkcolor = 0;
    param.bgimage = kResetImage;
    toolkit::CSkinChangedObserver::GetInstance().Broadcast(param);
    RecordSkinImage("0", param.bgimage);
}

void CSkinFrame::OnCustom() {
    FileDialogRequest request;
    request.save = false;
    request.filters = ParseFilterString(kSkinPictureFilter);
    request.defaultExt = "png";
    m_bChoosing = true;
    const std::string path = RunFileDialog(m_hWnd, request);
    m_bChoosing = false;
    if (m_bCloseLater) {
        m_bCloseLater = false;
        Close(0);
    }
    if (path.empty()) return;
    // A file that is no picture would leave the main window without any background.
    const std::string image = ImageStringForFile(path);
    if (image.empty() || m_pm.GetImage(image) == nullptr) {
        os::DebugOutput("skin: " + path + " is no picture the skin can show\n");
        return;
    }
    toolkit::SkinChangedParam param;
    param.bColor = false;
    param.bgimage = image;
    toolkit::CSkinChangedObserver::GetInstance().Broadcast(param);
}

void CSkinFrame::Notify(toolkit::TNotifyUI& msg) {
    if (msg.sType == toolkit::DUI_MSGTYPE_CLICK && msg.pSender != nullptr) {
        const std::string& name = msg.pSender->GetName();
        if (toolkit::EqualsNoCase(name, "skin_image_btn")) {
            OnImageButton(msg.pSender);
        } else if (toolkit::EqualsNoCase(name, "skin_color_btn")) {
            OnColorButton(msg.pSender);
        } else if (toolkit::EqualsNoCase(name, "skin_image")) {
            SelectPage(kPicturePage);
        } else if (toolkit::EqualsNoCase(name, "skin_color")) {
            SelectPage(kColorPage);
        } else if (toolkit::EqualsNoCase(name, "skin_reset")) {
            OnReset();
        } else if (toolkit::EqualsNoCase(name, "skin_Custom")) {
            OnCustom();
        } else if (toolkit::EqualsNoCase(name, "closebtn")) {
            Close(0);
        }
        return;
    }
    WindowImplBase::Notify(msg);
}

toolkit::LRESULT CSkinFrame::HandleCustomMessage(uint32_t msg, toolkit::WPARAM wParam,
                                                 toolkit::LPARAM, bool& handled) {
    handled = false;
    if (msg == os::WM_ACTIVATE && wParam == 0 && !m_bChoosing) {
        Close(0);
    } else if (msg == os::WM_KEYDOWN && wParam == toolkit::VK_ESCAPE) {
        Close(0);
        handled = true;
    }
    return 0;
}

toolkit::LRESULT CSkinFrame::OnClose(uint32_t, toolkit::WPARAM, toolkit::LPARAM, bool& handled) {
    // The file dialog of "skin_Custom" runs inside a click handler of this window: the window
    // must outlive it, so a close meanwhile waits until the dialog has ended.
    handled = m_bChoosing;
    if (m_bChoosing) m_bCloseLater = true;
    return 0;
}

}  // namespace app

#pragma once

#include <string>

#include "toolkit/window_impl_base.h"

namespace app {

// The program's message box: a title, a text and one or two buttons, run modally over its owner.
// Skin "XML_MSG" with "MessageTitle", "MessageText", "confirm_btn", "cancel_btn" and "closebtn".
// The window owns itself: it is created with new and deletes itself once destroyed.
class CMsgWnd : public toolkit::WindowImplBase {
  public:
    // Button sets.
    static constexpr int kConfirmOnly = 0;
    static constexpr int kConfirmCancel = 1;

    CMsgWnd() = default;

    std::string GetSkinFile() override { return "XML_MSG"; }
    std::string GetWindowClassName() const override { return "MsgWnd"; }
    void Notify(toolkit::TNotifyUI& msg) override;
    toolkit::LRESULT HandleCustomMessage(uint32_t msg, toolkit::WPARAM wParam,
                                         toolkit::LPARAM lParam, bool& handled) override;

    // An empty title or text leaves the skin's own. With textIsResource the text is a language
    // text id ("message_text_33").
    void SetContent(const std::string& title, const std::string& text, bool textIsResource);
    // Sets every window's DPI to dpi when it is one of the accepted values, else to 96.
    void ApplyDpi(int dpi);
    void SetButtons(int buttons);

    // The DPI the message box uses for a requested one: the accepted values stand, anything else
    // gives 96 (and "MSG_WND DPI SET ERROR" in the debug output).
    static int AcceptedDpi(int dpi);

    // The innermost message box that is open (for tests and scripted runs), or nullptr.
    static CMsgWnd* Current();

  protected:
    void InitWindow() override;
    void OnFinalMessage(toolkit::HWND hwnd) override;
};

// Shows a message box owned by owner and waits for the answer: 1 for "confirm_btn", 0 for
// "cancel_btn", "closebtn" or the window being closed otherwise. buttons: 0 only the confirm
// button, 1 confirm and cancel.
int ShowMessage(toolkit::HWND owner, const std::string& title, const std::string& text, int dpi,
                bool textIsResource, int buttons);

}  // namespace app

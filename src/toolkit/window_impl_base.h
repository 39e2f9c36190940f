#pragma once

#include <string>

#include "toolkit/notify_pump.h"
#include "toolkit/paint_manager_ui.h"
#include "toolkit/window_wnd.h"

namespace toolkit {

// The usual window: built from a skin file when created, its paint manager handling the
// controls, notifications arriving at Notify and through the message map.
//
//   class CMyWnd : public WindowImplBase {
//       std::string GetSkinFile() override { return "XML_MAIN"; }
//       std::string GetWindowClassName() const override { return "MyWnd"; }
//       void InitWindow() override { ... }                // creation hook: the tree exists
//       void Notify(TNotifyUI& msg) override { ...; WindowImplBase::Notify(msg); }
//   };
//   wnd->Create(0, "Title", UI_WNDSTYLE_DIALOG | WS_VISIBLE, 0);
//
// Message order: the window's own handlers (create, close, destroy, size), then
// HandleCustomMessage, then the paint manager (paint, input, control timers), then the default.
class WindowImplBase : public CWindowWnd,
                       public CNotifyPump,
                       public INotifyUI,
                       public IMessageFilterUI,
                       public IDialogBuilderCallback,
                       public IQueryControlText {
  public:
    WindowImplBase() = default;
    ~WindowImplBase() override = default;

    CPaintManagerUI& GetPaintManager() { return m_pm; }

    // The skin: a resource name, a file under the resource folder, or XML text.
    virtual std::string GetSkinFile() = 0;
    virtual std::string GetSkinFolder() { return ""; }
    virtual std::string GetSkinType() { return ""; }
    // The creation hook, once the skin is built and attached.
    virtual void InitWindow() {}
    void Notify(TNotifyUI& msg) override;
    CControlUI* CreateControl(const std::string& className) override;
    std::string QueryControlText(const std::string& id, const std::string& type) override;
    LRESULT MessageHandler(uint32_t msg, WPARAM wParam, LPARAM lParam, bool& handled) override;
    virtual LRESULT HandleCustomMessage(uint32_t msg, WPARAM wParam, LPARAM lParam, bool& handled);

    LRESULT HandleMessage(uint32_t msg, WPARAM wParam, LPARAM lParam) override;

    // Why the skin could not be built, when Create failed for that reason.
    const std::string& GetBuildError() const { return m_buildError; }

  protected:
    virtual LRESULT OnCreate(uint32_t msg, WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT OnClose(uint32_t msg, WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT OnDestroy(uint32_t msg, WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT OnSize(uint32_t msg, WPARAM wParam, LPARAM lParam, bool& handled);

    CPaintManagerUI m_pm;
    std::string m_buildError;
};

}  // namespace toolkit

#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "toolkit/ui_types.h"

namespace toolkit {

// Routes notifications by the sender's virtual window: a notification from a control tagged
// with virtualwnd="mainpage" goes to the pump registered under "mainpage", every other one to
// this pump's own message map.
//
// The message map: handlers by notification type, optionally limited to one control name
// (compared without regard to case). Control handlers run before type handlers; the first that
// returns true ends the dispatch.
class CNotifyPump {
  public:
    using Handler = std::function<bool(TNotifyUI&)>;

    virtual ~CNotifyPump() = default;

    bool AddVirtualWnd(const std::string& name, CNotifyPump* pump);
    bool RemoveVirtualWnd(const std::string& name);
    void NotifyPump(TNotifyUI& msg);

    void AddNotifyHandler(const std::string& type, Handler handler);
    void AddNotifyHandler(const std::string& type, const std::string& controlName, Handler handler);

  protected:
    // Runs this pump's message map; true when a handler took the notification.
    virtual bool LoopDispatch(TNotifyUI& msg);

  private:
    struct Entry {
        std::string type;
        std::string control;  // empty: any control
        Handler handler;
    };
    std::map<std::string, CNotifyPump*> m_virtualWnds;  // lower-case names
    std::vector<Entry> m_handlers;
};

}  // namespace toolkit

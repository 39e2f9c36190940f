#include "toolkit/notify_pump.h"

#include "toolkit/control_ui.h"

namespace toolkit {

bool CNotifyPump::AddVirtualWnd(const std::string& name, CNotifyPump* pump) {
    if (pump == nullptr || name.empty()) return false;
    return m_virtualWnds.emplace(ToLowerAscii(name), pump).second;
}

bool CNotifyPump::RemoveVirtualWnd(const std::string& name) {
    return m_virtualWnds.erase(ToLowerAscii(name)) > 0;
}

void CNotifyPump::NotifyPump(TNotifyUI& msg) {
    if (!msg.sVirtualWnd.empty()) {
        auto it = m_virtualWnds.find(ToLowerAscii(msg.sVirtualWnd));
        if (it != m_virtualWnds.end()) {
            it->second->LoopDispatch(msg);
            return;
        }
    }
    LoopDispatch(msg);
}

void CNotifyPump::AddNotifyHandler(const std::string& type, Handler handler) {
    m_handlers.push_back({type, "", std::move(handler)});
}

void CNotifyPump::AddNotifyHandler(const std::string& type, const std::string& controlName,
                                   Handler handler) {
    m_handlers.push_back({type, controlName, std::move(handler)});
}

bool CNotifyPump::LoopDispatch(TNotifyUI& msg) {
    const std::string& sender = msg.pSender != nullptr ? msg.pSender->GetName() : std::string();
    for (int pass = 0; pass < 2; ++pass) {
        // By index and by copy: a handler may add handlers.
        for (size_t i = 0; i < m_handlers.size(); ++i) {
            Entry e = m_handlers[i];
            bool byControl = !e.control.empty();
            if (byControl != (pass == 0)) continue;
            if (e.type != msg.sType) continue;
            if (byControl && !EqualsNoCase(e.control, sender)) continue;
            if (e.handler(msg)) return true;
        }
    }
    return false;
}

}  // namespace toolkit

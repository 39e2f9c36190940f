#include "toolkit/driver_window.h"

#include "toolkit/control_ui.h"

namespace toolkit {

DriverWindow::DriverWindow(std::string skin, std::string className)
    : m_skin(std::move(skin)), m_className(std::move(className)) {}

void DriverWindow::Notify(TNotifyUI& msg) {
    m_records.push_back(
        {msg.sType, msg.pSender != nullptr ? msg.pSender->GetName() : "", msg.wParam, msg.lParam});
    if (m_hook) m_hook(msg);
    WindowImplBase::Notify(msg);
}

CControlUI* DriverWindow::CreateControl(const std::string& className) {
    return m_creator ? m_creator(className) : nullptr;
}

std::vector<std::string> DriverWindow::Sequence() const {
    std::vector<std::string> out;
    for (const Record& r : m_records) {
        if (r.type != DUI_MSGTYPE_TIMER) out.push_back(r.type + ":" + r.sender);
    }
    return out;
}

}  // namespace toolkit

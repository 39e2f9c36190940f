#pragma once

#include <functional>
#include <string>
#include <vector>

#include "toolkit/window_impl_base.h"

namespace toolkit {

// A plain window around any skin, for tests and scripted runs: it records every notification
// it receives and creates unknown classes through an optional function.
class DriverWindow : public WindowImplBase {
  public:
    struct Record {
        std::string type;
        std::string sender;
        WPARAM wParam;
        LPARAM lParam;
    };

    explicit DriverWindow(std::string skin, std::string className = "DriverWnd");

    std::string GetSkinFile() override { return m_skin; }
    std::string GetWindowClassName() const override { return m_className; }
    void Notify(TNotifyUI& msg) override;
    CControlUI* CreateControl(const std::string& className) override;

    void SetControlCreator(std::function<CControlUI*(const std::string&)> creator) {
        m_creator = std::move(creator);
    }
    void SetNotifyHook(std::function<void(TNotifyUI&)> hook) { m_hook = std::move(hook); }

    const std::vector<Record>& Notifications() const { return m_records; }
    void ClearNotifications() { m_records.clear(); }
    // "type:sender" of every notification since the last clear, except timers.
    std::vector<std::string> Sequence() const;

  private:
    std::string m_skin;
    std::string m_className;
    std::function<CControlUI*(const std::string&)> m_creator;
    std::function<void(TNotifyUI&)> m_hook;
    std::vector<Record> m_records;
};

}  // namespace toolkit

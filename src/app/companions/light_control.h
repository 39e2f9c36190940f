#pragma once

#include <optional>

#include "os/messages.h"
#include "os/session_bus.h"

namespace app {

class IDeviceBarTarget;

// The lighting-control flag: 1 while this program drives the device lighting. Other programs are
// told through the announce message; they take or give back control with the control message.
class LightControl {
  public:
    static constexpr const char* kLabelName = "control_light_status";
    static constexpr const char* kControllingText = "控制灯光";
    static constexpr const char* kNotControllingText = "不控制灯光";

    int flag() const { return flag_; }
    // The label's text for the flag.
    const char* Label() const { return flag_ ? kControllingText : kNotControllingText; }

    // The user's click: flips the flag and broadcasts the announce (wParam 1, lParam the new
    // flag) to every program.
    void Toggle(os::SessionBus& bus);
    // The control message: wParam 1, lParam 0 or 1. False (nothing changed) for anything else.
    bool OnMessage(os::WPARAM wParam, os::LPARAM lParam);

    // Passes value to every mouse pad, mouse and keyboard (their lighting switch).
    static void PassToDevices(IDeviceBarTarget* bar, int value);

  private:
    int flag_ = 1;
};

}  // namespace app

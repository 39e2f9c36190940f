#pragma once

#include <functional>
#include <vector>

namespace device {
class CQuendalUSBDevice;
}

namespace app {

// The device models of the device bar by kind. The pages are controls: the page tab layout owns
// and destroys them; the set only lists them, in the order they were built.
class DeviceSet {
  public:
    using Device = device::CQuendalUSBDevice;
    using Fn = std::function<void(Device&)>;

    // Lists a device under its kind (1 keyboard, 2 mouse, 3 pad, 7 headset); false for others.
    bool Add(Device* device);
    // The list of a kind; the receiver-side kinds count as their devices (9 keyboard, 6 mouse).
    const std::vector<Device*>& ListFor(int kind) const;
    Device* FirstOf(int kind) const;

    // The one loop over the mouse pads, mice and keyboards, in that order (headsets apart).
    void ForEachPadMouseKeyboard(const Fn& fn) const;
    // Every device: pads, mice, keyboards, headsets.
    void ForEachDevice(const Fn& fn) const;
    void Clear();

  private:
    std::vector<Device*> pads_;
    std::vector<Device*> mice_;
    std::vector<Device*> keyboards_;
    std::vector<Device*> headsets_;
    std::vector<Device*> none_;
};

}  // namespace app

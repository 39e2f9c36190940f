#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "os/hid/virtual_bus.h"
#include "sim/firmware.h"

namespace sim {

// A device's cable: puts its firmware on the virtual HID bus as the interfaces the real device
// has (see factory_tables.h), answers the command frames written to its command collection and
// sends the firmware's events as input reports of its consumer collection.
//
// Answers go to every open handle of the command collection, as the device's input reports do.
// The headset also takes its 17-byte colour output reports (report id 0xFF) on its one
// collection; that collection's output reports are 64 bytes long, so the host sends the 17
// bytes at the start of a 64-byte buffer.
class SimulatedDevice {
  public:
    explicit SimulatedDevice(std::shared_ptr<Firmware> firmware,
                             os::hid::VirtualBus& bus = os::hid::VirtualBus::Instance());
    ~SimulatedDevice();  // unplugs
    SimulatedDevice(const SimulatedDevice&) = delete;
    SimulatedDevice& operator=(const SimulatedDevice&) = delete;

    // Plugs the interfaces in (with the firmware's HID version number). True when plugged,
    // also when it already was.
    bool Plug(std::string* error = nullptr);
    void Unplug();
    bool plugged() const;

    Firmware& firmware() const { return *firmware_; }
    const std::shared_ptr<Firmware>& firmwarePtr() const { return firmware_; }
    // The virtual bus ids of the plugged interfaces (empty when unplugged).
    std::vector<uint32_t> interfaceIds() const;

    struct Port;

  private:
    std::shared_ptr<Firmware> firmware_;
    std::shared_ptr<Port> port_;
};

}  // namespace sim

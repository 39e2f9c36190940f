#pragma once

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "os/hid/virtual_bus.h"
#include "sim/demo_store.h"
#include "sim/firmware.h"
#include "sim/receiver_firmware.h"
#include "sim/simulated_device.h"

namespace os {
class SessionBus;
}

namespace sim {

// Demo mode: one simulated device of every kind, whose memory persists in a folder, plugged on
// the virtual HID bus as asked, and driven by brasvik-sim through the session bus. The receiver
// is paired with the demo keyboard and mouse (the same firmware as on their cables), both
// linked until unlinked.
class Demo {
  public:
    // The session-bus command that brasvik-sim calls; its arguments are brasvik-sim's.
    static constexpr const char* kCommandName = "sim";

    // dataFolder: where the memory files live (empty: nothing persists).
    explicit Demo(const std::string& dataFolder,
                  os::hid::VirtualBus& bus = os::hid::VirtualBus::Instance());
    ~Demo();  // unplugs every device, saves pending memory, leaves the session bus
    Demo(const Demo&) = delete;
    Demo& operator=(const Demo&) = delete;

    // "$XDG_DATA_HOME/Brasvik M402/Demo".
    static std::string DefaultDataFolder();

    // Plugs the kinds of a --demo list ("kb,ms,pad,hs,rx" or the long names; empty: keyboard,
    // mouse, mouse pad and headset). False with *error naming what it did not know; the known
    // kinds are plugged all the same.
    bool PlugKinds(const std::string& kinds, std::string* error);

    // Serves kCommandName on the bus until the demo ends.
    void AttachTo(os::SessionBus& bus);

    // The commands RunCommand knows, one per line.
    static const char* Usage();

    // One brasvik-sim command: 0 on success, else non-zero with the reason in output.
    int RunCommand(const std::vector<std::string>& args, std::string& output);

    Firmware& firmware(Kind kind) const { return devices_[Index(kind)]->firmware(); }
    SimulatedDevice& device(Kind kind) const { return *devices_[Index(kind)]; }
    ReceiverFirmware& receiver() const { return *receiver_; }
    void Flush() {
        if (store_) store_->Flush();
    }

  private:
    static size_t Index(Kind kind) { return static_cast<size_t>(kind); }

    std::shared_ptr<ReceiverFirmware> receiver_;
    std::array<std::unique_ptr<SimulatedDevice>, kKindCount> devices_;
    std::unique_ptr<DemoStore> store_;
    os::SessionBus* bus_ = nullptr;
};

// Kinds by the names brasvik-sim and --demo use: keyboard/kb, mouse/ms, pad/mousepad,
// headset/hs, receiver/rx/dongle (any case).
bool KindFromName(std::string name, Kind* kind);

// The program's demo mode: lets the HID layer see the virtual bus beside the real devices,
// plugs the kinds asked for (an unknown name is reported on standard error) and serves
// brasvik-sim on the bus. Keep the result for as long as the demo should run.
std::unique_ptr<Demo> StartDemo(const std::string& kinds, os::SessionBus& bus);

}  // namespace sim

#pragma once

#include <condition_variable>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <thread>
#include <vector>

#include "os/hid/device_handle.h"

namespace os::hid {

// What a virtual interface is: the identity and the report descriptor a real one would have.
struct VirtualInterfaceConfig {
    uint16_t vendorId = 0;
    uint16_t productId = 0;
    uint16_t versionNumber = 0;
    uint8_t interfaceNumber = 0;  // becomes "&mi_XX" in the paths
    std::vector<uint8_t> reportDescriptor;
};

// The device side of a virtual interface: the firmware. Calls come on the thread of the host
// operation that caused them (a Write, SetOutputReport, SetFeature or GetFeature on some
// handle), never with a bus lock held, so a handler may push input reports from inside them.
// Calls for one interface can come from several host threads at once; a handler that keeps
// state guards it. A call may still be running when Unplug returns; the handler object stays
// alive as long as the bus or a running call holds it.
//
// Byte contract: every report starts with its report id byte (0 when the descriptor numbers no
// reports) and has exactly the byte length the descriptor gives its collection for that type.
class VirtualDeviceHandler {
  public:
    virtual ~VirtualDeviceHandler() = default;
    // An output report from the host.
    virtual void OnOutputReport(uint32_t interfaceId, std::span<const uint8_t> report) = 0;
    // A feature report from the host; false fails the host's call (kErrorGenFailure).
    virtual bool OnSetFeature(uint32_t interfaceId, std::span<const uint8_t> report);
    // The host asks for the feature report report[0]; fill the rest. False fails the call.
    virtual bool OnGetFeature(uint32_t interfaceId, std::span<uint8_t> report);
};

// In-process HID interfaces that tests and the simulated devices plug in and out at run time.
// The host side sees them through the same enumeration and open calls as hidraw devices (see
// hid_platform.h), with the node "virtual&XXXX" (the interface id in hex) in their paths.
//
// Input reports pushed by the device go to every open handle of the collection that owns the
// report's id, each handle with its own queue of up to kQueueLength reports (the oldest is
// dropped when a reader falls behind, as the HID class does). Safe from any thread.
class VirtualBus {
  public:
    static constexpr size_t kQueueLength = 32;

    struct InterfaceInfo {
        uint32_t id = 0;
        uint16_t vendorId = 0;
        uint16_t productId = 0;
        uint16_t versionNumber = 0;
        uint8_t interfaceNumber = 0;
        std::vector<std::string> paths;  // one per top-level collection, descriptor order
    };

    static VirtualBus& Instance();
    VirtualBus();
    ~VirtualBus();
    VirtualBus(const VirtualBus&) = delete;
    VirtualBus& operator=(const VirtualBus&) = delete;

    // Plugs an interface in. Returns its id (never 0, never reused), or 0 when the descriptor is
    // invalid or the handler is missing (*error says why).
    uint32_t Plug(const VirtualInterfaceConfig& config,
                  std::shared_ptr<VirtualDeviceHandler> handler, std::string* error = nullptr);
    // Takes an interface out: its open handles fail every transfer with
    // kErrorDeviceNotConnected from now on, its delayed reports are dropped. False for an
    // unknown id.
    bool Unplug(uint32_t interfaceId);
    std::vector<InterfaceInfo> List() const;
    // The paths of one interface's collections, in descriptor order; empty for an unknown id.
    std::vector<std::string> Paths(uint32_t interfaceId) const;

    // Sends an input report to the host, at once or after delayMs. False (and nothing sent)
    // when the interface is not plugged in, or the report's id belongs to no collection of the
    // interface, or the report is longer than its collection's input report length. A shorter
    // report is padded with zeros.
    bool PushInputReport(uint32_t interfaceId, std::span<const uint8_t> report, int delayMs = 0);

    // Host side, for hid_platform: the paths of every collection of every plugged interface,
    // and opening one of them (node "virtual&XXXX" with the collection of the path).
    void EnumeratePaths(std::vector<std::string>* paths) const;
    uint32_t Open(const std::string& node, int collection, const OpenOptions& options,
                  std::shared_ptr<DeviceHandle>* handle);

    // Plug and Unplug set every watch event once the change is visible to EnumeratePaths and
    // Open. A watcher resets its event before it looks at the bus, so a change after that sets
    // it again.
    void AddWatch(std::shared_ptr<Event> event);
    void RemoveWatch(const std::shared_ptr<Event>& event);

    struct Interface;

  private:
    void SetWatches();

    struct Delayed {
        uint32_t interfaceId;
        std::vector<uint8_t> report;
    };
    std::shared_ptr<Interface> Find(uint32_t interfaceId) const;
    void TimerLoop();

    mutable std::mutex mutex_;
    std::map<uint32_t, std::shared_ptr<Interface>> interfaces_;
    uint32_t nextId_ = 1;
    std::vector<std::shared_ptr<Event>> watches_;

    // Delayed reports, by due time on the monotonic clock; equal times keep push order.
    std::mutex timerMutex_;
    std::condition_variable timerWake_;
    std::multimap<int64_t, Delayed> delayed_;
    bool stopping_ = false;
    std::thread timer_;
};

}  // namespace os::hid

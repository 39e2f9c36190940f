#include "sim/simulated_device.h"

#include <algorithm>

#include "os/debug_output.h"

namespace sim {

// What the bus handlers share with the device: which interfaces are plugged. Handlers outlive
// an unplug for as long as a host call is still inside them, so they hold this, not the device.
struct SimulatedDevice::Port {
    explicit Port(os::hid::VirtualBus& b) : bus(b) {}
    os::hid::VirtualBus& bus;
    std::mutex mutex;
    std::vector<uint32_t> ids;
    uint32_t eventId = 0;
    uint8_t eventReportId = 0;

    void UnplugAll() {
        std::vector<uint32_t> taken;
        {
            std::lock_guard lock(mutex);
            taken.swap(ids);
            eventId = 0;
        }
        for (uint32_t id : taken) bus.Unplug(id);
    }

    bool PushEvent(uint16_t code) {
        uint32_t id;
        uint8_t reportId;
        {
            std::lock_guard lock(mutex);
            id = eventId;
            reportId = eventReportId;
        }
        const uint8_t report[3] = {reportId, static_cast<uint8_t>(code & 0xFF),
                                   static_cast<uint8_t>(code >> 8)};
        return id != 0 && bus.PushInputReport(id, report);
    }
};

namespace {

class Handler : public os::hid::VirtualDeviceHandler {
  public:
    Handler(std::shared_ptr<Firmware> firmware, std::shared_ptr<SimulatedDevice::Port> port)
        : firmware_(std::move(firmware)), port_(std::move(port)) {}

    void OnOutputReport(uint32_t interfaceId, std::span<const uint8_t> report) override {
        if (report.empty()) return;
        if (report[0] == kHeadsetColourReportId) {
            firmware_->HandleColourReport(report);
            return;
        }
        if (report[0] != kVendorReportId || report.size() < kFrameSize) {
            os::DebugOutput("simulated device: output report " + std::to_string(report[0]) +
                            " ignored\n");
            return;
        }
        Frame frame;
        std::copy(report.begin(), report.begin() + kFrameSize, frame.begin());
        const Firmware::Outcome out = firmware_->HandleFrame(frame);
        for (const Firmware::Reply& r : out.replies)
            port_->bus.PushInputReport(interfaceId, r.bytes, r.delayMs);
        if (out.disconnect) port_->UnplugAll();
    }

  private:
    std::shared_ptr<Firmware> firmware_;
    std::shared_ptr<SimulatedDevice::Port> port_;
};

}  // namespace

SimulatedDevice::SimulatedDevice(std::shared_ptr<Firmware> firmware, os::hid::VirtualBus& bus)
    : firmware_(std::move(firmware)), port_(std::make_shared<Port>(bus)) {}

SimulatedDevice::~SimulatedDevice() {
    Unplug();
}

bool SimulatedDevice::Plug(std::string* error) {
    if (plugged()) return true;
    const DeviceLayout& layout = LayoutOf(firmware_->kind());
    auto handler = std::make_shared<Handler>(firmware_, port_);
    std::vector<uint32_t> ids;
    uint32_t eventId = 0;
    for (size_t i = 0; i < layout.interfaceCount; ++i) {
        const InterfaceLayout& il = layout.interfaces[i];
        os::hid::VirtualInterfaceConfig config;
        config.vendorId = layout.vendorId;
        config.productId = layout.productId;
        config.versionNumber = firmware_->versionNumber();
        config.interfaceNumber = il.interfaceNumber;
        config.reportDescriptor.assign(il.descriptor.begin(), il.descriptor.end());
        const uint32_t id = port_->bus.Plug(config, handler, error);
        if (id == 0) {
            for (uint32_t done : ids) port_->bus.Unplug(done);
            return false;
        }
        ids.push_back(id);
        if (il.carriesEvents) eventId = id;
    }
    {
        std::lock_guard lock(port_->mutex);
        port_->ids = ids;
        port_->eventId = eventId;
        port_->eventReportId = layout.eventReportId;
    }
    std::weak_ptr<Port> port = port_;
    firmware_->SetEventSink(Firmware::Path::kCable, [port](uint16_t code) {
        auto p = port.lock();
        return p && p->PushEvent(code);
    });
    return true;
}

void SimulatedDevice::Unplug() {
    firmware_->SetEventSink(Firmware::Path::kCable, nullptr);
    port_->UnplugAll();
}

bool SimulatedDevice::plugged() const {
    std::lock_guard lock(port_->mutex);
    return !port_->ids.empty();
}

std::vector<uint32_t> SimulatedDevice::interfaceIds() const {
    std::lock_guard lock(port_->mutex);
    return port_->ids;
}

}  // namespace sim

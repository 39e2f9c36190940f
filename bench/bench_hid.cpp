// The HID layer's costs on the virtual bus: one enumeration pass (the discovery thread makes one
// about every 100 ms; target below 1 ms with 20 interfaces present) and one 64-byte command
// round trip (target below 20 us).
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "hid/hid_device.h"
#include "os/hid/hid_platform.h"
#include "os/hid/sample_descriptors.h"
#include "os/hid/virtual_bus.h"

namespace {

using os::hid::VirtualBus;

class Echo : public os::hid::VirtualDeviceHandler {
  public:
    void OnOutputReport(uint32_t id, std::span<const uint8_t> report) override {
        VirtualBus::Instance().PushInputReport(id, report);
    }
};

uint32_t PlugVendor(uint16_t pid, uint8_t mi, std::span<const uint8_t> descriptor) {
    os::hid::VirtualInterfaceConfig config{
        0x320f, pid, 0x0100, mi, {descriptor.begin(), descriptor.end()}};
    return VirtualBus::Instance().Plug(config, std::make_shared<Echo>());
}

void BM_EnumerateTwentyInterfaces(benchmark::State& state) {
    os::hid::SelectBackends(os::hid::kBackendVirtual);
    std::vector<uint32_t> ids;
    // Five composite interfaces (four collections each) and fifteen single ones: 20 interfaces,
    // 35 paths.
    for (uint8_t i = 0; i < 5; ++i)
        ids.push_back(PlugVendor(0x22ab, i, os::hid::samples::kCompositeKeyboard));
    for (uint8_t i = 0; i < 15; ++i)
        ids.push_back(PlugVendor(0x22a9, i, os::hid::samples::kVendorCommand));
    hid::HidDevice dev;
    size_t paths = 0;
    for (auto _ : state) {
        if (!dev.Enumerate()) state.SkipWithError("enumeration failed");
        paths = 0;
        while (const char* p = dev.NextPath()) {
            benchmark::DoNotOptimize(p);
            ++paths;
        }
        dev.FreePaths();
    }
    state.counters["paths"] = static_cast<double>(paths);
    for (uint32_t id : ids) VirtualBus::Instance().Unplug(id);
}
BENCHMARK(BM_EnumerateTwentyInterfaces)->Unit(benchmark::kMicrosecond);

void BM_CommandRoundTrip64(benchmark::State& state) {
    os::hid::SelectBackends(os::hid::kBackendVirtual);
    const uint32_t id = PlugVendor(0x22ab, 1, os::hid::samples::kVendorCommand);
    hid::HidDevice dev;
    if (!dev.Open(VirtualBus::Instance().Paths(id)[0], true, true, true, false)) {
        state.SkipWithError("open failed");
        return;
    }
    uint8_t out[64] = {0x04, 0x06, 0x38};
    uint8_t in[64];
    uint32_t n = 0;
    for (auto _ : state) {
        if (!dev.Write(out, sizeof out, &n, 1000) || !dev.Read(in, sizeof in, &n, 1000)) {
            state.SkipWithError("transfer failed");
            break;
        }
        benchmark::DoNotOptimize(in);
    }
    dev.Close();
    VirtualBus::Instance().Unplug(id);
}
BENCHMARK(BM_CommandRoundTrip64)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();

// The host's share of a DPI change on the mouse: the stage set from the slider, the 87-byte block
// built and sent to the simulated mouse on the virtual bus until its last frame is answered (on
// the cable: 2 frames; behind the receiver: 4). Target below 1 ms plus the frames' transfer; the
// pure steps alone and the macro image for a full macro list are measured beside it.
#include <benchmark/benchmark.h>

#include <array>
#include <memory>
#include <vector>

#include "device/device_channel.h"
#include "device/memory_image.h"
#include "device/mouse/mouse_settings_block.h"
#include "device/testing/command_path.h"
#include "os/hid/hid_platform.h"
#include "sim/firmware.h"
#include "sim/receiver_firmware.h"
#include "sim/simulated_device.h"

namespace {

using device::mouse::MouseSettings;

constexpr std::array<int, 12> kModeCodes = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};

MouseSettings SevenStages() {
    MouseSettings s;
    s.stages.resize(device::mouse::kDpiStageCount);
    for (auto& st : s.stages) st.enabled = 1;
    return s;
}

void BM_SliderToBlockBytes(benchmark::State& state) {
    MouseSettings s = SevenStages();
    int position = 0;
    for (auto _ : state) {
        device::mouse::SetStageFromSlider(s.stages, 2, position++ & 0x7F);
        benchmark::DoNotOptimize(device::mouse::EncodeSettingsBlock(s, kModeCodes));
    }
}
BENCHMARK(BM_SliderToBlockBytes);

// Argument 0: the mouse on its cable; 1: behind the receiver.
void BM_SliderToLastFrameAnswered(benchmark::State& state) {
    os::hid::SelectBackends(os::hid::kBackendVirtual);
    const bool receiver = state.range(0) != 0;
    auto mouse = std::make_shared<sim::Firmware>(sim::Kind::kMouse);
    std::shared_ptr<sim::Firmware> plugged = mouse;
    if (receiver) {
        auto rx = std::make_shared<sim::ReceiverFirmware>();
        rx->Pair(sim::ReceiverFirmware::Partner::kMouse, mouse);
        rx->SetLinked(sim::ReceiverFirmware::Partner::kMouse, true);
        plugged = rx;
    }
    sim::SimulatedDevice device(plugged);
    device::DeviceChannel ch;
    hid::HidDevice& handle = receiver ? ch.receiverHandle() : ch.directHandle();
    if (!device.Plug() || !handle.Open(device::testing::CommandPath(receiver ? 0x22AA : 0x22A9),
                                       true, true, true, false)) {
        state.SkipWithError("the simulated mouse could not be opened");
        return;
    }
    ch.SetOpen(true);
    ch.SetConnectionType(receiver ? device::DeviceChannel::kConnectionReceiver : 1);
    ch.SetReceiverTarget(2);
    MouseSettings s = SevenStages();
    int position = 0;
    for (auto _ : state) {
        device::mouse::SetStageFromSlider(s.stages, 2, position++ & 0x7F);
        const device::mouse::SettingsBlock b = device::mouse::EncodeSettingsBlock(s, kModeCodes);
        if (ch.WriteSettings(b.data(), b.size(), 0) != device::kResultOk) {
            state.SkipWithError("the write failed");
            break;
        }
    }
}
BENCHMARK(BM_SliderToLastFrameAnswered)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// Fifty macros of sixty events: the most the mouse's macro list and editor produce.
void BM_FullMacroImage(benchmark::State& state) {
    const device::ImageEvent e = *device::EncodeImageEvent(true, 10, 4, 10);
    const std::vector<std::vector<device::ImageEvent>> macros(
        50, std::vector<device::ImageEvent>(60, e));
    for (auto _ : state) {
        benchmark::DoNotOptimize(device::BuildMemoryImage(macros, {.capacity = 255 * 128}));
    }
}
BENCHMARK(BM_FullMacroImage)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();

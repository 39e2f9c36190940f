// The keyboard's preview steps and its live frame: time per step for each mode with a step of
// its own, the frame build, and the allocations they make (none expected).

#include <benchmark/benchmark.h>

#include "counting_allocator.h"
#include "device/keyboard/keyboard_key_maps.h"
#include "device/keyboard/keyboard_light_frames.h"
#include "device/keyboard/keyboard_preview.h"

namespace {

// One tick of the mode in the argument on the keyboard page's 170 LEDs, colourful, with a key
// press every eighth tick so that the reactive modes have work to do.
void BM_KeyboardPreviewStep(benchmark::State& state) {
    const int mode = static_cast<int>(state.range(0));
    device::LightingPreview leds;
    leds.SetLedCount(device::keyboard::kProgramKeyCount);
    device::keyboard::KeyboardPreview preview(leds);
    preview.SetUp(mode);
    preview.SetAudioBarHeight(18);
    device::PreviewParams p;
    p.brightness = 4;
    p.speed = 4;
    p.colourful = 1;
    int64_t now = 0;
    int tick = 0;
    const long before = g_allocations.load();
    for (auto _ : state) {
        if (++tick % 8 == 0)
            preview.PushKeyEvent(
                device::keyboard::kKeyOrder[tick % device::keyboard::kKeyOrder.size()], 1);
        preview.Step(mode, p, 1, now += 8);
        benchmark::DoNotOptimize(leds.Led(0));
    }
    state.counters["allocations_per_step"] =
        benchmark::Counter(static_cast<double>(g_allocations.load() - before) / state.iterations());
}
BENCHMARK(BM_KeyboardPreviewStep)->DenseRange(1, 21)->DenseRange(23, 30)->Arg(33);

// The 342-byte frame streamed every 5 ms in the streamed modes, from the preview's LEDs.
void BM_KeyboardLiveFrame(benchmark::State& state) {
    device::LightingPreview leds;
    leds.SetLedCount(device::keyboard::kProgramKeyCount);
    device::keyboard::KeyboardKeyMaps maps;
    for (int i = 0; i < device::keyboard::kLedCount; ++i)
        maps.keyToLed[i] = static_cast<uint8_t>(i);
    device::keyboard::KeyboardPreview preview(leds);
    device::PreviewParams p;
    p.brightness = 4;
    p.colourful = 1;
    preview.Step(2, p, 0, 0);
    device::keyboard::LiveFrame frame;
    const long before = g_allocations.load();
    for (auto _ : state) {
        device::keyboard::BuildLiveFrame(leds, maps, frame);
        benchmark::DoNotOptimize(frame.data());
    }
    state.counters["allocations_per_frame"] =
        benchmark::Counter(static_cast<double>(g_allocations.load() - before) / state.iterations());
}
BENCHMARK(BM_KeyboardLiveFrame);

}  // namespace

BENCHMARK_MAIN();

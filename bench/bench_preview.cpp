// The lighting preview of one device: the CPU its thread takes while it animates breathing, and
// the cost and allocations of one preview step.

#include <benchmark/benchmark.h>
#include <time.h>

#include "counting_allocator.h"
#include "device/headset/headset_colour_reports.h"
#include "device/mouse_pad/pad_preview.h"
#include "device/quendal_usb_device.h"
#include "os/event.h"

namespace {

// A device whose light mode 0 is breathing, with a mouse's 15 LEDs.
class BreathingDevice : public device::CQuendalUSBDevice {
  public:
    explicit BreathingDevice(int speed = 2) {
        SetDeviceKind(2);
        SetLedCount(15);
        profile::LightingRecord r;
        r[profile::LightingRecord::kBrightness] = 4;
        r[profile::LightingRecord::kSpeed] = static_cast<uint8_t>(speed);
        r[profile::LightingRecord::kColourful] = 1;
        SetLightingRecord(r);
        commandChannel().SetOpen(true);  // the preview only runs for a connected device
    }
    ~BreathingDevice() override { StopThreads(); }

  protected:
    PreviewStep PreviewStepFor(int) const override { return PreviewStep::kBreathing; }
};

double ProcessCpuSeconds() {
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + ts.tv_nsec / 1e9;
}

// The preview thread runs breathing for 10 s at the speed level of the argument while this thread
// sleeps: the process CPU time over the wall time is the thread's share of one core.
void BM_PreviewThreadBreathing(benchmark::State& state) {
    for (auto _ : state) {
        BreathingDevice d(static_cast<int>(state.range(0)));
        const double cpu0 = ProcessCpuSeconds();
        const int64_t t0 = os::MonotonicMs();
        d.StartPreviewThread();
        os::SleepMs(10000);
        d.StopPreviewThread();
        const double wall = (os::MonotonicMs() - t0) / 1000.0;
        const double cpu = ProcessCpuSeconds() - cpu0;
        state.SetIterationTime(wall);
        state.counters["cpu_percent_of_one_core"] = 100.0 * cpu / wall;
    }
}
BENCHMARK(BM_PreviewThreadBreathing)
    ->Arg(0)
    ->Arg(2)
    ->Arg(4)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kSecond);

void BM_PreviewStepBreathing(benchmark::State& state) {
    BreathingDevice d;
    int64_t now = 0;
    const long before = g_allocations.load();
    for (auto _ : state) {
        d.RunPreviewStep(now += 4);
        benchmark::DoNotOptimize(d.GetLedColour(0));
    }
    state.counters["allocations_per_step"] =
        benchmark::Counter(static_cast<double>(g_allocations.load() - before) / state.iterations());
}
BENCHMARK(BM_PreviewStepBreathing);

// The pad's own steps over its 15 LEDs: argument 0 the wave, 1 the narrow ripple, 2 the wide one.
void BM_PadPreviewStep(benchmark::State& state) {
    device::LightingPreview preview;
    preview.SetLedCount(device::kPadLedCount);
    device::PadPreviewState pad;
    const device::PreviewParams p{.brightness = 4, .direction = 0, .colourful = 1};
    const long before = g_allocations.load();
    for (auto _ : state) {
        switch (state.range(0)) {
            case 0:
                device::PadStepA(preview, pad, p);
                break;
            case 1:
                device::PadStepB(preview, pad, p);
                break;
            default:
                device::PadStepC(preview, pad, p);
                break;
        }
        benchmark::DoNotOptimize(preview.Led(0));
    }
    state.counters["allocations_per_step"] =
        benchmark::Counter(static_cast<double>(g_allocations.load() - before) / state.iterations());
}
BENCHMARK(BM_PadPreviewStep)->Arg(0)->Arg(1)->Arg(2);

// The headset's twelve colour reports, built every 5 ms while its page lives.
void BM_HeadsetColourReports(benchmark::State& state) {
    std::array<device::LedColour, device::kHeadsetLedCount> leds{};
    for (int i = 0; i < device::kHeadsetLedCount; ++i)
        leds[i] = {static_cast<uint8_t>(i * 19), 128, 255, 200};
    const long before = g_allocations.load();
    for (auto _ : state) benchmark::DoNotOptimize(device::BuildHeadsetColourReports(leds));
    state.counters["allocations_per_push"] =
        benchmark::Counter(static_cast<double>(g_allocations.load() - before) / state.iterations());
}
BENCHMARK(BM_HeadsetColourReports);

}  // namespace

BENCHMARK_MAIN();

// The discovery thread at rest: four simulated devices (keyboard, mouse, mouse pad, headset) on
// the virtual bus, every slot they can claim claimed, nothing plugged or unplugged. Reports the
// share of one core the process spends (the bench thread only sleeps in its message loop, so
// that is the discovery thread's) and the thread's wake-ups a second (voluntary context
// switches). Target: below 0.05 % of a core and at most one wake-up a second.
#include <sys/resource.h>

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "hid/device_scan_thread.h"
#include "os/event.h"
#include "os/hid/hid_platform.h"
#include "os/message_loop.h"
#include "os/worker_thread.h"
#include "sim/firmware.h"
#include "sim/simulated_device.h"

namespace {

struct Usage {
    double cpuMs;
    long switches;
};

Usage ProcessUsage() {
    rusage u{};
    ::getrusage(RUSAGE_SELF, &u);
    const double cpu = (u.ru_utime.tv_sec + u.ru_stime.tv_sec) * 1e3 +
                       (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e3;
    return {cpu, u.ru_nvcsw + u.ru_nivcsw};
}

void BM_DiscoveryAtRest(benchmark::State& state) {
    os::hid::SelectBackends(os::hid::kBackendVirtual);
    std::vector<std::unique_ptr<sim::SimulatedDevice>> devices;
    for (sim::Kind k :
         {sim::Kind::kKeyboard, sim::Kind::kMouse, sim::Kind::kPad, sim::Kind::kHeadset}) {
        devices.push_back(
            std::make_unique<sim::SimulatedDevice>(std::make_shared<sim::Firmware>(k)));
        devices.back()->Plug();
    }
    constexpr uint32_t kTitle = 0xC123;
    bool shown = false;
    os::MessageLoop loop;
    os::FunctionTarget target([&](uint32_t msg, os::WPARAM, os::LPARAM) -> os::LRESULT {
        if (msg == kTitle) shown = true;
        return 0;
    });
    const os::HWND window = os::CreateTarget(&target);
    auto slots = std::make_shared<hid::InterfaceSlotList>();
    slots->BuildFromCatalogue();
    auto ctx = std::make_shared<os::WorkerContext>();
    ctx->owner = window;
    ctx->stopEvent = std::make_shared<os::Event>(true);
    os::WorkerThread thread;
    thread.Start([ctx, slots] { hid::DeviceScanThread(ctx, slots, kTitle); });
    while (!shown) loop.RunOnce(100);
    // Let the arrivals of the first pass settle.
    for (int64_t until = os::MonotonicMs() + 500; os::MonotonicMs() < until;) loop.RunOnce(50);

    const int seconds = static_cast<int>(state.range(0));
    double cpuMs = 0, wallMs = 0;
    long switches = 0;
    for (auto _ : state) {
        const Usage before = ProcessUsage();
        const int64_t start = os::MonotonicMs();
        // One long wait, so that this thread adds no wake-ups of its own.
        for (int64_t left = seconds * 1000; left > 0;
             left = start + seconds * 1000 - os::MonotonicMs())
            loop.RunOnce(static_cast<int>(left));
        const Usage after = ProcessUsage();
        wallMs += static_cast<double>(os::MonotonicMs() - start);
        cpuMs += after.cpuMs - before.cpuMs;
        switches += after.switches - before.switches;
    }
    state.counters["core_percent"] = 100.0 * cpuMs / wallMs;
    state.counters["wakeups_per_s"] = static_cast<double>(switches) * 1000.0 / wallMs;
    ctx->stopEvent->Set();
    thread.Join(5000);
    os::DestroyTarget(window);
}
BENCHMARK(BM_DiscoveryAtRest)->Arg(30)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
BENCHMARK_MAIN();

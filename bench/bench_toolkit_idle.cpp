// A window on a real X display (Xvfb) with nothing animating must cost no CPU: the UI thread's
// loop sleeps until the display or a due timer wakes it. Each iteration keeps one window open for
// 10 s of idle time and reports the process CPU time it used and the loop's turns.

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <cstdio>

#include "os/event.h"
#include "os/message_loop.h"
#include "os/testing/xvfb_display.h"
#include "toolkit/backend/sdl_backend.h"
#include "toolkit/driver_window.h"

namespace {

using namespace toolkit;

constexpr const char* kSkin = R"(<Window size="800,572" caption="0,0,0,40">
  <VerticalLayout bkcolor="#FF202428">
    <HorizontalLayout height="40"><Label text="Brasvik M402" textcolor="#FFFFFFFF"/>
      <Button name="closebtn" width="40" text="x"/></HorizontalLayout>
    <Edit name="edit" height="30" text="idle"/>
    <Combo name="combo" height="30"><ListLabelElement text="one" height="30"/></Combo>
  </VerticalLayout>
</Window>)";

double CpuSeconds() {
    rusage ru{};
    getrusage(RUSAGE_SELF, &ru);
    return ru.ru_utime.tv_sec + ru.ru_stime.tv_sec +
           (ru.ru_utime.tv_usec + ru.ru_stime.tv_usec) / 1e6;
}

void BM_IdleWindow10s(benchmark::State& state) {
    os::testing::XvfbDisplay xvfb;
    if (!xvfb.ok()) {
        state.SkipWithError(("no X display: " + xvfb.error()).c_str());
        return;
    }
    os::MessageLoop loop;
    if (!InstallSdlBackend(loop)) {
        state.SkipWithError("no SDL display");
        return;
    }
    DriverWindow wnd(kSkin);
    if (wnd.Create(0, "Idle", UI_WNDSTYLE_DIALOG | WS_VISIBLE, 0, 50, 50, 800, 572) == 0) {
        state.SkipWithError("window not created");
        return;
    }
    // Let the window come up and paint before measuring.
    for (int64_t until = os::MonotonicMs() + 1000; os::MonotonicMs() < until;) loop.RunOnce(50);
    double cpu = 0;
    int64_t turns = 0;
    for (auto _ : state) {
        const double before = CpuSeconds();
        for (int64_t until = os::MonotonicMs() + 10000; os::MonotonicMs() < until;) {
            loop.RunOnce(static_cast<int>(until - os::MonotonicMs()));
            ++turns;
        }
        cpu += CpuSeconds() - before;
    }
    state.counters["cpu_ms_per_10s"] = benchmark::Counter(cpu * 1000 / state.iterations());
    state.counters["loop_turns_per_10s"] =
        benchmark::Counter(static_cast<double>(turns) / state.iterations());
    wnd.DestroyWindow();
    UninstallSdlBackend();
}
BENCHMARK(BM_IdleWindow10s)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();

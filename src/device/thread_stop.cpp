#include "device/thread_stop.h"

#include "os/debug_output.h"

namespace device {

uint32_t StopWorker(os::WorkerThread& worker, os::Event& stop, int timeoutMs, StopOverrun overrun) {
    if (!worker.HasThread()) return os::kWaitFailed;
    stop.Set();
    const uint32_t result = worker.Join(timeoutMs);
    if (result == os::kWaitObject0) {
        os::DebugOutput("线程退出：：对象处于激发状态\n");
        return result;
    }
    os::DebugOutput(result == os::kWaitTimeout ? "线程退出：：对象处于非激发状态，超时\n"
                                               : "线程退出：：错误\n");
    if (overrun == StopOverrun::kWaitForEnd && worker.Join(os::kInfinite) == os::kWaitObject0)
        return result;
    worker.Abandon();
    return result;
}

}  // namespace device

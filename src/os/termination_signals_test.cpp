#include "os/termination_signals.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <cstdlib>

namespace os {
namespace {

// In a fresh process, as the program starts: a SIGTERM that arrives after the signals are held
// back, but before anything watches for them, ends nothing; the watch set up later hears it.
TEST(TerminationSignals, ASignalBeforeTheWatchWaitsForIt) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            BlockTerminationSignals();
            ::kill(::getpid(), SIGTERM);
            MessageLoop loop;
            int heard = 0;
            WatchTerminationSignals(loop, [&](int signal) {
                heard = signal;
                loop.Quit(0);
            });
            for (int i = 0; i < 100 && heard == 0; ++i) loop.RunOnce(50);
            std::_Exit(heard == SIGTERM ? 3 : 4);
        },
        ::testing::ExitedWithCode(3), "");
}

}  // namespace
}  // namespace os

#pragma once

#include <functional>

#include "os/message_loop.h"

namespace os {

// Turns SIGTERM, SIGINT and SIGHUP into a call of onSignal on the loop's thread, so that the
// program ends through its ordinary shutdown. Call before any thread is started: the signals are
// blocked for this thread and every thread it starts afterwards.
void WatchTerminationSignals(MessageLoop& loop, std::function<void(int signal)> onSignal);

}  // namespace os

#pragma once

#include <functional>

#include "os/message_loop.h"

namespace os {

// Holds SIGTERM, SIGINT and SIGHUP back for this thread and every thread it starts afterwards: a
// signal that arrives now stays pending, instead of ending the process at once, until a watch
// takes it. The first thing the program does.
void BlockTerminationSignals();

// Turns SIGTERM, SIGINT and SIGHUP into a call of onSignal on the loop's thread, so that the
// program ends through its ordinary shutdown; one that arrived earlier while blocked is delivered
// too. Call before any thread is started (it blocks them as above).
void WatchTerminationSignals(MessageLoop& loop, std::function<void(int signal)> onSignal);

}  // namespace os

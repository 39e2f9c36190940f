#pragma once

#include <cstdint>
#include <string>

namespace os {

// A look at the user's session bus without taking part in it: whether it answers and who owns a
// well-known name. Claims no name and publishes nothing.
struct SessionBusState {
    bool reachable = false;
    std::string error;      // why the bus cannot be reached
    bool nameHeld = false;  // someone owns the name asked about
    uint32_t ownerPid = 0;  // that program's process id; 0 when unknown
};
SessionBusState ProbeSessionBus(const std::string& name);

// Whether another process holds the lock file that stands in for the instance name when there is
// no session bus.
bool InstanceLockHeld();

}  // namespace os

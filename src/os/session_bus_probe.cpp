#include "os/session_bus_probe.h"

#include <fcntl.h>
#include <sys/file.h>
#include <systemd/sd-bus.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "os/folders.h"

namespace os {

SessionBusState ProbeSessionBus(const std::string& name) {
    SessionBusState s;
    sd_bus* bus = nullptr;
    int r = sd_bus_open_user(&bus);
    if (r < 0) {
        s.error = r == -ENOMEDIUM ? "no address: DBUS_SESSION_BUS_ADDRESS is not set and there is "
                                    "no bus in the runtime folder"
                                  : std::strerror(-r);
        return s;
    }
    sd_bus_error error = SD_BUS_ERROR_NULL;
    sd_bus_message* reply = nullptr;
    r = sd_bus_call_method(bus, "org.freedesktop.DBus", "/org/freedesktop/DBus",
                           "org.freedesktop.DBus", "GetNameOwner", &error, &reply, "s",
                           name.c_str());
    if (r >= 0) {
        s.reachable = true;
        s.nameHeld = true;
        const char* owner = nullptr;
        if (sd_bus_message_read(reply, "s", &owner) >= 0 && owner != nullptr) {
            sd_bus_error pidError = SD_BUS_ERROR_NULL;
            sd_bus_message* pidReply = nullptr;
            if (sd_bus_call_method(bus, "org.freedesktop.DBus", "/org/freedesktop/DBus",
                                   "org.freedesktop.DBus", "GetConnectionUnixProcessID", &pidError,
                                   &pidReply, "s", owner) >= 0)
                sd_bus_message_read(pidReply, "u", &s.ownerPid);
            sd_bus_message_unref(pidReply);
            sd_bus_error_free(&pidError);
        }
    } else if (sd_bus_error_has_name(&error, "org.freedesktop.DBus.Error.NameHasNoOwner")) {
        s.reachable = true;
    } else {
        s.error = error.message != nullptr ? error.message : std::strerror(-r);
    }
    sd_bus_message_unref(reply);
    sd_bus_error_free(&error);
    sd_bus_flush_close_unref(bus);
    return s;
}

bool InstanceLockHeld() {
    const std::string path = RuntimeFolder() + "/Brasvik M402.lock";
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool held = ::flock(fd, LOCK_EX | LOCK_NB) != 0;
    ::close(fd);
    return held;
}

}  // namespace os

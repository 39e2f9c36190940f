#include "os/session_bus.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <systemd/sd-bus.h>
#include <unistd.h>

#include <atomic>
#include <cstring>
#include <vector>

#include "os/debug_output.h"
#include "os/folders.h"

namespace os {

struct SessionBus::Impl {
    sd_bus* bus = nullptr;
    sd_bus_slot* vtableSlot = nullptr;
    sd_bus_slot* matchSlot = nullptr;
    MessageLoop* loop = nullptr;
    int lockFd = -1;
    bool processPosted = false;
    struct Published {
        std::string className;
        std::string title;
    };
    std::map<HWND, Published> windows;
    std::map<std::string, SessionBus::CommandHandler> commands;
    std::string peerName;

    HWND FindLocal(const std::string& cls, const std::string& title) const {
        for (const auto& [h, w] : windows) {
            if ((cls.empty() || w.className == cls) && (title.empty() || w.title == title) &&
                IsTarget(h))
                return h;
        }
        return 0;
    }

    // sd-bus may have read messages into its own queue during a call; those do not make the
    // descriptor readable again, so every operation schedules one pass over the queue.
    void ScheduleProcess() {
        if (!loop || processPosted) return;
        processPosted = true;
        loop->PostTask([this] {
            processPosted = false;
            ProcessAll();
        });
    }

    void ProcessAll() {
        if (!bus) return;
        for (int i = 0; i < 1000; ++i) {
            const int r = sd_bus_process(bus, nullptr);
            if (r < 0) {
                DebugOutput(std::string("session bus: connection lost: ") + std::strerror(-r) +
                            "\n");
                Disconnect();
                return;
            }
            if (r == 0) break;
        }
    }

    void Disconnect() {
        if (loop && bus) loop->UnwatchFd(sd_bus_get_fd(bus));
        sd_bus_slot_unref(vtableSlot);
        sd_bus_slot_unref(matchSlot);
        vtableSlot = matchSlot = nullptr;
        if (bus) sd_bus_flush_close_unref(bus);
        bus = nullptr;
    }

    static int OnBroadcast(sd_bus_message* m, void* userdata, sd_bus_error*) {
        auto* self = static_cast<Impl*>(userdata);
        const char* name = nullptr;
        uint64_t w = 0;
        int64_t l = 0;
        if (sd_bus_message_read(m, "stx", &name, &w, &l) < 0) {
            DebugOutput("session bus: malformed broadcast dropped\n");
            return 0;
        }
        const uint32_t msg = FindRegisteredMessage(name);
        if (msg == 0) {
            DebugOutput(std::string("session bus: broadcast of unknown message \"") + name +
                        "\" dropped\n");
            return 0;
        }
        for (const auto& [h, win] : self->windows)
            PostMessage(h, msg, static_cast<WPARAM>(w), static_cast<LPARAM>(l));
        return 0;
    }

    static int OnFind(sd_bus_message* m, void* userdata, sd_bus_error* err) {
        auto* self = static_cast<Impl*>(userdata);
        const char* cls = nullptr;
        const char* title = nullptr;
        if (sd_bus_message_read(m, "ss", &cls, &title) < 0)
            return sd_bus_error_set(err, SD_BUS_ERROR_INVALID_ARGS, "Find(ss)");
        return sd_bus_reply_method_return(m, "u", self->FindLocal(cls, title));
    }

    static int OnSend(sd_bus_message* m, void* userdata, sd_bus_error* err) {
        auto* self = static_cast<Impl*>(userdata);
        uint32_t hwnd = 0;
        const char* name = nullptr;
        uint64_t w = 0;
        int64_t l = 0;
        if (sd_bus_message_read(m, "ustx", &hwnd, &name, &w, &l) < 0) {
            DebugOutput("session bus: malformed Send dropped\n");
            return sd_bus_error_set(err, SD_BUS_ERROR_INVALID_ARGS, "Send(ustx)");
        }
        const uint32_t msg = FindRegisteredMessage(name);
        if (msg == 0 || self->windows.count(hwnd) == 0) {
            DebugOutput(std::string("session bus: Send of \"") + name +
                        "\" to an unknown window or with an unknown name dropped\n");
            return sd_bus_error_set(err, SD_BUS_ERROR_INVALID_ARGS, "unknown window or message");
        }
        const LRESULT r = SendMessage(hwnd, msg, static_cast<WPARAM>(w), static_cast<LPARAM>(l));
        return sd_bus_reply_method_return(m, "x", static_cast<int64_t>(r));
    }

    static int OnCopyData(sd_bus_message* m, void* userdata, sd_bus_error* err) {
        auto* self = static_cast<Impl*>(userdata);
        uint32_t hwnd = 0;
        uint64_t from = 0, id = 0;
        const void* data = nullptr;
        size_t size = 0;
        if (sd_bus_message_read(m, "utt", &hwnd, &from, &id) < 0 ||
            sd_bus_message_read_array(m, 'y', &data, &size) < 0) {
            DebugOutput("session bus: malformed CopyData dropped\n");
            return sd_bus_error_set(err, SD_BUS_ERROR_INVALID_ARGS, "CopyData(utt ay)");
        }
        if (size > kMaxCopyData) {
            DebugOutput("session bus: oversized copy-data record dropped\n");
            return sd_bus_error_set(err, SD_BUS_ERROR_LIMITS_EXCEEDED, "record too large");
        }
        if (self->windows.count(hwnd) == 0) {
            DebugOutput("session bus: copy-data record for an unknown window dropped\n");
            return sd_bus_error_set(err, SD_BUS_ERROR_INVALID_ARGS, "unknown window");
        }
        COPYDATASTRUCT cds{static_cast<uintptr_t>(id), static_cast<uint32_t>(size), data};
        const LRESULT r = SendMessage(hwnd, WM_COPYDATA, static_cast<WPARAM>(from),
                                      reinterpret_cast<LPARAM>(&cds));
        return sd_bus_reply_method_return(m, "x", static_cast<int64_t>(r));
    }

    static int OnCommand(sd_bus_message* m, void* userdata, sd_bus_error* err) {
        auto* self = static_cast<Impl*>(userdata);
        const char* name = nullptr;
        std::vector<std::string> args;
        int r = sd_bus_message_read(m, "s", &name);
        if (r >= 0) r = sd_bus_message_enter_container(m, 'a', "s");
        while (r >= 0) {
            const char* a = nullptr;
            r = sd_bus_message_read(m, "s", &a);
            if (r <= 0) break;
            args.emplace_back(a);
        }
        if (r < 0 || sd_bus_message_exit_container(m) < 0) {
            DebugOutput("session bus: malformed Command dropped\n");
            return sd_bus_error_set(err, SD_BUS_ERROR_INVALID_ARGS, "Command(sas)");
        }
        auto it = self->commands.find(name);
        if (it == self->commands.end())
            return sd_bus_reply_method_return(m, "is", 127,
                                              (std::string("unknown command: ") + name).c_str());
        std::string output;
        const int status = it->second(args, output);
        return sd_bus_reply_method_return(m, "is", status, output.c_str());
    }

    // A method call to a peer; the reply message (caller unrefs) or null.
    sd_bus_message* Call(const std::string& peer, const char* member, int timeoutMs,
                         const std::function<int(sd_bus_message*)>& append) {
        if (!bus) return nullptr;
        sd_bus_message* call = nullptr;
        sd_bus_message* reply = nullptr;
        sd_bus_error error = SD_BUS_ERROR_NULL;
        int r = sd_bus_message_new_method_call(bus, &call, peer.c_str(), kObjectPath, kInterface,
                                               member);
        if (r >= 0) r = append(call);
        if (r >= 0)
            r = sd_bus_call(bus, call, static_cast<uint64_t>(timeoutMs) * 1000, &error, &reply);
        if (r < 0) {
            DebugOutput(std::string("session bus: ") + member + " to " + peer +
                        " failed: " + (error.message ? error.message : std::strerror(-r)) + "\n");
            reply = nullptr;
        }
        sd_bus_error_free(&error);
        sd_bus_message_unref(call);
        ScheduleProcess();
        return reply;
    }
};

namespace {

const sd_bus_vtable kVtable[] = {
    SD_BUS_VTABLE_START(0),
    SD_BUS_METHOD("Find", "ss", "u", &SessionBus::Impl::OnFind, SD_BUS_VTABLE_UNPRIVILEGED),
    SD_BUS_METHOD("Send", "ustx", "x", &SessionBus::Impl::OnSend, SD_BUS_VTABLE_UNPRIVILEGED),
    SD_BUS_METHOD("CopyData", "uttay", "x", &SessionBus::Impl::OnCopyData,
                  SD_BUS_VTABLE_UNPRIVILEGED),
    SD_BUS_METHOD("Command", "sas", "is", &SessionBus::Impl::OnCommand, SD_BUS_VTABLE_UNPRIVILEGED),
    SD_BUS_SIGNAL("Broadcast", "stx", 0),
    SD_BUS_VTABLE_END,
};

}  // namespace

SessionBus::SessionBus() : impl_(std::make_unique<Impl>()) {
    // One process may hold several connections (tests do), so the peer name counts them.
    static std::atomic<int> connections{0};
    impl_->peerName =
        std::string(kPeerPrefix) + std::to_string(::getpid()) + "_" + std::to_string(++connections);
}

SessionBus::~SessionBus() {
    impl_->Disconnect();
    if (impl_->lockFd >= 0) ::close(impl_->lockFd);
}

bool SessionBus::Connect(MessageLoop& loop) {
    Impl& d = *impl_;
    if (d.bus) return true;
    d.loop = &loop;
    int r = sd_bus_open_user(&d.bus);
    if (r < 0) {
        DebugOutput(std::string("session bus: not available: ") + std::strerror(-r) + "\n");
        d.bus = nullptr;
        return false;
    }
    r = sd_bus_add_object_vtable(d.bus, &d.vtableSlot, kObjectPath, kInterface, kVtable, &d);
    if (r >= 0) r = sd_bus_request_name(d.bus, d.peerName.c_str(), 0);
    if (r >= 0) {
        const std::string match = std::string("type='signal',interface='") + kInterface +
                                  "',member='Broadcast',path='" + kObjectPath + "'";
        r = sd_bus_add_match(d.bus, &d.matchSlot, match.c_str(), &Impl::OnBroadcast, &d);
    }
    if (r < 0) {
        DebugOutput(std::string("session bus: set-up failed: ") + std::strerror(-r) + "\n");
        d.Disconnect();
        return false;
    }
    loop.WatchFd(sd_bus_get_fd(d.bus), POLLIN, [&d](short) { d.ProcessAll(); });
    d.ScheduleProcess();
    return true;
}

bool SessionBus::Connected() const {
    return impl_->bus != nullptr;
}

SessionBus::Instance SessionBus::ClaimSingleInstance() {
    Impl& d = *impl_;
    if (d.bus) {
        const int r = sd_bus_request_name(d.bus, kInstanceName, 0);
        d.ScheduleProcess();
        if (r == -EEXIST) return Instance::AlreadyRunning;
        if (r >= 0) return Instance::First;
        DebugOutput(std::string("session bus: cannot claim the instance name: ") +
                    std::strerror(-r) + "\n");
    }
    // Without a bus, a lock file in the runtime folder guards the instance.
    if (d.lockFd < 0) {
        const std::string path = RuntimeFolder() + "/Brasvik M402.lock";
        d.lockFd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        if (d.lockFd < 0) return Instance::First;  // cannot tell: start as the first instance
        if (::flock(d.lockFd, LOCK_EX | LOCK_NB) != 0) {
            ::close(d.lockFd);
            d.lockFd = -1;
            return Instance::AlreadyRunning;
        }
    }
    return Instance::First;
}

void SessionBus::PublishWindow(HWND hwnd, const std::string& className, const std::string& title) {
    impl_->windows[hwnd] = Impl::Published{className, title};
}

void SessionBus::UnpublishWindow(HWND hwnd) {
    impl_->windows.erase(hwnd);
}

bool SessionBus::Broadcast(uint32_t registeredMessage, WPARAM wParam, LPARAM lParam) {
    Impl& d = *impl_;
    const std::string name = RegisteredMessageName(registeredMessage);
    if (name.empty()) return false;
    if (!d.bus) {
        // Nobody else to tell; this program's own windows still get it.
        for (const auto& [h, w] : d.windows) PostMessage(h, registeredMessage, wParam, lParam);
        return true;
    }
    const int r =
        sd_bus_emit_signal(d.bus, kObjectPath, kInterface, "Broadcast", "stx", name.c_str(),
                           static_cast<uint64_t>(wParam), static_cast<int64_t>(lParam));
    sd_bus_flush(d.bus);
    d.ScheduleProcess();
    return r >= 0;
}

SessionBus::RemoteWindow SessionBus::FindWindow(const std::string& className,
                                                const std::string& title) {
    Impl& d = *impl_;
    if (HWND h = d.FindLocal(className, title)) return RemoteWindow{"", h};
    if (!d.bus) return {};
    char** names = nullptr;
    if (sd_bus_list_names(d.bus, &names, nullptr) < 0 || names == nullptr) return {};
    const std::string& mine = d.peerName;
    RemoteWindow found;
    for (char** n = names; *n; ++n) {
        const std::string peer = *n;
        if (!found && peer.rfind(kPeerPrefix, 0) == 0 && peer != mine) {
            sd_bus_message* reply = d.Call(peer, "Find", 500, [&](sd_bus_message* m) {
                return sd_bus_message_append(m, "ss", className.c_str(), title.c_str());
            });
            uint32_t h = 0;
            if (reply && sd_bus_message_read(reply, "u", &h) >= 0 && h != 0)
                found = RemoteWindow{peer, h};
            sd_bus_message_unref(reply);
        }
        std::free(*n);
    }
    std::free(names);
    return found;
}

LRESULT SessionBus::SendRegistered(const RemoteWindow& to, uint32_t registeredMessage,
                                   WPARAM wParam, LPARAM lParam, int timeoutMs, bool* ok) {
    if (ok) *ok = false;
    const std::string name = RegisteredMessageName(registeredMessage);
    if (!to || name.empty()) return 0;
    if (to.peer.empty()) {
        if (!IsTarget(to.hwnd)) return 0;
        if (ok) *ok = true;
        return SendMessage(to.hwnd, registeredMessage, wParam, lParam);
    }
    sd_bus_message* reply = impl_->Call(to.peer, "Send", timeoutMs, [&](sd_bus_message* m) {
        return sd_bus_message_append(m, "ustx", to.hwnd, name.c_str(),
                                     static_cast<uint64_t>(wParam), static_cast<int64_t>(lParam));
    });
    int64_t r = 0;
    const bool good = reply && sd_bus_message_read(reply, "x", &r) >= 0;
    sd_bus_message_unref(reply);
    if (ok) *ok = good;
    return good ? static_cast<LRESULT>(r) : 0;
}

LRESULT SessionBus::SendCopyData(const RemoteWindow& to, HWND from, uintptr_t id, const void* data,
                                 size_t size, int timeoutMs, bool* ok) {
    if (ok) *ok = false;
    if (!to || size > kMaxCopyData) return 0;
    if (to.peer.empty()) {
        if (!IsTarget(to.hwnd)) return 0;
        COPYDATASTRUCT cds{id, static_cast<uint32_t>(size), data};
        if (ok) *ok = true;
        return SendMessage(to.hwnd, WM_COPYDATA, from, reinterpret_cast<LPARAM>(&cds));
    }
    sd_bus_message* reply = impl_->Call(to.peer, "CopyData", timeoutMs, [&](sd_bus_message* m) {
        int r = sd_bus_message_append(m, "utt", to.hwnd, static_cast<uint64_t>(from),
                                      static_cast<uint64_t>(id));
        if (r >= 0) r = sd_bus_message_append_array(m, 'y', size ? data : "", size);
        return r;
    });
    int64_t r = 0;
    const bool good = reply && sd_bus_message_read(reply, "x", &r) >= 0;
    sd_bus_message_unref(reply);
    if (ok) *ok = good;
    return good ? static_cast<LRESULT>(r) : 0;
}

void SessionBus::SetCommandHandler(const std::string& name, CommandHandler handler) {
    if (handler)
        impl_->commands[name] = std::move(handler);
    else
        impl_->commands.erase(name);
}

bool SessionBus::CallCommand(const std::string& busName, const std::string& name,
                             const std::vector<std::string>& args, int timeoutMs, int* status,
                             std::string* output) {
    if (!impl_->bus) {
        if (output) *output = "no session bus";
        return false;
    }
    sd_bus_message* reply = impl_->Call(busName, "Command", timeoutMs, [&](sd_bus_message* m) {
        int r = sd_bus_message_append(m, "s", name.c_str());
        if (r >= 0) r = sd_bus_message_open_container(m, 'a', "s");
        for (const std::string& a : args)
            if (r >= 0) r = sd_bus_message_append(m, "s", a.c_str());
        if (r >= 0) r = sd_bus_message_close_container(m);
        return r;
    });
    if (!reply) {
        if (output) *output = "the program does not answer on the session bus";
        return false;
    }
    int st = 0;
    const char* out = "";
    const bool good = sd_bus_message_read(reply, "is", &st, &out) >= 0;
    if (status) *status = st;
    if (output) *output = good ? out : "malformed answer";
    sd_bus_message_unref(reply);
    return good;
}

}  // namespace os

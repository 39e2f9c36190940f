#include "os/file_chooser.h"

#include <poll.h>
#include <systemd/sd-bus.h>

#include <atomic>
#include <cctype>
#include <cstring>
#include <string>

#include "os/debug_output.h"
#include "os/event.h"

namespace os {

namespace {

constexpr const char* kPortal = "org.freedesktop.portal.Desktop";
constexpr const char* kPortalPath = "/org/freedesktop/portal/desktop";
constexpr const char* kChooser = "org.freedesktop.portal.FileChooser";
constexpr int kCallTimeoutMs = 5000;
constexpr uint32_t kProcessPeriodMs = 250;

// The method call's own reply (the request handle, or an error when no portal answers).
struct CallState {
    bool replied = false;
    bool failed = false;
    std::string error;
};

int OnCallReply(sd_bus_message* m, void* userdata, sd_bus_error*) {
    auto* s = static_cast<CallState*>(userdata);
    s->replied = true;
    if (sd_bus_message_is_method_error(m, nullptr)) {
        s->failed = true;
        const sd_bus_error* e = sd_bus_message_get_error(m);
        s->error = e != nullptr && e->message != nullptr ? e->message : "error reply";
    }
    return 0;
}

struct Answer {
    bool done = false;
    uint32_t response = 2;
    std::vector<std::string> uris;
};

int OnResponse(sd_bus_message* m, void* userdata, sd_bus_error*) {
    auto* a = static_cast<Answer*>(userdata);
    a->done = true;
    if (sd_bus_message_read(m, "u", &a->response) < 0) {
        a->response = 2;
        return 0;
    }
    if (sd_bus_message_enter_container(m, 'a', "{sv}") < 0) return 0;
    while (sd_bus_message_enter_container(m, 'e', "sv") > 0) {
        const char* key = nullptr;
        sd_bus_message_read(m, "s", &key);
        if (key && std::strcmp(key, "uris") == 0 &&
            sd_bus_message_enter_container(m, 'v', "as") > 0) {
            char** uris = nullptr;
            if (sd_bus_message_read_strv(m, &uris) >= 0 && uris) {
                for (char** u = uris; *u; ++u) {
                    a->uris.emplace_back(*u);
                    std::free(*u);
                }
                std::free(uris);
            }
            sd_bus_message_exit_container(m);
        } else {
            sd_bus_message_skip(m, "v");
        }
        sd_bus_message_exit_container(m);
    }
    return 0;
}

// The filters as the portal takes them: a(sa(us)), each glob with type 0.
int AppendFilters(sd_bus_message* m, const std::vector<FileFilter>& filters) {
    int r = sd_bus_message_open_container(m, 'a', "(sa(us))");
    for (const FileFilter& f : filters) {
        if (r >= 0) r = sd_bus_message_open_container(m, 'r', "sa(us)");
        if (r >= 0) r = sd_bus_message_append(m, "s", f.label.c_str());
        if (r >= 0) r = sd_bus_message_open_container(m, 'a', "(us)");
        size_t start = 0;
        while (r >= 0 && start <= f.patterns.size()) {
            size_t end = f.patterns.find(';', start);
            if (end == std::string::npos) end = f.patterns.size();
            const std::string glob = f.patterns.substr(start, end - start);
            if (!glob.empty()) r = sd_bus_message_append(m, "(us)", 0u, glob.c_str());
            start = end + 1;
        }
        if (r >= 0) r = sd_bus_message_close_container(m);
        if (r >= 0) r = sd_bus_message_close_container(m);
    }
    if (r >= 0) r = sd_bus_message_close_container(m);
    return r;
}

}  // namespace

std::string LocalPathFromUri(const std::string& uri) {
    const std::string prefix = "file://";
    if (uri.rfind(prefix, 0) != 0) return "";
    std::string rest = uri.substr(prefix.size());
    if (rest.empty() || rest[0] != '/') return "";  // a host part: not a local file
    std::string out;
    for (size_t i = 0; i < rest.size(); ++i) {
        if (rest[i] == '%' && i + 2 < rest.size() &&
            std::isxdigit(static_cast<unsigned char>(rest[i + 1])) &&
            std::isxdigit(static_cast<unsigned char>(rest[i + 2]))) {
            const char c = static_cast<char>(std::stoi(rest.substr(i + 1, 2), nullptr, 16));
            if (c == '\0') return "";
            out += c;
            i += 2;
        } else {
            out += rest[i];
        }
    }
    return out;
}

FileChooserResult ChooseFile(MessageLoop& loop, bool save, const std::string& title,
                             const std::vector<FileFilter>& filters,
                             const std::string& suggestedName, std::string* path) {
    sd_bus* bus = nullptr;
    if (sd_bus_open_user(&bus) < 0) return FileChooserResult::kUnavailable;
    const char* unique = nullptr;
    sd_bus_get_unique_name(bus, &unique);
    static std::atomic<int> requests{0};
    const std::string token = "brasvik" + std::to_string(++requests);
    // The request object's path is known in advance, so the answer cannot be missed.
    std::string sender = unique ? unique + 1 : "";
    for (char& c : sender)
        if (c == '.') c = '_';
    const std::string requestPath = std::string(kPortalPath) + "/request/" + sender + "/" + token;
    Answer answer;
    sd_bus_slot* match = nullptr;
    const std::string rule =
        "type='signal',interface='org.freedesktop.portal.Request',"
        "member='Response',path='" +
        requestPath + "'";
    int r = sd_bus_add_match(bus, &match, rule.c_str(), &OnResponse, &answer);

    sd_bus_message* call = nullptr;
    if (r >= 0)
        r = sd_bus_message_new_method_call(bus, &call, kPortal, kPortalPath, kChooser,
                                           save ? "SaveFile" : "OpenFile");
    if (r >= 0) r = sd_bus_message_append(call, "ss", "", title.c_str());
    if (r >= 0) r = sd_bus_message_open_container(call, 'a', "{sv}");
    if (r >= 0) r = sd_bus_message_append(call, "{sv}", "handle_token", "s", token.c_str());
    if (r >= 0) r = sd_bus_message_append(call, "{sv}", "modal", "b", 1);
    if (r >= 0 && save && !suggestedName.empty())
        r = sd_bus_message_append(call, "{sv}", "current_name", "s", suggestedName.c_str());
    if (r >= 0 && !filters.empty()) {
        r = sd_bus_message_open_container(call, 'e', "sv");
        if (r >= 0) r = sd_bus_message_append(call, "s", "filters");
        if (r >= 0) r = sd_bus_message_open_container(call, 'v', "a(sa(us))");
        if (r >= 0) r = AppendFilters(call, filters);
        if (r >= 0) r = sd_bus_message_close_container(call);
        if (r >= 0) r = sd_bus_message_close_container(call);
    }
    if (r >= 0) r = sd_bus_message_close_container(call);

    // The call itself is asynchronous too: a portal that is being started by the bus answers
    // only after a while, and the program's windows go on meanwhile.
    CallState state;
    sd_bus_slot* callSlot = nullptr;
    if (r >= 0)
        r = sd_bus_call_async(bus, &callSlot, call, &OnCallReply, &state, kCallTimeoutMs * 1000ull);
    FileChooserResult result = FileChooserResult::kUnavailable;
    if (r < 0) {
        DebugOutput(std::string("file chooser: the request was not sent: ") + std::strerror(-r) +
                    "\n");
    } else {
        bool lost = false;
        auto pump = [bus, &lost] {
            int p = 0;
            while ((p = sd_bus_process(bus, nullptr)) > 0) {
            }
            if (p < 0) lost = true;
        };
        loop.WatchFd(sd_bus_get_fd(bus), POLLIN, [&pump](short) { pump(); });
        // sd-bus ends an unanswered call when it is processed after the time-out, and notices a
        // vanished bus only when processing: a timer keeps processing going.
        FunctionTarget wake([&pump](uint32_t msg, WPARAM, LPARAM) {
            if (msg == WM_TIMER) pump();
            return LRESULT{0};
        });
        const HWND wakeTarget = CreateTarget(&wake);
        if (wakeTarget != 0) SetTimer(wakeTarget, 1, kProcessPeriodMs);
        pump();
        const bool ended = !loop.RunUntil([&] {
            pump();
            return lost || (state.replied && (state.failed || answer.done));
        });
        if (wakeTarget != 0) DestroyTarget(wakeTarget);
        loop.UnwatchFd(sd_bus_get_fd(bus));
        if (state.failed || (lost && !state.replied)) {
            DebugOutput("file chooser: no desktop portal: " + state.error + "\n");
        } else if (!ended && answer.done && answer.response == 0 && !answer.uris.empty()) {
            const std::string p = LocalPathFromUri(answer.uris.front());
            if (!p.empty()) {
                if (path) *path = p;
                result = FileChooserResult::kChosen;
            } else {
                DebugOutput("file chooser: the answer was no local file\n");
                result = FileChooserResult::kCancelled;
            }
        } else {
            if (lost) DebugOutput("file chooser: the session bus went away\n");
            result = FileChooserResult::kCancelled;
        }
    }
    sd_bus_slot_unref(callSlot);
    sd_bus_message_unref(call);
    sd_bus_slot_unref(match);
    sd_bus_flush_close_unref(bus);
    return result;
}

}  // namespace os

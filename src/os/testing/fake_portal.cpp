#include "os/testing/fake_portal.h"

#include <systemd/sd-bus.h>

#include <chrono>
#include <cstring>

namespace os::testing {

namespace {

long long NowMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

int OnChoose(sd_bus_message* m, void* userdata, sd_bus_error*) {
    return static_cast<FakePortal*>(userdata)->HandleChoose(m);
}

}  // namespace

FakePortal::FakePortal(std::string uri, int delayMs) : uri_(std::move(uri)), delayMs_(delayMs) {
    thread_ = std::thread([this] { Run(); });
    ready_.Wait(10000);
}

FakePortal::~FakePortal() {
    stop_ = true;
    thread_.join();
}

std::string FakePortal::Asked() {
    std::lock_guard<std::mutex> lock(m_);
    return asked_;
}

int FakePortal::HandleChoose(sd_bus_message* m) {
    FakePortal* self = this;
    const char* parent = nullptr;
    const char* title = nullptr;
    sd_bus_message_read(m, "ss", &parent, &title);
    std::string asked = std::string(sd_bus_message_get_member(m)) + " " + title;
    std::string token;
    sd_bus_message_enter_container(m, 'a', "{sv}");
    while (sd_bus_message_enter_container(m, 'e', "sv") > 0) {
        const char* key = nullptr;
        sd_bus_message_read(m, "s", &key);
        if (std::strcmp(key, "handle_token") == 0) {
            const char* t = nullptr;
            sd_bus_message_read(m, "v", "s", &t);
            token = t;
        } else if (std::strcmp(key, "filters") == 0) {
            sd_bus_message_enter_container(m, 'v', "a(sa(us))");
            sd_bus_message_enter_container(m, 'a', "(sa(us))");
            while (sd_bus_message_enter_container(m, 'r', "sa(us)") > 0) {
                const char* label = nullptr;
                sd_bus_message_read(m, "s", &label);
                asked += std::string(" [") + label;
                sd_bus_message_enter_container(m, 'a', "(us)");
                uint32_t kind = 0;
                const char* glob = nullptr;
                while (sd_bus_message_read(m, "(us)", &kind, &glob) > 0)
                    asked += std::string(" ") + glob;
                sd_bus_message_exit_container(m);
                sd_bus_message_exit_container(m);
                asked += "]";
            }
            sd_bus_message_exit_container(m);
            sd_bus_message_exit_container(m);
        } else {
            sd_bus_message_skip(m, "v");
        }
        sd_bus_message_exit_container(m);
    }
    std::string sender = sd_bus_message_get_sender(m) + 1;
    for (char& c : sender)
        if (c == '.') c = '_';
    const std::string path = "/org/freedesktop/portal/desktop/request/" + sender + "/" + token;
    {
        std::lock_guard<std::mutex> lock(self->m_);
        self->asked_ = asked;
        self->pendingPath_ = path;
        self->pendingCall_ = sd_bus_message_ref(m);
        self->dueAtMs_ = NowMs() + self->delayMs_;
    }
    ++self->calls_;
    self->Answer();
    return 1;
}

void FakePortal::Answer() {
    std::string path;
    sd_bus_message* call = nullptr;
    {
        std::lock_guard<std::mutex> lock(m_);
        if (pendingPath_.empty() || NowMs() < dueAtMs_) return;
        path.swap(pendingPath_);
        std::swap(call, pendingCall_);
    }
    // The request handle first, then the user's answer, as the desktop's portal does.
    sd_bus_reply_method_return(call, "o", path.c_str());
    sd_bus_message_unref(call);
    sd_bus_message* sig = nullptr;
    sd_bus_message_new_signal(bus_, &sig, path.c_str(), "org.freedesktop.portal.Request",
                              "Response");
    sd_bus_message_append(sig, "u", uri_.empty() ? 1u : 0u);
    sd_bus_message_open_container(sig, 'a', "{sv}");
    if (!uri_.empty()) {
        sd_bus_message_open_container(sig, 'e', "sv");
        sd_bus_message_append(sig, "s", "uris");
        sd_bus_message_open_container(sig, 'v', "as");
        sd_bus_message_append(sig, "as", 1, uri_.c_str());
        sd_bus_message_close_container(sig);
        sd_bus_message_close_container(sig);
    }
    sd_bus_message_close_container(sig);
    sd_bus_send(bus_, sig, nullptr);
    sd_bus_message_unref(sig);
    ++answered_;
}

void FakePortal::Run() {
    static const sd_bus_vtable vtable[] = {
        SD_BUS_VTABLE_START(0),
        SD_BUS_METHOD("OpenFile", "ssa{sv}", "o", &OnChoose, 0),
        SD_BUS_METHOD("SaveFile", "ssa{sv}", "o", &OnChoose, 0),
        SD_BUS_VTABLE_END,
    };
    sd_bus_open_user(&bus_);
    sd_bus_slot* slot = nullptr;
    sd_bus_add_object_vtable(bus_, &slot, "/org/freedesktop/portal/desktop",
                             "org.freedesktop.portal.FileChooser", vtable, this);
    sd_bus_request_name(bus_, "org.freedesktop.portal.Desktop", 0);
    ready_.Set();
    while (!stop_) {
        while (sd_bus_process(bus_, nullptr) > 0) {
        }
        Answer();
        sd_bus_flush(bus_);
        sd_bus_wait(bus_, 10000);
    }
    sd_bus_slot_unref(slot);
    sd_bus_flush_close_unref(bus_);
}

}  // namespace os::testing

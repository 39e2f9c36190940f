#include "os/file_chooser.h"

#include <gtest/gtest.h>
#include <systemd/sd-bus.h>

#include <atomic>
#include <cstring>
#include <mutex>
#include <thread>

#include "os/event.h"
#include "os/testing/private_session_bus.h"

namespace os {
namespace {

// A desktop portal of our own: answers OpenFile and SaveFile with a Response on the request path,
// choosing `uri` (or cancelling when it is empty), and records what it was asked.
class FakePortal {
  public:
    explicit FakePortal(std::string uri) : uri_(std::move(uri)) {
        thread_ = std::thread([this] { Run(); });
        ready_.Wait(10000);
    }
    ~FakePortal() {
        stop_ = true;
        thread_.join();
    }
    std::string Asked() {
        std::lock_guard<std::mutex> lock(m_);
        return asked_;
    }

  private:
    static int OnChoose(sd_bus_message* m, void* userdata, sd_bus_error*) {
        auto* self = static_cast<FakePortal*>(userdata);
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
        {
            std::lock_guard<std::mutex> lock(self->m_);
            self->asked_ = asked;
        }
        std::string sender = sd_bus_message_get_sender(m) + 1;
        for (char& c : sender)
            if (c == '.') c = '_';
        const std::string path = "/org/freedesktop/portal/desktop/request/" + sender + "/" + token;
        sd_bus_reply_method_return(m, "o", path.c_str());
        sd_bus_message* sig = nullptr;
        sd_bus_message_new_signal(self->bus_, &sig, path.c_str(), "org.freedesktop.portal.Request",
                                  "Response");
        sd_bus_message_append(sig, "u", self->uri_.empty() ? 1u : 0u);
        sd_bus_message_open_container(sig, 'a', "{sv}");
        if (!self->uri_.empty()) {
            sd_bus_message_open_container(sig, 'e', "sv");
            sd_bus_message_append(sig, "s", "uris");
            sd_bus_message_open_container(sig, 'v', "as");
            sd_bus_message_append(sig, "as", 1, self->uri_.c_str());
            sd_bus_message_close_container(sig);
            sd_bus_message_close_container(sig);
        }
        sd_bus_message_close_container(sig);
        sd_bus_send(self->bus_, sig, nullptr);
        sd_bus_message_unref(sig);
        return 1;
    }
    void Run() {
        static const sd_bus_vtable vtable[] = {
            SD_BUS_VTABLE_START(0),
            SD_BUS_METHOD("OpenFile", "ssa{sv}", "o", &FakePortal::OnChoose, 0),
            SD_BUS_METHOD("SaveFile", "ssa{sv}", "o", &FakePortal::OnChoose, 0),
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
            sd_bus_wait(bus_, 10000);
        }
        sd_bus_slot_unref(slot);
        sd_bus_flush_close_unref(bus_);
    }

    std::string uri_;
    sd_bus* bus_ = nullptr;
    std::thread thread_;
    Event ready_;
    std::atomic<bool> stop_{false};
    std::mutex m_;
    std::string asked_;
};

TEST(FileChooser, PortalAnswersChosenCancelledOrNobodyAnswers) {
    testing::PrivateSessionBus privateBus;
    if (!privateBus.ok()) GTEST_SKIP() << "no private session bus: " << privateBus.error();
    MessageLoop loop;
    std::string path;
    // Nobody answers: the caller falls back to its own dialog.
    EXPECT_EQ(ChooseFile(loop, false, "Import", {}, "", &path), FileChooserResult::kUnavailable);
    {
        FakePortal portal("file:///home/user/My%20Profiles/fps.json");
        const std::vector<FileFilter> filters = {{"Profile Files(*.json)", "*.json;"}};
        EXPECT_EQ(ChooseFile(loop, false, "Import", filters, "", &path),
                  FileChooserResult::kChosen);
        EXPECT_EQ(path, "/home/user/My Profiles/fps.json");
        EXPECT_EQ(portal.Asked(), "OpenFile Import [Profile Files(*.json) *.json]");
    }
    {
        FakePortal portal("");
        path = "unchanged";
        EXPECT_EQ(ChooseFile(loop, true, "Export", {}, "a.json", &path),
                  FileChooserResult::kCancelled);
        EXPECT_EQ(path, "unchanged");
    }
}

TEST(FileChooser, OnlyLocalFileUrisBecomePaths) {
    EXPECT_EQ(LocalPathFromUri("file:///tmp/a%2Fb.mac"), "/tmp/a/b.mac");
    EXPECT_EQ(LocalPathFromUri("file://host/tmp/a"), "");
    EXPECT_EQ(LocalPathFromUri("http://x/y"), "");
    EXPECT_EQ(LocalPathFromUri("file:///tmp/%00x"), "");
    EXPECT_EQ(LocalPathFromUri("file:///tmp/100%"), "/tmp/100%");
}

}  // namespace
}  // namespace os

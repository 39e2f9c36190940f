#include "os/tray_icon.h"

#include <poll.h>
#include <systemd/sd-bus.h>
#include <unistd.h>

#include <atomic>
#include <cstring>

#include "os/debug_output.h"

namespace os {

namespace {
constexpr const char* kItemPath = "/StatusNotifierItem";
constexpr const char* kItemInterface = "org.kde.StatusNotifierItem";
constexpr const char* kWatcherName = "org.kde.StatusNotifierWatcher";
constexpr const char* kWatcherPath = "/StatusNotifierWatcher";
}  // namespace

struct TrayIcon::Impl {
    sd_bus* bus = nullptr;
    sd_bus_slot* vtable = nullptr;
    sd_bus_slot* ownerMatch = nullptr;
    MessageLoop* loop = nullptr;
    bool registered = false;
    bool processPosted = false;
    std::string service;
    std::string id;
    std::string title;
    std::string toolTip;
    Image icon;
    Click onActivate;
    Click onContextMenu;

    void ScheduleProcess() {
        if (!loop || processPosted) return;
        processPosted = true;
        loop->PostTask([this] {
            processPosted = false;
            Process();
        });
    }

    void Process() {
        for (int i = 0; bus && i < 1000; ++i) {
            const int r = sd_bus_process(bus, nullptr);
            if (r < 0) {
                DebugOutput("tray: session bus connection lost\n");
                Close();
                return;
            }
            if (r == 0) break;
        }
    }

    void Close() {
        if (!bus) return;
        if (loop) loop->UnwatchFd(sd_bus_get_fd(bus));
        sd_bus_slot_unref(vtable);
        sd_bus_slot_unref(ownerMatch);
        vtable = ownerMatch = nullptr;
        sd_bus_flush_close_unref(bus);
        bus = nullptr;
        registered = false;
    }

    void Register() {
        if (!bus) return;
        sd_bus_error error = SD_BUS_ERROR_NULL;
        sd_bus_message* reply = nullptr;
        const int r =
            sd_bus_call_method(bus, kWatcherName, kWatcherPath, kWatcherName,
                               "RegisterStatusNotifierItem", &error, &reply, "s", service.c_str());
        registered = r >= 0;
        if (!registered)
            DebugOutput(std::string("tray: no notification area yet: ") +
                        (error.message ? error.message : std::strerror(-r)) + "\n");
        sd_bus_error_free(&error);
        sd_bus_message_unref(reply);
        ScheduleProcess();
    }

    // a(iiay): the icon in sizes; one size here, pixels as big-endian ARGB.
    int AppendPixmap(sd_bus_message* m) const {
        int r = sd_bus_message_open_container(m, 'a', "(iiay)");
        if (r < 0 || icon.argb.empty()) return r < 0 ? r : sd_bus_message_close_container(m);
        std::vector<uint8_t> bytes;
        bytes.reserve(icon.argb.size() * 4);
        for (uint32_t p : icon.argb) {
            bytes.push_back(static_cast<uint8_t>(p >> 24));
            bytes.push_back(static_cast<uint8_t>(p >> 16));
            bytes.push_back(static_cast<uint8_t>(p >> 8));
            bytes.push_back(static_cast<uint8_t>(p));
        }
        r = sd_bus_message_open_container(m, 'r', "iiay");
        if (r >= 0) r = sd_bus_message_append(m, "ii", icon.width, icon.height);
        if (r >= 0) r = sd_bus_message_append_array(m, 'y', bytes.data(), bytes.size());
        if (r >= 0) r = sd_bus_message_close_container(m);
        if (r >= 0) r = sd_bus_message_close_container(m);
        return r;
    }

    static int GetString(sd_bus*, const char*, const char*, const char* property,
                         sd_bus_message* reply, void* userdata, sd_bus_error*) {
        auto* self = static_cast<Impl*>(userdata);
        const char* v = "";
        if (std::strcmp(property, "Category") == 0)
            v = "Hardware";
        else if (std::strcmp(property, "Id") == 0)
            v = self->id.c_str();
        else if (std::strcmp(property, "Title") == 0)
            v = self->title.c_str();
        else if (std::strcmp(property, "Status") == 0)
            v = "Active";
        return sd_bus_message_append(reply, "s", v);
    }

    static int GetPixmap(sd_bus*, const char*, const char*, const char*, sd_bus_message* reply,
                         void* userdata, sd_bus_error*) {
        return static_cast<Impl*>(userdata)->AppendPixmap(reply);
    }

    static int GetToolTip(sd_bus*, const char*, const char*, const char*, sd_bus_message* reply,
                          void* userdata, sd_bus_error*) {
        auto* self = static_cast<Impl*>(userdata);
        int r = sd_bus_message_open_container(reply, 'r', "sa(iiay)ss");
        if (r >= 0) r = sd_bus_message_append(reply, "s", "");
        if (r >= 0) r = self->AppendPixmap(reply);
        if (r >= 0) r = sd_bus_message_append(reply, "ss", self->toolTip.c_str(), "");
        if (r >= 0) r = sd_bus_message_close_container(reply);
        return r;
    }

    static int GetFalse(sd_bus*, const char*, const char*, const char*, sd_bus_message* reply,
                        void*, sd_bus_error*) {
        return sd_bus_message_append(reply, "b", 0);
    }

    static int Clicked(sd_bus_message* m, void* userdata, sd_bus_error*, bool context) {
        auto* self = static_cast<Impl*>(userdata);
        int32_t x = 0, y = 0;
        if (sd_bus_message_read(m, "ii", &x, &y) < 0) {
            DebugOutput("tray: malformed click dropped\n");
            return sd_bus_reply_method_return(m, "");
        }
        // Answer first: the handler may open a menu and run a modal loop.
        const int r = sd_bus_reply_method_return(m, "");
        Click& c = context ? self->onContextMenu : self->onActivate;
        if (c) {
            Click copy = c;
            self->loop->PostTask([copy, x, y] { copy(x, y); });
        }
        return r;
    }
    static int OnActivate(sd_bus_message* m, void* u, sd_bus_error* e) {
        return Clicked(m, u, e, false);
    }
    static int OnContextMenu(sd_bus_message* m, void* u, sd_bus_error* e) {
        return Clicked(m, u, e, true);
    }
    static int OnIgnored(sd_bus_message* m, void*, sd_bus_error*) {
        return sd_bus_reply_method_return(m, "");
    }

    // The watcher came (or came back): register again.
    static int OnOwnerChanged(sd_bus_message* m, void* userdata, sd_bus_error*) {
        auto* self = static_cast<Impl*>(userdata);
        const char *name = nullptr, *oldOwner = nullptr, *newOwner = nullptr;
        if (sd_bus_message_read(m, "sss", &name, &oldOwner, &newOwner) < 0) return 0;
        if (newOwner && *newOwner) {
            self->loop->PostTask([self] { self->Register(); });
        } else {
            self->registered = false;
        }
        return 0;
    }
};

namespace {

const sd_bus_vtable kItemVtable[] = {
    SD_BUS_VTABLE_START(0),
    SD_BUS_PROPERTY("Category", "s", &TrayIcon::Impl::GetString, 0, SD_BUS_VTABLE_PROPERTY_CONST),
    SD_BUS_PROPERTY("Id", "s", &TrayIcon::Impl::GetString, 0, SD_BUS_VTABLE_PROPERTY_CONST),
    SD_BUS_PROPERTY("Title", "s", &TrayIcon::Impl::GetString, 0, 0),
    SD_BUS_PROPERTY("Status", "s", &TrayIcon::Impl::GetString, 0, 0),
    SD_BUS_PROPERTY("IconName", "s", &TrayIcon::Impl::GetString, 0, 0),
    SD_BUS_PROPERTY("IconPixmap", "a(iiay)", &TrayIcon::Impl::GetPixmap, 0, 0),
    SD_BUS_PROPERTY("ToolTip", "(sa(iiay)ss)", &TrayIcon::Impl::GetToolTip, 0, 0),
    SD_BUS_PROPERTY("ItemIsMenu", "b", &TrayIcon::Impl::GetFalse, 0, SD_BUS_VTABLE_PROPERTY_CONST),
    SD_BUS_METHOD("Activate", "ii", "", &TrayIcon::Impl::OnActivate, SD_BUS_VTABLE_UNPRIVILEGED),
    SD_BUS_METHOD("ContextMenu", "ii", "", &TrayIcon::Impl::OnContextMenu,
                  SD_BUS_VTABLE_UNPRIVILEGED),
    SD_BUS_METHOD("SecondaryActivate", "ii", "", &TrayIcon::Impl::OnIgnored,
                  SD_BUS_VTABLE_UNPRIVILEGED),
    SD_BUS_METHOD("Scroll", "is", "", &TrayIcon::Impl::OnIgnored, SD_BUS_VTABLE_UNPRIVILEGED),
    SD_BUS_SIGNAL("NewToolTip", "", 0),
    SD_BUS_SIGNAL("NewIcon", "", 0),
    SD_BUS_SIGNAL("NewTitle", "", 0),
    SD_BUS_SIGNAL("NewStatus", "s", 0),
    SD_BUS_VTABLE_END,
};

}  // namespace

TrayIcon::TrayIcon() : impl_(std::make_unique<Impl>()) {}

TrayIcon::~TrayIcon() {
    Remove();
}

bool TrayIcon::Create(MessageLoop& loop, const std::string& id, const std::string& title,
                      const std::string& toolTip, const Image& icon, Click onActivate,
                      Click onContextMenu) {
    Impl& d = *impl_;
    if (d.bus) return true;
    d.loop = &loop;
    d.id = id;
    d.title = title;
    d.toolTip = toolTip;
    d.icon = icon;
    d.onActivate = std::move(onActivate);
    d.onContextMenu = std::move(onContextMenu);
    if (sd_bus_open_user(&d.bus) < 0) {
        d.bus = nullptr;
        DebugOutput("tray: no session bus\n");
        return false;
    }
    static std::atomic<int> count{0};
    d.service =
        "org.kde.StatusNotifierItem-" + std::to_string(::getpid()) + "-" + std::to_string(++count);
    int r = sd_bus_add_object_vtable(d.bus, &d.vtable, kItemPath, kItemInterface, kItemVtable, &d);
    if (r >= 0) r = sd_bus_request_name(d.bus, d.service.c_str(), 0);
    if (r >= 0) {
        const std::string match = std::string("type='signal',sender='org.freedesktop.DBus',") +
                                  "member='NameOwnerChanged',arg0='" + kWatcherName + "'";
        r = sd_bus_add_match(d.bus, &d.ownerMatch, match.c_str(), &Impl::OnOwnerChanged, &d);
    }
    if (r < 0) {
        DebugOutput(std::string("tray: set-up failed: ") + std::strerror(-r) + "\n");
        d.Close();
        return false;
    }
    loop.WatchFd(sd_bus_get_fd(d.bus), POLLIN, [&d](short) { d.Process(); });
    d.Register();
    return true;
}

void TrayIcon::Remove() {
    impl_->Close();
}

void TrayIcon::SetToolTip(const std::string& toolTip) {
    Impl& d = *impl_;
    d.toolTip = toolTip;
    if (d.bus) {
        sd_bus_emit_signal(d.bus, kItemPath, kItemInterface, "NewToolTip", "");
        sd_bus_flush(d.bus);
    }
}

bool TrayIcon::Created() const {
    return impl_->bus != nullptr;
}
bool TrayIcon::Registered() const {
    return impl_->registered;
}
const std::string& TrayIcon::serviceName() const {
    return impl_->service;
}

}  // namespace os

#include "os/x11_input_capture.h"

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>
#include <poll.h>

#include <bitset>
#include <cstdlib>
#include <cstring>

#include "os/debug_output.h"
#include "os/event.h"

namespace os {

namespace {

constexpr int kGrabAttempts = 3;
constexpr int kGrabRetryMs = 20;

bool WaylandSession() {
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    const char* session = std::getenv("XDG_SESSION_TYPE");
    return (wayland != nullptr && *wayland != '\0') ||
           (session != nullptr && std::strcmp(session, "wayland") == 0);
}

const char* GrabFailure(int status) {
    switch (status) {
        case AlreadyGrabbed:
            return "another program holds the keyboard";
        case GrabFrozen:
            return "the keyboard is frozen by another program's grab";
        case GrabInvalidTime:
            return "the grab came too late";
        case GrabNotViewable:
            return "the root window is not viewable";
        default:
            return "the X server refused the keyboard grab";
    }
}

class X11InputCapture : public InputCapture {
  public:
    explicit X11InputCapture(std::string displayName)
        : displayName_(std::move(displayName)), focusOnly_(WaylandSession()) {}
    ~X11InputCapture() override { Stop(); }

    Kind kind() const override { return Kind::kX11Grab; }
    bool FocusOnly() const override { return focusOnly_; }

    std::string Describe() const override {
        if (focusOnly_)
            return "input capture: X11 keyboard grab through XWayland on display " + displayName_ +
                   "; the compositor lets it work only while the Brasvik M402 window has the "
                   "focus";
        return "input capture: X11 keyboard grab on display " + displayName_ +
               ", mouse buttons from XInput2";
    }

    bool Start(MessageLoop& loop, InputCaptureSink* sink, InputCaptureOptions options,
               std::string* error) override {
        Stop();
        Display* dpy = XOpenDisplay(displayName_.c_str());
        if (dpy == nullptr) {
            if (error) *error = "cannot open the X display " + displayName_;
            return false;
        }
        const Window root = DefaultRootWindow(dpy);
        if (options.keys) {
            // Held keys repeat as presses without releases in between, as the hook record has it.
            XkbSetDetectableAutoRepeat(dpy, True, nullptr);
            int status = AlreadyGrabbed;
            for (int attempt = 0; attempt < kGrabAttempts; ++attempt) {
                if (attempt > 0) SleepMs(kGrabRetryMs);
                status = XGrabKeyboard(dpy, root, False, GrabModeAsync, GrabModeAsync, CurrentTime);
                if (status == GrabSuccess) break;
            }
            if (status != GrabSuccess) {
                if (error) *error = GrabFailure(status);
                XCloseDisplay(dpy);
                return false;
            }
        }
        xiOpcode_ = -1;
        if (options.buttons) {
            int event = 0, err = 0, opcode = 0;
            int major = 2, minor = 2;
            if (XQueryExtension(dpy, "XInputExtension", &opcode, &event, &err) &&
                XIQueryVersion(dpy, &major, &minor) == Success) {
                // Raw events reach every client that selects them, grabs or not (XI 2.1 on).
                unsigned char bits[XIMaskLen(XI_LASTEVENT)] = {};
                XISetMask(bits, XI_RawButtonPress);
                XISetMask(bits, XI_RawButtonRelease);
                XIEventMask mask{XIAllMasterDevices, static_cast<int>(sizeof bits), bits};
                XISelectEvents(dpy, root, &mask, 1);
                xiOpcode_ = opcode;
            } else {
                DebugOutput("input capture: the X server has no XInput2; mouse buttons unseen\n");
            }
        }
        XSync(dpy, False);
        dpy_ = dpy;
        loop_ = &loop;
        sink_ = sink;
        held_.reset();
        fd_ = ConnectionNumber(dpy);
        loop.WatchFd(fd_, POLLIN, [this](short) { Drain(); });
        // XSync may have queued events already; poll() would not report those.
        loop.PostTask([this, generation = ++generation_] {
            if (generation == generation_) Drain();
        });
        RegisterActiveCapture(this);
        return true;
    }

    void Stop() override {
        if (dpy_ == nullptr) return;
        ++generation_;
        UnregisterActiveCapture(this);
        loop_->UnwatchFd(fd_);
        // Closing the connection ends its grab; ungrab first so it ends at once.
        XUngrabKeyboard(dpy_, CurrentTime);
        XCloseDisplay(dpy_);
        dpy_ = nullptr;
        sink_ = nullptr;
        loop_ = nullptr;
        fd_ = -1;
    }

    bool Active() const override { return dpy_ != nullptr; }

  private:
    // Hands every queued event to the sink. The sink may stop the capture (or start it again)
    // on any event; the generation tells that the connection being read is gone.
    void Drain() {
        const uint64_t generation = generation_;
        while (dpy_ != nullptr && generation == generation_ && XPending(dpy_) > 0) {
            XEvent ev;
            XNextEvent(dpy_, &ev);
            if (ev.type == KeyPress || ev.type == KeyRelease) {
                CapturedKey key;
                key.linuxKey = static_cast<int>(ev.xkey.keycode) - 8;
                key.down = ev.type == KeyPress;
                key.timeMs = static_cast<uint32_t>(ev.xkey.time);
                if (ev.xkey.keycode < held_.size()) {
                    key.repeat = key.down && held_[ev.xkey.keycode];
                    held_[ev.xkey.keycode] = key.down;
                }
                sink_->OnCapturedKey(key);
            } else if (ev.type == GenericEvent && ev.xcookie.extension == xiOpcode_) {
                CapturedButton button;
                bool report = false;
                if (XGetEventData(dpy_, &ev.xcookie)) {
                    const auto* raw = static_cast<const XIRawEvent*>(ev.xcookie.data);
                    const int evtype = ev.xcookie.evtype;
                    button.button = raw->detail;
                    button.down = evtype == XI_RawButtonPress;
                    button.timeMs = static_cast<uint32_t>(raw->time);
                    report = (evtype == XI_RawButtonPress || evtype == XI_RawButtonRelease) &&
                             (button.button < 4 || button.button > 7);
                    XFreeEventData(dpy_, &ev.xcookie);
                }
                if (report) {
                    Window rootRet = 0, childRet = 0;
                    int wx = 0, wy = 0;
                    unsigned int mask = 0;
                    XQueryPointer(dpy_, DefaultRootWindow(dpy_), &rootRet, &childRet, &button.x,
                                  &button.y, &wx, &wy, &mask);
                    sink_->OnCapturedButton(button);
                }
            }
        }
    }

    std::string displayName_;
    bool focusOnly_;
    Display* dpy_ = nullptr;
    MessageLoop* loop_ = nullptr;
    InputCaptureSink* sink_ = nullptr;
    int fd_ = -1;
    int xiOpcode_ = -1;
    uint64_t generation_ = 0;
    std::bitset<256> held_;
};

}  // namespace

std::unique_ptr<InputCapture> CreateX11InputCapture() {
    const char* name = std::getenv("DISPLAY");
    if (name == nullptr || *name == '\0') return nullptr;
    // Only to find out whether the display is there; every capture opens its own connection.
    Display* probe = XOpenDisplay(name);
    if (probe == nullptr) return nullptr;
    XCloseDisplay(probe);
    return std::make_unique<X11InputCapture>(name);
}

}  // namespace os

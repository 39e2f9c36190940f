#include "os/testing/x_input_driver.h"

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

#include "os/event.h"

namespace os::testing {

namespace {

Display* D(void* p) {
    return static_cast<Display*>(p);
}

}  // namespace

bool ServeUntil(MessageLoop& loop, const std::function<bool()>& done, int limitMs) {
    const int64_t limit = MonotonicMs() + limitMs;
    while (!done()) {
        if (MonotonicMs() > limit) return false;
        loop.RunOnce(20);
    }
    return true;
}

XClientWindow::XClientWindow() {
    Display* dpy = XOpenDisplay(nullptr);
    if (dpy == nullptr) return;
    dpy_ = dpy;
    const int screen = DefaultScreen(dpy);
    window_ = XCreateSimpleWindow(dpy, RootWindow(dpy, screen), 0, 0, 400, 300, 0,
                                  BlackPixel(dpy, screen), WhitePixel(dpy, screen));
    XSelectInput(dpy, window_, KeyPressMask | KeyReleaseMask | ButtonPressMask | ExposureMask);
    XMapRaised(dpy, window_);
    XSync(dpy, False);
    // No window manager runs on the test display: the client takes the focus itself.
    XSetInputFocus(dpy, window_, RevertToParent, CurrentTime);
    XSync(dpy, False);
}

XClientWindow::~XClientWindow() {
    if (dpy_ != nullptr) XCloseDisplay(D(dpy_));
}

void XClientWindow::Read() {
    Display* dpy = D(dpy_);
    XSync(dpy, False);
    while (XPending(dpy) > 0) {
        XEvent ev;
        XNextEvent(dpy, &ev);
        if (ev.type == KeyPress) ++keyPresses_;
        if (ev.type == ButtonPress) ++buttonPresses_;
    }
}

int XClientWindow::KeyPresses() {
    Read();
    return keyPresses_;
}

int XClientWindow::ButtonPresses() {
    Read();
    return buttonPresses_;
}

bool XClientWindow::GrabKeyboard() {
    Display* dpy = D(dpy_);
    const int r = XGrabKeyboard(dpy, window_, False, GrabModeAsync, GrabModeAsync, CurrentTime);
    XSync(dpy, False);
    return r == GrabSuccess;
}

void XClientWindow::UngrabKeyboard() {
    XUngrabKeyboard(D(dpy_), CurrentTime);
    XSync(D(dpy_), False);
}

unsigned XClientWindow::LockedModifiers() {
    XkbStateRec state{};
    XkbGetState(D(dpy_), XkbUseCoreKbd, &state);
    return state.locked_mods;
}

XTestDriver::XTestDriver() {
    dpy_ = XOpenDisplay(nullptr);
}

XTestDriver::~XTestDriver() {
    if (dpy_ != nullptr) XCloseDisplay(D(dpy_));
}

void XTestDriver::Key(unsigned keycode, bool down) {
    XTestFakeKeyEvent(D(dpy_), keycode, down ? True : False, CurrentTime);
    XSync(D(dpy_), False);
}

void XTestDriver::Tap(unsigned keycode) {
    Key(keycode, true);
    Key(keycode, false);
}

void XTestDriver::Button(unsigned button, bool down) {
    XTestFakeButtonEvent(D(dpy_), button, down ? True : False, CurrentTime);
    XSync(D(dpy_), False);
}

void XTestDriver::MovePointer(int x, int y) {
    XTestFakeMotionEvent(D(dpy_), -1, x, y, CurrentTime);
    XSync(D(dpy_), False);
}

bool XTestDriver::KeyboardGrabbed() {
    Display* dpy = D(dpy_);
    const int r = XGrabKeyboard(dpy, DefaultRootWindow(dpy), False, GrabModeAsync, GrabModeAsync,
                                CurrentTime);
    if (r == GrabSuccess) XUngrabKeyboard(dpy, CurrentTime);
    XSync(dpy, False);
    return r != GrabSuccess;
}

}  // namespace os::testing

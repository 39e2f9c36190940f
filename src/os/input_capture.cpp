#include "os/input_capture.h"

#include <algorithm>
#include <vector>

#include "os/forwarded_input_capture.h"
#include "os/x11_input_capture.h"

namespace os {

namespace {

std::vector<InputCapture*>& ActiveCaptures() {
    static std::vector<InputCapture*> captures;
    return captures;
}

}  // namespace

std::unique_ptr<InputCapture> CreateDesktopInputCapture() {
    if (auto x11 = CreateX11InputCapture()) return x11;
    return std::make_unique<ForwardedInputCapture>(InputCapture::Kind::kFocusWindow);
}

void ReleaseAllInputCaptures() {
    // Stop unregisters; take a copy first.
    const std::vector<InputCapture*> captures = ActiveCaptures();
    for (InputCapture* c : captures) c->Stop();
}

bool OfferKeyToFocusCapture(const CapturedKey& key) {
    for (InputCapture* c : ActiveCaptures()) {
        if (c->kind() == InputCapture::Kind::kFocusWindow)
            return static_cast<ForwardedInputCapture*>(c)->OfferKey(key);
    }
    return false;
}

bool FocusCaptureActive() {
    for (InputCapture* c : ActiveCaptures())
        if (c->kind() == InputCapture::Kind::kFocusWindow) return true;
    return false;
}

void OfferButtonToFocusCapture(const CapturedButton& button) {
    for (InputCapture* c : ActiveCaptures()) {
        if (c->kind() == InputCapture::Kind::kFocusWindow)
            static_cast<ForwardedInputCapture*>(c)->OfferButton(button);
    }
}

void RegisterActiveCapture(InputCapture* capture) {
    auto& v = ActiveCaptures();
    if (std::find(v.begin(), v.end(), capture) == v.end()) v.push_back(capture);
}

void UnregisterActiveCapture(InputCapture* capture) {
    auto& v = ActiveCaptures();
    v.erase(std::remove(v.begin(), v.end(), capture), v.end());
}

}  // namespace os

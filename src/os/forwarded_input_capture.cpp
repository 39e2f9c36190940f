#include "os/forwarded_input_capture.h"

namespace os {

ForwardedInputCapture::~ForwardedInputCapture() {
    Stop();
}

std::string ForwardedInputCapture::Describe() const {
    if (kind_ == Kind::kFocusWindow)
        return "input capture: this desktop offers no global key capture; keys are captured "
               "while the Brasvik M402 window has the focus";
    return "input capture: synthetic events";
}

bool ForwardedInputCapture::Start(MessageLoop&, InputCaptureSink* sink, InputCaptureOptions options,
                                  std::string* error) {
    Stop();
    if (!failReason_.empty()) {
        if (error) *error = failReason_;
        failReason_.clear();
        return false;
    }
    sink_ = sink;
    options_ = options;
    RegisterActiveCapture(this);
    return true;
}

void ForwardedInputCapture::Stop() {
    if (sink_ == nullptr) return;
    sink_ = nullptr;
    for (auto& word : held_) word = 0;
    UnregisterActiveCapture(this);
}

bool ForwardedInputCapture::OfferKey(CapturedKey key) {
    if (sink_ == nullptr || !options_.keys) return false;
    if (key.linuxKey >= 0 && key.linuxKey < 256) {
        const uint64_t bit = uint64_t{1} << (key.linuxKey % 64);
        uint64_t& word = held_[key.linuxKey / 64];
        if (key.down) {
            key.repeat = key.repeat || (word & bit) != 0;
            word |= bit;
        } else {
            word &= ~bit;
        }
    }
    sink_->OnCapturedKey(key);
    return true;
}

void ForwardedInputCapture::OfferButton(const CapturedButton& button) {
    if (sink_ != nullptr && options_.buttons) sink_->OnCapturedButton(button);
}

}  // namespace os

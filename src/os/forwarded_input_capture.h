#pragma once

#include "os/input_capture.h"

namespace os {

// A capture whose events are handed in by code instead of read from the desktop: by the
// program's own window where the desktop offers no global capture (Wayland), and by tests. While
// started, Offer passes the event to the sink and answers whether the caller must swallow it.
class ForwardedInputCapture : public InputCapture {
  public:
    explicit ForwardedInputCapture(Kind kind = Kind::kSynthetic) : kind_(kind) {}
    ~ForwardedInputCapture() override;

    Kind kind() const override { return kind_; }
    std::string Describe() const override;
    bool FocusOnly() const override { return kind_ == Kind::kFocusWindow; }
    bool Start(MessageLoop& loop, InputCaptureSink* sink, InputCaptureOptions options,
               std::string* error) override;
    void Stop() override;
    bool Active() const override { return sink_ != nullptr; }

    // True when the key was captured: the caller then keeps it from the window it was meant
    // for. A key's repeat flag is worked out here when the caller leaves it false.
    bool OfferKey(CapturedKey key);
    // Buttons are only watched: the caller delivers them as usual.
    void OfferButton(const CapturedButton& button);

    // Tests: makes the next Start fail as if another program held the keyboard.
    void FailNextStart(std::string reason) { failReason_ = std::move(reason); }

  private:
    Kind kind_;
    InputCaptureSink* sink_ = nullptr;
    InputCaptureOptions options_;
    std::string failReason_;
    uint64_t held_[4] = {};  // keys 0..255 that are down
};

// For the window backend: hands a key of the program's own window to the running focus-window
// capture. True when it was captured; the window must not then see it.
bool OfferKeyToFocusCapture(const CapturedKey& key);
bool FocusCaptureActive();
void OfferButtonToFocusCapture(const CapturedButton& button);

}  // namespace os

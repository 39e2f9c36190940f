#include "app/device_bar/live_colour_ticker.h"

#include <algorithm>

#include "app/device_bar/device_option_ui.h"

namespace app {

namespace {
constexpr os::WPARAM kTickTimerId = 1;
}

LiveColourTicker::~LiveColourTicker() {
    for (CDeviceOptionUI* item : attached_) item->DetachLiveTicker(this);
    if (target_ != 0) os::DestroyTarget(target_);
}

void LiveColourTicker::Attach(CDeviceOptionUI* item) {
    if (std::find(attached_.begin(), attached_.end(), item) == attached_.end())
        attached_.push_back(item);
}

void LiveColourTicker::Forget(CDeviceOptionUI* item) {
    std::erase(attached_, item);
    Disarm(item);
}

void LiveColourTicker::Arm(CDeviceOptionUI* item, int periodMs) {
    const int every =
        std::max(1, (periodMs + static_cast<int>(kTickMs) / 2) / static_cast<int>(kTickMs));
    auto it = std::find_if(members_.begin(), members_.end(),
                           [&](const Member& m) { return m.item == item; });
    if (it != members_.end()) {
        it->every = every;
        it->count = 0;
    } else {
        members_.push_back({item, every, 0});
    }
    UpdateTimer();
}

void LiveColourTicker::Disarm(CDeviceOptionUI* item) {
    std::erase_if(members_, [&](const Member& m) { return m.item == item; });
    UpdateTimer();
}

bool LiveColourTicker::Armed(const CDeviceOptionUI* item) const {
    return std::any_of(members_.begin(), members_.end(),
                       [&](const Member& m) { return m.item == item; });
}

void LiveColourTicker::UpdateTimer() {
    if (members_.empty() == !running_) return;
    if (target_ == 0 && os::MessageLoop::Current() != nullptr) target_ = os::CreateTarget(this);
    if (target_ == 0) return;
    if (members_.empty()) {
        os::KillTimer(target_, kTickTimerId);
        running_ = false;
    } else {
        running_ = os::SetTimer(target_, kTickTimerId, kTickMs) != 0;
    }
}

void LiveColourTicker::Tick() {
    // A push may disarm its own item or another one (a device that left): the due items are
    // collected first and each is looked for again before it is served.
    due_.clear();
    for (Member& m : members_) {
        if (++m.count < m.every) continue;
        m.count = 0;
        due_.push_back(m.item);
    }
    for (CDeviceOptionUI* item : due_)
        if (Armed(item)) item->OnLiveColours();
}

os::LRESULT LiveColourTicker::HandleMessage(uint32_t msg, os::WPARAM w, os::LPARAM) {
    if (msg != os::WM_TIMER || w != kTickTimerId) return 0;
    Tick();
    return 1;
}

}  // namespace app

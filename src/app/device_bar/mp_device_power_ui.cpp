#include "app/device_bar/mp_device_power_ui.h"

#include <cstdio>

#include "app/device_bar/find_child.h"
#include "toolkit/controls/progress_ui.h"
#include "toolkit/paint_manager_ui.h"

namespace app {

namespace {

struct PhonePicture {
    const char* tooltip;
    const char* image;
};

// By the phone type of the power status; anything else than 1..3 is "no phone".
constexpr PhonePicture kPhonePictures[] = {
    {"Phone_type_no_device", "file='power/Phone_type_no_device.png'"},
    {"Phone_type_iphone", "file='power/Phone_type_iphone.png'"},
    {"Phone_type_samsung", "file='power/Phone_type_samsung.png'"},
    {"Phone_type_other", "file='power/Phone_type_other.png'"},
};

// By the charge state: powered, charging, on battery.
constexpr const char* kChargePictures[] = {
    "file='power/powered.png'",
    "file='power/powering.png'",
    "file='power/power.png'",
};

}  // namespace

bool CMpDevicePowerUI::Activate() {
    if (!CHorizontalLayoutUI::Activate()) return false;
    if (m_pManager) m_pManager->SendNotify(this, toolkit::DUI_MSGTYPE_SELECTCHANGED);
    return true;
}

bool CMpDevicePowerUI::FindParts() {
    if (!value_) value_ = FindChild(this, "device_power_value");
    if (!wireless_) wireless_ = FindChild(this, "device_wuxian_logo");
    if (!progress_) progress_ = FindChild(this, "device_Power_progress");
    if (!status_) status_ = FindChild(this, "device_power_status");
    if (!phone_) phone_ = FindChild(this, "device_phone_type");
    return value_ && wireless_ && progress_ && status_ && phone_;
}

void CMpDevicePowerUI::ShowPowerBlock(const device::PowerStatusBlock& block) {
    if (!FindParts()) return;
    const int percent = block.batteryPercent();
    // The bar follows every level the device reports; the number only a plausible one.
    if (auto* bar = dynamic_cast<toolkit::CProgressUI*>(progress_)) bar->SetValue(100 - percent);
    if (percent <= 100) lastPercent_ = percent;
    char text[16];
    std::snprintf(text, sizeof text, "%d%s", lastPercent_ < 0 ? 0 : lastPercent_, "%");
    value_->SetText(text);
    wireless_->SetVisible(block.wireless() != 0);
    const int state = block.powerState();
    if (state == 0) progress_->SetVisible(true);
    if (state <= 2) status_->SetBkImage(kChargePictures[state]);
    if (kind_ == 3) {
        const int phone = block.phoneType();
        const PhonePicture& p = kPhonePictures[phone >= 1 && phone <= 3 ? phone : 0];
        phone_->SetToolTip(p.tooltip);
        phone_->SetBkImage(p.image);
    }
}

void CMpDevicePowerUI::ShowWirelessSign(bool show) {
    if (FindParts()) wireless_->SetVisible(show);
}

void CMpDevicePowerUI::ShowValueLabel(bool show) {
    if (FindParts()) value_->SetVisible(show);
}

}  // namespace app

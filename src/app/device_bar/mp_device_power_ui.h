#pragma once

#include <string_view>

#include "device/power_indicator.h"
#include "toolkit/controls/horizontal_layout_ui.h"

namespace app {

// A device's power display in the device bar ("MpDevicePower"): battery level as text and bar,
// the wireless sign, the charge picture and, for a mouse pad, the picture of the paired phone.
// Its sub-controls are found by name on first use; until all five are there nothing is shown.
class CMpDevicePowerUI : public toolkit::CHorizontalLayoutUI, public device::IPowerIndicator {
  public:
    static constexpr std::string_view kClassName = "MpDevicePower";

    std::string_view GetClass() const override { return kClassName; }
    bool Activate() override;

    void SetKind(int kind, int subKind) {
        kind_ = kind;
        subKind_ = subKind;
    }
    int kind() const { return kind_; }
    int subKind() const { return subKind_; }
    // The battery level last shown (levels above 100 leave it), -1 before the first.
    int lastPercent() const { return lastPercent_; }

    void ShowPowerBlock(const device::PowerStatusBlock& block) override;
    void ShowWirelessSign(bool show) override;
    void ShowValueLabel(bool show);

    // The item this indicator belongs to (linked both ways by the item).
    void SetItem(toolkit::CControlUI* item) { item_ = item; }
    toolkit::CControlUI* item() const { return item_; }

  private:
    bool FindParts();

    int kind_ = 0;
    int subKind_ = 0;
    int lastPercent_ = -1;
    toolkit::CControlUI* item_ = nullptr;
    toolkit::CControlUI* value_ = nullptr;
    toolkit::CControlUI* wireless_ = nullptr;
    toolkit::CControlUI* progress_ = nullptr;
    toolkit::CControlUI* status_ = nullptr;
    toolkit::CControlUI* phone_ = nullptr;
};

}  // namespace app

#pragma once

#include <array>
#include <cstdint>

#include "toolkit/controls/label_ui.h"

namespace ui {

// A bar display of sample levels: one 1-pixel black bar every 2 pixels on white, each as high
// as its sample's share of full scale.
class CAudioRecordUI : public toolkit::CLabelUI {
  public:
    static constexpr int kSampleCount = 500;
    static constexpr int32_t kFullScale = 8192;

    CAudioRecordUI();
    std::string_view GetClass() const override;
    void PaintBkColor(cairo_t* cr) override;
    void PaintForeImage(cairo_t* cr) override;

    int32_t GetSample(int index) const { return m_samples[static_cast<size_t>(index)]; }

  private:
    std::array<int32_t, kSampleCount> m_samples{};
};

}  // namespace ui

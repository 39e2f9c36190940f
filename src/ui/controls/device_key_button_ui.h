#pragma once

#include <cstdint>
#include <string>

#include "device/light_overlay.h"
#include "toolkit/controls/button_ui.h"

namespace ui {

// One key or one LED on a device picture. Besides the button's own look it can show a light
// image tinted with the live LED colour, and a marker for keys whose assignment differs from
// their default. The select panel marks it when a rubber band covers it.
class CDeviceKeyButtonUI : public toolkit::CButtonUI, public device::ILightOverlay {
  public:
    std::string_view GetClass() const override;
    void DoEvent(toolkit::TEventUI& event) override;
    bool SetAttribute(const std::string& name, const std::string& value) override;
    void PaintStatusImage(cairo_t* cr) override;

    // Stores the tint of the light image without repainting: the device models update every
    // LED button at once and invalidate the page afterwards.
    void SetLightOverlay(uint32_t colour, int level, bool visible) override;
    void SetKeySetMarkerHidden(bool hidden);
    bool IsBandSelected() const { return m_bBandSelected; }
    void SetBandSelected(bool selected) { m_bBandSelected = selected; }

    void SetLightImage(const std::string& image);
    const std::string& GetLightImage() const { return m_sLightImage; }
    void SetKeySetImage(const std::string& image);
    const std::string& GetKeySetImage() const { return m_sKeySetImage; }
    uint32_t GetOverlayColour() const { return m_dwOverlayColour; }
    int GetOverlayLevel() const { return m_nOverlayLevel; }
    bool IsOverlayVisible() const { return m_bOverlayVisible; }
    bool IsKeySetMarkerHidden() const { return m_bMarkerHidden; }

  private:
    std::string m_sLightImage;
    std::string m_sKeySetImage;
    bool m_bOverlayVisible = false;
    uint32_t m_dwOverlayColour = 255;
    int m_nOverlayLevel = 200;
    bool m_bMarkerHidden = true;
    bool m_bBandSelected = false;
};

}  // namespace ui

#pragma once

#include <cairo.h>

#include <cstdint>
#include <string>

#include "toolkit/control_ui.h"

namespace toolkit {

inline constexpr const char* DUI_MSGTYPE_COLORCHANGED = "colorchanged";

// A colour picker surface: the upper part shows saturation (left to right) and brightness (top
// to bottom) at the chosen hue, the bar below it the hues. Pressing or dragging in either sends
// "colorchanged"; SetSelectColor from code is silent.
class CColorPaletteUI : public CControlUI {
  public:
    CColorPaletteUI();
    ~CColorPaletteUI() override;
    std::string_view GetClass() const override;

    // Opaque 0xFFRRGGBB.
    uint32_t GetSelectColor() const;
    void SetSelectColor(uint32_t argb);
    int GetHue() const { return m_nHue; }  // 0..359
    // Unscaled heights of the palette area and of the hue bar.
    void SetPalletHeight(int cy);
    void SetBarHeight(int cy);
    void SetThumbImage(const std::string& image) { m_sThumbImage = image; }

    UiRect GetPaletteRect() const;
    UiRect GetBarRect() const;

    void DoEvent(TEventUI& event) override;
    void PaintBkImage(cairo_t* cr) override;
    bool SetAttribute(const std::string& name, const std::string& value) override;

    static uint32_t HsbToRgb(int hue, double saturation, double brightness);

  private:
    enum class Drag { kNone, kPalette, kBar };
    void TrackTo(UiPoint pt);
    void UpdatePaletteSurface(int cx, int cy);

    int m_nHue = 0;
    double m_fSaturation = 1.0;
    double m_fBrightness = 1.0;
    int m_nPalletHeight = 0;  // 0: what the bar leaves
    int m_nBarHeight = 10;
    std::string m_sThumbImage;
    Drag m_drag = Drag::kNone;
    cairo_surface_t* m_palette = nullptr;
    int m_paletteHue = -1;
};

}  // namespace toolkit

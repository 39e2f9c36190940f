#include "ui/controls/device_key_button_ui.h"

#include "toolkit/paint_manager_ui.h"
#include "toolkit/ui_parse.h"

namespace ui {

using toolkit::AttributeEntry;
using toolkit::AttrText;
using toolkit::TEventUI;

namespace {

constexpr AttributeEntry<CDeviceKeyButtonUI> kAttributes[] = {
    {"lightimage", AttrText<CDeviceKeyButtonUI, &CDeviceKeyButtonUI::SetLightImage>},
    {"keysetimage", AttrText<CDeviceKeyButtonUI, &CDeviceKeyButtonUI::SetKeySetImage>},
};

}  // namespace

std::string_view CDeviceKeyButtonUI::GetClass() const {
    return "DeviceKeyButton";
}

void CDeviceKeyButtonUI::DoEvent(TEventUI& event) {
    if (event.Type == toolkit::UIEVENT_DBLCLICK) {
        // The double click opens the key's assignment; the button must not turn the second press
        // into another click.
        if (m_rcItem.Contains(event.ptMouse) && IsEnabled()) {
            m_uButtonState |= toolkit::UISTATE_PUSHED | toolkit::UISTATE_CAPTURED;
            if (m_pManager != nullptr) m_pManager->SendNotify(this, "dbclick");
            Invalidate();
        }
        return;
    }
    CButtonUI::DoEvent(event);
}

bool CDeviceKeyButtonUI::SetAttribute(const std::string& name, const std::string& value) {
    if (const auto* entry = toolkit::FindAttribute(kAttributes, name))
        return entry->apply(*this, value);
    return CButtonUI::SetAttribute(name, value);
}

void CDeviceKeyButtonUI::SetLightImage(const std::string& image) {
    m_sLightImage = image;
    Invalidate();
}

void CDeviceKeyButtonUI::SetKeySetImage(const std::string& image) {
    m_sKeySetImage = image;
    Invalidate();
}

void CDeviceKeyButtonUI::SetLightOverlay(uint32_t colour, int level, bool visible) {
    m_dwOverlayColour = colour;
    m_nOverlayLevel = level;
    m_bOverlayVisible = visible;
}

void CDeviceKeyButtonUI::SetKeySetMarkerHidden(bool hidden) {
    if (hidden == m_bMarkerHidden) return;
    m_bMarkerHidden = hidden;
    Invalidate();
}

void CDeviceKeyButtonUI::PaintStatusImage(cairo_t* cr) {
    CButtonUI::PaintStatusImage(cr);
    if (m_bOverlayVisible && !m_sLightImage.empty()) {
        DrawImage(cr, m_sLightImage, m_dwOverlayColour, m_nOverlayLevel, m_bOverlayVisible);
    }
    if (!m_bMarkerHidden && !m_sKeySetImage.empty()) DrawImage(cr, m_sKeySetImage, 0, 0, false);
}

}  // namespace ui

#include "ui/controls/hand_img_select_button_ui.h"

#include <string_view>

#include "os/debug_output.h"
#include "toolkit/paint_manager_ui.h"
#include "ui/controls/hover_notify.h"

namespace ui {

using toolkit::TEventUI;
using toolkit::UiRect;
using toolkit::UiSize;
using toolkit::UISTATE_CAPTURED;
using toolkit::UISTATE_PUSHED;

namespace {

// The pointer shapes a skin may name for the viewport; the names are also the window backend's
// cursor names.
constexpr std::string_view kCursorNames[] = {
    "arrow",    "ibeam",    "wait",   "cross",  "uparrow", "size", "icon",
    "sizenwse", "sizenesw", "sizewe", "sizens", "sizeall", "no",   "hand",
};

// One axis of a pan: lo and hi are the window's edges, extent the picture's size along it.
void PanAxis(int pos, int last, int extent, int& lo, int& hi) {
    if (pos < last) {
        // The step is not limited here: the far edge may pass the picture by less than one
        // step, and drawing clips the source to the picture.
        if (hi < extent) {
            lo += last - pos;
            hi += last - pos;
        }
    } else if (lo > 0) {
        int step = pos - last;
        if (lo > step) {
            lo -= step;
            hi -= step;
        } else {
            // Stop at the picture's edge and keep the window's size.
            hi -= lo;
            lo = 0;
        }
    }
}

}  // namespace

std::string_view CHandImgSelectButtonUI::GetClass() const {
    return "HandImgSelectButton";
}

UiSize CHandImgSelectButtonUI::ControlSize() const {
    if (!m_rcItem.IsEmpty()) return UiSize{m_rcItem.GetWidth(), m_rcItem.GetHeight()};
    return UiSize{GetFixedWidth(), GetFixedHeight()};
}

void CHandImgSelectButtonUI::SetDisplayFromSource() {
    m_sDisplayImage = "file='" + m_sHandImage + "' source='" + std::to_string(m_rcSource.left) +
                      "," + std::to_string(m_rcSource.top) + "," +
                      std::to_string(m_rcSource.right) + "," + std::to_string(m_rcSource.bottom) +
                      "'";
}

void CHandImgSelectButtonUI::FitHandImage() {
    if (m_pManager == nullptr) return;
    const toolkit::TImageInfo* image = m_pManager->GetImage(m_sHandImage);
    if (image == nullptr) return;
    m_nImageWidth = image->nX;
    m_nImageHeight = image->nY;
    UiSize size = ControlSize();
    m_szFitted = size;
    m_rcSource = UiRect{0, 0, size.cx, size.cy};
    if (size.cx >= m_nImageWidth && size.cy >= m_nImageHeight) {
        m_sDisplayImage = m_sHandImage;
    } else {
        SetDisplayFromSource();
    }
}

void CHandImgSelectButtonUI::SetPos(UiRect rc, bool needInvalidate) {
    CButtonUI::SetPos(rc, needInvalidate);
    // The window into the picture has the control's size. The skin may name the picture before
    // the control's size is known, so the window is fitted again when the size it was fitted to
    // changes (the pan starts over then).
    if (!m_sHandImage.empty() && ControlSize() != m_szFitted) FitHandImage();
}

void CHandImgSelectButtonUI::PanHandImage(int x, int y) {
    PanAxis(x, m_ptLast.x, m_nImageWidth, m_rcSource.left, m_rcSource.right);
    PanAxis(y, m_ptLast.y, m_nImageHeight, m_rcSource.top, m_rcSource.bottom);
    m_ptLast = toolkit::UiPoint{x, y};
    SetDisplayFromSource();
}

void CHandImgSelectButtonUI::SetHandImage(const std::string& path) {
    m_sHandImage = path;
    FitHandImage();
    Invalidate();
}

void CHandImgSelectButtonUI::DoEvent(TEventUI& event) {
    switch (event.Type) {
        case toolkit::UIEVENT_BUTTONDOWN:
        case toolkit::UIEVENT_DBLCLICK:
            // The pan always starts from the press: a drag that began outside or on a disabled
            // viewport would otherwise jump by the distance from an old position.
            m_bDragging = true;
            m_ptLast = event.ptMouse;
            if (m_rcItem.Contains(event.ptMouse) && IsEnabled()) {
                m_uButtonState |= UISTATE_PUSHED | UISTATE_CAPTURED;
                Invalidate();
            }
            return;
        case toolkit::UIEVENT_BUTTONUP:
            m_bDragging = false;
            if ((m_uButtonState & UISTATE_CAPTURED) != 0) {
                m_uButtonState &= ~(UISTATE_PUSHED | UISTATE_CAPTURED);
                Invalidate();
            }
            return;
        case toolkit::UIEVENT_MOUSEMOVE:
            if (m_bDragging) PanHandImage(event.ptMouse.x, event.ptMouse.y);
            TrackPushed(m_uButtonState, m_rcItem, event.ptMouse);
            Invalidate();
            return;
        default:
            break;
    }
    NotifyHover(*this, m_uButtonState, event);
    CButtonUI::DoEvent(event);
}

bool CHandImgSelectButtonUI::SetAttribute(const std::string& name, const std::string& value) {
    if (toolkit::EqualsNoCase(name, "handimage")) {
        SetHandImage(value);
        return true;
    }
    if (toolkit::EqualsNoCase(name, "cursor")) {
        for (std::string_view cursor : kCursorNames) {
            if (value == cursor) {
                SetCursor(std::string(cursor));
                return true;
            }
        }
        // An unknown shape keeps the current cursor; the skin still loads.
        os::DebugOutput("HandImgSelectButton: unknown cursor '" + value + "'");
        return true;
    }
    return CButtonUI::SetAttribute(name, value);
}

void CHandImgSelectButtonUI::PaintStatusImage(cairo_t* cr) {
    CButtonUI::PaintStatusImage(cr);
    if (!m_sDisplayImage.empty()) DrawImage(cr, m_sDisplayImage);
}

}  // namespace ui

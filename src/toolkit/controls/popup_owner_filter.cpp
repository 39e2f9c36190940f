#include "toolkit/controls/popup_owner_filter.h"

#include <algorithm>

#include "toolkit/paint_manager_ui.h"

namespace toolkit {

CPopupOwnerFilter::CPopupOwnerFilter(CPaintManagerUI* owner, std::function<void()> close)
    : m_owner(owner), m_close(std::move(close)) {
    if (m_owner != nullptr) m_owner->AddMessageFilter(this);
}

CPopupOwnerFilter::~CPopupOwnerFilter() {
    // The owner window may have gone first (its "exit" command closed it before the menu).
    if (m_owner == nullptr) return;
    const auto& live = CPaintManagerUI::GetPaintManagers();
    if (std::find(live.begin(), live.end(), m_owner) != live.end())
        m_owner->RemoveMessageFilter(this);
}

LRESULT CPopupOwnerFilter::MessageHandler(uint32_t msg, WPARAM, LPARAM, bool& handled) {
    switch (msg) {
        case os::WM_LBUTTONDOWN:
        case os::WM_LBUTTONDBLCLK:
        case os::WM_RBUTTONDOWN:
        case os::WM_MBUTTONDOWN:
            handled = true;
            if (m_close) {
                // Closing may delete this filter; the call runs on a copy.
                std::function<void()> close = m_close;
                close();
            }
            return 0;
        default:
            return 0;
    }
}

}  // namespace toolkit

#include "toolkit/controls/popup_owner_filter.h"

#include "toolkit/paint_manager_ui.h"

namespace toolkit {

CPopupOwnerFilter::CPopupOwnerFilter(CPaintManagerUI* owner, std::function<void()> close)
    : m_owner(owner), m_close(std::move(close)) {
    if (m_owner != nullptr) m_owner->AddMessageFilter(this);
}

CPopupOwnerFilter::~CPopupOwnerFilter() {
    if (m_owner != nullptr) m_owner->RemoveMessageFilter(this);
}

LRESULT CPopupOwnerFilter::MessageHandler(uint32_t msg, WPARAM, LPARAM, bool& handled) {
    switch (msg) {
        case os::WM_LBUTTONDOWN:
        case os::WM_LBUTTONDBLCLK:
        case os::WM_RBUTTONDOWN:
        case os::WM_MBUTTONDOWN:
            handled = true;
            if (m_close) m_close();
            return 0;
        default:
            return 0;
    }
}

}  // namespace toolkit

#include "toolkit/controls/text_ui.h"

namespace toolkit {

CTextUI::CTextUI() {
    m_uTextStyle = DT_WORDBREAK;
}

std::string_view CTextUI::GetClass() const {
    return "Text";
}

}  // namespace toolkit

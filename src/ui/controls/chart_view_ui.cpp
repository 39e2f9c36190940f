#include "ui/controls/chart_view_ui.h"

#include "toolkit/ui_parse.h"

namespace ui {

bool CChartViewUI::SetAttribute(const std::string& name, const std::string& value) {
    // The base sees every attribute first, the chart's own included ("font" sets both the base
    // font and the chart's); the chart's names are then matched exactly as the skins spell them.
    if (!CControlUI::SetAttribute(name, value)) return false;
    if (name == "view") {
        if (value == "pie")
            m_nViewKind = kPie;
        else if (value == "histpgram")  // the skins' spelling
            m_nViewKind = kHistogram;
    } else if (name == "shadowimage") {
        m_sShadowImage = value;
    } else if (name == "pillarimage") {
        m_sPillarImage = value;
    } else if (name == "shadowimageheight") {
        return toolkit::ParseInt(value, m_nShadowImageHeight);
    } else if (name == "pillarimagewidth") {
        return toolkit::ParseInt(value, m_nPillarImageWidth);
    } else if (name == "font") {
        return toolkit::ParseInt(value, m_nFont);
    } else if (name == "showhtml") {
        m_bShowHtml = value == "true";
    } else if (name == "showtext") {
        m_bShowText = value == "true";
    }
    return true;
}

}  // namespace ui

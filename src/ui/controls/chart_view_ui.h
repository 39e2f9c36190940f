#pragma once

#include <string>
#include <utility>
#include <vector>

#include "toolkit/control_ui.h"

namespace ui {

// A chart of labelled values, as a pie or as a histogram. No panel of this program gives it
// values yet, so it paints as a plain control; the skin attributes are kept for when one does.
class CChartViewUI : public toolkit::CControlUI {
  public:
    enum ViewKind { kPie = 0, kHistogram = 1 };

    bool SetAttribute(const std::string& name, const std::string& value) override;

    int GetViewKind() const { return m_nViewKind; }
    const std::string& GetShadowImage() const { return m_sShadowImage; }
    int GetShadowImageHeight() const { return m_nShadowImageHeight; }
    const std::string& GetPillarImage() const { return m_sPillarImage; }
    int GetPillarImageWidth() const { return m_nPillarImageWidth; }
    bool IsShowHtml() const { return m_bShowHtml; }
    bool IsShowText() const { return m_bShowText; }
    int GetChartFont() const { return m_nFont; }
    const std::vector<std::pair<std::string, double>>& GetValues() const { return m_values; }

  private:
    std::vector<std::pair<std::string, double>> m_values;
    int m_nViewKind = kPie;
    std::string m_sShadowImage;
    int m_nShadowImageHeight = 0;
    std::string m_sPillarImage;
    int m_nPillarImageWidth = 0;
    bool m_bShowHtml = false;
    bool m_bShowText = true;
    int m_nFont = -1;
};

}  // namespace ui

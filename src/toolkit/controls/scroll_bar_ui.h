#pragma once

#include <functional>
#include <string>

#include "toolkit/control_ui.h"

namespace toolkit {

// A scroll bar: a track with a thumb the user drags, optional line buttons at both ends, and a
// page step on a press in the track. The position runs from 0 to the range; the owner hears of
// every change through the scroll handler and lays its content out again.
class CScrollBarUI : public CControlUI {
  public:
    CScrollBarUI();
    std::string_view GetClass() const override;

    bool IsHorizontal() const { return m_bHorizontal; }
    void SetHorizontal(bool on);
    int GetScrollRange() const { return m_nRange; }
    void SetScrollRange(int range);
    int GetScrollPos() const { return m_nScrollPos; }
    // Clamped to 0..range; calls the scroll handler when the position changed and notify is set.
    void SetScrollPos(int pos, bool notify = true);
    int GetLineSize() const { return Scale(m_nLineSize); }
    void SetLineSize(int size) { m_nLineSize = size; }
    // The size of one page, which also sets the thumb's share of the track.
    void SetPageSize(int size) { m_nPageSize = size; }
    int GetPageSize() const { return m_nPageSize; }
    void SetShowButton1(bool on) { m_bShowButton1 = on; }
    void SetShowButton2(bool on) { m_bShowButton2 = on; }
    void SetScrollHandler(std::function<void(int)> handler) { m_onScroll = std::move(handler); }

    UiRect GetThumbRect() const { return m_rcThumb; }
    UiRect GetButton1Rect() const { return m_rcButton1; }
    UiRect GetButton2Rect() const { return m_rcButton2; }
    bool IsThumbCaptured() const { return m_bThumbCaptured; }

    void SetPos(UiRect rc, bool needInvalidate = true) override;
    void DoEvent(TEventUI& event) override;
    bool SetAttribute(const std::string& name, const std::string& value) override;
    void PaintStatusImage(cairo_t* cr) override;

    void SetThumbColor(uint32_t argb) { m_dwThumbColor = argb; }
    void SetThumbHotColor(uint32_t argb) { m_dwThumbHotColor = argb; }
    void SetThumbNormalImage(const std::string& s) { m_sThumbNormalImage = s; }
    void SetThumbHotImage(const std::string& s) { m_sThumbHotImage = s; }
    void SetThumbPushedImage(const std::string& s) { m_sThumbPushedImage = s; }
    void SetRailColor(uint32_t argb) { m_dwRailColor = argb; }
    void SetButton1NormalImage(const std::string& s) { m_sButton1Image = s; }
    void SetButton2NormalImage(const std::string& s) { m_sButton2Image = s; }

  private:
    void Layout();
    int TrackLength() const;

    bool m_bHorizontal = false;
    int m_nRange = 100;
    int m_nScrollPos = 0;
    int m_nLineSize = 8;
    int m_nPageSize = 0;
    bool m_bShowButton1 = false;
    bool m_bShowButton2 = false;
    bool m_bThumbCaptured = false;
    bool m_bThumbHot = false;
    UiPoint m_ptDragStart;
    int m_nDragStartPos = 0;
    UiRect m_rcThumb;
    UiRect m_rcButton1;
    UiRect m_rcButton2;
    uint32_t m_dwThumbColor = 0xFFC2C2C2;
    uint32_t m_dwThumbHotColor = 0xFFA8A8A8;
    uint32_t m_dwRailColor = 0;
    std::string m_sThumbNormalImage;
    std::string m_sThumbHotImage;
    std::string m_sThumbPushedImage;
    std::string m_sButton1Image;
    std::string m_sButton2Image;
    std::function<void(int)> m_onScroll;
};

}  // namespace toolkit

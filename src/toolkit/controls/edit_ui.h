#pragma once

#include <pango/pango.h>

#include <cstdint>
#include <string>

#include "toolkit/controls/label_ui.h"

namespace toolkit {

inline constexpr const char* DUI_MSGTYPE_TEXTCHANGED = "textchanged";
inline constexpr const char* DUI_MSGTYPE_RETURN = "return";

// A text field drawn by the toolkit itself: caret, selection with the pointer and with Shift and
// the cursor keys, Backspace and Delete, Ctrl+A/C/X/V through CClipboard, a number-only mode, a
// maximum length in characters and a read-only mode. Text is UTF-8; the caret and the selection
// are byte offsets that always sit on character boundaries.
//
// Notifications: "setfocus" and "killfocus" as the focus comes and goes, "textchanged" after
// every change the user makes (SetText from code sends nothing), "return" on Enter (single-line
// edits only: the multi-line rich edit takes Enter as a line break).
class CEditUI : public CLabelUI {
  public:
    CEditUI();
    std::string_view GetClass() const override;

    void SetText(const std::string& text) override;
    void SetEnabled(bool enabled = true) override;
    void DoEvent(TEventUI& event) override;
    void PaintStatusImage(cairo_t* cr) override;
    void PaintText(cairo_t* cr) override;
    bool SetAttribute(const std::string& name, const std::string& value) override;

    bool IsReadOnly() const { return m_bReadOnly; }
    void SetReadOnly(bool on);
    bool IsNumberOnly() const { return m_bNumberOnly; }
    void SetNumberOnly(bool on) { m_bNumberOnly = on; }
    int GetMaxChar() const { return m_nMaxChar; }
    // Characters (code points), not bytes; text longer than this from code is cut.
    void SetMaxChar(int count);
    bool IsPasswordMode() const { return m_bPasswordMode; }
    void SetPasswordMode(bool on);
    void SetPasswordChar(char c) { m_cPasswordChar = c; }
    const std::string& GetTipValue() const { return m_sTipValue; }
    void SetTipValue(const std::string& text);
    void SetTipValueColor(uint32_t argb) { m_dwTipValueColor = argb; }
    void SetNativeEditBkColor(uint32_t argb) { m_dwEditBkColor = argb; }
    void SetNormalImage(const std::string& s) { m_sNormalImage = s; }
    void SetHotImage(const std::string& s) { m_sHotImage = s; }
    void SetFocusedImage(const std::string& s) { m_sFocusedImage = s; }
    void SetDisabledImage(const std::string& s) { m_sDisabledImage = s; }
    void SetSelectedBkColor(uint32_t argb) { m_dwSelBkColor = argb; }
    bool IsMultiLine() const { return m_bMultiLine; }

    // Caret and selection (byte offsets into GetText()).
    size_t GetCaret() const { return m_nCaret; }
    void SetSel(size_t start, size_t end);  // end is where the caret goes
    void SetSelAll() { SetSel(0, m_sText.size()); }
    void SetSelNone() { SetSel(m_nCaret, m_nCaret); }
    size_t GetSelStart() const;
    size_t GetSelEnd() const;
    std::string GetSelText() const;
    // Replaces the selection as if typed: number-only and length rules apply, no notification.
    bool ReplaceSel(const std::string& text);

    // The text's own geometry, for the caret and for hit tests.
    UiRect GetCaretRect();
    size_t IndexFromPoint(UiPoint pt);

  protected:
    // Applies a user edit and sends "textchanged" when the text changed.
    bool UserReplace(const std::string& text);
    void DeleteBackward();
    void DeleteForward();
    void MoveCaret(size_t to, bool extend);
    size_t LineStart(size_t index);
    size_t LineEnd(size_t index);
    size_t VerticalMove(size_t index, int lines);
    void OnKeyDown(uint32_t key);
    // Keeps the caret inside the visible part of the text.
    void ScrollToCaret();
    UiRect TextRect() const;
    std::string DisplayText() const;
    size_t ToDisplay(size_t index) const;
    size_t FromDisplay(size_t index) const;
    PangoLayout* Layout();
    // Where the layout's top-left corner is drawn.
    UiPoint LayoutOrigin(PangoLayout* layout);

    bool m_bMultiLine = false;
    bool m_bReadOnly = false;
    bool m_bNumberOnly = false;
    bool m_bPasswordMode = false;
    char m_cPasswordChar = '*';
    int m_nMaxChar = 255;
    size_t m_nCaret = 0;
    size_t m_nAnchor = 0;
    bool m_bSelecting = false;  // pointer pressed inside, extending the selection
    bool m_bHot = false;
    int m_nScrollX = 0;
    int m_nScrollY = 0;
    std::string m_sTipValue;
    uint32_t m_dwTipValueColor = 0xFFBAC0C5;
    uint32_t m_dwEditBkColor = 0;
    uint32_t m_dwSelBkColor = 0xFF3399FF;
    std::string m_sNormalImage;
    std::string m_sHotImage;
    std::string m_sFocusedImage;
    std::string m_sDisabledImage;
};

}  // namespace toolkit

#pragma once

#include "toolkit/controls/edit_ui.h"

namespace toolkit {

// The multi-line plain-text field: the edit's behaviour with wrapped lines, Enter as a line
// break, Up and Down between lines and the view following the caret vertically.
// Formatted text (fonts and colours inside the text) is deliberately left out: the program
// only shows and takes plain text in its rich edits.
class CRichEditUI : public CEditUI {
  public:
    CRichEditUI();
    std::string_view GetClass() const override;
    bool SetAttribute(const std::string& name, const std::string& value) override;

    // Without "wantreturn" Enter sends "return" like a single-line edit.
    void SetWantReturn(bool on) { m_bWantReturn = on; }
    void DoEvent(TEventUI& event) override;

  private:
    bool m_bWantReturn = true;
};

}  // namespace toolkit

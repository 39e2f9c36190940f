#include "toolkit/clipboard.h"

namespace toolkit {

namespace {

struct ClipboardState {
    std::string text;
    CClipboard::Setter setter;
    CClipboard::Getter getter;
};

ClipboardState& State() {
    static ClipboardState state;
    return state;
}

}  // namespace

void CClipboard::SetText(const std::string& text) {
    ClipboardState& s = State();
    s.text = text;
    if (s.setter) s.setter(text);
}

std::string CClipboard::GetText() {
    ClipboardState& s = State();
    if (s.getter) return s.getter();
    return s.text;
}

void CClipboard::SetHandlers(Setter setter, Getter getter) {
    State().setter = std::move(setter);
    State().getter = std::move(getter);
}

}  // namespace toolkit

#include "app/script_runner.h"

#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <utility>

#include "toolkit/control_ui.h"
#include "toolkit/controls/list_owner.h"
#include "toolkit/controls/slider_ui.h"
#include "toolkit/controls/tab_layout_ui.h"
#include "toolkit/paint_manager_ui.h"
#include "toolkit/test_driver.h"
#include "toolkit/window_wnd.h"

namespace app {

namespace {

constexpr uint32_t kStepMessage = os::WM_USER + 1;
constexpr uintptr_t kWaitTimer = 1;
constexpr uintptr_t kWindowTimer = 2;
constexpr uintptr_t kStateTimer = 3;
constexpr int kWindowPollMs = 20;

// What each verb takes after it.
enum class Args { kNone, kName, kNameAndRest, kNameAndWord, kWord, kRest };

struct Verb {
    const char* name;
    Args args;
};

constexpr Verb kVerbs[] = {
    {"window", Args::kName},
    {"click", Args::kName},
    {"dblclick", Args::kName},
    {"select", Args::kNameAndWord},
    {"type", Args::kNameAndRest},
    {"key", Args::kNameAndWord},
    {"focus", Args::kName},
    {"wait", Args::kWord},
    {"expect-text", Args::kNameAndRest},
    {"expect-visible", Args::kNameAndWord},
    {"wait-visible", Args::kNameAndWord},
    {"wait-text", Args::kNameAndRest},
    {"value", Args::kNameAndWord},
    {"expect-value", Args::kNameAndWord},
    {"screenshot", Args::kRest},
    {"quit", Args::kNone},
};

struct NamedKey {
    const char* name;
    uint32_t code;
};

constexpr NamedKey kKeys[] = {
    {"Back", 0x08},   {"Backspace", 0x08}, {"Tab", 0x09},    {"Return", 0x0D}, {"Enter", 0x0D},
    {"Escape", 0x1B}, {"Esc", 0x1B},       {"Space", 0x20},  {"PageUp", 0x21}, {"PageDown", 0x22},
    {"End", 0x23},    {"Home", 0x24},      {"Left", 0x25},   {"Up", 0x26},     {"Right", 0x27},
    {"Down", 0x28},   {"Insert", 0x2D},    {"Delete", 0x2E}, {"Del", 0x2E},
};

std::string Trim(const std::string& s) {
    const size_t b = s.find_first_not_of(" \t\r");
    if (b == std::string::npos) return "";
    const size_t e = s.find_last_not_of(" \t\r");
    return s.substr(b, e - b + 1);
}

// Splits off the first word of s; s keeps the rest, trimmed.
std::string TakeWord(std::string& s) {
    const size_t end = s.find_first_of(" \t");
    std::string word = s.substr(0, end);
    s = end == std::string::npos ? "" : Trim(s.substr(end));
    return word;
}

bool ParseInt(const std::string& s, int* value) {
    if (s.empty()) return false;
    char* end = nullptr;
    const long v = std::strtol(s.c_str(), &end, 10);
    if (*end != '\0' || v < 0 || v > 1000000000) return false;
    *value = static_cast<int>(v);
    return true;
}

// "NAME[N]" gives NAME and N; a plain name gives itself and -1. False for a malformed index.
bool SplitNameIndex(std::string& name, int* index) {
    *index = -1;
    const size_t open = name.find('[');
    if (open == std::string::npos) return true;
    if (open == 0 || name.back() != ']') return false;
    int n = 0;
    if (!ParseInt(name.substr(open + 1, name.size() - open - 2), &n)) return false;
    *index = n;
    name.resize(open);
    return true;
}

struct NthQuery {
    const std::string* name;
    int skip;
};

toolkit::CControlUI* MatchNth(toolkit::CControlUI* control, void* data) {
    auto* q = static_cast<NthQuery*>(data);
    if (!toolkit::EqualsNoCase(control->GetName(), *q->name)) return nullptr;
    return q->skip-- == 0 ? control : nullptr;
}

// The control a step names: the N-th of that name in tree order, or the first.
toolkit::CControlUI* FindStepControl(toolkit::CPaintManagerUI& pm, const ScriptStep& step) {
    if (step.nameIndex < 0) return pm.FindControl(step.name);
    toolkit::CControlUI* root = pm.GetRoot();
    if (root == nullptr) return nullptr;
    NthQuery q{&step.name, step.nameIndex};
    return root->FindControl(MatchNth, &q, toolkit::UIFIND_ME_FIRST);
}

std::string StepName(const ScriptStep& step) {
    return step.nameIndex < 0 ? step.name : step.name + "[" + std::to_string(step.nameIndex) + "]";
}

toolkit::CPaintManagerUI* ManagerOf(os::HWND hwnd) {
    if (hwnd == 0) return nullptr;
    for (toolkit::CPaintManagerUI* pm : toolkit::CPaintManagerUI::GetPaintManagers())
        if (pm->GetPaintWindow() == hwnd) return pm;
    return nullptr;
}

}  // namespace

uint32_t ScriptKeyCode(const std::string& name) {
    for (const NamedKey& k : kKeys)
        if (toolkit::EqualsNoCase(name, k.name)) return k.code;
    if ((name[0] == 'F' || name[0] == 'f') && name.size() >= 2 && name.size() <= 3) {
        int n = 0;
        if (ParseInt(name.substr(1), &n) && n >= 1 && n <= 24) return 0x6F + n;
    }
    if (name.size() == 1) {
        const char c = name[0];
        if (c >= '0' && c <= '9') return static_cast<uint32_t>(c);
        if (c >= 'a' && c <= 'z') return static_cast<uint32_t>(c - 'a' + 'A');
        if (c >= 'A' && c <= 'Z') return static_cast<uint32_t>(c);
    }
    if (name.size() > 2 && name[0] == '0' && (name[1] == 'x' || name[1] == 'X')) {
        char* end = nullptr;
        const unsigned long v = std::strtoul(name.c_str() + 2, &end, 16);
        if (*end == '\0' && v > 0 && v < 0x100) return static_cast<uint32_t>(v);
    }
    return 0;
}

bool ParseScript(const std::string& text, std::vector<ScriptStep>* steps, std::string* error) {
    steps->clear();
    std::istringstream in(text);
    std::string raw;
    int line = 0;
    auto fail = [&](const std::string& why) {
        *error = "line " + std::to_string(line) + ": " + why;
        return false;
    };
    while (std::getline(in, raw)) {
        ++line;
        std::string rest = Trim(raw);
        if (rest.empty() || rest[0] == '#') continue;
        ScriptStep step;
        step.line = line;
        step.source = rest;
        step.verb = TakeWord(rest);
        const Verb* verb = nullptr;
        for (const Verb& v : kVerbs)
            if (step.verb == v.name) verb = &v;
        if (verb == nullptr) return fail("unknown step '" + step.verb + "'");
        const std::string usage = "'" + step.verb + "' ";
        switch (verb->args) {
            case Args::kNone:
                if (!rest.empty()) return fail(usage + "takes nothing after it");
                break;
            case Args::kName:
                step.name = TakeWord(rest);
                if (step.name.empty() || !rest.empty()) return fail(usage + "takes one name");
                break;
            case Args::kNameAndRest:
                step.name = TakeWord(rest);
                if (step.name.empty()) return fail(usage + "needs a control name");
                step.text = rest;
                if (step.verb == "type" && step.text.empty()) return fail("'type' needs a text");
                break;
            case Args::kNameAndWord:
                step.name = TakeWord(rest);
                step.text = TakeWord(rest);
                if (step.name.empty() || step.text.empty() || !rest.empty())
                    return fail(usage + "takes a name and one value");
                break;
            case Args::kWord:
                step.text = TakeWord(rest);
                if (step.text.empty() || !rest.empty()) return fail(usage + "takes one value");
                break;
            case Args::kRest:
                step.text = rest;
                if (step.text.empty()) return fail(usage + "needs a path");
                break;
        }
        if (step.verb != "window" && !SplitNameIndex(step.name, &step.nameIndex))
            return fail("'" + step.name + "' is no NAME or NAME[N]");
        if ((step.verb == "value" || step.verb == "expect-value") &&
            !ParseInt(step.text, &step.number))
            return fail("'" + step.verb + "' needs a value of 0 or more, not '" + step.text + "'");
        if (step.verb == "select" && !ParseInt(step.text, &step.number))
            return fail("'select' needs an index of 0 or more, not '" + step.text + "'");
        if (step.verb == "wait" && !ParseInt(step.text, &step.number))
            return fail("'wait' needs milliseconds, not '" + step.text + "'");
        if (step.verb == "key" && (step.key = ScriptKeyCode(step.text)) == 0)
            return fail("unknown key '" + step.text + "'");
        if (step.verb == "expect-visible" || step.verb == "wait-visible") {
            if (step.text != "yes" && step.text != "no")
                return fail("'" + step.verb + "' takes yes or no, not '" + step.text + "'");
            step.yes = step.text == "yes";
        }
        steps->push_back(std::move(step));
    }
    return true;
}

ScriptRunner::ScriptRunner(std::string scriptName, std::vector<ScriptStep> steps,
                           std::function<void(int)> onEnd)
    : scriptName_(std::move(scriptName)), steps_(std::move(steps)), onEnd_(std::move(onEnd)) {}

ScriptRunner::~ScriptRunner() {
    if (self_ != 0) os::DestroyTarget(self_);
}

bool ScriptRunner::Start() {
    self_ = os::CreateTarget(this);
    if (self_ == 0) return false;
    QueueNext();
    return true;
}

void ScriptRunner::QueueNext() {
    os::PostMessage(self_, kStepMessage, 0, 0);
}

os::LRESULT ScriptRunner::HandleMessage(uint32_t msg, os::WPARAM wParam, os::LPARAM) {
    if (msg == kStepMessage) {
        RunNext();
    } else if (msg == os::WM_TIMER) {
        os::KillTimer(self_, wParam);
        if (wParam == kWindowTimer) windowWaitedMs_ += kWindowPollMs;
        if (wParam == kStateTimer) stateWaitedMs_ += kStatePollMs;
        RunNext();
    }
    return 0;
}

bool ScriptRunner::ResolveWindow(const std::string& className) {
    os::HWND found = 0;
    for (toolkit::CPaintManagerUI* pm : toolkit::CPaintManagerUI::GetPaintManagers()) {
        toolkit::CWindowWnd* w = toolkit::CWindowWnd::FromHandle(pm->GetPaintWindow());
        // The newest shown window of the class: a second message box over the first, say.
        if (w != nullptr && toolkit::EqualsNoCase(w->GetWindowClassName(), className) &&
            w->IsWindowVisible()) {
            found = w->GetHWND();
        }
    }
    window_ = found;
    return found != 0;
}

void ScriptRunner::RunNext() {
    if (finished_) return;
    if (next_ >= steps_.size()) {
        Finish(0);
        return;
    }
    const ScriptStep& step = steps_[next_];
    // Every step but "wait", "quit" and "screenshot" needs its window; "window" names a new
    // one. Windows come up asynchronously (the main window after the first device scan, a menu
    // after its timer), so the runner polls for one for a while.
    const bool needsWindow = step.verb != "wait" && step.verb != "quit";
    if (step.verb == "window" && windowClass_ != step.name) {
        windowClass_ = step.name;
        window_ = 0;
    }
    if (needsWindow && (window_ == 0 || toolkit::CWindowWnd::FromHandle(window_) == nullptr)) {
        if (!ResolveWindow(windowClass_)) {
            if (windowWaitedMs_ >= kWindowWaitMs) {
                Fail(step, "no shown window of class '" + windowClass_ + "'");
                return;
            }
            os::SetTimer(self_, kWindowTimer, kWindowPollMs);
            return;
        }
    }
    windowWaitedMs_ = 0;
    if (step.verb == "wait-visible" || step.verb == "wait-text") {
        // The state comes with the devices and timers: the step looks again until it is there.
        std::string why;
        if (!StateReached(step, &why)) {
            if (stateWaitedMs_ >= kStateWaitMs) {
                ++next_;
                Fail(step, why + " after " + std::to_string(kStateWaitMs) + " ms");
                return;
            }
            os::SetTimer(self_, kStateTimer, kStatePollMs);
            return;
        }
        stateWaitedMs_ = 0;
        ++next_;
        QueueNext();
        return;
    }
    ++next_;
    if (step.verb == "quit") {
        Finish(0);
        return;
    }
    if (step.verb == "wait") {
        if (step.number == 0)
            QueueNext();
        else
            os::SetTimer(self_, kWaitTimer, static_cast<uint32_t>(step.number));
        return;
    }
    // Queued before the step runs: a step that opens a modal window returns only when that
    // window is gone, and the next steps must run inside its loop.
    QueueNext();
    std::string why;
    if (!Run(step, &why)) Fail(step, why);
}

bool ScriptRunner::StateReached(const ScriptStep& step, std::string* why) {
    toolkit::CWindowWnd* window = toolkit::CWindowWnd::FromHandle(window_);
    toolkit::CPaintManagerUI* pm = ManagerOf(window_);
    if (window == nullptr || pm == nullptr) {
        *why = "the window of class '" + windowClass_ + "' is gone";
        return false;
    }
    toolkit::UiTestDriver driver(*window, *pm);
    driver.Render();
    toolkit::CControlUI* control = FindStepControl(*pm, step);
    if (control == nullptr) {
        *why = "no control named '" + StepName(step) + "'";
        return false;
    }
    if (step.verb == "wait-visible") {
        if (control->IsVisible() == step.yes) return true;
        *why = "'" + StepName(step) + "' is still " + (control->IsVisible() ? "visible" : "hidden");
        return false;
    }
    if (control->GetText() == step.text) return true;
    *why = "the text is still '" + control->GetText() + "'";
    return false;
}

bool ScriptRunner::Run(const ScriptStep& step, std::string* why) {
    toolkit::CWindowWnd* window = toolkit::CWindowWnd::FromHandle(window_);
    toolkit::CPaintManagerUI* pm = ManagerOf(window_);
    if (window == nullptr || pm == nullptr) {
        *why = "the window of class '" + windowClass_ + "' is gone";
        return false;
    }
    toolkit::UiTestDriver driver(*window, *pm);
    auto driverResult = [&](bool ok) {
        if (!ok) *why = driver.LastError();
        return ok;
    };
    const std::string& v = step.verb;
    if (v == "window") return true;
    if (v == "screenshot") {
        driver.Render();
        if (driver.SavePng(step.text)) return true;
        *why = "cannot write '" + step.text + "'";
        return false;
    }
    toolkit::CControlUI* control = FindStepControl(*pm, step);
    if (v == "expect-visible" && control == nullptr && step.nameIndex < 0 &&
        toolkit::EqualsNoCase(step.name, window->GetWindowClassName())) {
        const bool shown = window->IsWindowVisible() && !window->IsIconic();
        if (shown == step.yes) return true;
        *why = "the window is " + std::string(shown ? "shown" : "hidden");
        return false;
    }
    if (control == nullptr) {
        *why = "no control named '" + StepName(step) + "'";
        return false;
    }
    if (v == "click") return driverResult(driver.Click(control, StepName(step)));
    if (v == "dblclick") return driverResult(driver.DoubleClick(control, StepName(step)));
    if (v == "value" || v == "expect-value") {
        auto* slider = dynamic_cast<toolkit::CSliderUI*>(control);
        if (slider == nullptr) {
            *why = "'" + StepName(step) + "' is no slider";
            return false;
        }
        if (v == "expect-value") {
            if (slider->GetValue() == step.number) return true;
            *why = "the value is " + std::to_string(slider->GetValue());
            return false;
        }
        // As a drag ends: the value while moving, then the value let go.
        slider->SetValue(step.number);
        pm->SendNotify(slider, toolkit::DUI_MSGTYPE_MOVEVALUECHANGED);
        pm->SendNotify(slider, toolkit::DUI_MSGTYPE_VALUECHANGED);
        driver.Pump();
        return true;
    }
    if (v == "focus" || v == "type" || v == "key") {
        pm->SetFocus(control);
        if (v == "type") return driverResult(driver.Type(step.text));
        if (v == "key") return driverResult(driver.Key(step.key));
        return true;
    }
    if (v == "select") {
        bool ok = false;
        if (auto* owner = dynamic_cast<toolkit::IListOwnerUI*>(control))
            ok = owner->SelectItem(step.number, false, true);
        else if (auto* tabs = dynamic_cast<toolkit::CTabLayoutUI*>(control))
            ok = tabs->SelectItem(step.number);
        else {
            *why = "'" + step.name + "' is no list, combo or tab layout";
            return false;
        }
        if (!ok) *why = "'" + step.name + "' has no item " + std::to_string(step.number);
        driver.Pump();
        return ok;
    }
    if (v == "expect-text") {
        driver.Render();
        const std::string actual = control->GetText();
        if (actual == step.text) return true;
        *why = "the text is '" + actual + "'";
        return false;
    }
    if (v == "expect-visible") {
        driver.Render();
        if (control->IsVisible() == step.yes) return true;
        *why = "'" + StepName(step) + "' is " + (control->IsVisible() ? "visible" : "hidden");
        return false;
    }
    *why = "unknown step";
    return false;
}

void ScriptRunner::Fail(const ScriptStep& step, const std::string& why) {
    failure_ = "line " + std::to_string(step.line) + ": " + step.source + ": " + why;
    std::fprintf(stderr, "%s: %s\n", scriptName_.c_str(), failure_.c_str());
    Finish(1);
}

void ScriptRunner::Finish(int exitCode) {
    if (finished_) return;
    finished_ = true;
    exitCode_ = exitCode;
    if (onEnd_) onEnd_(exitCode);
}

}  // namespace app

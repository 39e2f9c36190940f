#include "app/dispatch/router.h"

#include <cctype>

#include "device/quendal_usb_device.h"
#include "os/debug_output.h"
#include "toolkit/control_ui.h"
#include "toolkit/controls/color_palette_ui.h"
#include "toolkit/controls/list_owner.h"
#include "toolkit/controls/option_ui.h"
#include "toolkit/controls/progress_ui.h"

namespace app::dispatch {

std::string_view TargetName(Target target) {
    switch (target) {
        case Target::kWindow:
            return "window";
        case Target::kDeviceBar:
            return "device bar";
        case Target::kSelectedDevice:
            return "selected device";
        case Target::kSelectedKeyboard:
            return "selected keyboard";
        case Target::kSelectedMouse:
            return "selected mouse";
        case Target::kProfilePanel:
            return "profile panel";
        case Target::kLightingPanel:
            return "lighting panel";
        case Target::kKeySetPanel:
            return "key assignment panel";
        case Target::kMacroPanel:
            return "macro editor";
        case Target::kShootPanel:
            return "shoot panel";
        case Target::kMagicPanel:
            return "magic panel";
        case Target::kVoicePanel:
            return "voice panel";
    }
    return "?";
}

int RouteCall::Value() const {
    auto* progress = msg ? dynamic_cast<toolkit::CProgressUI*>(msg->pSender) : nullptr;
    return progress ? progress->GetValue() : 0;
}

bool RouteCall::Selected() const {
    auto* option = msg ? dynamic_cast<toolkit::COptionUI*>(msg->pSender) : nullptr;
    return option != nullptr && option->IsSelected();
}

int RouteCall::ListIndex() const {
    auto* list = msg ? dynamic_cast<toolkit::IListOwnerUI*>(msg->pSender) : nullptr;
    return list ? list->GetCurSel() : -1;
}

std::string RouteCall::Text() const {
    return msg && msg->pSender ? msg->pSender->GetText() : std::string();
}

uint32_t RouteCall::PaletteColour() const {
    auto* palette = msg ? dynamic_cast<toolkit::CColorPaletteUI*>(msg->pSender) : nullptr;
    return palette ? palette->GetSelectColor() : 0;
}

SplitName SplitControlName(std::string_view name) {
    size_t digits = name.size();
    while (digits > 0 && std::isdigit(static_cast<unsigned char>(name[digits - 1]))) --digits;
    // A number needs digits after an "_", and no more of them than an int holds.
    if (digits == name.size() || digits < 2 || name[digits - 1] != '_' || name.size() - digits > 9)
        return {name, -1};
    int n = 0;
    for (size_t i = digits; i < name.size(); ++i) n = n * 10 + (name[i] - '0');
    return {name.substr(0, digits), n};
}

uint32_t MessageNumber(const MessageRow& row, const AppGlobals& g) {
    switch (row.source) {
        case MessageSource::kFixed:
            return row.number;
        case MessageSource::kTitle:
            return g.UWM_TITLE_MSG;
        case MessageSource::kSettingsForward:
            return g.UWM_SETTINGS_FORWARD_MSG;
        case MessageSource::kLightControl:
            return g.UWM_LIGHT_CONTROL_MSG;
        case MessageSource::kRuvuDuvoQuery:
            return g.UWM_RUVUDUVO_QUERY_MSG;
        case MessageSource::kHook:
            return row.number < g.hookMessages.size() ? g.hookMessages[row.number] : 0;
        case MessageSource::kGame:
            return row.number < g.gameMessages.size() ? g.gameMessages[row.number] : 0;
    }
    return 0;
}

const Route* Router::FindRoute(std::string_view type, std::string_view name, int* n) {
    const SplitName split = SplitControlName(name);
    for (const RouteTable& table : NotifyRouteTables()) {
        if (!toolkit::EqualsNoCase(table.type, type)) continue;
        if (split.n >= 0) {
            for (const Route& route : table.routes) {
                if (route.indexed && toolkit::EqualsNoCase(route.name, split.prefix)) {
                    if (n) *n = split.n;
                    return &route;
                }
            }
        }
        for (const Route& route : table.routes) {
            if (!route.indexed && toolkit::EqualsNoCase(route.name, name)) {
                if (n) *n = -1;
                return &route;
            }
        }
    }
    return nullptr;
}

bool Router::Resolve(Target target, std::string_view what, Resolved& r) const {
    r.window = &window_;
    r.bar = bar_;
    auto drop = [&](std::string_view missing) {
        os::DebugOutput(std::string(what) + ": no " + std::string(missing) + ", dropped\n");
        return false;
    };
    if (target == Target::kWindow) return true;
    if (bar_ == nullptr) return drop("device bar");
    switch (target) {
        case Target::kWindow:
        case Target::kDeviceBar:
            return true;
        case Target::kSelectedKeyboard:
            r.device = bar_->SelectedKeyboard();
            return r.device ? true : drop(TargetName(target));
        case Target::kSelectedMouse:
            r.device = bar_->SelectedMouse();
            return r.device ? true : drop(TargetName(target));
        default:
            break;
    }
    r.device = bar_->SelectedDevice();
    if (r.device == nullptr) return drop("selected device");
    bool found = true;
    switch (target) {
        case Target::kProfilePanel:
            found = (r.profile = r.device->ProfilePanel()) != nullptr;
            break;
        case Target::kLightingPanel:
            found = (r.lighting = r.device->LightingPanel()) != nullptr;
            break;
        case Target::kKeySetPanel:
            found = (r.keySet = r.device->KeySetPanel()) != nullptr;
            break;
        case Target::kMacroPanel:
            found = (r.macro = r.device->MacroPanel()) != nullptr;
            break;
        case Target::kShootPanel:
            found = (r.shoot = r.device->ShootPanel()) != nullptr;
            break;
        case Target::kMagicPanel:
            found = (r.magic = r.device->MagicPanel()) != nullptr;
            break;
        case Target::kVoicePanel:
            found = (r.voice = r.device->VoicePanel()) != nullptr;
            break;
        default:
            break;
    }
    return found ? true : drop(TargetName(target));
}

bool Router::Notify(toolkit::TNotifyUI& msg) {
    const std::string name = msg.pSender ? msg.pSender->GetName() : std::string();
    RouteCall call;
    const Route* route = FindRoute(msg.sType, name, &call.n);
    if (route == nullptr) return false;
    if (!Resolve(route->target, msg.sType + " " + name, call)) return true;
    call.msg = &msg;
    route->handler(call);
    return true;
}

bool Router::Message(uint32_t msg, toolkit::WPARAM wParam, toolkit::LPARAM lParam, bool awake,
                     bool& handled) {
    if (msg == 0) return false;
    const AppGlobals& g = Globals();
    for (const MessageRow& row : MessageTable()) {
        if (MessageNumber(row, g) != msg) continue;
        if (row.wParam != kAnyWParam && static_cast<int64_t>(wParam) != row.wParam) continue;
        if (row.gate == Gate::kAwake && !awake) return true;
        MessageCall call;
        call.msg = msg;
        call.wParam = wParam;
        call.lParam = lParam;
        handled = row.handled;
        call.handled = &handled;
        if (Resolve(row.target, row.meaning, call)) row.handler(call);
        return true;
    }
    return false;
}

bool Router::Timer(uintptr_t id) {
    for (const TimerRow& row : TimerTable()) {
        if (row.id != id) continue;
        RouteCall call;
        call.n = static_cast<int>(id);
        if (Resolve(row.target, row.meaning, call)) row.handler(call);
        return true;
    }
    return false;
}

}  // namespace app::dispatch

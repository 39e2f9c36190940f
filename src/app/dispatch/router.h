#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "app/app_globals.h"
#include "app/dispatch/device_bar_target.h"
#include "app/dispatch/window_routes.h"
#include "device/panel_views.h"
#include "toolkit/ui_types.h"

namespace device {
class CQuendalUSBDevice;
}

namespace app::dispatch {

// Who a route, message or timer row reaches.
enum class Target : uint8_t {
    kWindow,
    kDeviceBar,
    kSelectedDevice,
    kSelectedKeyboard,
    kSelectedMouse,
    kProfilePanel,
    kLightingPanel,
    kKeySetPanel,
    kMacroPanel,
    kShootPanel,
    kMagicPanel,
    kVoicePanel,
};
std::string_view TargetName(Target target);

// The target a row's handler gets: the window and the device bar always, and the one of the row
// (never null when the handler runs).
struct Resolved {
    IWindowRoutes* window = nullptr;
    IDeviceBarTarget* bar = nullptr;
    device::CQuendalUSBDevice* device = nullptr;  // the selected device (of the row's kind)
    device::IProfilePanelView* profile = nullptr;
    device::ILightingPanelView* lighting = nullptr;
    device::IKeySetPanelView* keySet = nullptr;
    device::IMacroPanelView* macro = nullptr;
    device::IShootPanelView* shoot = nullptr;
    device::IMagicPanelView* magic = nullptr;
    device::IVoicePanelView* voice = nullptr;
};

// A notification on its way to a handler.
struct RouteCall : Resolved {
    toolkit::TNotifyUI* msg = nullptr;
    int n = -1;  // the number after the prefix, -1 for a name without one

    // The sender's values: a slider's value, an option's state, a list's chosen item, a text.
    int Value() const;
    bool Selected() const;
    int ListIndex() const;
    std::string Text() const;
    uint32_t PaletteColour() const;
};
using RouteHandler = void (*)(const RouteCall&);

// One route row: a control name (or a prefix that a number follows, ending in "_"), the target,
// the handler, and the skin file (under the skin folder) the control lives in.
struct Route {
    std::string_view name;
    bool indexed;  // name is a prefix: "key_" + n
    Target target;
    RouteHandler handler;
    std::string_view skin;
};

// The route rows of one notification type.
struct RouteTable {
    std::string_view type;
    std::span<const Route> routes;
};

// A window message on its way to a handler.
struct MessageCall : Resolved {
    uint32_t msg = 0;
    toolkit::WPARAM wParam = 0;
    toolkit::LPARAM lParam = 0;
    bool* handled = nullptr;  // a handler may keep the toolkit from seeing the message
};
using MessageHandler = void (*)(const MessageCall&);

// Where a message row's number comes from: a fixed number, or one registered at start-up.
enum class MessageSource : uint8_t {
    kFixed,
    kTitle,
    kSettingsForward,
    kLightControl,
    kRuvuDuvoQuery,
    kHook,  // number: the index among the twenty hook messages
    kGame,  // number: the index among the four game messages
};
enum class Gate : uint8_t {
    kAlways,
    kAwake,  // ignored while the system sleeps
};
inline constexpr int64_t kAnyWParam = -1;
struct MessageRow {
    MessageSource source;
    uint32_t number;
    int64_t wParam;  // kAnyWParam, or the one wParam the row takes
    Gate gate;
    bool handled;  // the toolkit does not see the message afterwards
    Target target;
    MessageHandler handler;
    std::string_view meaning;
};

struct TimerRow {
    uintptr_t id;
    Target target;
    RouteHandler handler;  // msg is null; n is the timer id
    std::string_view meaning;
};

// The notification types whose routes the router knows, in the order they are listed.
std::span<const RouteTable> NotifyRouteTables();
// The window's messages in the order they are checked.
std::span<const MessageRow> MessageTable();
std::span<const TimerRow> TimerTable();

// A control name split into the prefix that a number follows and that number: "DPI_slider_2"
// gives "DPI_slider_" and 2; a name without a trailing "_" + digits gives itself and -1.
struct SplitName {
    std::string_view prefix;
    int n = -1;
};
SplitName SplitControlName(std::string_view name);

// The message number a row stands for (0 when its registered message is not registered).
uint32_t MessageNumber(const MessageRow& row, const AppGlobals& globals);

// Routes notifications, messages and timers by the tables above. A row whose target does not
// exist (no device bar yet, no selected device of that kind, a page without that panel) drops
// the event with a debug line.
class Router {
  public:
    explicit Router(IWindowRoutes& window) : window_(window) {}

    void SetDeviceBar(IDeviceBarTarget* bar) { bar_ = bar; }
    IDeviceBarTarget* deviceBar() const { return bar_; }

    // The route row of a notification, or null: names fold case; a name ending in "_" + digits
    // is tried as prefix and number first, then whole.
    static const Route* FindRoute(std::string_view type, std::string_view name, int* n);
    // True when a row took the notification (whether or not its target existed).
    bool Notify(toolkit::TNotifyUI& msg);
    // True when a row took the message; handled tells whether the toolkit may still see it.
    bool Message(uint32_t msg, toolkit::WPARAM wParam, toolkit::LPARAM lParam, bool awake,
                 bool& handled);
    bool Timer(uintptr_t id);

    // Fills the row's target into resolved; false (with a debug line naming what) when it does
    // not exist.
    bool Resolve(Target target, std::string_view what, Resolved& resolved) const;

  private:
    IWindowRoutes& window_;
    IDeviceBarTarget* bar_ = nullptr;
};

}  // namespace app::dispatch

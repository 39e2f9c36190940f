#include "app/entry.h"

#include <array>
#include <cstdio>
#include <memory>

#include "app/app_globals.h"
#include "app/main_message_target.h"
#include "app/private_font.h"
#include "os/debug_output.h"
#include "os/message_loop.h"
#include "os/session_bus.h"
#include "os/termination_signals.h"
#include "os/worker_thread.h"
#include "sim/demo.h"

namespace app {

namespace {

constexpr std::array<const char*, 4> kFontFiles = {
    "Font\\Simplified_Chinese.ttf",
    "Font\\Zazizido-Regular.otf",
    "Font\\NotoSansThai-Regular.ttf",
    "Font\\NotoSansCJKtc-Regular.otf",
};

}  // namespace

int RunEntry(const CommandLineOptions& options) {
    // 1. The program's own fonts; each may be missing without consequence.
    std::array<PrivateFont, 4> fonts;
    for (size_t i = 0; i < fonts.size(); ++i) fonts[i].Load(kFontFiles[i]);

    // 2-3. Nothing to initialise here for the component and drag-and-drop runtimes of the
    // original platform.
    os::MessageLoop loop;
    // Signals end the program through its shutdown order; blocked before any thread starts.
    std::unique_ptr<MainMessageTarget> mainTarget;
    os::WatchTerminationSignals(loop, [&](int) {
        if (mainTarget)
            os::PostMessage(mainTarget->hwnd(), os::WM_CLOSE, 0, 0);
        else
            loop.Quit(0);
    });

    // 4. The title message.
    if (!RegisterTitleMessage()) return 0;

    // 5. Single instance: a second start wakes the first and ends.
    os::SessionBus bus;
    bus.Connect(loop);
    if (bus.ClaimSingleInstance() == os::SessionBus::Instance::AlreadyRunning) {
        bus.Broadcast(Globals().UWM_TITLE_MSG, 0, 1);
        return 0;
    }

    // FIXME: steps 6-8 (the toolkit's resources and the custom control classes) and the window
    // itself (steps 10-12) come with the UI toolkit; until then the main window is its message
    // target alone, and --headless changes nothing.
    // Demo mode: simulated devices on the virtual HID bus, driven by brasvik-sim.
    std::unique_ptr<sim::Demo> demo;
    if (options.demo) demo = sim::StartDemo(options.demoKinds, bus);
    if (!options.scriptFile.empty())
        std::fputs("brasvik-m402: --script: no window to script yet\n", stderr);

    // 9. The other registered messages.
    RegisterOtherMessages();

    // 10-12. The main window and the message loop.
    mainTarget = std::make_unique<MainMessageTarget>(bus);
    if (!mainTarget->Create()) return 0;
    mainTarget->WindowInit();
    loop.Run();

    // 13. Teardown in reverse order.
    mainTarget.reset();
    demo.reset();
    os::ExitProcessIfAbandoned(0);
    return 0;
}

}  // namespace app

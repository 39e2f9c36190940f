#include "app/entry.h"

#include <array>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "app/app_globals.h"
#include "app/device_bar/register_device_bar_controls.h"
#include "app/main_wnd.h"
#include "app/panel_dialogs_app.h"
#include "app/private_font.h"
#include "app/script_runner.h"
#include "device/register_device_classes.h"
#include "os/atomic_file.h"
#include "os/debug_output.h"
#include "os/folders.h"
#include "os/input_capture.h"
#include "os/message_loop.h"
#include "os/power_events.h"
#include "os/session_bus.h"
#include "os/termination_signals.h"
#include "os/worker_thread.h"
#include "sim/demo.h"
#include "toolkit/backend/headless_backend.h"
#include "toolkit/backend/sdl_backend.h"
#include "toolkit/paint_manager_ui.h"
#include "toolkit/resource_manager.h"
#include "ui/controls/register_custom_controls.h"

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
    std::unique_ptr<CMainWnd> mainWnd;
    os::WatchTerminationSignals(loop, [&](int) {
        // The keyboard goes back to the desktop at once, whatever the shutdown takes.
        os::ReleaseAllInputCaptures();
        if (mainWnd && mainWnd->GetHWND() != 0)
            os::PostMessage(mainWnd->GetHWND(), os::WM_CLOSE, 0, 0);
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

    // 6-7. The toolkit's program folder and the skin folder with its resource index.
    toolkit::CPaintManagerUI::SetInstance(os::ProgramFolder());
    toolkit::CPaintManagerUI::SetResourceType(1);
    toolkit::CPaintManagerUI::SetResourcePath(toolkit::CPaintManagerUI::GetInstancePath() +
                                              "skin\\");
    toolkit::CResourceManager::GetInstance().LoadResource("res.xml");

    // 8. The program's own control classes, and what their panels ask of the application.
    ui::RegisterCustomControls();
    device::RegisterDeviceClasses();
    RegisterDeviceBarControls();
    static PanelDialogsApp panelDialogs;
    ui::SetPanelDialogs(&panelDialogs);

    // A display when there is one (and --headless did not ask for none); without one the
    // windows live in memory on a screen of 1920 x 1080.
    bool display = false;
    if (!options.headless) {
        display = toolkit::InstallSdlBackend(loop);
        if (!display) std::fputs("brasvik-m402: no display; running headless\n", stderr);
    }
    if (!display) toolkit::HeadlessBackend::SetScreenSize(1920, 1080);

    // The script is read before anything starts, so that a bad one ends the program at once.
    std::vector<ScriptStep> steps;
    if (!options.scriptFile.empty()) {
        std::string text;
        std::string error;
        if (!os::ReadWholeFile(options.scriptFile, text)) {
            std::fprintf(stderr, "brasvik-m402: cannot read script %s\n",
                         options.scriptFile.c_str());
            return 2;
        }
        if (!ParseScript(text, &steps, &error)) {
            std::fprintf(stderr, "%s: %s\n", options.scriptFile.c_str(), error.c_str());
            return 2;
        }
    }

    // Demo mode: simulated devices on the virtual HID bus, driven by brasvik-sim.
    std::unique_ptr<sim::Demo> demo;
    if (options.demo) demo = sim::StartDemo(options.demoKinds, bus);

    // 9. The other registered messages.
    RegisterOtherMessages();

    // 10-11. The main window, hidden by its own initialisation until the first device scan.
    mainWnd = std::make_unique<CMainWnd>(bus);
    if (mainWnd->Create(0, kAppTitle, CMainWnd::kStyle, 0, 0, 0, CMainWnd::kCreateWidth,
                        CMainWnd::kCreateHeight) == 0) {
        std::fprintf(stderr, "brasvik-m402: the main window cannot be built: %s\n",
                     mainWnd->GetBuildError().c_str());
        mainWnd.reset();
        if (display) toolkit::UninstallSdlBackend();
        return 0;
    }
    mainWnd->CenterWindow();

    // Suspend and resume of the machine reach the windows as power broadcasts; without a system
    // bus the program simply never hears of them.
    os::PowerEvents power;
    if (!power.Start(loop, [](uint32_t pbt) {
            toolkit::CWindowWnd::SendToTopLevelWindows(os::WM_POWERBROADCAST, pbt, 0);
        }))
        os::DebugOutput("no system bus: suspend and resume go unnoticed");

    // The script ends the program through the same shutdown order as the tray menu's "exit".
    std::unique_ptr<ScriptRunner> script;
    if (!options.scriptFile.empty()) {
        script = std::make_unique<ScriptRunner>(options.scriptFile, std::move(steps), [&](int) {
            if (mainWnd && mainWnd->GetHWND() != 0)
                mainWnd->PostMessage(os::WM_CLOSE, 0, 0);
            else
                loop.Quit(0);
        });
        script->Start();
    }

    // 12. The message loop.
    toolkit::CPaintManagerUI::MessageLoop();

    // 13. Teardown in reverse order.
    const int exitCode = script ? script->exitCode() : 0;
    script.reset();
    power.Stop();
    mainWnd.reset();
    toolkit::CResourceManager::GetInstance().Release();
    if (display) toolkit::UninstallSdlBackend();
    demo.reset();
    os::ExitProcessIfAbandoned(exitCode);
    return exitCode;
}

}  // namespace app

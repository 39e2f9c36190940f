#include "app/dpi_change.h"

#include "os/debug_output.h"
#include "toolkit/control_ui.h"

namespace app {

void ApplyDpiChange(toolkit::WindowImplBase& window, toolkit::WPARAM wParam,
                    toolkit::LPARAM lParam) {
    toolkit::CPaintManagerUI& pm = window.GetPaintManager();
    pm.SetDPI(static_cast<int>(wParam & 0xFFFF));
    pm.ResetDPIAssets();
    if (const auto* suggested = reinterpret_cast<const toolkit::UiRect*>(lParam);
        suggested != nullptr && !suggested->IsEmpty()) {
        window.MoveWindow(*suggested);
    }
    window.CenterWindow();
    if (toolkit::CControlUI* root = pm.GetRoot()) root->NeedUpdate();
    pm.NeedUpdate();
    os::DebugOutput("界面 DPI 发生变化\n");
}

}  // namespace app

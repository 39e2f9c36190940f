// Skin files come from the program folder, but a damaged or hand-edited one must give a clear
// failure, never a crash: build, lay out and paint whatever the input describes.

#include <cstddef>
#include <cstdint>
#include <string>

#include "toolkit/backend/headless_backend.h"
#include "toolkit/control_ui.h"
#include "toolkit/dialog_builder.h"
#include "toolkit/paint_manager_ui.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string xml(reinterpret_cast<const char*>(data), size);
    if (xml.empty() || xml.front() != '<') xml.insert(0, "<Window>");
    toolkit::HeadlessBackend backend;
    backend.Create(0, "fuzz", toolkit::UiRect{0, 0, 160, 120}, false);
    toolkit::CPaintManagerUI pm;
    pm.Init(0, &backend);
    toolkit::CDialogBuilder builder;
    toolkit::CControlUI* root = builder.Create(xml, "", nullptr, &pm);
    if (root != nullptr) {
        pm.AttachDialog(root);
        pm.Paint();
        pm.SetDPI(144);
        pm.Paint();
    }
    return 0;
}

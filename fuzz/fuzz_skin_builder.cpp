// Skin files come from the program folder, but a damaged or hand-edited one must give a clear
// failure, never a crash: build and lay out whatever the input describes. Painting is left to the
// unit tests: random font names make fontconfig keep caches that read as leaks here.

#include <cstddef>
#include <cstdint>
#include <string>

#include "toolkit/control_ui.h"
#include "toolkit/dialog_builder.h"
#include "toolkit/paint_manager_ui.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string xml(reinterpret_cast<const char*>(data), size);
    if (xml.empty() || xml.front() != '<') xml.insert(0, "<Window>");
    // No backend, so no surface and no Pango context: only the builder and the layouts run.
    toolkit::CPaintManagerUI pm;
    pm.Init(0, nullptr);
    toolkit::CDialogBuilder builder;
    toolkit::CControlUI* root = builder.Create(xml, "", nullptr, &pm);
    if (root != nullptr) {
        pm.AttachDialog(root);
        root->SetPos(toolkit::UiRect{0, 0, 160, 120}, false);
        pm.SetDPI(144);
        root->SetPos(toolkit::UiRect{0, 0, 240, 180}, false);
    }
    return 0;
}

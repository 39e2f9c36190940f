#include "app/skin_change.h"

#include "toolkit/control_ui.h"

namespace app {

bool ApplySkinChange(toolkit::CPaintManagerUI& pm, const toolkit::SkinChangedParam& param) {
    toolkit::CControlUI* root = pm.FindControl("root");
    if (root == nullptr) return false;
    if (param.bColor) {
        root->SetBkColor(param.bkcolor);
        root->SetBkImage("");
    } else {
        root->SetBkColor(0);
        root->SetBkImage(param.bgimage);
    }
    root->Invalidate();
    return true;
}

}  // namespace app

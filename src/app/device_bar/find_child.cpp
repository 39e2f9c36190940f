#include "app/device_bar/find_child.h"

#include "toolkit/ui_types.h"

namespace app {

namespace {

struct Query {
    std::string_view name;
    int skip;
};

toolkit::CControlUI* Match(toolkit::CControlUI* control, void* data) {
    auto* q = static_cast<Query*>(data);
    if (!toolkit::EqualsNoCase(control->GetName(), q->name)) return nullptr;
    return q->skip-- == 0 ? control : nullptr;
}

}  // namespace

toolkit::CControlUI* FindChild(toolkit::CControlUI* root, std::string_view name) {
    return FindNthChild(root, name, 0);
}

toolkit::CControlUI* FindNthChild(toolkit::CControlUI* root, std::string_view name, int n) {
    if (root == nullptr || n < 0) return nullptr;
    Query q{name, n};
    // Parents before their children: tree order.
    return root->FindControl(Match, &q, toolkit::UIFIND_ME_FIRST);
}

}  // namespace app

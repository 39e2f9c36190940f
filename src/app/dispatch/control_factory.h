#pragma once

#include <span>
#include <string_view>

namespace toolkit {
class CControlUI;
class CPaintManagerUI;
class IDialogBuilderCallback;
}  // namespace toolkit

namespace app::dispatch {

// The skin class names the main window builds itself, for the elements the toolkit does not
// know. Two tables: short class name to a new control object (made by the class registered at
// start-up under its full name), and short class name to a subtree built from a skin file.
struct ObjectClass {
    std::string_view className;   // as skin files name it
    std::string_view registered;  // the class registered with the control factory
};
struct SubtreeClass {
    std::string_view className;
    std::string_view skinFile;
};
std::span<const ObjectClass> ObjectClasses();
std::span<const SubtreeClass> SubtreeClasses();

// A new control for a skin class name (any case), or null for a name of neither table, a class
// not registered, or a subtree whose file cannot be built (with a debug line). Subtrees are built
// with callback (the window, so that nested names come back here) and the paint manager pm.
toolkit::CControlUI* CreateSkinControl(std::string_view className,
                                       toolkit::IDialogBuilderCallback* callback,
                                       toolkit::CPaintManagerUI* pm);

}  // namespace app::dispatch

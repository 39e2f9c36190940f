#include "app/private_font.h"

#include <fontconfig/fontconfig.h>

#include "os/folders.h"
#include "os/platform.h"

namespace app {
namespace {
int g_loadedFonts = 0;
}

PrivateFont::PrivateFont() : path_(os::ProgramFolder()) {}

PrivateFont::~PrivateFont() {
    // The process's own fonts cannot be removed one by one; they go when the last one is released.
    if (loaded_ && --g_loadedFonts == 0) FcConfigAppFontClear(nullptr);
}

bool PrivateFont::Load(const std::string& relativePath) {
    if (loaded_) return true;
    path_ += os::ResourcePath(relativePath);
    loaded_ = os::AddPrivateFont(path_);
    if (loaded_) ++g_loadedFonts;
    return loaded_;
}

}  // namespace app

#pragma once

#include <string>

namespace app {

// One of the program's own fonts, loaded from the program folder for this process only.
class PrivateFont {
  public:
    PrivateFont();  // the path prefix is the program folder
    ~PrivateFont();
    PrivateFont(const PrivateFont&) = delete;
    PrivateFont& operator=(const PrivateFont&) = delete;

    // Loads program folder + relativePath ("Font\Simplified_Chinese.ttf"); false when the file is
    // missing or not a font. A failure is silent: the text falls back to the system's fonts.
    bool Load(const std::string& relativePath);
    bool loaded() const { return loaded_; }
    const std::string& path() const { return path_; }

  private:
    std::string path_;
    bool loaded_ = false;
};

}  // namespace app

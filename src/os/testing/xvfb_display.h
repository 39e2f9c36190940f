#pragma once

#include <string>

namespace os::testing {

// A private X display for tests: starts Xvfb on a free display number, points DISPLAY at it for
// this process (and the programs it starts), and stops it on destruction.
class XvfbDisplay {
  public:
    explicit XvfbDisplay(int width = 1280, int height = 800);
    ~XvfbDisplay();
    XvfbDisplay(const XvfbDisplay&) = delete;
    XvfbDisplay& operator=(const XvfbDisplay&) = delete;

    bool ok() const { return !name_.empty(); }
    const std::string& name() const { return name_; }  // ":N"
    const std::string& error() const { return error_; }

  private:
    int pid_ = -1;
    std::string name_;
    std::string error_;
    std::string previous_;
    bool hadPrevious_ = false;
};

}  // namespace os::testing

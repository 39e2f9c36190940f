#pragma once

#include <string>

namespace os::testing {

// A temporary folder that stands in for the user's data and configuration folders: points
// XDG_DATA_HOME at <folder>/data and XDG_CONFIG_HOME at <folder>/config for this process (and
// the programs it starts), and on destruction restores the old values and removes the folder.
class TempUserFolders {
  public:
    explicit TempUserFolders(const std::string& name = "brasvik-test");
    ~TempUserFolders();
    TempUserFolders(const TempUserFolders&) = delete;
    TempUserFolders& operator=(const TempUserFolders&) = delete;

    const std::string& path() const { return path_; }  // no trailing '/'

  private:
    std::string path_;
    std::string previous_[2];
    bool hadPrevious_[2] = {false, false};
};

}  // namespace os::testing

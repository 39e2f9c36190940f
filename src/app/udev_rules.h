#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace app {

// The udev rules files of the machine as udev reads them (a file in an earlier folder hides one
// of the same name in a later folder), searched for rules that give access to a USB device.
class UdevRules {
  public:
    // The folders udev reads, most important first.
    static std::vector<std::string> SystemFolders();
    // The name of the rules file this program ships.
    static constexpr const char* kFileName = "70-brasvik-m402.rules";

    explicit UdevRules(const std::vector<std::string>& folders = SystemFolders());

    // The file with a rule matching vendor and product (a rule naming the vendor only matches
    // all its products) that gives access: TAG+="uaccess", a MODE that lets others read and
    // write, or a GROUP with a MODE that lets the group read and write. Empty when none does.
    std::string FileGivingAccess(uint16_t vendorId, uint16_t productId) const;

    // The full path of this program's rules file where udev reads it; empty when absent.
    std::string ShippedFile() const;

    // One rule, continuation lines joined. Public for tests.
    static bool GivesAccess(const std::string& rule, uint16_t vendorId, uint16_t productId);

  private:
    struct File {
        std::string path;
        std::vector<std::string> rules;
    };
    std::vector<File> files_;
};

}  // namespace app

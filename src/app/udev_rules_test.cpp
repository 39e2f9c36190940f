#include "app/udev_rules.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>

#include "hid/supported_device.h"

namespace app {
namespace {

TEST(UdevRules, RulesThatGiveAccess) {
    struct Case {
        const char* rule;
        bool gives;
    };
    const Case cases[] = {
        {R"(ATTRS{idVendor}=="320f", ATTRS{idProduct}=="22ab", TAG+="uaccess")", true},
        {R"(ATTRS{idVendor}=="320F", ATTRS{idProduct}=="22AB", TAG+="uaccess")", true},
        {R"(SUBSYSTEM=="hidraw", ATTRS{idVendor}=="320f", MODE="0666")", true},  // every product
        {R"(ATTRS{idVendor}=="320f", ATTRS{idProduct}=="22a*", MODE="0660", GROUP="plugdev")",
         true},
        {R"(ENV{ID_VENDOR_ID}=="320f", ENV{ID_MODEL_ID}=="22ab", TAG+="uaccess")", true},
        {R"(ATTRS{idVendor}=="320f", ATTRS{idProduct}=="22ab", MODE="0660")", false},  // no group
        {R"(ATTRS{idVendor}=="320f", ATTRS{idProduct}=="22ab", MODE="0644")", false},
        {R"(ATTRS{idVendor}=="320f", ATTRS{idProduct}=="22a9", TAG+="uaccess")", false},
        {R"(ATTRS{idVendor}=="0c76", TAG+="uaccess")", false},
        {R"(ATTRS{idProduct}=="22ab", TAG+="uaccess")", false},  // no vendor: not ours to judge
        {R"(ATTRS{idVendor}=="320f", ATTRS{idProduct}=="22ab", GOTO="end")", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(UdevRules::GivesAccess(c.rule, 0x320F, 0x22AB), c.gives) << c.rule;
}

class UdevRulesFolders : public ::testing::Test {
  protected:
    void SetUp() override {
        char tmpl[] = "/tmp/brasvik-udev-rules-XXXXXX";
        dir_ = ::mkdtemp(tmpl);
        for (const char* f : {"/etc", "/lib"}) std::filesystem::create_directory(dir_ + f);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }
    void Write(const std::string& path, const std::string& text) {
        std::ofstream(dir_ + path) << text;
    }
    std::string dir_;
};

// A file in an earlier folder hides the one of the same name in a later folder, as in udev;
// continuation lines and comments are read as udev reads them.
TEST_F(UdevRulesFolders, EarlierFolderHidesTheSameName) {
    Write("/lib/70-brasvik-m402.rules", "ATTRS{idVendor}==\"320f\", TAG+=\"uaccess\"\n");
    Write("/etc/70-brasvik-m402.rules",
          "# ATTRS{idVendor}==\"320f\", TAG+=\"uaccess\"\n"
          "ATTRS{idVendor}==\"320f\", \\\n  ATTRS{idProduct}==\"22ab\", TAG+=\"uaccess\"\n");
    Write("/lib/60-other.rules", "ATTRS{idVendor}==\"0c76\", MODE=\"0666\"\n");
    Write("/lib/README", "ATTRS{idVendor}==\"320f\", MODE=\"0666\"\n");
    const UdevRules rules({dir_ + "/etc", dir_ + "/lib"});
    EXPECT_EQ(rules.ShippedFile(), dir_ + "/etc/70-brasvik-m402.rules");
    EXPECT_EQ(rules.FileGivingAccess(0x320F, 0x22AB), dir_ + "/etc/70-brasvik-m402.rules");
    EXPECT_EQ(rules.FileGivingAccess(0x320F, 0x22A9), "");
    EXPECT_EQ(rules.FileGivingAccess(0x0C76, 0x1630), dir_ + "/lib/60-other.rules");
}

// The shipped rules give the logged-in user every device the program looks for.
TEST_F(UdevRulesFolders, ShippedRulesCoverTheCatalogue) {
    std::filesystem::copy_file(
        std::string(BRASVIK_SOURCE_DIR) + "/packaging/" + UdevRules::kFileName,
        dir_ + "/lib/" + UdevRules::kFileName);
    const UdevRules rules({dir_ + "/etc", dir_ + "/lib"});
    for (const hid::SupportedDevice& row : hid::kSupportedDevices) {
        if (row.productId == 0) continue;  // reached through the receiver
        EXPECT_NE(rules.FileGivingAccess(row.vendorId, row.productId), "")
            << std::hex << row.vendorId << ":" << row.productId;
    }
}

}  // namespace
}  // namespace app

// The light mode catalogue: the shipped file gives the built-in modes of every variant, and a
// damaged or foreign file is logged and leaves the device with the built-in modes.
#include "device/light_catalogue.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "os/atomic_file.h"
#include "os/diagnostics_log.h"
#include "os/folders.h"
#include "os/testing/temp_user_folders.h"

namespace device {
namespace {

const std::string kShipped =
    std::string(BRASVIK_SOURCE_DIR) + "/data/DefaultData/" + kLightCatalogueFile;

TEST(LightCatalogue, TheShippedFileHoldsTheBuiltInModesOfEveryVariant) {
    os::testing::TempUserFolders folders("light-catalogue");
    for (int variant = 0; variant < 4; ++variant) {
        SCOPED_TRACE(variant);
        const LightModeList list = ReadLightCatalogue(kShipped, variant);
        EXPECT_EQ(list, BuiltInLightCatalogue(variant));
        ASSERT_GT(list.size(), 0);
        EXPECT_EQ(list.visible.size(), list.names.size());
        EXPECT_EQ(list.values.size(), list.names.size());
        EXPECT_FALSE(list.areas.empty());
    }
    // Mode counts the device models and the profile templates count on.
    EXPECT_EQ(ReadLightCatalogue(kShipped, 0).size(), 34);
    EXPECT_EQ(ReadLightCatalogue(kShipped, 1).size(), 11);
    EXPECT_EQ(ReadLightCatalogue(kShipped, 2).size(), 9);
    EXPECT_EQ(ReadLightCatalogue(kShipped, 3).size(), 9);
    // The shipped file is read without a complaint.
    EXPECT_FALSE(os::PathExists(os::LogFilePath()));
}

TEST(LightCatalogue, ADamagedOrForeignFileIsLoggedAndTheBuiltInModesAreUsed) {
    struct Case {
        const char* what;
        const char* text;  // nullptr: no file
        const char* logged;
    };
    const Case cases[] = {
        {"missing", nullptr, "missing or empty"},
        {"not JSON", "{\"DefaultLightName\": [[{\"LightName\"", "not JSON"},
        {"foreign document", "[1, 2, 3]", "no \"DefaultLightName\" list"},
        {"variant absent",
         "{\"DefaultLightName\": [[{\"LightName\":\"a\",\"visible\":true,"
         "\"value\":0}]]}",
         "no modes for this variant"},
        {"entry without a name", "{\"DefaultLightName\": [[], [{\"visible\":true,\"value\":0}]]}",
         "mode 0: no \"LightName\" text"},
        {"code out of range",
         "{\"DefaultLightName\": [[], [{\"LightName\":\"a\",\"visible\":true,\"value\":300}]]}",
         "mode 0: no \"value\" code of 0..255"},
        {"visible not a flag",
         "{\"DefaultLightName\": [[], [{\"LightName\":\"a\",\"visible\":\"yes\",\"value\":1}]]}",
         "mode 0: no \"visible\" flag"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        os::testing::TempUserFolders folders("light-catalogue");
        const std::string path = folders.path() + "/default_light.json";
        if (c.text != nullptr) std::ofstream(path) << c.text;
        EXPECT_EQ(ReadLightCatalogue(path, 1), BuiltInLightCatalogue(1));
        std::string log;
        ASSERT_TRUE(os::ReadWholeFile(os::LogFilePath(), log));
        EXPECT_NE(log.find("light catalogue " + path + ": " + c.logged), std::string::npos) << log;
        EXPECT_NE(log.find("light variant 1 uses the built-in modes"), std::string::npos) << log;
    }
}

TEST(LightCatalogue, AValidFileIsTakenAsItStandsAndAVariantBeyondTheBuiltInOnesIsEmpty) {
    os::testing::TempUserFolders folders("light-catalogue");
    const std::string path = folders.path() + "/default_light.json";
    std::ofstream(path) << R"({"DefaultLightName": [[], [
        {"LightName": "light_mode_static", "visible": true, "value": 7},
        {"LightName": "light_mode_off", "visible": false, "value": 9}]],
        "AreaLightName": [[], [{"LightName": "light_area_mouse"}, {"LightName": "x"}]]})";
    const LightModeList list = ReadLightCatalogue(path, 1);
    EXPECT_EQ(list.names, (std::vector<std::string>{"light_mode_static", "light_mode_off"}));
    EXPECT_EQ(list.visible, (std::vector<int>{1, 0}));
    EXPECT_EQ(list.values, (std::vector<int>{7, 9}));
    EXPECT_EQ(list.areas, (std::vector<std::string>{"light_area_mouse", "x"}));
    EXPECT_EQ(ReadLightCatalogue(path, 9).size(), 0);
    EXPECT_EQ(ReadLightCatalogue(path, -1).size(), 0);
}

}  // namespace
}  // namespace device

// The profile panel of the real program in demo mode: a --script adds, renames and deletes a
// profile on the mouse page, and the files under $XDG_DATA_HOME show what it did.
#include <gtest/gtest.h>
#include <json/reader.h>
#include <json/value.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "os/testing/private_session_bus.h"

namespace {

namespace fs = std::filesystem;

TEST(ProfilePanelE2E, AScriptAddsRenamesAndDeletesAProfileOnTheMousePage) {
    os::testing::PrivateSessionBus bus;
    if (!bus.ok()) GTEST_SKIP() << "no private session bus: " << bus.error();
    char tmpl[] = "/tmp/brasvik-e2e-profile-XXXXXX";
    const std::string dir = ::mkdtemp(tmpl);
    ::setenv("XDG_DATA_HOME", (dir + "/data").c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", (dir + "/config").c_str(), 1);

    // Pages: 0 keyboard, 1 mouse, 2 mouse pad, 3 headset.
    std::ofstream(dir + "/run.script") << "window MainWnd\n"
                                          "wait-visible device_item[1] yes\n"
                                          "click profile_fun_spread_btn[1]\n"
                                          "click device_add_btn[1]\n"
                                          "window MsgWnd\n"
                                          "click confirm_btn\n"
                                          "window MainWnd\n"
                                          "click profile_fun_spread_btn[1]\n"
                                          "expect-text device_profile_name_edit[1] profile1\n"
                                          "key device_profile_name_edit[1] End\n";
    {
        std::ofstream script(dir + "/run.script", std::ios::app);
        for (int i = 0; i < 8; ++i) script << "key device_profile_name_edit[1] Back\n";
        script << "type device_profile_name_edit[1] Work\n"
                  "click device_profile_edit_save_btn[1]\n"
                  "expect-text device_profile_combo[1] Work\n"
                  "click profile_fun_spread_btn[1]\n"
                  "click device_sub_btn[1]\n"
                  "window MsgWnd\n"
                  "click confirm_btn\n"
                  "window MainWnd\n"
                  "expect-text device_profile_combo[1] profile2\n"
                  "expect-text device_profile_name_edit[1] profile2\n"
                  "quit\n";
    }
    const std::string command = "timeout 120 '" + std::string(BRASVIK_BINARY_DIR) +
                                "/brasvik-m402' --demo=ms --headless --script '" + dir +
                                "/run.script' 2>'" + dir + "/run.err'";
    const int status = std::system(command.c_str());
    std::ifstream errFile(dir + "/run.err");
    const std::string err((std::istreambuf_iterator<char>(errFile)), {});
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << err;

    // One profile left, profile2, selected; the renamed and deleted one's file is gone.
    const std::string folder = dir + "/data/Brasvik M402/mouse/";
    Json::Value list;
    std::ifstream in(folder + "ProfileList.ini");
    ASSERT_TRUE(Json::Reader().parse(in, list));
    ASSERT_EQ(list["profilelist"].size(), 1u);
    EXPECT_EQ(list["profilelist"][0]["profilename"], "profile2");
    EXPECT_EQ(list["profileselect"], 0);
    int profiles = 0;
    for (const auto& entry : fs::directory_iterator(folder))
        if (entry.path().extension() == ".Json") ++profiles;
    EXPECT_EQ(profiles, 1);
    EXPECT_TRUE(fs::exists(folder + list["profilelist"][0]["profileUUID"].asString() + ".Json"));

    ::unsetenv("XDG_DATA_HOME");
    ::unsetenv("XDG_CONFIG_HOME");
    fs::remove_all(dir);
}

}  // namespace

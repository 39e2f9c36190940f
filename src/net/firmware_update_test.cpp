#include "net/firmware_update.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <string>

namespace net {
namespace {

struct Calls {
    std::vector<std::string> asked;
    std::vector<int> ended;
    std::string program;
    std::vector<std::string> args;
    std::string folder;
};

FirmwareOfferHooks Hooks(Calls& calls, int answer, bool startWorks = true) {
    return {
        .ask =
            [&calls, answer](const std::string& title, const std::string& text) {
                calls.asked.push_back(title + "/" + text);
                return answer;
            },
        .endProgram = [&calls](int code) { calls.ended.push_back(code); },
        .start =
            [&calls, startWorks](const std::string& program, const std::vector<std::string>& args,
                                 const std::string& folder) {
                calls.program = program;
                calls.args = args;
                calls.folder = folder;
                return startWorks;
            },
    };
}

TEST(FirmwareUpdateTest, OldFirmwareIsOfferedTheUpdater) {
    struct Case {
        int version;
        int answer;
        bool startWorks;
        FirmwareOffer result;
        bool asked;
        bool started;
        bool ended;
    };
    const Case cases[] = {
        {0x0110, 1, true, FirmwareOffer::kNotNeeded, false, false, false},
        {0x0200, 1, true, FirmwareOffer::kNotNeeded, false, false, false},
        {0x010F, 1, true, FirmwareOffer::kStarted, true, true, false},
        {0x010F, 1, false, FirmwareOffer::kStartFailed, true, true, false},
        {0x010F, 0, true, FirmwareOffer::kDeclined, true, false, true},
        {0, 0, true, FirmwareOffer::kDeclined, true, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.version);
        Calls calls;
        EXPECT_EQ(OfferFirmwareUpdate(0x22AB, c.version, Hooks(calls, c.answer, c.startWorks)),
                  c.result);
        EXPECT_EQ(!calls.asked.empty(), c.asked);
        if (c.asked) {
            EXPECT_EQ(calls.asked[0], "UpdateTiShi/UpdateTiShiText");
        }
        EXPECT_EQ(!calls.program.empty(), c.started);
        if (c.started) {
            EXPECT_TRUE(calls.program.ends_with("/Update/M402-Updater-V0110.exe"));
            EXPECT_EQ(calls.args, (std::vector<std::string>{"On", "the", "upgrade"}));
            EXPECT_TRUE(calls.folder.ends_with("/Update/"));
        }
        EXPECT_EQ(calls.ended, c.ended ? std::vector<int>{0} : std::vector<int>{});
    }
}

// The updater program of the build tree, on a simulated keyboard of its own.
std::string RunUpdater(const std::string& args, int* status) {
    const std::string command = std::string("\"") + BRASVIK_BINARY_DIR +
                                "/Update/M402-Updater-V0110.exe\" " + args + " 2>&1";
    FILE* p = popen(command.c_str(), "r");
    std::string out;
    if (p == nullptr) return out;
    char buf[512];
    while (size_t n = fread(buf, 1, sizeof(buf), p)) out.append(buf, n);
    *status = pclose(p);
    return out;
}

TEST(FirmwareUpdaterTest, IdentifiesTheKeyboardAndSaysWhatItWouldDo) {
    struct Case {
        const char* args;
        int exitCode;
        const char* says;
    };
    const Case cases[] = {
        {"On the upgrade --demo=0x010F", 0, "firmware V010F\n  at "},
        {"On the upgrade --demo=0x010F", 0, "vid_320f&pid_22ab&mi_01&col04"},
        {"On the upgrade --demo=0x010F", 0, "It would now write firmware V0110"},
        {"On the upgrade --demo=0x010F", 0, "nothing has been written"},
        {"On the upgrade --demo=0x0110", 0, "Nothing to do."},
        {"--demo", 2, "Usage:"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args);
        int status = -1;
        const std::string out = RunUpdater(c.args, &status);
        ASSERT_TRUE(WIFEXITED(status)) << out;
        EXPECT_EQ(WEXITSTATUS(status), c.exitCode) << out;
        EXPECT_NE(out.find(c.says), std::string::npos) << out;
    }
}

}  // namespace
}  // namespace net

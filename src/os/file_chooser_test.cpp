#include "os/file_chooser.h"

#include <gtest/gtest.h>

#include "os/testing/fake_portal.h"
#include "os/testing/private_session_bus.h"

namespace os {
namespace {

using testing::FakePortal;

TEST(FileChooser, PortalAnswersChosenCancelledOrNobodyAnswers) {
    testing::PrivateSessionBus privateBus;
    if (!privateBus.ok()) GTEST_SKIP() << "no private session bus: " << privateBus.error();
    MessageLoop loop;
    std::string path;
    // Nobody answers: the caller falls back to its own dialog.
    EXPECT_EQ(ChooseFile(loop, false, "Import", {}, "", &path), FileChooserResult::kUnavailable);
    {
        FakePortal portal("file:///home/user/My%20Profiles/fps.json");
        const std::vector<FileFilter> filters = {{"Profile Files(*.json)", "*.json;"}};
        EXPECT_EQ(ChooseFile(loop, false, "Import", filters, "", &path),
                  FileChooserResult::kChosen);
        EXPECT_EQ(path, "/home/user/My Profiles/fps.json");
        EXPECT_EQ(portal.Asked(), "OpenFile Import [Profile Files(*.json) *.json]");
    }
    {
        FakePortal portal("");
        path = "unchanged";
        EXPECT_EQ(ChooseFile(loop, true, "Export", {}, "a.json", &path),
                  FileChooserResult::kCancelled);
        EXPECT_EQ(path, "unchanged");
    }
}

TEST(FileChooser, TheLoopGoesOnWhileAPortalTakesItsTimeToAnswerTheCall) {
    testing::PrivateSessionBus privateBus;
    if (!privateBus.ok()) GTEST_SKIP() << "no private session bus: " << privateBus.error();
    MessageLoop loop;
    FakePortal portal("file:///tmp/slow.json", 300);
    // A timer of this program fires while the portal holds the call unanswered.
    bool served = false;
    FunctionTarget ticker([&](uint32_t msg, WPARAM, LPARAM) {
        if (msg == WM_TIMER && portal.Calls() == 1 && portal.Answered() == 0) served = true;
        return LRESULT{0};
    });
    const HWND hwnd = CreateTarget(&ticker);
    SetTimer(hwnd, 1, 20);
    std::string path;
    EXPECT_EQ(ChooseFile(loop, false, "Import", {}, "", &path), FileChooserResult::kChosen);
    DestroyTarget(hwnd);
    EXPECT_TRUE(served);
    EXPECT_EQ(path, "/tmp/slow.json");
}

TEST(FileChooser, OnlyLocalFileUrisBecomePaths) {
    EXPECT_EQ(LocalPathFromUri("file:///tmp/a%2Fb.mac"), "/tmp/a/b.mac");
    EXPECT_EQ(LocalPathFromUri("file://host/tmp/a"), "");
    EXPECT_EQ(LocalPathFromUri("http://x/y"), "");
    EXPECT_EQ(LocalPathFromUri("file:///tmp/%00x"), "");
    EXPECT_EQ(LocalPathFromUri("file:///tmp/100%"), "/tmp/100%");
}

}  // namespace
}  // namespace os

#include "app/file_dialog.h"

#include <gtest/gtest.h>

#include "app/file_dialog_wnd.h"
#include "app/msg_wnd.h"
#include "app/testing/dialog_fixture.h"
#include "os/testing/fake_portal.h"
#include "os/testing/private_session_bus.h"
#include "toolkit/control_ui.h"
#include "toolkit/controls/edit_ui.h"
#include "toolkit/controls/list_ui.h"

namespace app {
namespace {

using toolkit::UiTestDriver;

TEST(FileDialogFilters, FilterStringsPatternsAndDefaultExtensions) {
    const auto parsed = ParseFilterString(kSkinPictureFilter);
    ASSERT_EQ(parsed.size(), 2u);
    EXPECT_EQ(parsed[0].label, "(*.png)");
    EXPECT_EQ(parsed[0].patterns, "*.png");
    EXPECT_EQ(parsed[1].label, "(*.*)");
    EXPECT_EQ(parsed[1].patterns, "*.*");
    EXPECT_TRUE(ParseFilterString("").empty());
    EXPECT_EQ(ParseFilterString("A|*.a|B").size(), 1u);  // a label without patterns

    const std::tuple<const char*, const char*, bool> matches[] = {
        {"fps.json", "*.json;", true},
        {"FPS.JSON", "*.json;", true},
        {"fps.json.bak", "*.json;", false},
        {"run.mac", "*.json;*.mac", true},
        {"README", "*.*", true},
        {"x.shoot", "*.mac;", false},
    };
    for (const auto& [name, patterns, expected] : matches) {
        EXPECT_EQ(MatchesFilter(name, patterns), expected) << name << " " << patterns;
    }

    const std::tuple<const char*, const char*, const os::FileFilter*, const char*> names[] = {
        // "*.*" names no extension: the filter's does.
        {"/d/fps", "*.*", &kProfileFileFilter, "/d/fps.json"},
        {"/d/fps.json", "*.*", &kProfileFileFilter, "/d/fps.json"},
        {"/d/my.v2", "*.*", &kMacroFileFilter, "/d/my.v2"},
        {"/d/fps.", "*.*", &kShootFileFilter, "/d/fps.shoot"},
        {"/d/sky", "png", nullptr, "/d/sky.png"},
        {"/d/sky", ".png", nullptr, "/d/sky.png"},
        {"/d.x/sky", "*.*", nullptr, "/d.x/sky"},
        {"/d/.hidden", "png", nullptr, "/d/.hidden.png"},
    };
    for (const auto& [path, ext, filter, expected] : names) {
        EXPECT_EQ(WithDefaultExtension(path, ext, filter), expected) << path << " " << ext;
    }
}

class FileDialogTest : public testing::DialogFixture {
  protected:
    void SetUp() override {
        DialogFixture::SetUp();
        SetFileDialogMode(FileDialogMode::kOwnOnly);
        WriteFile("files/a.json", "{}");
        WriteFile("files/b.txt", "");
        WriteFile("files/.hidden.json", "{}");
        WriteFile("files/sub/c.json", "{}");
        WriteFile("files/bad\xff.json", "{}");  // a name that is no UTF-8
        files_ = dir_ + "/files";
    }
    void TearDown() override {
        SetFileDialogMode(FileDialogMode::kAuto);
        DialogFixture::TearDown();
    }

    // The request of the export and import dialogs, starting in the test's folder.
    FileDialogRequest Request(bool save, const std::string& name = "") {
        FileDialogRequest r;
        r.save = save;
        r.filters = {kProfileFileFilter};
        r.fileName = files_ + "/" + name;
        return r;
    }

    static std::vector<std::string> Entries(UiTestDriver& d) {
        std::vector<std::string> out;
        auto* list = d.FindAs<toolkit::CListUI>("file_list");
        for (int i = 0; list != nullptr && i < list->GetCount(); ++i)
            out.push_back(list->GetItemAt(i)->GetText());
        return out;
    }
    static void TypeName(UiTestDriver& d, const std::string& text) {
        d.FindAs<toolkit::CEditUI>("file_name")->SetText(text);
    }

    std::string files_;
};

TEST_F(FileDialogTest, OwnOpenDialogListsMatchingFilesAndOpensFoldersOnTheWay) {
    WhenShown<CFileDialogWnd>([&](CFileDialogWnd& w, UiTestDriver& d) {
        EXPECT_EQ(w.GetParentWindow(), owner());
        EXPECT_FALSE(owner_->IsWindowEnabled());
        EXPECT_EQ(d.Find("file_title")->GetText(), "Open");
        EXPECT_EQ(Entries(d), (std::vector<std::string>{"sub/", "a.json", "bad\uFFFD.json"}));
        ASSERT_TRUE(d.DoubleClick("file_entry_0"));
        d.Pump();
        EXPECT_EQ(w.GetFolder(), files_ + "/sub");
        EXPECT_EQ(Entries(d), (std::vector<std::string>{"c.json"}));
        ASSERT_TRUE(d.Click("file_entry_0"));
        EXPECT_EQ(d.Find("file_name")->GetText(), "c.json");
        ASSERT_TRUE(d.DoubleClick("file_entry_0"));
    });
    EXPECT_EQ(RunFileDialog(owner(), Request(false)), files_ + "/sub/c.json");
    EXPECT_TRUE(owner_->IsWindowEnabled());
    EXPECT_EQ(CFileDialogWnd::Current(), nullptr);

    // The next dialog starts where that one ended; "file_up" goes back.
    FileDialogRequest again = Request(false);
    again.fileName.clear();
    WhenShown<CFileDialogWnd>([&](CFileDialogWnd& w, UiTestDriver& d) {
        EXPECT_EQ(w.GetFolder(), files_ + "/sub");
        ASSERT_TRUE(d.Click("file_up"));
        EXPECT_EQ(w.GetFolder(), files_);
        TypeName(d, "a.json");
        ASSERT_TRUE(d.Click("file_ok"));
    });
    EXPECT_EQ(RunFileDialog(owner(), again), files_ + "/a.json");

    // The shown name is made readable; the path keeps the name's own bytes.
    WhenShown<CFileDialogWnd>(
        [](CFileDialogWnd&, UiTestDriver& d) { ASSERT_TRUE(d.DoubleClick("file_entry_2")); });
    EXPECT_EQ(RunFileDialog(owner(), Request(false)), files_ + "/bad\xff.json");
}

TEST_F(FileDialogTest, OwnDialogCancelledOrClosedGivesNothing) {
    for (const char* button : {"file_cancel", "closebtn"}) {
        SCOPED_TRACE(button);
        WhenShown<CFileDialogWnd>([&](CFileDialogWnd&, UiTestDriver& d) {
            TypeName(d, "a.json");
            ASSERT_TRUE(d.Click(button));
        });
        EXPECT_EQ(RunFileDialog(owner(), Request(false)), "");
    }
    // A name that is not there is reported, and the dialog stays.
    WhenShown<CFileDialogWnd>([&](CFileDialogWnd& w, UiTestDriver& d) {
        TypeName(d, "missing.json");
        WhenShown<CMsgWnd>([](CMsgWnd&, UiTestDriver& m) {
            EXPECT_EQ(m.Find("MessageText")->GetRawText(), "filedlg_not_found");
            m.Click("confirm_btn");
        });
        ASSERT_TRUE(d.Click("file_ok"));
        EXPECT_EQ(CFileDialogWnd::Current(), &w);
        d.Click("file_cancel");
    });
    EXPECT_EQ(RunFileDialog(owner(), Request(false)), "");
}

TEST_F(FileDialogTest, OwnSaveDialogAddsTheExtensionAndAsksBeforeReplacing) {
    WhenShown<CFileDialogWnd>([&](CFileDialogWnd&, UiTestDriver& d) {
        EXPECT_EQ(d.Find("file_name")->GetText(), "Default");
        EXPECT_EQ(d.Find("file_title")->GetText(), "Save As");
        TypeName(d, "fps");
        ASSERT_TRUE(d.Click("file_ok"));
    });
    EXPECT_EQ(RunFileDialog(owner(), Request(true, "Default")), files_ + "/fps.json");

    // "a" is a.json, which exists: the first answer keeps it, the second replaces it.
    WhenShown<CFileDialogWnd>([&](CFileDialogWnd& w, UiTestDriver& d) {
        TypeName(d, "a");
        WhenShown<CMsgWnd>([](CMsgWnd&, UiTestDriver& m) { m.Click("cancel_btn"); });
        ASSERT_TRUE(d.Click("file_ok"));
        EXPECT_EQ(CFileDialogWnd::Current(), &w);
        WhenShown<CMsgWnd>([](CMsgWnd&, UiTestDriver& m) { m.Click("confirm_btn"); });
        ASSERT_TRUE(d.Click("file_ok"));
    });
    EXPECT_EQ(RunFileDialog(owner(), Request(true)), files_ + "/a.json");
}

TEST_F(FileDialogTest, DesktopChooserAnswersWhenThereIsOneElseTheOwnDialogComes) {
    os::testing::PrivateSessionBus bus;
    if (!bus.ok()) GTEST_SKIP() << "no private session bus: " << bus.error();
    SetFileDialogMode(FileDialogMode::kDesktopFirst);
    // While the chooser is open the owner takes no input, yet the program's timers run.
    bool ownerShutOut = false;
    os::FunctionTarget ticker([&](uint32_t msg, os::WPARAM, os::LPARAM) {
        if (msg == os::WM_TIMER && !owner_->IsWindowEnabled()) ownerShutOut = true;
        return os::LRESULT{0};
    });
    const os::HWND tick = os::CreateTarget(&ticker);
    os::SetTimer(tick, 1, 20);
    {
        os::testing::FakePortal portal("file:///tmp/profiles/fps.json", 200);
        EXPECT_EQ(OpenFileDialog(owner(), kProfileFileFilter), "/tmp/profiles/fps.json");
        EXPECT_EQ(portal.Asked(), "OpenFile Open [Profile Files(*.json) *.json]");
        EXPECT_TRUE(ownerShutOut);
        EXPECT_TRUE(owner_->IsWindowEnabled());
    }
    {
        os::testing::FakePortal portal("file:///tmp/macros/jump");
        EXPECT_EQ(SaveFileDialog(owner(), kMacroFileFilter, "jump"), "/tmp/macros/jump.mac");
        EXPECT_EQ(portal.Asked(), "SaveFile Save As [Macro Files(*.mac) *.mac]");
    }
    {
        os::testing::FakePortal portal("");  // the user cancels
        EXPECT_EQ(OpenFileDialog(owner(), kShootFileFilter), "");
        EXPECT_EQ(portal.Calls(), 1);
    }
    {
        // Over a window without a display the desktop is not asked, by default.
        SetFileDialogMode(FileDialogMode::kAuto);
        os::testing::FakePortal portal("file:///tmp/x.json");
        WhenShown<CFileDialogWnd>([](CFileDialogWnd&, UiTestDriver& d) { d.Click("file_cancel"); });
        EXPECT_EQ(OpenFileDialog(owner(), kProfileFileFilter), "");
        EXPECT_EQ(portal.Calls(), 0);
        SetFileDialogMode(FileDialogMode::kDesktopFirst);
    }
    // No portal on the bus: the own dialog.
    WhenShown<CFileDialogWnd>([](CFileDialogWnd&, UiTestDriver& d) { d.Click("file_cancel"); });
    EXPECT_EQ(OpenFileDialog(owner(), kShootFileFilter), "");
    os::DestroyTarget(tick);
}

}  // namespace
}  // namespace app

// The profile panel on a real device page (the shipped mouse page, built through the main
// window's control factory), with the program's message box answering through the panels'
// dialog interface and the profiles written under a temporary $XDG_DATA_HOME.
#include <gtest/gtest.h>

#include <json/reader.h>
#include <json/value.h>

#include <deque>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "app/app_globals.h"
#include "app/dispatch/control_factory.h"
#include "app/file_dialog.h"
#include "app/file_dialog_wnd.h"
#include "app/msg_wnd.h"
#include "app/panel_dialogs_app.h"
#include "app/testing/dialog_fixture.h"
#include "device/quendal_usb_device.h"
#include "profile/profile_list.h"
#include "toolkit/controls/combo_ui.h"
#include "toolkit/controls/combo_wnd.h"
#include "toolkit/controls/edit_ui.h"
#include "toolkit/controls/option_ui.h"
#include "ui/controls/device_key_button_ui.h"
#include "ui/controls/register_custom_controls.h"
#include "ui/controls/select_panel_ui.h"
#include "ui/panels/profile/device_profile_ui.h"

namespace app {
namespace {

namespace fs = std::filesystem;
using toolkit::UiTestDriver;

// A device model that records what the panel has it do, in order.
class RecordingModel : public device::CQuendalUSBDevice {
  public:
    std::vector<std::string> calls;
    int writeMacrosResult = 0;

    void BindProfileFiles() override {
        calls.push_back("BindProfileFiles " + GetProfileFileName());
    }
    int LoadProfile() override { return Call("LoadProfile", 1); }
    void ValidateMacroKeys() override { calls.push_back("ValidateMacroKeys"); }
    void RefreshPage() override { calls.push_back("RefreshPage"); }
    int WriteDeviceSettings(int a, int b, int c, int w, int h) override {
        return Call("WriteDeviceSettings " + std::to_string(a) + "," + std::to_string(b) + "," +
                        std::to_string(c) + "," + std::to_string(w) + "," + std::to_string(h),
                    1);
    }
    void ApplyLightMap() override { calls.push_back("ApplyLightMap"); }
    std::vector<std::string> GetMacroList() override {
        calls.push_back("GetMacroList");
        return {"m1"};
    }
    int WriteMacros(const std::vector<std::string>& macros) override {
        return Call("WriteMacros " + std::to_string(macros.size()), writeMacrosResult);
    }
    int WriteModelKeyAssignments(int bank) override {
        return Call("WriteModelKeyAssignments " + std::to_string(bank), 1);
    }

  private:
    int Call(const std::string& what, int result) {
        calls.push_back(what);
        return result;
    }
};

Json::Value ReadJson(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    Json::Value v;
    Json::Reader().parse(in, v);
    return v;
}

class ProfilePanelTest : public testing::DialogFixture {
  protected:
    void SetUp() override {
        DialogFixture::SetUp();
        ui::RegisterCustomControls();
        ui::SetPanelDialogs(&dialogs_);
        Globals().screenWidth = 1920;
        Globals().screenHeight = 1080;
        ASSERT_TRUE(toolkit::CResourceManager::GetInstance().LoadLanguage("lan_en.xml"));
    }

    void TearDown() override {
        pageDriver_.reset();
        if (page_ && page_->GetHWND() != 0) page_->DestroyWindow();
        page_.reset();
        ui::SetPanelDialogs(nullptr);
        SetFileDialogMode(FileDialogMode::kAuto);
        toolkit::CPaintManagerUI::SetAllDPI(96);
        DialogFixture::TearDown();
    }

    // The page in a window of the main window's page size, its model set up as the main window
    // sets it up, and the panel told its kind and folders as the model tells it.
    void OpenPage(const std::string& file = "XML\\DeviceXml\\mousedevice.xml", int kind = 2,
                  const std::string& folder = "mouse", int dpi = 96) {
        const std::string skin =
            "<Window size=\"1000,466\"><VerticalLayout name=\"root\" bkcolor=\"#FF15171B\" "
            "inset=\"18,14,18,14\"><Include source=\"" +
            file + "\"/></VerticalLayout></Window>";
        page_ = std::make_unique<toolkit::DriverWindow>(skin);
        page_->SetControlCreator([this](const std::string& name) -> toolkit::CControlUI* {
            if (name == "SelectPanel") return new ui::CSelectPanelUI;
            if (name == "DeviceKeyButton") return new ui::CDeviceKeyButtonUI;
            if (name.starts_with("Quendal")) return model_ = new RecordingModel;
            return dispatch::CreateSkinControl(name, page_.get(), &page_->GetPaintManager());
        });
        ASSERT_NE(page_->Create(owner(), "page", toolkit::UI_WNDSTYLE_DIALOG | toolkit::WS_VISIBLE,
                                0, 0, 0, 1000, 466),
                  0u)
            << page_->GetBuildError();
        ASSERT_NE(model_, nullptr);
        if (dpi != 96) page_->GetPaintManager().SetDPI(dpi);
        model_->SetDeviceKind(kind);
        model_->SetDataFolderName(folder);
        panel_ = dynamic_cast<ui::CDeviceProfileUI*>(model_->ProfilePanel());
        ASSERT_NE(panel_, nullptr) << "the page hands out no profile panel";
        folder_ = model_->UserDataFolder();
        panel_->SetDeviceKind(kind);
        panel_->SetFolders(folder_,
                           std::string(BRASVIK_BINARY_DIR) + "/DefaultData/" + folder + ".Json");
        panel_->InitProfileList();
        pageDriver_ = std::make_unique<UiTestDriver>(*page_, page_->GetPaintManager());
        pageDriver_->Render();
    }

    // ---- Message boxes ----
    struct Box {
        std::string text;    // the language id (or the plain text) the box shows
        std::string button;  // "confirm_btn" or "cancel_btn"
    };
    struct Answers {
        std::deque<Box> queue;
        std::vector<std::string> seen;
        toolkit::HWND last = 0;
        bool active = true;
    };

    // Answers the next boxes in order; Shown() tells which boxes came and stops answering.
    void Answer(std::vector<Box> boxes) {
        answers_ = std::make_shared<Answers>();
        answers_->queue.assign(boxes.begin(), boxes.end());
        PostAnswer(answers_);
    }
    std::vector<std::string> Shown() {
        answers_->active = false;
        EXPECT_TRUE(answers_->queue.empty()) << answers_->queue.size() << " boxes did not come";
        return answers_->seen;
    }
    void PostAnswer(std::shared_ptr<Answers> a) {
        os::MessageLoop::Current()->PostTask([this, a] {
            if (!a->active || a->queue.empty()) return;
            CMsgWnd* w = CMsgWnd::Current();
            if (w == nullptr || w->GetHWND() == a->last) {
                PostAnswer(a);
                return;
            }
            a->last = w->GetHWND();
            UiTestDriver d(*w, w->GetPaintManager());
            d.Render();
            toolkit::CControlUI* text = d.Find("MessageText");
            a->seen.push_back(text ? text->GetRawText() : "?");
            const Box box = a->queue.front();
            a->queue.pop_front();
            EXPECT_EQ(a->seen.back(), box.text);
            EXPECT_TRUE(d.Click(box.button));
            PostAnswer(a);
        });
    }

    // ---- Looking at the state ----
    toolkit::CComboUI* Combo() {
        return dynamic_cast<toolkit::CComboUI*>(pageDriver_->Find("device_profile_combo"));
    }
    std::vector<std::string> ComboNames() {
        std::vector<std::string> names;
        for (int i = 0; i < Combo()->GetCount(); ++i) {
            names.push_back(Combo()->GetItemAt(i)->GetText());
            EXPECT_EQ(Combo()->GetItemAt(i)->GetUserData(), names.back());
        }
        return names;
    }
    Json::Value ListFile() { return ReadJson(folder_ + "ProfileList.ini"); }
    std::vector<std::string> StoredNames() {
        std::vector<std::string> names;
        const Json::Value list = ListFile();
        for (const Json::Value& e : list["profilelist"]) {
            names.push_back(e["profilename"].asString());
            // Every entry names a profile file that carries the same name.
            EXPECT_EQ(ReadJson(folder_ + e["profileUUID"].asString() + ".Json")["profilename"],
                      e["profilename"]);
        }
        return names;
    }
    int StoredSelection() { return ListFile()["profileselect"].asInt(); }
    std::string IdAt(int i) {
        return ListFile()["profilelist"][static_cast<Json::ArrayIndex>(i)]["profileUUID"]
            .asString();
    }
    // Profiles made beforehand through the list itself, so that a test starts with n of them.
    void MakeProfiles(const std::string& folder, int count) {
        profile::ProfileList list;
        list.SetFolders(os::UserDataFolder(true) + folder + "/",
                        std::string(BRASVIK_BINARY_DIR) + "/DefaultData/" + folder + ".Json");
        ASSERT_TRUE(list.Init());
        while (list.Count() < count) ASSERT_TRUE(list.Add().ok());
    }
    std::vector<std::string> ApplyCalls(const std::string& id, bool validate = true,
                                        bool macros = true) {
        std::vector<std::string> calls = {"BindProfileFiles " + id, "LoadProfile"};
        if (validate) calls.push_back("ValidateMacroKeys");
        for (const char* c :
             {"RefreshPage", "WriteDeviceSettings 0,0,1,1920,1080", "ApplyLightMap"})
            calls.push_back(c);
        if (macros)
            for (const char* c : {"GetMacroList", "WriteMacros 1", "WriteModelKeyAssignments 0"})
                calls.push_back(c);
        return calls;
    }

    PanelDialogsApp dialogs_;
    std::unique_ptr<toolkit::DriverWindow> page_;
    std::unique_ptr<UiTestDriver> pageDriver_;
    RecordingModel* model_ = nullptr;
    ui::CDeviceProfileUI* panel_ = nullptr;
    std::string folder_;
    std::shared_ptr<Answers> answers_;
};

using Cmd = device::IProfilePanelView::Command;

TEST_F(ProfilePanelTest, ANewDeviceStartsWithProfile1ShownInTheDropDownAndTheNameField) {
    OpenPage();
    EXPECT_EQ(ComboNames(), std::vector<std::string>{"profile1"});
    EXPECT_EQ(Combo()->GetCurSel(), 0);
    EXPECT_EQ(panel_->GetNameEditText(), "profile1");
    EXPECT_EQ(StoredNames(), std::vector<std::string>{"profile1"});
    EXPECT_EQ(panel_->GetCurrentProfileId(), IdAt(0));
    // The profile file is the mouse's template under the new name and id.
    const Json::Value profile = ReadJson(folder_ + IdAt(0) + ".Json");
    EXPECT_EQ(profile["profileUUID"].asString(), IdAt(0));
    EXPECT_TRUE(profile.isMember("Device"));
}

TEST_F(ProfilePanelTest, APanelTheModelDidNotSetUpReadsTheProfilesWhenFirstShown) {
    MakeProfiles("mouse", 2);
    const std::string skin =
        "<Window size=\"1000,466\"><Include source=\"XML\\DeviceXml\\mousedevice.xml\"/>"
        "</Window>";
    page_ = std::make_unique<toolkit::DriverWindow>(skin);
    page_->SetControlCreator([this](const std::string& name) -> toolkit::CControlUI* {
        if (name.starts_with("Quendal")) return model_ = new RecordingModel;
        return dispatch::CreateSkinControl(name, page_.get(), &page_->GetPaintManager());
    });
    ASSERT_NE(page_->Create(owner(), "page", toolkit::UI_WNDSTYLE_DIALOG | toolkit::WS_VISIBLE, 0,
                            0, 0, 1000, 466),
              0u);
    model_->SetDeviceKind(2);
    model_->SetDataFolderName("mouse");
    pageDriver_ = std::make_unique<UiTestDriver>(*page_, page_->GetPaintManager());
    pageDriver_->Render();
    folder_ = model_->UserDataFolder();
    EXPECT_EQ(ComboNames(), (std::vector<std::string>{"profile1", "profile2"}));
    EXPECT_EQ(pageDriver_->Find("device_profile_name_edit")->GetText(), "profile1");
}

TEST_F(ProfilePanelTest, AddAndCopyAskFirstAppendAndLeaveTheSelectionAlone) {
    OpenPage();
    // Refused: nothing changes.
    Answer({{"message_text_27", "cancel_btn"}});
    panel_->RunProfileCommand(Cmd::kAdd);
    Shown();
    EXPECT_EQ(StoredNames().size(), 1u);

    Answer({{"message_text_27", "confirm_btn"}});
    panel_->RunProfileCommand(Cmd::kAdd);
    Shown();
    EXPECT_EQ(ComboNames(), (std::vector<std::string>{"profile1", "profile2"}));

    // With profile1 and Profile2 the next one is profile3.
    Combo()->SelectItem(1, false, false);
    panel_->SelectProfile(1, false);
    EXPECT_EQ(panel_->RenameProfile("Profile2"), 1);
    Combo()->SelectItem(0, false, false);
    panel_->SelectProfile(0, false);
    Answer({{"message_text_27", "confirm_btn"}});
    panel_->RunProfileCommand(Cmd::kAdd);
    Shown();

    // A copy of profile1 while "profile1 copy" exists is "profile1 copy copy".
    for (int i = 0; i < 2; ++i) {
        Answer({{"message_text_32", "confirm_btn"}});
        panel_->RunProfileCommand(Cmd::kCopy);
        Shown();
    }
    const std::vector<std::string> expected = {"profile1", "Profile2", "profile3", "profile1 copy",
                                               "profile1 copy copy"};
    EXPECT_EQ(ComboNames(), expected);
    EXPECT_EQ(StoredNames(), expected);
    EXPECT_EQ(Combo()->GetCurSel(), 0);
    EXPECT_EQ(StoredSelection(), 0);
    EXPECT_EQ(panel_->GetNameEditText(), "profile1");
    EXPECT_TRUE(model_->calls.empty()) << "adding or copying applies nothing to the device";
}

TEST_F(ProfilePanelTest, TheFiftiethProfileIsAddedTheFiftyFirstAndAnImportAtFiftyAreRefused) {
    MakeProfiles("mouse", 49);
    OpenPage();
    Answer({{"message_text_27", "confirm_btn"}});
    panel_->RunProfileCommand(Cmd::kAdd);
    Shown();
    EXPECT_EQ(Combo()->GetCount(), 50);

    Answer({{"message_text_27", "confirm_btn"}, {"message_text_30", "confirm_btn"}});
    panel_->RunProfileCommand(Cmd::kAdd);
    Shown();
    Answer({{"message_text_32", "confirm_btn"}, {"message_text_30", "confirm_btn"}});
    panel_->RunProfileCommand(Cmd::kCopy);
    Shown();

    const std::string exported = dir_ + "/Game.json";
    panel_->ExportProfile(exported);
    Answer({{"message_text_34", "confirm_btn"}});
    EXPECT_EQ(panel_->ImportProfile(exported), 0);
    Shown();
    EXPECT_EQ(Combo()->GetCount(), 50);
    EXPECT_EQ(StoredNames().size(), 50u);
}

TEST_F(ProfilePanelTest, RenameRefusesBlankAndTakenNamesWithTheirMessages) {
    MakeProfiles("mouse", 2);
    OpenPage();
    struct Case {
        const char* typed;
        int answer;
        const char* message;  // "" for none
        const char* stored;   // the selected profile's name afterwards
    };
    const Case cases[] = {
        {"   ", 2, "message_text_25", "profile1"},
        {"PROFILE2", 0, "message_text_5", "profile1"},
        {"PROFILE1", 1, "", "PROFILE1"},  // its own name in other letters
        {"Work", 1, "", "Work"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        ASSERT_TRUE(pageDriver_->Click("device_profile_name_edit"));
        panel_->SetNameEditText(c.typed);
        std::vector<Box> boxes;
        if (*c.message) boxes.push_back({c.message, "confirm_btn"});
        Answer(boxes);
        EXPECT_EQ(panel_->RenameProfile(panel_->GetNameEditText()), c.answer);
        Shown();
        EXPECT_EQ(StoredNames()[0], c.stored);
        EXPECT_EQ(ComboNames()[0], c.stored);
        EXPECT_EQ(Combo()->GetText(), c.stored);
    }
    // An empty field does nothing at all.
    panel_->SetNameEditText("");
    Answer({});
    panel_->RunProfileCommand(Cmd::kSaveName);
    EXPECT_TRUE(Shown().empty());
}

TEST_F(ProfilePanelTest, DeleteSelectsThePreviousProfileAndTheDeviceRunsIt) {
    MakeProfiles("mouse", 3);
    OpenPage();
    const std::string first = IdAt(0), second = IdAt(1);

    Answer({{"message_text_29", "cancel_btn"}});
    panel_->RunProfileCommand(Cmd::kRemove);
    Shown();
    EXPECT_EQ(StoredNames().size(), 3u);

    // Deleting the first of three selects the new first one.
    Answer({{"message_text_29", "confirm_btn"}});
    panel_->RunProfileCommand(Cmd::kRemove);
    Shown();
    EXPECT_EQ(ComboNames(), (std::vector<std::string>{"profile2", "profile3"}));
    EXPECT_EQ(Combo()->GetCurSel(), 0);
    EXPECT_EQ(StoredSelection(), 0);
    EXPECT_EQ(panel_->GetNameEditText(), "profile2");
    EXPECT_FALSE(fs::exists(folder_ + first + ".Json"));
    EXPECT_EQ(model_->calls, ApplyCalls(second));

    // Deleting the last one selects the one before it.
    Combo()->SelectItem(1, false, false);
    panel_->ApplyChosenProfile();
    Answer({{"message_text_29", "confirm_btn"}});
    panel_->RunProfileCommand(Cmd::kRemove);
    Shown();
    EXPECT_EQ(ComboNames(), std::vector<std::string>{"profile2"});
    EXPECT_EQ(Combo()->GetCurSel(), 0);

    // The last profile stays, without a question.
    Answer({});
    panel_->RunProfileCommand(Cmd::kRemove);
    EXPECT_TRUE(Shown().empty());
    EXPECT_EQ(StoredNames(), std::vector<std::string>{"profile2"});
}

TEST_F(ProfilePanelTest, ResetRewritesTheProfileFromTheTemplateAndTheDeviceRunsIt) {
    OpenPage();
    const std::string id = IdAt(0);
    const std::string path = folder_ + id + ".Json";
    Json::Value changed = ReadJson(path);
    changed["Device"] = "changed";
    std::ofstream(path) << changed.toStyledString();

    Answer({{"message_text_22", "cancel_btn"}});
    panel_->RunProfileCommand(Cmd::kReset);
    Shown();
    EXPECT_EQ(ReadJson(path)["Device"], "changed");
    EXPECT_TRUE(model_->calls.empty());

    Answer({{"message_text_22", "confirm_btn"}});
    panel_->RunProfileCommand(Cmd::kReset);
    Shown();
    Json::Value expected = ReadJson(std::string(BRASVIK_BINARY_DIR) + "/DefaultData/mouse.Json");
    expected["profilename"] = "profile1";
    expected["profileUUID"] = id;
    EXPECT_EQ(ReadJson(path), expected);
    // After a reset the macro keys are not checked again: the template has none.
    EXPECT_EQ(model_->calls, ApplyCalls(id, false));
}

TEST_F(ProfilePanelTest, ImportAndExportGoThroughRealFiles) {
    OpenPage();
    Answer({{"message_text_27", "confirm_btn"}});
    panel_->RunProfileCommand(Cmd::kAdd);
    Shown();

    // Export writes the selected profile unchanged.
    const std::string game = dir_ + "/Game.json";
    panel_->ExportProfile(game);
    EXPECT_EQ(ReadJson(game), ReadJson(folder_ + IdAt(0) + ".Json"));

    // Three imports of Game.json: Game, Game(1), Game(1)(2), each selected and run.
    for (const char* name : {"Game", "Game(1)", "Game(1)(2)"}) {
        SCOPED_TRACE(name);
        model_->calls.clear();
        Answer({});
        EXPECT_EQ(panel_->ImportProfile(game), 1);
        Shown();
        const int last = Combo()->GetCount() - 1;
        EXPECT_EQ(ComboNames().back(), name);
        EXPECT_EQ(Combo()->GetCurSel(), last);
        EXPECT_EQ(StoredSelection(), last);
        EXPECT_EQ(model_->calls, ApplyCalls(IdAt(last)));
    }

    // Not a profile: refused with its message, nothing stored changes.
    const std::string before = ReadFile(folder_ + "ProfileList.ini");
    struct Bad {
        const char* file;
        const char* content;
    };
    for (const Bad& bad :
         {Bad{"notes.json", "not json at all"}, Bad{"other.json", R"({"profilename": "x"})"}}) {
        SCOPED_TRACE(bad.file);
        std::ofstream(dir_ + "/" + bad.file) << bad.content;
        Answer({{"message_text_33", "confirm_btn"}});
        EXPECT_EQ(panel_->ImportProfile(dir_ + "/" + bad.file), -1);
        Shown();
        EXPECT_EQ(ReadFile(folder_ + "ProfileList.ini"), before);
    }
}

TEST_F(ProfilePanelTest, ExportAndImportButtonsUseTheProgramsFileDialogs) {
    SetFileDialogMode(FileDialogMode::kOwnOnly);
    OpenPage();
    // Export proposes the profile's name; the file chosen gets the profile.
    const std::string target = dir_ + "/Saved.json";
    WhenShown<CFileDialogWnd>([&](CFileDialogWnd&, UiTestDriver& d) {
        EXPECT_EQ(d.Find("file_name")->GetText(), "profile1.json");
        d.FindAs<toolkit::CEditUI>("file_name")->SetText(target);
        ASSERT_TRUE(d.Click("file_ok"));
    });
    panel_->RunProfileCommand(Cmd::kExport);
    EXPECT_EQ(ReadJson(target), ReadJson(folder_ + IdAt(0) + ".Json"));

    // A cancelled import changes nothing; a chosen file becomes the selected profile.
    WhenShown<CFileDialogWnd>(
        [&](CFileDialogWnd&, UiTestDriver& d) { ASSERT_TRUE(d.Click("file_cancel")); });
    panel_->RunProfileCommand(Cmd::kImport);
    EXPECT_EQ(StoredNames().size(), 1u);
    WhenShown<CFileDialogWnd>([&](CFileDialogWnd&, UiTestDriver& d) {
        d.FindAs<toolkit::CEditUI>("file_name")->SetText(target);
        ASSERT_TRUE(d.Click("file_ok"));
    });
    panel_->RunProfileCommand(Cmd::kImport);
    EXPECT_EQ(ComboNames(), (std::vector<std::string>{"profile1", "Saved"}));
    EXPECT_EQ(StoredSelection(), 1);
}

TEST_F(ProfilePanelTest, AChosenProfileIsRecordedThenAppliedInOrder) {
    MakeProfiles("mouse", 3);
    OpenPage();
    // The user's choice in the drop-down is told to the window (which starts the apply timer).
    ASSERT_TRUE(pageDriver_->Click("device_profile_combo"));
    page_->ClearNotifications();
    Combo()->SelectItem(2, false, true);
    bool told = false;
    for (const auto& r : page_->Notifications())
        told = told || (r.type == "itemselect" && r.sender == "device_profile_combo");
    EXPECT_TRUE(told);
    Combo()->CloseDropDown();

    panel_->ApplyChosenProfile();
    EXPECT_EQ(StoredSelection(), 2);
    EXPECT_EQ(panel_->GetNameEditText(), "profile3");
    EXPECT_EQ(model_->calls, ApplyCalls(IdAt(2)));

    // What the macro download answers is told: -1 as message_text_7, a size as message_text_16
    // with the number in it.
    struct Case {
        int result;
        std::string shown;
    };
    const Case cases[] = {
        {-1, "message_text_7"},
        {5, toolkit::CResourceManager::GetInstance().GetText("message_text_16")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.result);
        model_->writeMacrosResult = c.result;
        std::string expected = c.shown;
        if (const auto at = expected.find("%d"); at != std::string::npos)
            expected.replace(at, 2, std::to_string(c.result));
        Answer({{expected, "confirm_btn"}});
        panel_->ApplyChosenProfile();
        Shown();
    }
}

TEST_F(ProfilePanelTest, MenuButtonTogglesTheMenuInPlaceOfTheNameAndTabsFollowTheDevice) {
    OpenPage();
    EXPECT_FALSE(panel_->IsMenuShown());
    EXPECT_TRUE(pageDriver_->Find("device_profile_name_layout")->IsVisible());
    panel_->RunProfileCommand(Cmd::kSpread);
    EXPECT_TRUE(panel_->IsMenuShown());
    EXPECT_FALSE(pageDriver_->Find("device_profile_name_layout")->IsVisible());
    pageDriver_->Render();
    for (const char* name :
         {"device_add_btn", "device_copy_btn", "device_reset_btn", "device_import_btn",
          "device_export_btn", "default_btn", "device_sub_btn"}) {
        toolkit::CControlUI* button = pageDriver_->Find(name);
        ASSERT_NE(button, nullptr) << name;
        EXPECT_TRUE(button->IsVisible()) << name;
        EXPECT_GT(button->GetPos().GetWidth(), 0) << name;
    }
    panel_->RunProfileCommand(Cmd::kSpread);
    EXPECT_FALSE(panel_->IsMenuShown());

    // One tab selected, silently; a number beyond the tabs selects none.
    page_->ClearNotifications();
    for (int tab : {3, 5, 1, 12}) {
        SCOPED_TRACE(tab);
        panel_->SelectFunctionTab(tab);
        for (const auto& [name, number] : std::vector<std::pair<const char*, int>>{
                 {"deng_Op_tab", 1}, {"macro_Op_tab", 3}, {"cursor_Op_tab", 5}}) {
            auto* option = dynamic_cast<toolkit::COptionUI*>(pageDriver_->Find(name));
            ASSERT_NE(option, nullptr);
            EXPECT_EQ(option->IsSelected(), number == tab) << name;
        }
    }
    EXPECT_TRUE(page_->Notifications().empty());
}

TEST_F(ProfilePanelTest, AResetOnTheKeyboardPageClosesTheKeySetPanel) {
    // FIXME: after a reset the keyboard's key-set panel closes; the key-set panel has no way to be
    // closed from the profile panel yet.
    GTEST_SKIP() << "the key-set panel cannot be closed from the profile panel yet";
}

// The panel on the mouse and keyboard pages, with and without its menu, at 96 and 144 DPI in
// English and Chinese, written to build/screenshots/profile_panel/ for a look.
TEST_F(ProfilePanelTest, Screenshots) {
    const fs::path out = fs::path(BRASVIK_BINARY_DIR) / "screenshots" / "profile_panel";
    fs::create_directories(out);
    struct Page {
        const char* file;
        int kind;
        const char* folder;
        const char* stem;
    };
    for (const Page& p :
         {Page{"XML\\DeviceXml\\mousedevice.xml", 2, "mouse", "mouse"},
          Page{"XML\\DeviceXml\\keyboarddevice_7322.xml", 1, "keyboard", "keyboard"}}) {
        for (int dpi : {96, 144}) {
            for (const char* lang : {"lan_en.xml", "lan_cn.xml"}) {
                SCOPED_TRACE(std::string(p.stem) + " " + lang + " " + std::to_string(dpi));
                ASSERT_TRUE(toolkit::CResourceManager::GetInstance().LoadLanguage(lang));
                model_ = nullptr;
                OpenPage(p.file, p.kind, p.folder, dpi);
                const std::string base = out.string() + "/" + p.stem + "_" + std::to_string(dpi) +
                                         "_" + std::string(lang).substr(4, 2);
                EXPECT_TRUE(pageDriver_->SavePng(base + ".png"));
                panel_->ShowMenu(true);
                pageDriver_->Render();
                EXPECT_TRUE(pageDriver_->SavePng(base + "_menu.png"));
                if (p.kind == 2) {
                    // The drop-down open over a few profiles (made in the first run).
                    for (const char* name : {"Work", "Game night", "Travel"}) {
                        if (Combo()->GetCount() >= 4) break;
                        Answer({{"message_text_27", "confirm_btn"}});
                        panel_->AddProfile();
                        Shown();
                        Combo()->SelectItem(Combo()->GetCount() - 1, false, false);
                        panel_->SelectProfile(Combo()->GetCount() - 1, false);
                        panel_->RenameProfile(name);
                    }
                    ASSERT_TRUE(Combo()->Activate());
                    toolkit::CComboWnd* drop = Combo()->GetDropWindow();
                    ASSERT_NE(drop, nullptr);
                    UiTestDriver d(*drop, drop->GetPaintManager());
                    d.Render();
                    EXPECT_TRUE(d.SavePng(base + "_dropdown.png"));
                    Combo()->CloseDropDown();
                }
                pageDriver_.reset();
                page_->DestroyWindow();
                page_.reset();
                toolkit::CPaintManagerUI::SetAllDPI(96);
            }
        }
    }
}

}  // namespace
}  // namespace app

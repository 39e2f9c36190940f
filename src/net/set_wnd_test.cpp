#include "net/set_wnd.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>

#include "net/about_wnd.h"
#include "net/testing/loopback_http_server.h"
#include "net/update_info_list_item_ui.h"
#include "net/update_settings.h"
#include "os/worker_thread.h"
#include "toolkit/controls/combo_ui.h"
#include "toolkit/controls/option_ui.h"
#include "toolkit/controls/tab_layout_ui.h"
#include "toolkit/resource_manager.h"
#include "toolkit/testing/skin_fixture.h"

namespace net {
namespace {

using testing::CannedReply;
using testing::LoopbackHttpServer;
using testing::RecordedRequest;
using toolkit::UiRect;
using toolkit::UiTestDriver;
using Item = CUpdateInfoListItemUI;

constexpr const char* kOwnerSkin = R"(<Window size="1000,640">
  <VerticalLayout name="root" bkcolor="#FF101010"/>
</Window>)";

// Stands in for the main window: keeps the messages the settings window sends it.
class OwnerWindow : public toolkit::DriverWindow {
  public:
    OwnerWindow() : DriverWindow(kOwnerSkin, "MainWnd") {}
    toolkit::LRESULT HandleCustomMessage(uint32_t msg, toolkit::WPARAM wParam, toolkit::LPARAM,
                                         bool& handled) override {
        if (msg == kMsgApplyLanguage || msg == kMsgClearSettingsBadge)
            received.emplace_back(msg, wParam);
        handled = false;
        return 0;
    }
    std::vector<std::pair<uint32_t, toolkit::WPARAM>> received;
};

const std::string kBinary = BRASVIK_BINARY_DIR;

class SettingsWindowTest : public toolkit::testing::SkinFixture {
  protected:
    void SetUp() override {
        SkinFixture::SetUp();
        for (const char* v : {"http_proxy", "all_proxy", "ALL_PROXY", kUpdateServerEnv})
            unsetenv(v);
        setenv("XDG_DATA_HOME", (dir_ + "/data").c_str(), 1);
        setenv("XDG_CONFIG_HOME", (dir_ + "/config").c_str(), 1);
        toolkit::CPaintManagerUI::SetResourcePath(kBinary + "/skin/");
        owner_ = std::make_unique<OwnerWindow>();
        ASSERT_NE(owner_->Create(0, "Brasvik M402", toolkit::UI_WNDSTYLE_FRAME, 0), 0u);
        owner_->MoveWindow(UiRect{100, 100, 1100, 740});
        Language("lan_en.xml");
    }
    void TearDown() override {
        if (CSetWnd* w = CSetWnd::Current()) w->DestroyWindow();
        if (CAboutWnd* w = CAboutWnd::Current()) w->DestroyWindow();
        wnd_.reset();
        if (owner_ && owner_->GetHWND() != 0) owner_->DestroyWindow();
        owner_.reset();
        unsetenv("XDG_DATA_HOME");
        unsetenv("XDG_CONFIG_HOME");
        SkinFixture::TearDown();
    }

    // The language with the main window's font table in the face it takes for it.
    void Language(const char* file) {
        ASSERT_TRUE(toolkit::CResourceManager::GetInstance().LoadLanguage(file)) << file;
        const std::string face =
            std::string(file) == "lan_cn.xml" ? "Noto Sans CJK SC" : "Noto Sans";
        struct Font {
            int id, size;
            bool bold;
        };
        const Font fonts[] = {{0, 15, false}, {2, 18, false},  {3, 30, false},  {4, 16, false},
                              {5, 20, false}, {6, 22, false},  {7, 14, false},  {8, 12, false},
                              {9, 11, false}, {10, 10, false}, {11, 28, false}, {50, 18, true}};
        toolkit::CPaintManagerUI& pm = owner_->GetPaintManager();
        for (const Font& f : fonts) pm.AddFont(f.id, face, f.size, f.bold, false, false, true);
        pm.SetDefaultFont(face, 14, false, false, false, true);
    }

    // Opens the window directly (not modally) at a DPI and lets "windowinit" start the check.
    CSetWnd* Open(const std::vector<UpdateRow>& rows, const std::string& host, int dpi = 96,
                  int languageIndex = 1) {
        auto* w = new CSetWnd(owner_->GetHWND(), languageIndex, rows, {.host = host, .caFile = ""});
        w->SetLanguageConfig(kBinary + "/DefaultData/Language.config");
        if (w->Create(owner_->GetHWND(), "", toolkit::WS_POPUP | toolkit::WS_VISIBLE,
                      toolkit::WS_EX_TOOLWINDOW, 0, 0, 630, 500) == 0) {
            ADD_FAILURE() << w->GetBuildError();
            delete w;
            return nullptr;
        }
        w->GetPaintManager().SetDPI(dpi);
        wnd_ = std::make_unique<UiTestDriver>(*w, w->GetPaintManager());
        wnd_->Render();
        return w;
    }

    // Runs the loop until the check has ended and its messages are served.
    void WaitForCheck(CSetWnd* w) {
        for (int i = 0; i < 2000 && (w->Checking() || w->GetWindowStatus() == CSetWnd::kChecking);
             ++i)
            loop_->RunOnce(10);
        wnd_->Pump();
        ASSERT_NE(w->GetWindowStatus(), CSetWnd::kChecking);
    }

    std::string Text(const char* name) { return wnd_->Find(name)->GetText(); }
    bool Visible(const char* name) { return wnd_->Find(name)->IsVisible(); }
    int Page() { return wnd_->FindAs<toolkit::CTabLayoutUI>("get_update_tab_layout")->GetCurSel(); }

    static UpdateRow Row(size_t index, int version) {
        UpdateRow row = DefaultUpdateTable()[index];
        row.currentVersion = version;
        return row;
    }

    std::unique_ptr<OwnerWindow> owner_;
    std::unique_ptr<UiTestDriver> wnd_;
};

TEST_F(SettingsWindowTest, AnUpdateIsOfferedConfirmedAndThenKeepsTheWindowOpen) {
    LoopbackHttpServer server([](const RecordedRequest& r) {
        if (r.body.find("_KB_") != std::string::npos)
            return CannedReply{.body = R"({"name":"KB","version":"106","path":"/kb.bin"})"};
        return CannedReply{.body = R"({"name":"AP","version":"101","version_name":"V0101"})"};
    });
    CSetWnd* w = Open({Row(0, 0x0105), Row(1, 0), Row(3, 101)}, server.HostAndPort());
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(Text("Update_Status_text"), "Checking for updates…");
    EXPECT_TRUE(Visible("update_status_ring"));
    WaitForCheck(w);

    ASSERT_EQ(w->ItemCount(), 2);  // the mouse row has no version
    Item* kb = w->Item(0);
    Item* ap = w->Item(1);
    EXPECT_EQ(kb->GetLabel(), "KB");
    EXPECT_EQ(kb->GetState(), Item::kNeed);
    EXPECT_EQ(kb->GetNewVersion(), "V106");
    EXPECT_EQ(kb->GetUserData(), "/kb.bin");
    EXPECT_TRUE(kb->IsChecked());
    EXPECT_TRUE(kb->IsCheckEnabled());
    EXPECT_EQ(ap->GetLabel(), "AP");
    EXPECT_EQ(ap->GetState(), Item::kUpToDate);
    EXPECT_EQ(ap->GetNewVersion(), "");
    EXPECT_FALSE(ap->IsCheckEnabled());
    EXPECT_EQ(Text("Update_Status_text"), "Updates are available");
    EXPECT_FALSE(Visible("update_status_ring"));
    EXPECT_TRUE(Visible("update_fw_and_ap"));

    // Unchecking the only item takes the update button away; checking brings it back.
    ASSERT_TRUE(wnd_->Click("check_name_select"));
    EXPECT_FALSE(kb->IsChecked());
    EXPECT_FALSE(Visible("update_fw_and_ap"));
    ASSERT_TRUE(wnd_->Click("check_name_select"));
    EXPECT_TRUE(Visible("update_fw_and_ap"));

    ASSERT_TRUE(wnd_->Click("update_fw_and_ap"));
    EXPECT_EQ(Page(), 1);
    ASSERT_TRUE(wnd_->Click("update_OK_btn"));
    EXPECT_EQ(Page(), 0);
    EXPECT_EQ(kb->GetState(), Item::kWaiting);
    EXPECT_FALSE(wnd_->Find("update_fw_and_ap")->IsEnabled());

    // Waiting items keep the window open against its close button; the system close ends it.
    ASSERT_TRUE(wnd_->Click("closebtn"));
    wnd_->Pump();
    ASSERT_EQ(CSetWnd::Current(), w);
    w->SendMessage(os::WM_SYSCOMMAND, toolkit::SC_CLOSE, 0);
    wnd_.reset();
    loop_->RunOnce(0);
    EXPECT_EQ(CSetWnd::Current(), nullptr);
}

TEST_F(SettingsWindowTest, AllUpToDateShowsTheLastCheckDateInTheCurrentLanguage) {
    LoopbackHttpServer server([](const RecordedRequest&) {
        return CannedReply{.body = R"({"name":"KB","version":"105"})"};
    });
    const std::string file = dir_ + "/data/Brasvik M402/updatetime.config";
    std::filesystem::create_directories(dir_ + "/data/Brasvik M402");
    ASSERT_TRUE(WriteLastCheckDate(file, "2025-1-9"));
    CSetWnd* w = Open({Row(0, 0x0105)}, server.HostAndPort());
    ASSERT_NE(w, nullptr);
    WaitForCheck(w);
    EXPECT_EQ(w->GetWindowStatus(), CSetWnd::kUpToDate);
    EXPECT_EQ(Text("Update_Status_text"), "Everything is up to date. Last check: 2025-1-9");
    EXPECT_EQ(w->Item(0)->GetState(), Item::kUpToDate);
    EXPECT_FALSE(Visible("update_fw_and_ap"));
    loop_->RunOnce(0);
    ASSERT_FALSE(owner_->received.empty());
    EXPECT_EQ(owner_->received.back().first, kMsgClearSettingsBadge);
    // The check itself is the newest check now.
    EXPECT_EQ(ReadLastCheckDate(file), TodayText());

    // The main window switches the language and tells the window.
    Language("lan_cn.xml");
    NotifyLanguageChanged();
    EXPECT_EQ(Text("Update_Status_text"), "已是最新版本。上次检查：2025-1-9");
}

TEST_F(SettingsWindowTest, WithoutAServiceEveryItemIsUpToDateAndTheStatusSaysSo) {
    const std::string closed = "127.0.0.1:" + std::to_string(LoopbackHttpServer::UnusedPort());
    for (const std::string& host : {std::string(), closed}) {
        SCOPED_TRACE(host);
        CSetWnd* w = Open({Row(0, 0x0105), Row(3, 101)}, host);
        ASSERT_NE(w, nullptr);
        WaitForCheck(w);
        EXPECT_EQ(Text("Update_Status_text"), "The update service cannot be reached");
        for (int i = 0; i < w->ItemCount(); ++i) {
            EXPECT_EQ(w->Item(i)->GetState(), Item::kUpToDate);
            EXPECT_FALSE(w->Item(i)->IsCheckEnabled());
        }
        EXPECT_EQ(w->Item(0)->GetNewVersion(), "");
        // Nothing waits: the close button closes.
        ASSERT_TRUE(wnd_->Click("closebtn"));
        wnd_.reset();
        loop_->RunOnce(0);
        EXPECT_EQ(CSetWnd::Current(), nullptr);
    }
}

TEST_F(SettingsWindowTest, ClosingDuringTheCheckEndsItsRequest) {
    LoopbackHttpServer server(
        [](const RecordedRequest&) { return CannedReply{.body = "{}", .delayMs = 30000}; });
    CSetWnd* w = Open({Row(0, 0x0105)}, server.HostAndPort());
    ASSERT_NE(w, nullptr);
    while (server.Requests().empty()) loop_->RunOnce(5);
    // The window answers while the request waits.
    ASSERT_TRUE(wnd_->Click("set_in_update_wnd_btn"));
    EXPECT_FALSE(Visible("update_tishi_layout"));
    ASSERT_TRUE(wnd_->Click("closebtn"));
    wnd_.reset();
    loop_->RunOnce(0);
    EXPECT_EQ(CSetWnd::Current(), nullptr);
    EXPECT_EQ(os::WorkerThread::AbandonedRunning(), 0);
}

TEST_F(SettingsWindowTest, ChoosingALanguageTellsTheMainWindowItsIndex) {
    CSetWnd* w = Open({}, "");
    ASSERT_NE(w, nullptr);
    auto* combo = wnd_->FindAs<toolkit::CComboUI>("Language_combox_info");
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->GetCount(), 16);
    EXPECT_EQ(combo->GetCurSel(), 1);  // selected without a notification
    EXPECT_EQ(combo->GetText(), "English");
    combo->SelectItem(3);
    loop_->RunOnce(0);
    std::vector<toolkit::WPARAM> languages;
    for (const auto& [msg, index] : owner_->received) {
        if (msg == kMsgApplyLanguage) languages.push_back(index);
    }
    EXPECT_EQ(languages, std::vector<toolkit::WPARAM>{3});
    EXPECT_EQ(w->LanguageIndex(), 3);
}

TEST_F(SettingsWindowTest, OpensOnceUnderTheSettingsButtonOrCentredAtTheOwnersDpi) {
    for (int dpi : {96, 144}) {
        for (bool centred : {false, true}) {
            SCOPED_TRACE(std::to_string(dpi) + (centred ? " centred" : " under the button"));
            owner_->GetPaintManager().SetDPI(dpi);
            owner_->MoveWindow(UiRect{100, 100, 100 + 1000 * dpi / 96, 100 + 640 * dpi / 96});
            const UiRect main = owner_->GetWindowRect();
            CSetWnd* seen = nullptr;
            UiRect rc;
            os::MessageLoop::Current()->PostTask([&] {
                seen = CSetWnd::Current();
                // A second opening while it is open shows no second window.
                OpenSettingsWindow(owner_->GetHWND(), true, 0, {});
                EXPECT_EQ(CSetWnd::Current(), seen);
                if (seen == nullptr) return;
                rc = seen->GetWindowRect();
                seen->SendMessage(os::WM_SYSCOMMAND, toolkit::SC_CLOSE, 0);
            });
            OpenSettingsWindow(owner_->GetHWND(), centred, 0, {});
            ASSERT_NE(seen, nullptr);
            EXPECT_EQ(CSetWnd::Current(), nullptr);
            EXPECT_EQ(rc.GetWidth(), 630 * dpi / 96);
            EXPECT_EQ(rc.GetHeight(), 500 * dpi / 96);
            if (centred) {
                EXPECT_NEAR(rc.left + rc.right, main.left + main.right, 1);  // odd sizes round
            } else {
                EXPECT_EQ(rc.right, main.right - 30 * dpi / 96);
                EXPECT_EQ(rc.top, main.top + 60 * dpi / 96);
            }
        }
    }
}

TEST_F(SettingsWindowTest, AboutShowsTheProgramsVersionOnce) {
    std::vector<UpdateRow> table = DefaultUpdateTable();
    std::string shown;
    std::string translated;
    os::MessageLoop::Current()->PostTask([&] {
        CAboutWnd* about = CAboutWnd::Current();
        ASSERT_NE(about, nullptr);
        OpenAbout(owner_->GetHWND(), table);
        EXPECT_EQ(CAboutWnd::Current(), about);
        UiTestDriver d(*about, about->GetPaintManager());
        d.Render();
        shown = d.Find("software_ver_label")->GetText();
        Language("lan_cn.xml");
        about->SendMessage(kMsgApplyLanguage, 0, 0);
        translated = d.Find("software_ver_label")->GetText();
        EXPECT_TRUE(d.Click("closebtn"));
    });
    OpenAbout(owner_->GetHWND(), table);
    EXPECT_EQ(CAboutWnd::Current(), nullptr);
    EXPECT_EQ(shown, "Software version: V0101");
    EXPECT_EQ(translated, "软件版本：V0101");
}

TEST_F(SettingsWindowTest, FollowsTheDpiOfItsMonitor) {
    CSetWnd* w = Open({}, "");
    ASSERT_NE(w, nullptr);
    ASSERT_TRUE(wnd_->DpiChange(144, UiRect{200, 100, 200 + 945, 100 + 750}));
    EXPECT_EQ(w->GetPaintManager().GetDPI(), 144);
    EXPECT_EQ(w->GetWindowRect(), (UiRect{200, 100, 200 + 945, 100 + 750}));
    ASSERT_TRUE(wnd_->DpiChange(100, UiRect{}));  // no such DPI: the usual one
    EXPECT_EQ(w->GetPaintManager().GetDPI(), 96);
}

TEST(SetWndDpiTest, OnlyTheKnownDpisAreTaken) {
    for (int dpi : {48, 72, 96, 120, 144, 168, 192}) EXPECT_EQ(AcceptedWindowDpi(dpi), dpi);
    for (int dpi : {0, 97, 200, -1}) EXPECT_EQ(AcceptedWindowDpi(dpi), 96);
}

// Pictures of both windows at 96 and 144 DPI in English and Chinese, into $BRASVIK_SCREENSHOTS
// when set (for looking at them), else into the test's folder.
TEST_F(SettingsWindowTest, Screenshots) {
    LoopbackHttpServer server([](const RecordedRequest& r) {
        if (r.body.find("_KB_") != std::string::npos)
            return CannedReply{.body = R"({"name":"KB","version":"110","path":"/kb.bin"})"};
        return CannedReply{.body = R"({"name":"AP","version":"101","version_name":"V0101"})"};
    });
    const char* out = std::getenv("BRASVIK_SCREENSHOTS");
    const std::string folder = out != nullptr ? out : dir_;
    std::filesystem::create_directories(folder);
    for (const char* lang : {"en", "cn"}) {
        for (int dpi : {96, 144}) {
            const std::string tag = std::string(lang) + "_" + std::to_string(dpi);
            SCOPED_TRACE(tag);
            Language((std::string("lan_") + lang + ".xml").c_str());
            CSetWnd* w = Open({Row(0, 0x0105), Row(1, 0x0107), Row(3, 101)}, server.HostAndPort(),
                              dpi, std::string(lang) == "cn" ? 0 : 1);
            ASSERT_NE(w, nullptr);
            WaitForCheck(w);
            const std::string file = folder + "/setwnd_" + tag + ".png";
            ASSERT_TRUE(wnd_->SavePng(file));
            EXPECT_GT(std::filesystem::file_size(file), 1000u);
            ASSERT_TRUE(wnd_->Click("update_fw_and_ap"));
            ASSERT_TRUE(wnd_->SavePng(folder + "/setwnd_confirm_" + tag + ".png"));
            w->DestroyWindow();
            wnd_.reset();

            owner_->GetPaintManager().SetDPI(dpi);
            std::string aboutFile = folder + "/about_" + tag + ".png";
            os::MessageLoop::Current()->PostTask([&] {
                CAboutWnd* about = CAboutWnd::Current();
                ASSERT_NE(about, nullptr);
                UiTestDriver d(*about, about->GetPaintManager());
                d.Render();
                EXPECT_TRUE(d.SavePng(aboutFile));
                about->Close(0);
            });
            OpenAbout(owner_->GetHWND(), DefaultUpdateTable());
            owner_->GetPaintManager().SetDPI(96);
        }
    }
}

}  // namespace
}  // namespace net

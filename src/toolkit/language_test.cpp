#include <gtest/gtest.h>

#include <filesystem>

#include "toolkit/controls/label_ui.h"
#include "toolkit/testing/skin_fixture.h"

namespace toolkit {
namespace {

class LanguageTest : public testing::SkinFixture {
  protected:
    void SetUp() override {
        SkinFixture::SetUp();
        WriteFile("lan_en.xml", R"(<Language name="en">
            <Text id="message_text_30">Delete this profile?</Text>
            <Text id="software_rev_text" value="Software version "/>
            <Text id="two_lines">first\nsecond</Text>
          </Language>)");
        WriteFile("lan_cn.xml", R"(<Language name="cn">
            <Text id="message_text_30">删除此配置文件？</Text>
            <Text id="software_rev_text">软件版本 </Text>
          </Language>)");
        WriteFile("ui.xml", R"(<Window size="300,100"><VerticalLayout>
            <Label name="title" text="message_text_30" resourcetext="true" height="30"/>
            <Label name="plain" text="message_text_30" height="30"/>
            <Label name="text_test" resourcetext="true" visible="false"/>
          </VerticalLayout></Window>)");
    }
};

TEST_F(LanguageTest, ResourceTextsFollowTheLoadedLanguage) {
    auto& res = CResourceManager::GetInstance();
    ASSERT_TRUE(res.LoadLanguage("lan_en.xml"));
    ASSERT_NE(Open("ui.xml"), nullptr);
    CControlUI* title = pm().FindControl("title");
    EXPECT_EQ(title->GetText(), "Delete this profile?");
    EXPECT_EQ(title->GetRawText(), "message_text_30");
    EXPECT_EQ(pm().FindControl("plain")->GetText(), "message_text_30");
    EXPECT_EQ(res.GetText("two_lines"), "first\nsecond");

    // A language change repaints every window with the new texts.
    uint64_t paints = pm().GetPaintCount();
    ASSERT_TRUE(res.LoadLanguage("lan_cn.xml"));
    res.ReloadText();
    driver().Render();
    EXPECT_GT(pm().GetPaintCount(), paints);
    EXPECT_EQ(title->GetText(), "删除此配置文件？");
    // Ids the new language lacks show as the id itself.
    EXPECT_EQ(res.GetText("two_lines"), "two_lines");

    // A file that cannot be read leaves the texts as they were.
    EXPECT_FALSE(res.LoadLanguage("lan_missing.xml"));
    WriteFile("lan_bad.xml", "<Language><Text id=\"x\">");
    EXPECT_FALSE(res.LoadLanguage("lan_bad.xml"));
    // No file name (a damaged entry): the resource folder itself, which is no file.
    EXPECT_FALSE(res.LoadLanguage(""));
    std::filesystem::create_directories(dir_ + "/lan_folder.xml");
    EXPECT_FALSE(res.LoadLanguage("lan_folder.xml"));
    EXPECT_EQ(title->GetText(), "删除此配置文件？");
}

TEST_F(LanguageTest, TheHiddenLabelTranslatesAKey) {
    ASSERT_TRUE(CResourceManager::GetInstance().LoadLanguage("lan_en.xml"));
    ASSERT_NE(Open("ui.xml"), nullptr);
    CControlUI* probe = pm().FindControl("text_test");
    probe->SetText("software_rev_text");
    EXPECT_EQ(probe->GetText() + "V0101", "Software version V0101");
}

class QueryWindow : public DriverWindow {
  public:
    using DriverWindow::DriverWindow;
    std::string QueryControlText(const std::string& id, const std::string&) override {
        return id == "dynamic_id" ? "from the window" : "";
    }
};

TEST_F(LanguageTest, IdsTheFileLacksGoToTheTextQueryInterface) {
    auto& res = CResourceManager::GetInstance();
    ASSERT_TRUE(res.LoadLanguage("lan_en.xml"));
    QueryWindow window("ui.xml");
    res.SetTextQueryInterface(&window);
    EXPECT_EQ(res.GetText("dynamic_id"), "from the window");
    EXPECT_EQ(res.GetText("message_text_30"), "Delete this profile?");
    EXPECT_EQ(res.GetText("unknown_id"), "unknown_id");
    res.SetTextQueryInterface(nullptr);
}

}  // namespace
}  // namespace toolkit

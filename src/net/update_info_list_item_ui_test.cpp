#include "net/update_info_list_item_ui.h"

#include <gtest/gtest.h>

#include "toolkit/controls/list_ui.h"
#include "toolkit/controls/option_ui.h"
#include "toolkit/resource_manager.h"
#include "toolkit/testing/skin_fixture.h"

namespace net {
namespace {

using Item = CUpdateInfoListItemUI;

class UpdateListItemTest : public toolkit::testing::SkinFixture {
  protected:
    void SetUp() override {
        SkinFixture::SetUp();
        toolkit::CPaintManagerUI::SetResourcePath(std::string(BRASVIK_BINARY_DIR) + "/skin/");
        ASSERT_TRUE(toolkit::CResourceManager::GetInstance().LoadLanguage("lan_en.xml"));
        ASSERT_NE(Open(R"(<Window size="630,300"><List name="list" itemlinecolor="#FF3A4558"
                              itemhottextcolor="#FFFFFFFF"/></Window>)"),
                  nullptr);
        item_ = Item::Create(&pm());
        ASSERT_NE(item_, nullptr);
        driver().FindAs<toolkit::CListUI>("list")->Add(item_);
        driver().Render();
    }
    std::string Text(const char* name) { return pm().FindSubControlByName(item_, name)->GetText(); }
    bool Visible(const char* name) { return pm().FindSubControlByName(item_, name)->IsVisible(); }
    Item* item_ = nullptr;
};

TEST_F(UpdateListItemTest, EachStateShowsItsTextMarksAndColours) {
    struct Case {
        int state;
        const char* text;
        bool progress;
        bool ok;
        bool checkEnabled;
        bool staysChecked;
        uint32_t colour;
        uint32_t disabledColour;
    };
    const Case cases[] = {
        {0, "Not checked", false, false, false, false, 0xFFFFFFFF, 0xFF666666},
        {1, "Update available", false, false, true, true, 0xFF0099FF, 0xFF0078C8},
        {2, "Update available", false, false, true, true, 0xFF0099FF, 0xFF0078C8},
        {3, "Waiting for download", false, false, false, true, 0xFF0099FF, 0xFF0078C8},
        {4, "Downloading", true, false, false, true, 0xFF0099FF, 0xFF0078C8},
        {5, "Downloaded", false, true, false, true, 0xFF0099FF, 0xFF0078C8},
        {6, "Updating", true, false, false, false, 0xFF0099FF, 0xFF0078C8},
        {7, "Up to date", false, false, false, true, 0xFFFFFFFF, 0xFF666666},
        {8, "Update failed", false, false, true, true, 0xFF0099FF, 0xFF0078C8},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.state);
        item_->SetState(Item::kUpToDate == c.state ? Item::kLess : Item::kUpToDate);
        item_->SetChecked(true);
        item_->SetState(c.state);
        EXPECT_EQ(item_->GetState(), c.state);
        EXPECT_EQ(Text("update_status_text"), c.text);
        EXPECT_EQ(Visible("update_status_ing"), c.progress);
        EXPECT_EQ(Visible("update_progress_value"), c.progress);
        EXPECT_EQ(Visible("update_status_ok"), c.ok);
        EXPECT_EQ(item_->IsCheckEnabled(), c.checkEnabled);
        EXPECT_EQ(item_->IsChecked(), c.staysChecked);
        EXPECT_EQ(item_->CheckBox()->GetTextColor(), c.colour);
        EXPECT_EQ(item_->CheckBox()->GetDisabledTextColor(), c.disabledColour);
    }
    // The state it has already changes nothing: a checked item stays checked.
    item_->SetState(Item::kUpdating);
    item_->SetChecked(true);
    item_->SetState(Item::kUpdating);
    EXPECT_TRUE(item_->IsChecked());
    item_->SetState(42);
    EXPECT_EQ(item_->GetState(), Item::kUpdating);
}

TEST_F(UpdateListItemTest, NewVersionAndProgressTexts) {
    EXPECT_FALSE(Visible("updateRev"));
    item_->SetNewVersion("V0110");
    EXPECT_TRUE(Visible("updateRev"));
    EXPECT_EQ(item_->GetNewVersion(), "V0110");
    item_->SetNewVersion("");
    EXPECT_FALSE(Visible("updateRev"));
    item_->SetProgress(42);
    EXPECT_EQ(Text("update_progress_value"), "42%");
}

TEST_F(UpdateListItemTest, AHotUncheckedItemIsOutlined) {
    item_->SetState(Item::kNeed);
    driver().Render();
    const toolkit::UiRect rc = item_->GetPos();
    ASSERT_TRUE(driver().MoveTo({rc.left + 5, rc.top + rc.GetHeight() / 2}));
    driver().Render();
    EXPECT_EQ(driver().PixelAt(rc.left, rc.top + 1), 0xFF3A4558u);
    item_->SetChecked(true);
    item_->Invalidate();
    driver().Render();
    EXPECT_NE(driver().PixelAt(rc.left, rc.top + 1), 0xFF3A4558u);
}

}  // namespace
}  // namespace net

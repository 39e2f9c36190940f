#include "toolkit/controls/menu_wnd.h"

#include <gtest/gtest.h>

#include "toolkit/controls/menu_element_ui.h"
#include "toolkit/testing/skin_fixture.h"

namespace toolkit {
namespace {

constexpr const char* kMenu = R"(<Window>
  <Menu width="120">
    <MenuElement name="about_menu" text="About" height="30" userdata="a"/>
    <MenuElement name="setwnd_menu" text="Settings" height="30"/>
    <MenuElement name="off_menu" text="Off" height="30" enabled="false"/>
    <MenuElement name="exit" text="Exit" height="20"/>
  </Menu>
</Window>)";

constexpr const char* kMain = R"(<Window size="400,300"><VerticalLayout>
  <Button name="btn" height="40"/>
</VerticalLayout></Window>)";

// Records the menu commands that reach the owner window.
class MenuCommandSink : public IMessageFilterUI {
  public:
    LRESULT MessageHandler(uint32_t msg, WPARAM wParam, LPARAM, bool& handled) override {
        if (msg != WM_MENUCLICK) return 0;
        handled = true;
        names.push_back(MenuCmd::Take(wParam)->szName);
        return 0;
    }
    std::vector<std::string> names;
};

class MenuTest : public testing::SkinFixture {
  protected:
    void SetUp() override {
        SkinFixture::SetUp();
        WriteFile("main.xml", kMain);
        WriteFile("menu.xml", kMenu);
        ASSERT_NE(Open("main.xml"), nullptr);
        pm().AddMessageFilter(&sink_);
        window_->ClearNotifications();
    }
    void TearDown() override {
        if (window_) pm().RemoveMessageFilter(&sink_);
        SkinFixture::TearDown();
    }
    CMenuWnd* OpenMenu(UiPoint at, uint32_t align) {
        CMenuWnd* menu = CMenuWnd::CreateMenu(nullptr, "menu.xml", at, &pm(), nullptr, align);
        if (menu != nullptr) {
            hwnd_ = menu->GetHWND();
            menuDriver_ = std::make_unique<UiTestDriver>(*menu, menu->GetPaintManager());
            menuDriver_->Render();
        }
        return menu;
    }
    bool MenuOpen() const { return hwnd_ != 0 && os::IsTarget(hwnd_); }
    // Drops the menu's driver and serves what the menu posted (its close, its command).
    void Settle() {
        menuDriver_.reset();
        driver().Pump();
    }

    MenuCommandSink sink_;
    HWND hwnd_ = 0;
    std::unique_ptr<UiTestDriver> menuDriver_;
};

TEST_F(MenuTest, AlignmentFlagsPutTheNamedCornerOnTheAnchor) {
    UiSize size{120, 110};
    UiRect screen{0, 0, 1920, 1080};
    struct Case {
        uint32_t align;
        UiRect want;
    } cases[] = {
        {6, {500, 400, 620, 510}},   // left-top: opens right and down
        {12, {380, 400, 500, 510}},  // right-top: the top-right corner on the point
        {18, {500, 290, 620, 400}},  // left-bottom
        {24, {380, 290, 500, 400}},  // right-bottom
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CMenuWnd::PlaceMenu(UiPoint{500, 400}, size, c.align, screen), c.want)
            << "alignment " << c.align;
    }
    // Near the screen's corner the menu stays on the screen.
    EXPECT_EQ(CMenuWnd::PlaceMenu(UiPoint{1900, 1070}, size, 6, screen),
              (UiRect{1800, 970, 1920, 1080}));
}

TEST_F(MenuTest, ChosenEntryReachesTheOwnerAsMenuCommand) {
    CMenuWnd* menu = OpenMenu(UiPoint{700, 500}, eMenuAlignment_Right | eMenuAlignment_Bottom);
    ASSERT_NE(menu, nullptr);
    EXPECT_TRUE(menu->IsWindowVisible());
    // Sized from the skin: the Menu's width and its entries' heights.
    EXPECT_EQ(menu->GetWindowRect(), (UiRect{580, 390, 700, 500}));
    // A disabled entry chooses nothing.
    ASSERT_TRUE(menuDriver_->Click("off_menu"));
    EXPECT_TRUE(MenuOpen());
    ASSERT_TRUE(menuDriver_->Click("setwnd_menu"));
    Settle();
    EXPECT_FALSE(MenuOpen());
    EXPECT_EQ(sink_.names, (std::vector<std::string>{"setwnd_menu"}));
}

TEST_F(MenuTest, PressOutsideOrEscapeClosesWithoutACommand) {
    ASSERT_NE(OpenMenu(UiPoint{10, 10}, 6), nullptr);
    ASSERT_TRUE(driver().Click("btn"));
    Settle();
    EXPECT_FALSE(MenuOpen());
    EXPECT_TRUE(window_->Sequence().empty());  // the press was the menu's, not the button's

    ASSERT_NE(OpenMenu(UiPoint{10, 10}, 6), nullptr);
    ASSERT_TRUE(menuDriver_->Key(VK_ESCAPE));
    Settle();
    EXPECT_FALSE(MenuOpen());
    EXPECT_TRUE(sink_.names.empty());

    // The cursor keys walk the enabled entries and Enter chooses one.
    ASSERT_NE(OpenMenu(UiPoint{10, 10}, 6), nullptr);
    for (int i = 0; i < 3; ++i) menuDriver_->Key(VK_DOWN);  // about, settings, (off skipped) exit
    menuDriver_->Key(VK_RETURN);
    Settle();
    EXPECT_FALSE(MenuOpen());
    EXPECT_EQ(sink_.names, (std::vector<std::string>{"exit"}));
    sink_.names.clear();

    ASSERT_NE(OpenMenu(UiPoint{10, 10}, 6), nullptr);
    ASSERT_TRUE(menuDriver_->Key(VK_ESCAPE));
    Settle();
    EXPECT_FALSE(MenuOpen());
    EXPECT_TRUE(sink_.names.empty());
}

TEST_F(MenuTest, ExitCommandMayCloseTheOwnerBeforeTheMenuIsGone) {
    pm().RemoveMessageFilter(&sink_);
    struct ExitSink : IMessageFilterUI {
        LRESULT MessageHandler(uint32_t msg, WPARAM wParam, LPARAM, bool& handled) override {
            if (msg != WM_MENUCLICK) return 0;
            handled = true;
            if (MenuCmd::Take(wParam)->szName == "exit") owner->DestroyWindow();
            return 0;
        }
        CWindowWnd* owner = nullptr;
    } exitSink;
    exitSink.owner = window_.get();
    pm().AddMessageFilter(&exitSink);
    ASSERT_NE(OpenMenu(UiPoint{10, 10}, 6), nullptr);
    ASSERT_TRUE(menuDriver_->Click("exit"));
    driver_.reset();
    menuDriver_.reset();
    loop_->RunUntil([&] { return !MenuOpen() && window_->GetHWND() == 0; });
    EXPECT_FALSE(MenuOpen());
    EXPECT_EQ(window_->GetHWND(), 0u);
    window_.reset();
}

TEST_F(MenuTest, NestedEntriesOpenAsASubmenuAndAChoiceThereClosesTheChain) {
    WriteFile("menu.xml", R"(<Window><Menu width="120">
      <MenuElement name="about_menu" text="About" height="30"/>
      <MenuElement name="more" text="More" height="30">
        <MenuElement name="sub_a" text="A" height="20"/>
        <MenuElement name="sub_b" text="B" height="20"/>
      </MenuElement>
    </Menu></Window>)");
    CMenuWnd* menu = OpenMenu(UiPoint{10, 10}, 6);
    ASSERT_NE(menu, nullptr);
    // The nested entries are not part of the menu itself.
    EXPECT_EQ(menu->GetWindowRect(), (UiRect{10, 10, 130, 70}));
    EXPECT_FALSE(menuDriver_->Click("sub_a"));
    ASSERT_TRUE(menuDriver_->Click("more"));
    CMenuWnd* sub = menu->GetSubMenu();
    ASSERT_NE(sub, nullptr);
    EXPECT_TRUE(MenuOpen());
    EXPECT_EQ(sub->GetWindowRect(), (UiRect{130, 40, 250, 80}));  // beside its entry
    UiTestDriver subDriver(*sub, sub->GetPaintManager());
    ASSERT_TRUE(subDriver.Click("sub_b"));
    Settle();
    EXPECT_FALSE(MenuOpen());
    EXPECT_EQ(sink_.names, (std::vector<std::string>{"sub_b"}));

    // The pointer resting on the entry opens it too.
    menu = OpenMenu(UiPoint{10, 10}, 6);
    ASSERT_NE(menu, nullptr);
    UiPoint at;
    ASSERT_TRUE(menuDriver_->CenterOf("more", at));
    menu->SendMessage(os::WM_MOUSEHOVER, 0, MakePointLParam(at.x, at.y));
    EXPECT_NE(menu->GetSubMenu(), nullptr);
    menuDriver_->Key(VK_ESCAPE);
    Settle();
    EXPECT_FALSE(MenuOpen());

    // From the keyboard: Right opens the submenu, Left closes it alone, Escape the menu.
    menu = OpenMenu(UiPoint{10, 10}, 6);
    ASSERT_NE(menu, nullptr);
    menuDriver_->Key(VK_DOWN);
    menuDriver_->Key(VK_DOWN);
    menuDriver_->Key(VK_RIGHT);
    sub = menu->GetSubMenu();
    ASSERT_NE(sub, nullptr);
    const HWND subHwnd = sub->GetHWND();
    UiTestDriver(*sub, sub->GetPaintManager()).Key(VK_LEFT);
    driver().Pump();
    EXPECT_FALSE(os::IsTarget(subHwnd));
    EXPECT_TRUE(MenuOpen());
    menuDriver_->Key(VK_ESCAPE);
    Settle();
    EXPECT_FALSE(MenuOpen());
    EXPECT_EQ(sink_.names, (std::vector<std::string>{"sub_b"}));
}

TEST_F(MenuTest, BadSkinOpensNoMenu) {
    WriteFile("broken.xml", "<Window><Menu>");
    EXPECT_EQ(CMenuWnd::CreateMenu(nullptr, "broken.xml", UiPoint{0, 0}, &pm()), nullptr);
    EXPECT_EQ(CMenuWnd::CreateMenu(nullptr, "missing.xml", UiPoint{0, 0}, &pm()), nullptr);
}

}  // namespace
}  // namespace toolkit

#include "toolkit/dialog_builder.h"

#include <gtest/gtest.h>

#include "toolkit/container_ui.h"
#include "toolkit/control_factory.h"
#include "toolkit/controls/button_ui.h"
#include "toolkit/controls/horizontal_layout_ui.h"
#include "toolkit/controls/label_ui.h"
#include "toolkit/controls/option_ui.h"
#include "toolkit/controls/vertical_layout_ui.h"
#include "toolkit/testing/skin_fixture.h"

namespace toolkit {
namespace {

class BuilderTest : public testing::SkinFixture {};

// A control class the toolkit does not know, as the program's custom controls are.
class CMarkerUI : public CButtonUI {
  public:
    std::string_view GetClass() const override { return "Marker"; }
};

class Callback : public IDialogBuilderCallback {
  public:
    CControlUI* CreateControl(const std::string& cls) override {
        asked.push_back(cls);
        return EqualsNoCase(cls, "Marker") ? new CMarkerUI : nullptr;
    }
    std::vector<std::string> asked;
};

TEST_F(BuilderTest, BuildsNestedLayoutsWithWindowFontsDefaultsStylesAndIncludes) {
    WriteFile("part.xml", R"(<HorizontalLayout name="included" height="20">
        <Label name="inner_label" text="in"/>
      </HorizontalLayout>)");
    WriteFile("main.xml", R"(<?xml version="1.0" encoding="utf-8"?>
      <Window size="640,480" caption="0,0,0,30" mininfo="320,200">
        <Font id="3" name="Noto Sans" size="30" bold="true" shared="false"/>
        <Font name="Noto Sans" size="13" default="true"/>
        <Default name="Button" value="textcolor=&quot;#FF112233&quot; font=&quot;3&quot;"/>
        <Style name="big" value='height="44" bkcolor="#FF00FF00"'/>
        <VerticalLayout name="root" bkcolor="#FFFFFFFF">
          <HorizontalLayout name="row">
            <Button name="ok" text="OK" width="80"/>
            <Button name="styled" style="big" textcolor="#FF445566"/>
          </HorizontalLayout>
          <Include source="part.xml"/>
        </VerticalLayout>
      </Window>)");
    ASSERT_NE(Open("main.xml"), nullptr);

    EXPECT_EQ(pm().GetInitSize(), (UiSize{640, 480}));
    EXPECT_EQ(pm().GetClientSize(), (UiSize{640, 480}));
    EXPECT_EQ(pm().GetMinInfo(), (UiSize{320, 200}));
    auto* root = dynamic_cast<CVerticalLayoutUI*>(pm().GetRoot());
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->GetCount(), 2);
    EXPECT_EQ(root->GetItemAt(0)->GetName(), "row");
    EXPECT_EQ(root->GetItemAt(1)->GetName(), "included");
    EXPECT_EQ(pm().FindControl("inner_label")->GetParent(), root->GetItemAt(1));

    auto* ok = driver().FindAs<CButtonUI>("ok");
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->GetTextColor(), 0xFF112233u);  // class default
    EXPECT_EQ(ok->GetFont(), 3);
    EXPECT_EQ(ok->GetFixedWidth(), 80);
    auto* styled = driver().FindAs<CButtonUI>("styled");
    EXPECT_EQ(styled->GetFixedHeight(), 44);  // style
    EXPECT_EQ(styled->GetBkColor(), 0xFF00FF00u);
    EXPECT_EQ(styled->GetTextColor(), 0xFF445566u);  // own attribute over the default

    const TFontInfo* font = pm().GetFontInfo(3);
    EXPECT_EQ(font->iSize, 30);
    EXPECT_TRUE(font->bBold);
    EXPECT_EQ(pm().GetDefaultFontInfo().iSize, 13);
    EXPECT_EQ(pm().GetFontInfo(77), &pm().GetDefaultFontInfo());
}

TEST_F(BuilderTest, ResourceNamesFromTheIndexAndBackslashPaths) {
    WriteFile("res.xml", R"(<Res><Xml name="XML_MAIN" value="XML\sub\main.xml"/></Res>)");
    WriteFile("XML/sub/main.xml", R"(<Window><Label name="hello"/></Window>)");
    ASSERT_TRUE(CResourceManager::GetInstance().LoadResource("res.xml"));
    ASSERT_NE(Open("XML_MAIN"), nullptr);
    EXPECT_NE(pm().FindControl("HELLO"), nullptr);  // names compare without case
}

TEST_F(BuilderTest, UnknownClassesGoToTheCallbackThenTheFactory) {
    CControlFactory::GetInstance().RegistControl(
        "CFactoryMadeUI", [] { return static_cast<CControlUI*>(new CLabelUI); });
    CPaintManagerUI manager;
    Callback callback;
    CDialogBuilder builder;
    CControlUI* root = builder.Create(R"(<Window><VerticalLayout>
          <Marker name="m"/><CFactoryMadeUI name="f"/><Button name="b"/>
        </VerticalLayout></Window>)",
                                      "", &callback, &manager);
    ASSERT_NE(root, nullptr) << builder.GetLastError();
    manager.AttachDialog(root);
    EXPECT_EQ(manager.FindControl("m")->GetClass(), "Marker");
    EXPECT_EQ(manager.FindControl("f")->GetClass(), "Label");
    // The toolkit's own classes never reach the callback.
    EXPECT_EQ(callback.asked, (std::vector<std::string>{"Marker", "CFactoryMadeUI"}));
    CControlFactory::GetInstance().UnregistControl("CFactoryMadeUI");
}

TEST_F(BuilderTest, FaultsNameTheFileAndElementAndBuildNothing) {
    struct Case {
        const char* file;
        const char* xml;
        const char* expected;  // part of the message
    };
    const Case cases[] = {
        {"unknown.xml", "<Window><VerticalLayout>\n<Gizmo name=\"g\"/></VerticalLayout></Window>",
         "skin unknown.xml: <Gizmo name=\"g\"> (line 2): unknown control class 'Gizmo'"},
        {"badvalue.xml", "<Window><Button name=\"b\" width=\"wide\"/></Window>",
         "<Button name=\"b\"> (line 1): bad value for attribute 'width': 'wide'"},
        {"badcolor.xml", "<Window><Label name=\"l\" bkcolor=\"#GG0000\"/></Window>",
         "bad value for attribute 'bkcolor'"},
        {"badstyle.xml", "<Window><Label name=\"l\" style=\"missing\"/></Window>",
         "bad value for attribute 'style'"},
        {"malformed.xml", "<Window>\n<VerticalLayout>\n<Label name=\"x\">\n</Window>",
         "skin malformed.xml: malformed XML"},
        {"children.xml", "<Window><Label name=\"l\"><Button/></Label></Window>",
         "cannot hold child controls"},
        {"tworoots.xml", "<Window><Label name=\"a\"/><Label name=\"b\"/></Window>",
         "one root control"},
        {"loop.xml",
         "<Window><VerticalLayout><Include source=\"loop.xml\"/></VerticalLayout></Window>",
         "includes nested too deeply"},
        {"missing.xml", nullptr, "skin missing.xml: cannot open"},
    };
    for (const Case& c : cases) {
        if (c.xml != nullptr) WriteFile(c.file, c.xml);
        CPaintManagerUI manager;
        CDialogBuilder builder;
        CControlUI* root = builder.Create(c.file, "", nullptr, &manager);
        EXPECT_EQ(root, nullptr) << c.file;
        EXPECT_NE(builder.GetLastError().find(c.expected), std::string::npos)
            << c.file << ": " << builder.GetLastError();
        delete root;
    }
}

TEST_F(BuilderTest, AWindowWhoseSkinFailsIsNotCreated) {
    WriteFile("bad.xml", "<Window><Nope/></Window>");
    DriverWindow window("bad.xml");
    EXPECT_EQ(window.Create(0, "bad", WS_VISIBLE, 0), 0u);
    EXPECT_NE(window.GetBuildError().find("unknown control class 'Nope'"), std::string::npos);
}

}  // namespace
}  // namespace toolkit

#include <gtest/gtest.h>

#include <filesystem>

#include "toolkit/controls/button_ui.h"
#include "toolkit/controls/label_ui.h"
#include "toolkit/render_engine.h"
#include "toolkit/testing/skin_fixture.h"

namespace toolkit {
namespace {

constexpr uint32_t kWhite = 0xFFFFFFFF;
constexpr uint32_t kRed = 0xFFFF0000;
constexpr uint32_t kBlue = 0xFF0000FF;
constexpr uint32_t kGreen = 0xFF00FF00;

// A sample window: coloured background, a button whose pictures change with its state, a
// nine-slice frame, a progress bar and texts in three scripts.
constexpr const char* kSample = R"(<Window size="320,200">
  <Font id="1" name="Noto Sans" size="16"/>
  <VerticalLayout name="root" bkcolor="#FFFFFFFF">
    <HorizontalLayout height="40">
      <Button name="btn" width="40" normalimage="pic/red.png" hotimage="file='pic/blue.png'"/>
      <Control name="frame" width="60" bkimage="file='pic/frame.png' corner='4,4,4,4' hole='true'"/>
      <Control name="part" width="20" bkimage="file='pic/redblue.png' source='4,4,12,12'"/>
      <Control name="dest" width="40" bkimage="file='pic/red.png' dest='10,10,20,20'"/>
      <Control name="border" width="40" bordersize="2" bordercolor="#FF00FF00"/>
    </HorizontalLayout>
    <Progress name="progress" height="20" forecolor="#FF0000FF" value="25"/>
    <Label name="latin" height="30" text="Keyboard" font="1" textcolor="#FF000000"/>
    <Label name="chinese" height="30" text="键盘设置" font="1" textcolor="#FF000000"/>
    <Label name="thai" height="30" text="แป้นพิมพ์" font="1" textcolor="#FF000000"/>
  </VerticalLayout>
</Window>)";

class RenderTest : public testing::SkinFixture {
  protected:
    void SetUp() override {
        SkinFixture::SetUp();
        WritePng("pic/red.png", 8, 8, kRed);
        WritePng("pic/blue.png", 8, 8, kBlue);
        WritePng("pic/redblue.png", 16, 16, kRed, kBlue);
        WritePng("pic/frame.png", 12, 12, kGreen, kRed);
        WriteFile("sample.xml", kSample);
    }
    // Pixels in rc that are not white: the ink of a text.
    int Ink(const UiRect& rc) {
        int n = 0;
        for (int y = rc.top; y < rc.bottom; ++y)
            for (int x = rc.left; x < rc.right; ++x) n += driver().PixelAt(x, y) != kWhite;
        return n;
    }
};

TEST_F(RenderTest, SampleSkinRendersToAPng) {
    ASSERT_NE(Open("sample.xml"), nullptr);
    EXPECT_EQ(driver().PixelAt(300, 190), kWhite);
    EXPECT_EQ(driver().PixelAt(20, 20), kRed);    // stretched normal image
    EXPECT_EQ(driver().PixelAt(41, 1), kGreen);   // frame corner
    EXPECT_EQ(driver().PixelAt(70, 20), kWhite);  // the hole of the frame
    EXPECT_EQ(driver().PixelAt(110, 20), kBlue);  // the source window is all blue
    EXPECT_EQ(driver().PixelAt(135, 15), kRed);   // dest: 10..20 inside "dest"
    EXPECT_EQ(driver().PixelAt(125, 5), kWhite);
    EXPECT_EQ(driver().PixelAt(161, 20), kGreen);  // border
    EXPECT_EQ(driver().PixelAt(170, 20), kWhite);
    EXPECT_EQ(driver().PixelAt(70, 50), kBlue);  // a quarter of 320 is filled
    EXPECT_EQ(driver().PixelAt(90, 50), kWhite);
    for (const char* name : {"latin", "chinese", "thai"}) {
        EXPECT_GT(Ink(pm().FindControl(name)->GetPos()), 40) << name;
    }

    std::string png = dir_ + "/sample.png";
    ASSERT_TRUE(driver().SavePng(png));
    if (const char* keep = getenv("TOOLKIT_KEEP_PNG")) driver().SavePng(keep);
    cairo_surface_t* back = cairo_image_surface_create_from_png(png.c_str());
    ASSERT_EQ(cairo_surface_status(back), CAIRO_STATUS_SUCCESS);
    EXPECT_EQ(cairo_image_surface_get_width(back), 320);
    EXPECT_EQ(cairo_image_surface_get_height(back), 200);
    cairo_surface_destroy(back);

    // Hot state: the hot image.
    ASSERT_TRUE(driver().MoveTo({20, 20}));
    EXPECT_EQ(driver().PixelAt(20, 20), kBlue);
}

TEST_F(RenderTest, At144DpiPicturesAndTextsScale) {
    ASSERT_NE(Open("sample.xml", 144), nullptr);
    EXPECT_EQ(pm().GetClientSize(), (UiSize{480, 300}));
    EXPECT_EQ(driver().PixelAt(55, 55), kRed);   // button 0..60
    EXPECT_EQ(driver().PixelAt(61, 2), kGreen);  // frame corner 6 pixels wide
    EXPECT_EQ(driver().PixelAt(68, 8), kWhite);
    EXPECT_EQ(driver().PixelAt(202, 22), kRed);  // dest 15..30 inside "dest" at 180
    int inkAt144 = Ink(pm().FindControl("latin")->GetPos());
    EXPECT_GT(inkAt144, 60);
}

TEST_F(RenderTest, OnlyWhatChangedIsRepaintedAndNothingWhileNothingChanges) {
    ASSERT_NE(Open("sample.xml"), nullptr);
    driver().Pump();
    uint64_t paints = pm().GetPaintCount();
    driver().Pump();
    EXPECT_EQ(pm().GetPaintCount(), paints);
    EXPECT_FALSE(pm().HasPendingPaint());

    CControlUI* border = pm().FindControl("border");
    border->SetBkColor(kBlue);
    EXPECT_TRUE(pm().HasPendingPaint());
    driver().Pump();
    EXPECT_EQ(pm().GetPaintCount(), paints + 1);
    EXPECT_EQ(pm().GetLastPaintRect(), border->GetPos());
    EXPECT_EQ(driver().PixelAt(170, 20), kBlue);
    // Setting the same value again changes nothing.
    border->SetBkColor(kBlue);
    EXPECT_FALSE(pm().HasPendingPaint());
    // Hiding a control arranges its row again and repaints only that row.
    CControlUI* row = border->GetParent();
    pm().FindControl("part")->SetVisible(false);
    driver().Pump();
    EXPECT_EQ(pm().GetLastPaintRect(), row->GetPos());
    EXPECT_EQ(pm().FindControl("dest")->GetPos().left, 100);
    EXPECT_EQ(pm().GetPaintCount(), paints + 2);
}

TEST_F(RenderTest, OverlayPaintsThePictureShapeInTheLightColour) {
    WritePng("pic/light.png", 8, 8, 0x80FFFFFF);  // half-transparent white
    ASSERT_NE(Open("sample.xml"), nullptr);
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 8, 8);
    cairo_t* cr = cairo_create(s);
    UiRect rc{0, 0, 8, 8};
    ASSERT_TRUE(CRenderEngine::DrawImageString(cr, &pm(), rc, rc, "pic/light.png", "", 0x00FF00,
                                               255, true));
    cairo_destroy(cr);
    cairo_surface_flush(s);
    uint32_t px = *reinterpret_cast<uint32_t*>(cairo_image_surface_get_data(s));
    EXPECT_NEAR(static_cast<int>(px >> 24), 0x80, 2);  // the picture's own alpha
    EXPECT_EQ(px & 0x00FF00FF, 0u);                    // green only
    EXPECT_GT((px >> 8) & 0xFF, 0x70u);
    // Missing pictures draw nothing and report it.
    cr = cairo_create(s);
    EXPECT_FALSE(CRenderEngine::DrawImageString(cr, &pm(), rc, rc, "pic/none.png"));
    cairo_destroy(cr);
    cairo_surface_destroy(s);
}

}  // namespace
}  // namespace toolkit

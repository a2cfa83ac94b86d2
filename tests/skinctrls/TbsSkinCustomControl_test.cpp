// The skinned control base: binding by name, size fitting by resize kind,
// composed pixels, default size and look, losing the skin.

#include "SkinComposition.h"
#include "SkinCtrlsTestSupport.h"
#include "SkinGeometry.h"
#include "TbsGraphicSkinCustomControl.h"
#include "TbsSkinCustomControl.h"

using namespace ctrltest;

namespace {

const char* kList =
    "0=fixed:panel\n1=row:panel\n2=column:panel\n3=frame:panel\n4=halfframe:panel\n5=onerow:panel\n"
    "6=label:stdlabel\n";
const char* kRecords = R"(
[fixed]
pictureindex=0
skinrect=10,10,40,30
clientrect=2,2,28,18
[row]
pictureindex=0
skinrect=0,0,30,20
lefttoppoint=5,0
righttoppoint=20,0
clientrect=2,2,28,18
[column]
pictureindex=0
skinrect=0,0,30,20
lefttoppoint=0,5
leftbottompoint=0,15
clientrect=2,2,28,18
[frame]
pictureindex=0
skinrect=40,20,80,60
lefttoppoint=6,5
righttoppoint=30,5
leftbottompoint=6,32
rightbottompoint=30,32
clientrect=6,5,30,32
[halfframe]
pictureindex=0
skinrect=0,0,30,20
rightbottompoint=25,0
[onerow]
pictureindex=0
skinrect=0,0,30,20
righttoppoint=0,7
[label]
fontname=Arial
)";

class SkinControlBaseTest : public SkinCtrlsTest {
protected:
    ScratchSkin scratch;
    std::string ini = scratch.Write(kList, 7, kRecords);
};

TEST_F(SkinControlBaseTest, TheResizeKindDecidesWhichDimensionsTheRecordForces) {
    struct Case {
        const char* name;
        int kind;
        int width, height;  // after asking for 100 x 50
    } cases[] = {
        {"fixed", 0, 30, 20},
        {"row", 2, 100, 20},
        {"column", 3, 30, 50},
        {"frame", 1, 100, 50},
        // A right-bottom point with one coordinate 0 makes no frame; a
        // right-top point with one coordinate set makes a row.
        {"halfframe", 0, 30, 20},
        {"onerow", 2, 100, 20},
        {"nosuchrecord", -1, 100, 50},
    };
    TForm* form = ShowForm();
    TbsSkinData* skin = LoadSkin(form, ini);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto* w = CreateComponent<TbsSkinCustomControl>(form);
        w->SetParent(form);
        w->SetSkinDataName(c.name);
        w->SetSkinData(skin);
        w->SetBounds(10, 10, 100, 50);
        EXPECT_EQ(w->Width(), c.width);
        EXPECT_EQ(w->Height(), c.height);
        if (std::string(c.name) != "nosuchrecord") {
            EXPECT_EQ(w->ResizeKind(), c.kind);
        }
        // The windowless base fits alike.
        auto* g = CreateComponent<TbsGraphicSkinCustomControl>(form);
        g->SetParent(form);
        g->SetSkinDataName(c.name);
        g->SetSkinData(skin);
        g->SetBounds(10, 70, 100, 50);
        EXPECT_EQ(g->Width(), c.width);
        EXPECT_EQ(g->Height(), c.height);
    }
}

TEST_F(SkinControlBaseTest, ItShowsTheImageComposedFromTheRecord) {
    TForm* form = ShowForm();
    TbsSkinData* skin = LoadSkin(form, ini);
    auto* frame = CreateComponent<TbsSkinCustomControl>(form);
    frame->SetParent(form);
    frame->SetSkinDataName("frame");
    frame->SetSkinData(skin);
    frame->SetBounds(10, 10, 90, 70);
    auto* row = CreateComponent<TbsGraphicSkinCustomControl>(form);
    row->SetParent(form);
    row->SetSkinDataName("row");
    row->SetSkinData(skin);
    row->SetBounds(120, 10, 77, 20);

    const auto* fr = static_cast<const TbsDataSkinCustomControl*>(skin->SkinControls()[3].get());
    TBitmap expectFrame;
    ComposeSkinImage(CornerPointsOf(*fr), fr->skinrect, scratch.Picture(), expectFrame, 90, 70,
                     SizedCornerPoints(CornerPointsOf(*fr), {40, 40}, {90, 70}), StretchFlagsOf(*fr), true);
    TBitmap shot;
    Shot(*frame, shot);
    EXPECT_TRUE(SamePixels(shot, expectFrame)) << FirstDifference(shot, expectFrame);

    TBitmap expectRow;
    ComposeRowImage(5, 10, expectRow, false, 77, {0, 0, 30, 20}, scratch.Picture());
    Shot(*row, shot);
    EXPECT_TRUE(SamePixels(shot, expectRow)) << FirstDifference(shot, expectRow);
}

TEST_F(SkinControlBaseTest, ANewRecordNameTakesEffectAtTheNextPaint) {
    TForm* form = ShowForm();
    TbsSkinData* skin = LoadSkin(form, ini);
    auto* c = CreateComponent<TbsSkinCustomControl>(form);
    c->SetParent(form);
    c->SetSkinDataName("frame");
    c->SetSkinData(skin);
    c->SetBounds(10, 10, 60, 40);
    Pump();
    EXPECT_EQ(c->RecordIndex(), 3);
    const TColor before = PixelOf(*c, 0, 0);
    c->SetSkinDataName("column");
    Pump();
    EXPECT_EQ(c->RecordIndex(), 3);
    EXPECT_EQ(PixelOf(*c, 0, 0), before);
    c->Invalidate();
    Pump();
    EXPECT_EQ(c->RecordIndex(), 2);
    EXPECT_EQ(PixelOf(*c, 0, 0), scratch.Picture().Pixels(0, 0));
}

TEST_F(SkinControlBaseTest, WithoutARecordTheDefaultSizeAndLookApply) {
    TForm* form = ShowForm();
    auto* c = CreateComponent<TbsSkinCustomControl>(form);
    c->SetParent(form);
    c->SetBounds(10, 10, 60, 40);
    c->SetDefaultHeight(21);
    EXPECT_EQ(c->Height(), 21);
    EXPECT_EQ(PixelOf(*c, 5, 5), ColorToRGB(clBtnFace));

    // A row record dictates the height instead.
    TbsSkinData* skin = LoadSkin(form, ini);
    c->SetSkinDataName("row");
    c->SetSkinData(skin);
    EXPECT_EQ(c->Height(), 20);
}

TEST_F(SkinControlBaseTest, AControlWithoutSkinDataIgnoresLoadedSkins) {
    TForm* form = ShowForm();
    auto* c = CreateComponent<TbsSkinCustomControl>(form);
    c->SetParent(form);
    c->SetSkinDataName("fixed");
    c->SetBounds(10, 10, 60, 40);
    LoadSkin(form, ini);
    c->Invalidate();
    EXPECT_EQ(c->Width(), 60);
    EXPECT_EQ(PixelOf(*c, 5, 5), ColorToRGB(clBtnFace));
}

TEST_F(SkinControlBaseTest, DestroyingTheSkinLeavesNoReferenceAndTheDefaultLook) {
    TForm* form = ShowForm();
    TbsSkinData* skin = LoadSkin(form, ini);
    auto* c = CreateComponent<TbsSkinCustomControl>(form);
    c->SetParent(form);
    c->SetSkinDataName("frame");
    c->SetSkinData(skin);
    c->SetBounds(10, 10, 60, 40);
    EXPECT_NE(PixelOf(*c, 20, 20), ColorToRGB(clBtnFace));
    FreeComponent(skin);
    EXPECT_EQ(c->SkinData(), nullptr);
    c->Invalidate();
    EXPECT_EQ(PixelOf(*c, 20, 20), ColorToRGB(clBtnFace));
    EXPECT_EQ(c->RecordIndex(), -1);
}

TEST_F(SkinControlBaseTest, ARecordOfAnotherClassKeepsTheSizeAndTheDefaultLook) {
    TForm* form = ShowForm();
    TbsSkinData* skin = LoadSkin(form, ini);
    auto* c = CreateComponent<TbsSkinCustomControl>(form);
    c->SetParent(form);
    c->SetSkinDataName("label");
    c->SetSkinData(skin);
    c->SetBounds(10, 10, 60, 40);
    EXPECT_EQ(c->Width(), 60);
    EXPECT_EQ(c->Height(), 40);
    EXPECT_EQ(PixelOf(*c, 20, 20), ColorToRGB(clBtnFace));
}

}  // namespace

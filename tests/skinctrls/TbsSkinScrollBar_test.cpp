// The skinned scroll bar: its layout arithmetic, paging and repeat on the
// virtual clock, dragging the thumb past the ends, and a skinned state look.

#include "SkinCtrlsTestSupport.h"
#include "SkinGeometry.h"
#include "SkinPieceCopy.h"
#include "TbsSkinScrollBar.h"

using namespace ctrltest;

namespace {

struct LayoutCase {
    const char* what;
    bool vertical;
    ScrollBarRange range;
    TRect thumb;
};

TEST(SkinScrollBarLayout, ThumbSizeAndPlaceWithoutSkin) {
    // A 200 x 19 bar (or 19 x 200): track 17 .. 183, 166 pixels.
    const LayoutCase cases[] = {
        {"no page, middle", false, {0, 100, 50, 0}, {92, 1, 108, 18}},
        {"no page, start", false, {0, 100, 0, 0}, {17, 1, 33, 18}},
        {"no page, end", false, {0, 100, 100, 0}, {167, 1, 183, 18}},
        {"halves round to even: 112.5 -> 112", false, {0, 4, 3, 0}, {129, 1, 145, 18}},
        {"Min = Max sits at the start", false, {5, 5, 5, 0}, {17, 1, 33, 18}},
        {"half the range as page, start", false, {0, 99, 0, 50}, {17, 1, 99, 18}},
        {"half the range as page, end", false, {0, 99, 50, 50}, {101, 1, 183, 18}},
        {"a small page keeps 16 pixels", false, {0, 999, 0, 1}, {17, 1, 33, 18}},
        {"page as large as the range: horizontal at the end", false, {0, 9, 0, 10}, {17, 1, 183, 18}},
        {"vertical, middle", true, {0, 100, 50, 0}, {1, 92, 18, 108}},
        {"page as large as the range: vertical at the start", true, {0, 9, 0, 10}, {1, 17, 18, 183}},
    };
    for (const LayoutCase& c : cases) {
        SCOPED_TRACE(c.what);
        const int W = c.vertical ? 19 : 200, H = c.vertical ? 200 : 19;
        const ScrollBarLayout l = LayoutDefaultScrollBar(W, H, c.vertical, c.vertical ? H : W, c.range);
        EXPECT_EQ(l.Thumb, c.thumb);
    }
    // Sharing a corner leaves its width free at the right end.
    const ScrollBarLayout both = LayoutDefaultScrollBar(200, 19, false, 200 - 19, {0, 100, 0, 0});
    EXPECT_EQ(both.IncButton, (TRect{164, 1, 180, 18}));
}

TEST(SkinScrollBarLayout, SkinnedPartsFollowTheLengthAndTheThumbKeepsItsMinimum) {
    TbsDataSkinScrollBarControl r("hscrollbar");
    r.skinrect = {2, 64, 62, 81};
    r.righttoppoint = {42, 0};
    r.trackarea = {17, 0, 43, 17};
    r.upbuttonrect = {43, 0, 60, 17};
    r.downbuttonrect = {0, 0, 17, 17};
    r.thumbrect = {78, 83, 98, 100};
    ScrollBarLayout l = LayoutSkinnedScrollBar(200, 17, false, r, {0, 100, 50, 0});
    EXPECT_EQ(l.Track, (TRect{17, 0, 183, 17}));
    EXPECT_EQ(l.IncButton, (TRect{183, 0, 200, 17}));
    EXPECT_EQ(l.DecButton, (TRect{0, 0, 17, 17}));
    EXPECT_EQ(l.Thumb, (TRect{90, 0, 110, 17}));  // 20 long, shift round(0.5 x 146)
    // A page shorter than the skin's thumb gets the skin's length.
    l = LayoutSkinnedScrollBar(200, 17, false, r, {0, 999, 0, 1});
    EXPECT_EQ(l.Thumb.Width(), 20);
    r.thumbminsize = 30;
    l = LayoutSkinnedScrollBar(200, 17, false, r, {0, 999, 0, 1});
    EXPECT_EQ(l.Thumb.Width(), 30);
}

// A button moves with the far end only when it starts strictly beyond the
// far corner point; one that starts on the point stays where the skin has it.
TEST(SkinScrollBarLayout, OnlyButtonsBeyondTheFarCornerPointMoveWithTheLength) {
    const struct {
        const char* what;
        bool vertical;
        int cornerPoint;
        TRect expectedInc;
    } cases[] = {
        {"horizontal, button right of the point", false, 42, {183, 0, 200, 17}},
        {"horizontal, button on the point", false, 43, {43, 0, 60, 17}},
        {"vertical, button below the point", true, 42, {0, 183, 17, 200}},
        {"vertical, button on the point", true, 43, {0, 43, 17, 60}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TbsDataSkinScrollBarControl r(c.vertical ? "vscrollbar" : "hscrollbar");
        r.skinrect = c.vertical ? TRect{0, 0, 17, 60} : TRect{0, 0, 60, 17};
        r.thumbrect = {78, 83, 98, 100};
        if (c.vertical) {
            r.leftbottompoint = {0, c.cornerPoint};
            r.trackarea = {0, 17, 17, 43};
            r.upbuttonrect = {0, 43, 17, 60};
            r.downbuttonrect = {0, 0, 17, 17};
        } else {
            r.righttoppoint = {c.cornerPoint, 0};
            r.trackarea = {17, 0, 43, 17};
            r.upbuttonrect = {43, 0, 60, 17};
            r.downbuttonrect = {0, 0, 17, 17};
        }
        const ScrollBarLayout l =
            LayoutSkinnedScrollBar(c.vertical ? 17 : 200, c.vertical ? 200 : 17, c.vertical, r, {0, 100, 0, 0});
        EXPECT_EQ(l.IncButton, c.expectedInc);
        EXPECT_EQ(l.DecButton, (TRect{0, 0, 17, 17}));
    }
}

class SkinScrollBarTest : public SkinCtrlsTest {
protected:
    TbsSkinScrollBar* AddBar(TWinControl* parent, TbsSkinData* skin = nullptr) {
        auto* b = CreateComponent<TbsSkinScrollBar>(parent);
        b->SetParent(parent);
        b->SetBounds(20, 20, 200, 19);
        b->SetSkinData(skin);
        Pump();
        return b;
    }
    TPoint At(const TControl& c, TPoint p) { return ScreenPoint(c, p.X, p.Y); }
    static TPoint Middle(const TRect& r) { return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2}; }
};

TEST_F(SkinScrollBarTest, AHeldButtonStepsOnceThenRepeatsAfterTheDelayAndPausesOffTheButton) {
    TForm* form = ShowForm();
    TbsSkinScrollBar* bar = AddBar(form);
    int changes = 0;
    bar->OnChange = [&](TObject*) { ++changes; };
    const TPoint inc = At(*bar, Middle(bar->Layout().IncButton));
    screen().MouseMove(inc.X, inc.Y);
    screen().MouseDown(inc.X, inc.Y);
    Pump();
    EXPECT_EQ(bar->Position(), 1);
    Advance(545);
    EXPECT_EQ(bar->Position(), 1);
    Advance(10);
    EXPECT_EQ(bar->Position(), 2);
    Advance(100);
    EXPECT_EQ(bar->Position(), 4);
    // Off the button the repeat waits; back on it, it goes on.
    screen().MouseMove(inc.X - 60, inc.Y);
    Advance(200);
    EXPECT_EQ(bar->Position(), 4);
    screen().MouseMove(inc.X, inc.Y);
    Advance(55);
    EXPECT_EQ(bar->Position(), 5);
    screen().MouseUp(inc.X, inc.Y);
    Advance(200);
    EXPECT_EQ(bar->Position(), 5);
    EXPECT_EQ(changes, 5);
    EXPECT_FALSE(bar->Repeating());
}

TEST_F(SkinScrollBarTest, APressInTheTrackPagesTowardsThePointerUntilTheThumbReachesIt) {
    TForm* form = ShowForm();
    TbsSkinScrollBar* bar = AddBar(form);
    bar->SetRangeAndPosition(0, 99, 10, 0);
    bar->SetLargeChange(10);
    int pagesDown = 0, pagesUp = 0;
    bar->OnPageDown = [&](TObject*) { ++pagesDown; };
    bar->OnPageUp = [&](TObject*) { ++pagesUp; };
    // Three quarters along the track: the thumb (17 pixels) moves by pages
    // of 10 until it covers the pointer, and never jumps to it.
    const TRect track = bar->Layout().Track;
    const TPoint p = At(*bar, {track.Left + track.Width() * 3 / 4, 9});
    screen().MouseMove(p.X, p.Y);
    screen().MouseDown(p.X, p.Y);
    Pump();
    EXPECT_EQ(bar->Position(), 10);
    Advance(2000);
    const TRect thumb = bar->Layout().Thumb;
    EXPECT_LE(thumb.Left, track.Left + track.Width() * 3 / 4);
    EXPECT_GE(thumb.Right, track.Left + track.Width() * 3 / 4);
    EXPECT_EQ(pagesDown, bar->Position() / 10);
    EXPECT_FALSE(bar->Repeating());
    screen().MouseUp(p.X, p.Y);
    // Before the thumb: one page back.
    const TPoint back = At(*bar, {track.Left + 2, 9});
    screen().Click(back.X, back.Y);
    Pump();
    EXPECT_EQ(pagesUp, 1);
}

TEST_F(SkinScrollBarTest, DraggingTheThumbPastEitherEndStopsAtTheEndsAndReportsTheLastChange) {
    TForm* form = ShowForm();
    for (bool paged : {false, true}) {
        SCOPED_TRACE(paged ? "with a page" : "without a page");
        TbsSkinScrollBar* bar = AddBar(form);
        bar->SetRangeAndPosition(0, 100, paged ? 20 : 0, 40);
        int last = 0;
        bar->OnLastChange = [&](TObject*) { ++last; };
        const TPoint grip = At(*bar, Middle(bar->Layout().Thumb));
        screen().Drag(grip, {grip.X + 400, grip.Y + 30});
        Pump();
        EXPECT_EQ(bar->Position(), paged ? 81 : 100);
        EXPECT_EQ(last, 1);
        const TPoint again = At(*bar, Middle(bar->Layout().Thumb));
        screen().Drag(again, {again.X - 400, again.Y});
        Pump();
        EXPECT_EQ(bar->Position(), 0);
        EXPECT_FALSE(bar->Dragging());
        // Half way: the position follows the thumb.
        const ScrollBarLayout l = bar->Layout();
        const TPoint start = At(*bar, Middle(l.Thumb));
        screen().Drag(start, {start.X + (l.ThumbTravelEnd - l.ThumbTravelStart) / 2, start.Y});
        Pump();
        EXPECT_NEAR(bar->Position(), paged ? 40 : 50, 1);
        FreeComponent(bar);
    }
}

TEST_F(SkinScrollBarTest, PositionIsClampedToTheRangeAndAPageThatDoesNotFitIsRefused) {
    TForm* form = ShowForm();
    TbsSkinScrollBar* bar = AddBar(form);
    int changes = 0;
    bar->OnChange = [&](TObject*) { ++changes; };
    bar->SetPosition(150);
    EXPECT_EQ(bar->Position(), 100);
    bar->SetPosition(100);
    EXPECT_EQ(changes, 1);
    bar->SetPosition(-5);
    EXPECT_EQ(bar->Position(), 0);
    bar->SetPosition(60);
    bar->SetPageSize(50);  // 101 positions hold no page of 50 from 60
    EXPECT_EQ(bar->PageSize(), 0);
    bar->SetPosition(10);
    bar->SetPageSize(50);
    EXPECT_EQ(bar->PageSize(), 50);
    bar->SetPosition(99);
    EXPECT_EQ(bar->Position(), 51);
    // A range changed by the program raises no OnChange.
    changes = 0;
    bar->SetRangeAndPosition(10, 20, 0, 40);
    EXPECT_EQ(bar->Position(), 20);
    bar->SetMin(15);
    bar->SetMax(18);
    EXPECT_EQ(bar->Position(), 18);
    EXPECT_EQ(changes, 0);
}

TEST_F(SkinScrollBarTest, TheSkinnedIncrementButtonShowsItsHotAndPressedImages) {
    TForm* form = ShowForm();
    TbsSkinData* skin = LoadSkin(form, DeliveredSkinIni());
    TbsSkinScrollBar* bar = AddBar(form, skin);
    EXPECT_EQ(bar->Height(), 17);  // a row skin takes its height
    const auto& rec = *static_cast<const TbsDataSkinScrollBarControl*>(
        skin->SkinControls()[std::size_t(skin->FindControlIndex("hscrollbar"))].get());
    const TBitmap& pic = *skin->ActiveBitmaps()[std::size_t(rec.pictureindex)];
    const TRect inc = bar->Layout().IncButton;
    EXPECT_EQ(inc, (TRect{183, 0, 200, 17}));
    auto expectButton = [&](const TRect& src, const char* state) {
        SCOPED_TRACE(state);
        TBitmap shot, want(inc.Width(), inc.Height());
        CopySkinPiece(want, 0, 0, pic, src);
        Shot(*bar, shot);
        TBitmap part(inc.Width(), inc.Height());
        for (int y = 0; y < inc.Height(); ++y)
            for (int x = 0; x < inc.Width(); ++x) part.SetPixels(x, y, shot.Pixels(inc.Left + x, inc.Top + y));
        EXPECT_TRUE(SamePixels(part, want)) << FirstDifference(part, want);
    };
    const TPoint p = At(*bar, Middle(inc));
    screen().MouseMove(p.X, p.Y);
    Pump();
    expectButton(rec.activeupbuttonrect, "hot");
    screen().MouseDown(p.X, p.Y);
    Pump();
    expectButton(rec.downupbuttonrect, "pressed");
    screen().MouseUp(p.X, p.Y);
}

}  // namespace

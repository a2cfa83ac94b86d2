// The skinned hint on the headless screen: its lines and size, its place near
// the screen's edges, which of two components serves, the title and image of
// a skinned control's hint, the frame objects' hints and the fade-in.

#include "SkinFormTestSupport.h"

#include "ImgList.h"
#include "SkinBinding.h"
#include "SkinComposition.h"
#include "TbsSkinHint.h"
#include "TbsSkinHintWindow.h"

using namespace frametest;

namespace {

// A control that offers a hint title and image, as the skinned controls do.
class TitledPad : public TCustomControl, public SkinHintSource {
public:
    using TCustomControl::TCustomControl;
    AnsiString HintTitle() const override { return title; }
    int HintImageIndex() const override { return imageIndex; }
    TImageList* HintImageList() const override { return images; }

    AnsiString title;
    int imageIndex = 0;
    TImageList* images = nullptr;
};

class SkinHintTest : public FrameTest {
protected:
    // A shown main form with a skinned hint; the skin only when asked for.
    TbsSkinHint* MakeHint(bool skinned) {
        MakeForm(400, 300);
        ShowAndPump();
        hint = CreateComponent<TbsSkinHint>(form);
        if (skinned) hint->SetSkinData(skin);
        return hint;
    }
    void MoveTo(int x, int y) {
        screen().MouseMove(x, y);
        PumpMessages();
    }
    // Shows `text` through the frame component's call and waits for it.
    TbsSkinHintWindow& ShowText(const AnsiString& text) {
        hint->ShowHintText(text);
        screen().Advance(unsigned(Application->HintPause) + 10);
        PumpMessages();
        return *hint->HintWindow();
    }
    // The extent of `text` in the font of `window` (the hint's own by default).
    TSize Extent(const AnsiString& text, TFontStyles style = 0, THintWindow* window = nullptr) {
        TCanvas c;
        c.Font = (window ? window : hint->HintWindow())->Font();
        c.Font.SetStyle(c.Font.Style() | style);
        TRect r{0, 0, 0, 0};
        c.DrawText(text, r, DT_CALCRECT | DT_NOPREFIX);
        return {r.Width(), r.Height()};
    }

    TbsSkinHint* hint = nullptr;
};

TEST_F(SkinHintTest, LinesSplitAtTheSeparatorAndSizeTheWindow) {
    const struct {
        const char* text;
        const char* separator;
        const char* lines;
    } cases[] = {
        {"Open@Close", "@", "Open\r\nClose"},
        {"a@@b@", "@", "a\r\n\r\nb\r\n"},
        {"one<br>two", "<br>", "one\r\ntwo"},
        {"no separator", "@", "no separator"},
        {"a@b", "", "a@b"},
    };
    for (const auto& c : cases) EXPECT_EQ(SplitHintLines(c.text, c.separator), c.lines) << c.text;

    // The built-in look: the lines' extent plus the frame's margins.
    MakeHint(false);
    MoveTo(200, 200);
    TbsSkinHintWindow& w = ShowText("Open@Close");
    ASSERT_TRUE(w.HintShowing());
    EXPECT_EQ(w.Skin(), nullptr);
    EXPECT_EQ(w.Caption(), "Open\r\nClose");
    const TSize open = Extent("Open"), close = Extent("Close"), both = Extent("Open\r\nClose");
    EXPECT_EQ(both.cy, 2 * open.cy);
    EXPECT_EQ(both.cx, std::max(open.cx, close.cx));
    EXPECT_EQ(w.Width(), both.cx + 6);
    EXPECT_EQ(w.Height(), both.cy + 4);
    // Below the pointer by the arrow's visible height; the frame and fill.
    EXPECT_EQ(w.Left(), 200);
    EXPECT_EQ(w.Top(), 220);
    TBitmap shot;
    screen().ReadScreenRect(w.BoundsRect(), shot);
    EXPECT_EQ(shot.Pixels(0, 0), ColorToRGB(clBtnShadow));
    EXPECT_EQ(shot.Pixels(1, w.Height() - 2), ColorToRGB(clInfoBk));
    // Ink on both lines.
    const auto inkInRows = [&](int top, int bottom) {
        for (int y = top; y < bottom; ++y)
            for (int x = 2; x < w.Width() - 2; ++x)
                if (shot.Pixels(x, y) != ColorToRGB(clInfoBk)) return true;
        return false;
    };
    EXPECT_TRUE(inkInRows(2, 2 + open.cy));
    EXPECT_TRUE(inkInRows(2 + open.cy, 2 + 2 * open.cy));

    // The skinned look: the skin's picture grown around the lines, cut to
    // its mask, the lines centred in its text area.
    hint->SetSkinData(skin);
    hint->HideHintNow();
    ShowText("Open@Close");
    ASSERT_EQ(w.Skin(), skin);
    const TbsDataSkinHintWindow& rec = skin->HintWindow();
    const TBitmap& pic = *skin->ActiveBitmaps()[std::size_t(rec.windowpictureindex)];
    const TSize text = Extent("Open\r\nClose");
    const int frameW = rec.clientrect.Left + pic.Width() - rec.clientrect.Right + 4;
    const int frameH = rec.clientrect.Top + pic.Height() - rec.clientrect.Bottom + 2;
    EXPECT_EQ(w.Width(), text.cx + frameW);
    EXPECT_EQ(w.Height(), text.cy + frameH);
    EXPECT_EQ(w.Layout().TextRect.Left, rec.clientrect.Left + 2);
    TRegion region;
    ASSERT_NE(GetWindowRgn(w.Handle(), region), RGN_ERROR);
    EXPECT_FALSE(region.Contains({0, 0}));  // the rounded corner is cut away
    EXPECT_TRUE(region.Contains({w.Width() / 2, w.Height() / 2}));
    TBitmap composed;
    const SkinCornerPoints points = CornerPointsOf(rec);
    ComposeWindowImage(points, {0, 0, pic.Width(), pic.Height()}, pic, composed, w.Width(), w.Height(),
                       SizedCornerPoints(points, {pic.Width(), pic.Height()}, {w.Width(), w.Height()}),
                       StretchFlagsOf(rec), true);
    screen().ReadScreenRect(w.BoundsRect(), shot);
    EXPECT_EQ(shot.Pixels(w.Width() / 2, 2), composed.Pixels(w.Width() / 2, 2));
    EXPECT_EQ(shot.Pixels(w.Width() - 3, w.Height() / 2), composed.Pixels(w.Width() - 3, w.Height() / 2));

    // The hide pause takes it away.
    screen().Advance(unsigned(Application->HintHidePause) + 10);
    PumpMessages();
    EXPECT_FALSE(w.HintShowing());
}

TEST_F(SkinHintTest, NearTheRightOrBottomEdgeTheHintOpensLeftOrAbove) {
    MakeHint(true);
    const struct {
        int x, y;
        bool left, above;
    } cases[] = {{500, 300, false, false}, {1010, 300, true, false}, {500, 760, false, true}, {1020, 765, true, true}};
    for (const auto& c : cases) {
        hint->HideHintNow();
        MoveTo(c.x, c.y);
        TbsSkinHintWindow& w = ShowText("Minimise@to the tray");
        ASSERT_TRUE(w.HintShowing());
        const TRect r = w.BoundsRect();
        const int below = c.y + CursorVisibleHeight(GetCursor());
        if (c.left) EXPECT_EQ(r.Left, c.x - r.Width() - 2) << c.x;
        else EXPECT_EQ(r.Left, c.x);
        if (c.above) EXPECT_EQ(r.Top, below - r.Height() - 2) << c.y;
        else EXPECT_EQ(r.Top, below);
        EXPECT_LE(r.Right, 1024);
    }
}

TEST_F(SkinHintTest, OnlyTheLastSkinnedHintSetActiveServes) {
    MakeHint(false);
    TbsSkinHint* first = hint;
    TbsSkinHint* second = CreateComponent<TbsSkinHint>(form);
    first->LineSeparator = "#";
    second->LineSeparator = "@";
    auto* pad = CreateComponent<TitledPad>(form);
    pad->SetBounds(10, 10, 100, 50);
    pad->SetParent(form);
    pad->SetHint("a#b@c");
    pad->SetShowHint(true);
    EXPECT_EQ(Application->HintShortPause, 100);

    const struct {
        TbsSkinHint* activated;
        const char* shown;
    } cases[] = {{second, "a#b\r\nc"}, {first, "a\r\nb@c"}, {second, "a#b\r\nc"}};
    for (const auto& c : cases) {
        c.activated->SetActive(true);
        EXPECT_EQ(ServingSkinHint(), c.activated);
        EXPECT_NE(first->Active(), second->Active());
        Application->CancelHint();
        MoveTo(form->ClientOrigin().X + 300, form->ClientOrigin().Y + 200);
        MoveTo(form->ClientOrigin().X + 50, form->ClientOrigin().Y + 30);
        screen().Advance(unsigned(Application->HintPause) + 10);
        PumpMessages();
        auto* w = dynamic_cast<TbsSkinHintWindow*>(Application->HintWindow());
        ASSERT_NE(w, nullptr);
        ASSERT_TRUE(w->HintShowing());
        EXPECT_EQ(w->Caption(), c.shown);
    }
    // Neither active, or both freed: the platform's own look, and the
    // application's hint hook no longer calls the freed components.
    const auto hintAfterHover = [&] {
        Application->CancelHint();
        MoveTo(form->ClientOrigin().X + 300, form->ClientOrigin().Y + 200);
        MoveTo(form->ClientOrigin().X + 50, form->ClientOrigin().Y + 30);
        screen().Advance(unsigned(Application->HintPause) + 10);
        PumpMessages();
        auto* w = dynamic_cast<TbsSkinHintWindow*>(Application->HintWindow());
        return w && w->HintShowing() ? w->Caption() : AnsiString("(none)");
    };
    first->SetActive(false);
    second->SetActive(false);
    EXPECT_EQ(ServingSkinHint(), nullptr);
    EXPECT_EQ(hintAfterHover(), "a#b@c");
    second->SetActive(true);
    FreeComponent(first);
    FreeComponent(second);
    EXPECT_EQ(ServingSkinHint(), nullptr);
    EXPECT_EQ(hintAfterHover(), "a#b@c");
}

TEST_F(SkinHintTest, ASkinnedControlsTitleAndImageShareTheWindow) {
    MakeHint(true);
    auto* images = CreateComponent<TImageList>(form);
    images->SetWidth(16);
    images->SetHeight(16);
    TBitmap strip;
    strip.SetSize(32, 16);
    strip.Canvas().Brush.Color = clRed;
    strip.Canvas().FillRect({0, 0, 32, 16});
    images->Add(strip);
    auto* pad = CreateComponent<TitledPad>(form);
    pad->SetBounds(10, 10, 100, 50);
    pad->SetParent(form);
    pad->SetHint("first line@second line");
    pad->SetShowHint(true);
    pad->title = "Skinnable forms";
    pad->imageIndex = 1;
    pad->images = images;

    MoveTo(form->ClientOrigin().X + 50, form->ClientOrigin().Y + 30);
    screen().Advance(unsigned(Application->HintPause) + 10);
    PumpMessages();
    auto* w = dynamic_cast<TbsSkinHintWindow*>(Application->HintWindow());
    ASSERT_TRUE(w && w->HintShowing());
    const SkinHintLayout& l = w->Layout();
    ASSERT_TRUE(l.HasImage);
    EXPECT_EQ(l.TitleRect.Left, l.ImageAt.X + 16 + 4);  // the column right of the image
    EXPECT_EQ(l.TextRect.Left, l.TitleRect.Left);
    EXPECT_EQ(l.TextRect.Top, l.TitleRect.Bottom + 2);  // the lines below the title
    EXPECT_EQ(l.TitleRect.Width(), Extent("Skinnable forms", fsBold, w).cx);
    EXPECT_EQ(l.TextRect.Height(), Extent("first line\r\nsecond line", 0, w).cy);
    EXPECT_LE(l.TextRect.Right, w->Width());
    TBitmap shot;
    screen().ReadScreenRect(w->BoundsRect(), shot);
    EXPECT_EQ(shot.Pixels(l.ImageAt.X + 8, l.ImageAt.Y + 8), ColorToRGB(clRed));

    // A plain control's hint afterwards carries no title or image.
    pad->title.clear();
    pad->images = nullptr;
    Application->CancelHint();
    MoveTo(form->ClientOrigin().X + 300, form->ClientOrigin().Y + 200);
    MoveTo(form->ClientOrigin().X + 50, form->ClientOrigin().Y + 30);
    screen().Advance(unsigned(Application->HintPause) + 10);
    PumpMessages();
    EXPECT_FALSE(w->Layout().HasImage);
    EXPECT_TRUE(IsRectEmpty(w->Layout().TitleRect));
}

TEST_F(SkinHintTest, FrameObjectHintsShowAfterThePauseAndCloseOnAPress) {
    MakeHint(true);
    frame->SetSkinHint(hint);
    frame->ShowObjectHint = true;
    TbsActiveSkinObject* close = frame->FindObject("closebutton");
    ASSERT_NE(close, nullptr);
    ASSERT_FALSE(close->HintText.empty());
    const TPoint over{form->Left() + (close->ObjectRect.Left + close->ObjectRect.Right) / 2,
                      form->Top() + (close->ObjectRect.Top + close->ObjectRect.Bottom) / 2};
    MoveTo(over.X, over.Y);
    screen().Advance(60);  // the frame's pointer timer notices
    PumpMessages();
    EXPECT_TRUE(hint->HintPending());
    screen().Advance(unsigned(Application->HintPause) + 10);
    PumpMessages();
    ASSERT_TRUE(hint->HintWindow()->HintShowing());
    EXPECT_EQ(hint->HintWindow()->Caption(), close->HintText);
    // A press on the window closes it.
    SendMessage(form->Handle(), WM_LBUTTONDOWN, 0, 0);
    EXPECT_FALSE(hint->HintWindow()->HintShowing());
    // Without ShowObjectHint nothing is shown.
    frame->ShowObjectHint = false;
    MoveTo(form->Left() + 200, form->Top() + 200);
    MoveTo(over.X, over.Y);
    screen().Advance(unsigned(Application->HintPause) + 100);
    PumpMessages();
    EXPECT_FALSE(hint->HintWindow()->HintShowing());
}

TEST_F(SkinHintTest, TheHintFadesInOnTheClock) {
    MakeHint(true);
    hint->AlphaBlend = true;
    hint->AlphaBlendValue = 200;
    hint->AlphaBlendAnimation = true;
    MoveTo(300, 300);
    TbsSkinHintWindow& w = *hint->HintWindow();
    hint->ShowHintText("Fading");
    screen().Advance(unsigned(Application->HintPause));
    PumpMessages();
    ASSERT_TRUE(w.HintShowing());
    EXPECT_TRUE(GetWindowLong(w.Handle(), GWL_EXSTYLE) & WS_EX_LAYERED);
    std::vector<int> steps{w.Alpha()};
    while (w.Fading() && steps.size() < 50) {
        screen().Advance(10);  // the window system's shortest timer
        steps.push_back(w.Alpha());
    }
    EXPECT_EQ(steps.front(), 0);
    EXPECT_EQ(steps[1], 20);
    EXPECT_EQ(steps.back(), 200);
    EXPECT_EQ(steps.size(), 11u);
    BYTE alpha = 0;
    GetLayeredWindowAttributes(w.Handle(), nullptr, &alpha, nullptr);
    EXPECT_EQ(alpha, 200);
    // Switched off: the next hint is opaque again.
    hint->HideHintNow();
    hint->AlphaBlend = false;
    ShowText("Plain");
    EXPECT_FALSE(GetWindowLong(w.Handle(), GWL_EXSTYLE) & WS_EX_LAYERED);
}

}  // namespace

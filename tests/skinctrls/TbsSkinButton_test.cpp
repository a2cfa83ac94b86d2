// The skinned push button driven through real input on the headless screen:
// states and their looks, morphing on the virtual clock, repeat, the
// keyboard, default and cancel buttons, groups.

#include "SkinComposition.h"
#include "SkinCtrlsTestSupport.h"
#include "SkinGeometry.h"
#include "TCustomEdit.h"
#include "ActnList.h"
#include "ImgList.h"
#include "SkinPieceCopy.h"
#include "TbsEffectBmp.h"
#include "TbsSkinButton.h"
#include "TbsSkinSpeedButton.h"

using namespace ctrltest;

namespace {

class SkinButtonTest : public SkinCtrlsTest {
protected:
    TbsSkinButton* AddButton(TWinControl* parent, int x, int y, TbsSkinData* skin = nullptr) {
        auto* b = CreateComponent<TbsSkinButton>(parent);
        b->SetParent(parent);
        b->SetSkinData(skin);
        b->SetBounds(x, y, 65, 25);
        return b;
    }
    // The delivered skin's button record composed at 65 x 25 from one of its
    // state rectangles (a button without caption shows exactly this).
    TBitmap& StateImage(TbsSkinData& skin, TRect TbsDataSkinButtonControl::*which) {
        const auto& r = *static_cast<const TbsDataSkinButtonControl*>(
            skin.SkinControls()[std::size_t(skin.FindControlIndex("button"))].get());
        auto image = std::make_unique<TBitmap>(65, 25);
        const TRect rect = r.*which;
        ComposeRowImage(r.lefttoppoint.X, WidthOf(rect) - r.righttoppoint.X, *image, r.stretcheffect, 65, rect,
                        *skin.ActiveBitmaps()[std::size_t(r.pictureindex)]);
        images_.push_back(std::move(image));
        return *images_.back();
    }
    TPoint Centre(const TControl& c) { return ScreenPoint(c, c.Width() / 2, c.Height() / 2); }
    // Whether the window system reports the pointer leaving a control that
    // holds the capture (press, drag off).
    bool PlatformReportsLeaveWhileCaptured(TbsSkinButton& b) {
        bool left = false;
        b.OnMouseLeave = [&](TObject*) { left = true; };
        const TPoint in = Centre(b);
        screen().MouseMove(in.X, in.Y);
        screen().MouseDown(in.X, in.Y);
        screen().MouseMove(in.X + 150, in.Y + 150);
        Pump();
        screen().MouseUp(in.X + 150, in.Y + 150);
        Pump();
        b.OnMouseLeave = nullptr;
        return left;
    }

private:
    std::vector<std::unique_ptr<TBitmap>> images_;
};

TEST_F(SkinButtonTest, EachStateShowsItsRectangleOfTheSkin) {
    TForm* form = ShowForm();
    TbsSkinData* skin = LoadSkin(form, DeliveredSkinIni());
    skin->SetEnableSkinEffects(false);  // no morph: the looks change at once
    TbsSkinButton* b = AddButton(form, 20, 20, skin);
    TbsSkinButton* other = AddButton(form, 120, 20, skin);
    TBitmap shot;
    auto expectLook = [&](TRect TbsDataSkinButtonControl::*which, const char* state) {
        SCOPED_TRACE(state);
        Shot(*b, shot);
        const TBitmap& want = StateImage(*skin, which);
        EXPECT_TRUE(SamePixels(shot, want)) << FirstDifference(shot, want);
    };
    other->SetFocus();
    Pump();
    expectLook(&TbsDataSkinButtonControl::skinrect, "normal");
    const TPoint c = Centre(*b);
    screen().MouseMove(c.X, c.Y);
    Pump();
    expectLook(&TbsDataSkinButtonControl::activeskinrect, "hot");
    screen().MouseDown(c.X, c.Y);
    Pump();
    expectLook(&TbsDataSkinButtonControl::downskinrect, "pressed");
    screen().MouseUp(c.X, c.Y);
    screen().MouseMove(300, 300);
    Pump();
    EXPECT_TRUE(b->Focused());
    expectLook(&TbsDataSkinButtonControl::focusedskinrect, "focused");
    b->SetEnabled(false);
    expectLook(&TbsDataSkinButtonControl::disabledskinrect, "disabled");
}

TEST_F(SkinButtonTest, WithoutSkinTheDefaultPaletteShowsTheState) {
    TForm* form = ShowForm();
    TbsSkinButton* b = AddButton(form, 20, 20);
    TbsSkinButton* other = AddButton(form, 120, 20);
    other->SetFocus();
    EXPECT_EQ(PixelOf(*b, 0, 0), ColorToRGB(clBtnShadow));
    EXPECT_EQ(PixelOf(*b, 5, 5), ColorToRGB(clBtnFace));
    const TPoint c = Centre(*b);
    screen().MouseMove(c.X, c.Y);
    Pump();
    EXPECT_EQ(PixelOf(*b, 0, 0), TColor(0x800000));
    EXPECT_EQ(PixelOf(*b, 5, 5), TColor(0xD2BDB6));
    screen().MouseDown(c.X, c.Y);
    Pump();
    EXPECT_EQ(PixelOf(*b, 5, 5), TColor(0xB59385));
}

TEST_F(SkinButtonTest, AMorphRunsToItsEndOnTheClock) {
    TForm* form = ShowForm();
    TbsSkinData* skin = LoadSkin(form, DeliveredSkinIni());
    TbsSkinButton* b = AddButton(form, 20, 20, skin);
    TbsSkinButton* other = AddButton(form, 120, 20, skin);
    other->SetFocus();
    Pump();
    const TPoint c = Centre(*b);
    screen().MouseMove(c.X, c.Y);
    Pump();
    EXPECT_TRUE(b->Morphing());
    Advance(kButtonMorphTick);
    EXPECT_DOUBLE_EQ(b->MorphFactor(), 0.2);
    // One step in: the normal look faded a fifth of the way to the hot one.
    TbsEffectBmp blend(StateImage(*skin, &TbsDataSkinButtonControl::skinrect));
    blend.Morph(b->ButtonRecord().morphkind, TbsEffectBmp(StateImage(*skin, &TbsDataSkinButtonControl::activeskinrect)),
                0.2);
    TBitmap want, shot;
    blend.AssignTo(want);
    Shot(*b, shot);
    EXPECT_TRUE(SamePixels(shot, want)) << FirstDifference(shot, want);

    Advance(10 * kButtonMorphTick);
    EXPECT_FALSE(b->Morphing());
    EXPECT_EQ(b->MorphFactor(), 1.0);
    Shot(*b, shot);
    const TBitmap& hot = StateImage(*skin, &TbsDataSkinButtonControl::activeskinrect);
    EXPECT_TRUE(SamePixels(shot, hot)) << FirstDifference(shot, hot);

    // And back when the pointer leaves.
    screen().MouseMove(400, 300);
    Advance(10 * kButtonMorphTick);
    EXPECT_EQ(b->MorphFactor(), 0.0);
    Shot(*b, shot);
    const TBitmap& normal = StateImage(*skin, &TbsDataSkinButtonControl::skinrect);
    EXPECT_TRUE(SamePixels(shot, normal)) << FirstDifference(shot, normal);
}

TEST_F(SkinButtonTest, AClickCountsOnlyWhenReleasedOverTheButton) {
    TForm* form = ShowForm();
    TbsSkinButton* b = AddButton(form, 20, 20);
    int clicks = 0;
    b->OnClick = [&](TObject*) { ++clicks; };
    const TPoint c = Centre(*b);
    screen().Click(c.X, c.Y);
    Pump();
    EXPECT_EQ(clicks, 1);
    ASSERT_TRUE(PlatformReportsLeaveWhileCaptured(*b)) << "the button did not hear the pointer leave while holding it";
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(b->Down());
    EXPECT_FALSE(b->MouseIn());
}

TEST_F(SkinButtonTest, AHeldButtonRepeatsAtItsInterval) {
    TForm* form = ShowForm();
    TbsSkinButton* b = AddButton(form, 20, 20);
    b->SetRepeatMode(true);
    b->SetRepeatInterval(100);
    int clicks = 0;
    b->OnClick = [&](TObject*) { ++clicks; };
    const TPoint c = Centre(*b);
    screen().MouseMove(c.X, c.Y);
    screen().MouseDown(c.X, c.Y);
    Pump();
    Advance(490);
    EXPECT_EQ(clicks, 0);
    Advance(20);
    EXPECT_EQ(clicks, 1);
    Advance(300);
    EXPECT_EQ(clicks, 4);
    screen().MouseUp(c.X, c.Y);
    Pump();
    EXPECT_EQ(clicks, 5);
    EXPECT_FALSE(b->Repeating());
    Advance(300);
    EXPECT_EQ(clicks, 5);
}

TEST_F(SkinButtonTest, SpaceClicksOnReleaseAndEnterOnPress) {
    TForm* form = ShowForm();
    TbsSkinButton* b = AddButton(form, 20, 20);
    int clicks = 0;
    b->OnClick = [&](TObject*) { ++clicks; };
    b->SetFocus();
    Pump();
    screen().KeyDown(VK_SPACE);
    Pump();
    EXPECT_TRUE(b->Down());
    EXPECT_EQ(clicks, 0);
    screen().KeyUp(VK_SPACE);
    Pump();
    EXPECT_FALSE(b->Down());
    EXPECT_EQ(clicks, 1);
    screen().KeyDown(VK_RETURN);
    Pump();
    EXPECT_EQ(clicks, 2);
    screen().KeyUp(VK_RETURN);
    Pump();
    EXPECT_EQ(clicks, 2);
}

TEST_F(SkinButtonTest, ADisabledButtonIgnoresInput) {
    TForm* form = ShowForm();
    TbsSkinButton* b = AddButton(form, 20, 20);
    int clicks = 0;
    b->OnClick = [&](TObject*) { ++clicks; };
    b->SetFocus();
    b->SetEnabled(false);
    Pump();
    const TPoint c = Centre(*b);
    screen().Click(c.X, c.Y);
    Key(VK_SPACE);
    Key(VK_RETURN);
    EXPECT_EQ(clicks, 0);
    EXPECT_FALSE(b->Down());
}

TEST_F(SkinButtonTest, EnterAndEscapeReachTheDefaultAndCancelButtons) {
    TForm* form = ShowForm();
    TbsSkinButton* ok = AddButton(form, 20, 20);
    TbsSkinButton* cancel = AddButton(form, 120, 20);
    auto* edit = CreateComponent<TEdit>(form);
    edit->SetParent(form);
    edit->SetBounds(20, 80, 100, 21);
    ok->SetDefault(true);
    ok->SetModalResult(mrOk);
    cancel->SetCancel(true);
    std::vector<std::string> pressed;
    ok->OnClick = [&](TObject*) { pressed.push_back("ok"); };
    cancel->OnClick = [&](TObject*) { pressed.push_back("cancel"); };
    edit->SetFocus();
    Pump();
    Key(VK_RETURN);
    EXPECT_EQ(form->ModalResult(), mrOk);
    Key(VK_ESCAPE);
    // With another button focused, Enter presses that one.
    cancel->SetFocus();
    Pump();
    Key(VK_RETURN);
    EXPECT_EQ(pressed, (std::vector<std::string>{"ok", "cancel", "cancel"}));
}

TEST_F(SkinButtonTest, TheDefaultButtonLooksHotWhileFocusIsOnAnotherKindOfControl) {
    TForm* form = ShowForm();
    TbsSkinButton* ok = AddButton(form, 20, 20);
    TbsSkinButton* other = AddButton(form, 120, 20);
    auto* edit = CreateComponent<TEdit>(form);
    edit->SetParent(form);
    edit->SetBounds(20, 80, 100, 21);
    ok->SetDefault(true);
    edit->SetFocus();
    Pump();
    EXPECT_TRUE(ok->MouseIn());
    EXPECT_EQ(PixelOf(*ok, 5, 5), TColor(0xD2BDB6));
    other->SetFocus();
    Pump();
    EXPECT_FALSE(ok->MouseIn());
    EXPECT_EQ(PixelOf(*ok, 5, 5), ColorToRGB(clBtnFace));
}

TEST_F(SkinButtonTest, AGroupKeepsOneButtonDown) {
    TForm* form = ShowForm();
    TbsSkinButton* group[3];
    for (int i = 0; i < 3; ++i) {
        group[i] = AddButton(form, 20 + 80 * i, 20);
        group[i]->SetGroupIndex(1);
    }
    EXPECT_FALSE(group[0]->CanFocused());
    int clicks = 0;
    group[1]->OnClick = [&](TObject*) { ++clicks; };
    auto press = [&](int i) {
        const TPoint c = Centre(*group[i]);
        screen().MouseMove(c.X, c.Y);
        screen().Click(c.X, c.Y);
        Pump();
    };
    press(0);
    press(1);
    EXPECT_FALSE(group[0]->Down());
    EXPECT_TRUE(group[1]->Down());
    EXPECT_EQ(clicks, 1);
    press(1);  // pressing the down one again does nothing
    EXPECT_TRUE(group[1]->Down());
    EXPECT_EQ(clicks, 1);
    for (auto* b : group) b->SetAllowAllUp(true);
    press(1);  // now it raises it
    EXPECT_FALSE(group[1]->Down());
    EXPECT_EQ(clicks, 2);
}

TEST_F(SkinButtonTest, TheGlyphImageFollowsTheState) {
    // Four 4 x 4 glyphs, each one colour, on a transparent bottom-left pixel.
    TBitmap strip(16, 4);
    const TColor colours[4] = {0x0000FF, 0x00FF00, 0xFF0000, 0x00FFFF};
    for (int i = 0; i < 4; ++i)
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 4; ++x) strip.SetPixels(i * 4 + x, y, colours[i]);
    for (int i = 0; i < 4; ++i) strip.SetPixels(i * 4, 3, 0xFFFFFF);
    TForm* form = ShowForm();
    TbsSkinButton* b = AddButton(form, 20, 20);
    TbsSkinButton* other = AddButton(form, 120, 20);
    other->SetFocus();
    b->SetGlyph(strip);
    b->SetNumGlyphs(4);
    // The glyph alone is centred: its top-left at ((65 - 4) / 2, (25 - 4) / 2).
    const int gx = 30 + 1, gy = 10 + 1;
    EXPECT_EQ(PixelOf(*b, gx, gy), colours[0]);
    const TPoint c = Centre(*b);
    screen().MouseMove(c.X, c.Y);
    Pump();
    EXPECT_EQ(PixelOf(*b, gx, gy), colours[3]);
    screen().MouseDown(c.X, c.Y);
    Pump();
    EXPECT_EQ(PixelOf(*b, gx + 1, gy + 1), colours[2]);
    screen().MouseUp(c.X, c.Y);
    screen().MouseMove(400, 300);
    // Two images: the second only when disabled, hot or not.
    TBitmap pair(8, 4);
    pair.Canvas().CopyRect({0, 0, 8, 4}, strip.Canvas(), {0, 0, 8, 4});
    b->SetGlyph(pair);
    b->SetNumGlyphs(2);
    other->SetFocus();
    Pump();
    EXPECT_EQ(PixelOf(*b, gx, gy), colours[0]);
    screen().MouseMove(c.X, c.Y);
    Pump();
    EXPECT_EQ(PixelOf(*b, gx, gy), colours[0]);
    b->SetEnabled(false);
    EXPECT_EQ(PixelOf(*b, gx, gy), colours[1]);
}

TEST_F(SkinButtonTest, AnActionRunsUnlessTheButtonHasAClickHandlerOfItsOwn) {
    TForm* form = ShowForm();
    auto* action = CreateComponent<TAction>(form);
    action->SetCaption("Go");
    TObject* executedBy = nullptr;
    int executed = 0;
    action->OnExecute = [&](TObject* sender) {
        ++executed;
        executedBy = sender;
    };
    auto* push = AddButton(form, 20, 20);
    auto* speed = CreateComponent<TbsSkinSpeedButton>(form);
    speed->SetParent(form);
    speed->SetBounds(120, 20, 40, 25);
    const struct {
        TControl* control;
        SkinButtonCore* core;
    } buttons[] = {{push, push}, {speed, speed}};
    for (const auto& b : buttons) {
        SCOPED_TRACE(b.control == push ? "push button" : "speed button");
        executed = 0;
        b.core->SetAction(action);
        EXPECT_EQ(b.control->Caption(), "Go");
        const TPoint c = Centre(*b.control);
        screen().Click(c.X, c.Y);
        Pump();
        EXPECT_EQ(executed, 1);
        EXPECT_EQ(executedBy, action);  // run through the action, not as the button's handler
        // The action's state reaches the button.
        action->SetEnabled(false);
        EXPECT_FALSE(b.control->Enabled());
        screen().Click(c.X, c.Y);
        Pump();
        EXPECT_EQ(executed, 1);
        action->SetEnabled(true);
        // A handler of the button's own runs instead of the action.
        int own = 0;
        b.control->OnClick = [&](TObject*) { ++own; };
        screen().Click(c.X, c.Y);
        Pump();
        EXPECT_EQ(own, 1);
        EXPECT_EQ(executed, 1);
        b.core->SetAction(nullptr);
        b.control->OnClick = nullptr;
    }
    // An action that goes leaves the button without one; its own handler stays.
    int own = 0;
    push->SetAction(action);
    push->OnClick = [&](TObject*) { ++own; };
    FreeComponent(action);
    EXPECT_EQ(push->Action(), nullptr);
    push->DoButtonClick();
    EXPECT_EQ(own, 1);
}

TEST_F(SkinButtonTest, AnActionsImageBecomesTheGlyphOfAButtonWithout) {
    TForm* form = ShowForm();
    auto* images = CreateComponent<TImageList>(form);
    images->SetWidth(6);
    images->SetHeight(6);
    // A red square whose bottom-left pixel is left out of the image.
    TBitmap red(6, 6);
    red.Canvas().Brush.Color = 0x0000FF;
    red.Canvas().FillRect(red.BoundsRect());
    red.SetPixels(0, 5, 0xFFFFFF);
    images->AddMasked(red, 0xFFFFFF);
    auto* action = CreateComponent<TAction>(form);
    action->SetImages(images);
    action->SetImageIndex(0);
    TbsSkinButton* b = AddButton(form, 20, 20);
    b->SetAction(action);
    ASSERT_EQ(b->Glyph().Width(), 6);
    EXPECT_EQ(b->Glyph().Pixels(2, 2), TColor(0x0000FF));
    EXPECT_EQ(b->Glyph().Pixels(0, 5), TColor(0xFF00FF));  // the magenta ground, drawn transparent
    // The glyph alone is centred; its transparent corner shows the button.
    const int gx = (65 - 6) / 2, gy = (25 - 6) / 2;
    EXPECT_EQ(PixelOf(*b, gx + 2, gy + 2), TColor(0x0000FF));
    EXPECT_NE(PixelOf(*b, gx, gy + 5), TColor(0xFF00FF));
    // An index outside the list, or a button with a glyph, keeps its glyph.
    TbsSkinButton* other = AddButton(form, 120, 20);
    action->SetImageIndex(3);
    other->SetAction(action);
    EXPECT_TRUE(other->Glyph().Empty());
    TBitmap own(4, 4);
    b->SetGlyph(own);
    action->SetImageIndex(0);
    EXPECT_EQ(b->Glyph().Width(), 4);
}

TEST_F(SkinButtonTest, WithoutSkinSizeTheButtonKeepsAnySizeAndItsPictureFillsIt) {
    ScratchSkin scratch;
    const std::string ini = scratch.Write("0=fixedbtn:button\n1=rowbtn:button\n", 2, R"(
[fixedbtn]
pictureindex=0
maskpictureindex=0
skinrect=10,10,40,30
clientrect=2,2,28,18
[rowbtn]
pictureindex=0
maskpictureindex=0
skinrect=10,40,50,60
lefttoppoint=5,0
righttoppoint=35,0
clientrect=5,2,35,18
)");
    TForm* form = ShowForm();
    TbsSkinData* skin = LoadSkin(form, ini);
    const TBitmap& pic = scratch.Picture();
    const struct {
        const char* name;
        TRect skinrect, clientrect;
        int fittedW, fittedH;  // with the record's size rule, asked for 53 x 31
    } cases[] = {
        {"fixedbtn", {10, 10, 40, 30}, {2, 2, 28, 18}, 30, 20},
        {"rowbtn", {10, 40, 50, 60}, {5, 2, 35, 18}, 53, 20},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto* b = CreateComponent<TbsSkinButton>(form);
        b->SetParent(form);
        b->SetSkinDataName(c.name);
        b->SetSkinData(skin);
        b->SetBounds(20, 20, 53, 31);
        EXPECT_EQ(b->Width(), c.fittedW);
        EXPECT_EQ(b->Height(), c.fittedH);
        EXPECT_TRUE(b->HasWindowRegion());
        b->SetUseSkinSize(false);
        b->SetBounds(20, 20, 53, 31);
        EXPECT_EQ(b->Width(), 53);
        EXPECT_EQ(b->Height(), 31);
        EXPECT_FALSE(b->HasWindowRegion());
        TBitmap want(53, 31);
        if (std::string(c.name) == "fixedbtn") StretchSkinPiece(want, want.BoundsRect(), pic, c.skinrect);
        else ComposeStretchedImage(want, pic, c.skinrect, true, c.clientrect);
        TBitmap shot;
        Shot(*b, shot);
        EXPECT_TRUE(SamePixels(shot, want)) << FirstDifference(shot, want);
        // Back on, the record's size and shape return.
        b->SetUseSkinSize(true);
        EXPECT_EQ(b->Width(), c.fittedW);
        EXPECT_EQ(b->Height(), c.fittedH);
        EXPECT_TRUE(b->HasWindowRegion());
        FreeComponent(b);
    }
    // The speed button follows the same rule.
    auto* speed = CreateComponent<TbsSkinSpeedButton>(form);
    speed->SetParent(form);
    speed->SetSkinDataName("fixedbtn");
    speed->SetSkinData(skin);
    speed->SetUseSkinSize(false);
    speed->SetBounds(20, 80, 53, 31);
    EXPECT_EQ(speed->Width(), 53);
    EXPECT_EQ(speed->Height(), 31);
}

}  // namespace

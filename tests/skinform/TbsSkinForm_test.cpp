// The frame component on a form of the headless screen: the frame size it
// gives, its limits, its hit tests, its shape and its painting, with the
// program's skin, with edited copies of it, and without a skin.

#include "SkinFormTestSupport.h"

#include "SkinCornerPoints.h"
#include "SkinFrameParts.h"
#include "SkinRegions.h"
#include "TPanel.h"
#include "TbsSkinMenu.h"
#include "TbsSkinStdButtonObject.h"

using namespace frametest;

namespace {

class TbsSkinFormTest : public FrameTest {};

TRect ClientOf(TForm* form) {
    TRect r;
    GetClientRect(form->Handle(), r);
    const TPoint o = form->ClientOrigin();
    return Bounds(o.X - form->Left(), o.Y - form->Top(), r.Width(), r.Height());
}

TEST_F(TbsSkinFormTest, OnlyAFormCanCarryTheFrame) {
    TForm* owner = Application->CreateForm<TForm>();
    TComponent* plain = CreateComponent<TTimer>(owner);
    EXPECT_THROW(CreateComponent<TbsSkinForm>(plain), EInvalidCast);
    TbsSkinForm* f = CreateComponent<TbsSkinForm>(owner);
    EXPECT_EQ(f->BorderIcons(), TbsBorderIcons(biSystemMenu | biMinimize | biMaximize | biRollUp));
    EXPECT_EQ(owner->BorderIcons(), 0u);  // the system draws no buttons of its own
    EXPECT_TRUE(f->Skinnable());
    EXPECT_FALSE(f->UsesSkin());
    EXPECT_EQ(f->DefCaptionFont.Height(), 14);
    EXPECT_EQ(f->DefInActiveCaptionFont.Color(), clBtnShadow);
    EXPECT_EQ(f->MagneticSize, 5);
    EXPECT_EQ(f->AlphaBlendValue, 200);
}

TEST_F(TbsSkinFormTest, FrameSizeWithSkinWithoutSkinAndWithoutBorder) {
    MakeForm(551, 391);
    ShowAndPump();
    // The program's skin: 3 pixels left, right and below, a 30-pixel caption band.
    EXPECT_EQ(ClientOf(form), (TRect{3, 30, 548, 388}));

    MakeForm(300, 200, "");
    ShowAndPump();
    EXPECT_EQ(ClientOf(form), (TRect{3, 22, 297, 197}));

    MakeForm(300, 200, "", bsToolWindow);
    ShowAndPump();
    EXPECT_EQ(ClientOf(form), (TRect{3, 18, 297, 197}));
    frame->PaintDefaultFrame();
    auto* close = dynamic_cast<TbsSkinStdButtonObject*>(frame->FindObject("closebutton"));
    ASSERT_NE(close, nullptr);
    EXPECT_EQ(close->ObjectRect, (TRect{284, 4, 297, 17}));

    MakeForm(300, 200, ProgramSkinDir() + "skin.ini", bsNone);
    ShowAndPump();
    EXPECT_EQ(ClientOf(form), (TRect{0, 0, 300, 200}));
    TRegion region;
    EXPECT_EQ(GetWindowRgn(form->Handle(), region), RGN_ERROR);
}

TEST_F(TbsSkinFormTest, SizeLimits) {
    ScratchDir dir;
    const std::string wide = dir.CopyProgramSkin([](std::string& ini) { Replace(ini, "formminwidth=0", "formminwidth=250"); });
    const struct {
        bool skinned;
        bool formMin250;
        int minWidth, minHeight;
        int expectedW, expectedH;
    } cases[] = {
        {true, false, 0, 0, 200, 33},     // the frame picture's width, the frame alone
        {true, false, 300, 50, 300, 50},  // a wider MinWidth wins
        {true, false, 150, 20, 200, 33},  // a narrower one does not
        {true, true, 150, 0, 250, 33},    // the skin's own minimum
        {true, true, 300, 0, 300, 33},
        {false, false, 0, 0, 120, 25},
        {false, false, 150, 40, 150, 40},
    };
    for (const auto& c : cases) {
        MakeForm(600, 400, !c.skinned ? "" : c.formMin250 ? wide : ProgramSkinDir() + "skin.ini");
        frame->MinWidth = c.minWidth;
        frame->MinHeight = c.minHeight;
        EXPECT_EQ(frame->MinFrameWidth(), c.expectedW) << c.minWidth;
        EXPECT_EQ(frame->MinFrameHeight(), c.expectedH) << c.minHeight;
    }
    // Rolled up, the frame alone is the minimum whatever MinHeight says.
    MakeForm(600, 400);
    ShowAndPump();
    frame->MinHeight = 80;
    EXPECT_EQ(frame->MinFrameHeight(), 80);
    frame->RollUp(true);
    EXPECT_EQ(frame->MinFrameHeight(), 33);
    EXPECT_EQ(form->Height(), 33);
    frame->RollUp(false);
    EXPECT_EQ(form->Height(), 400);

    screen().SetWorkArea({0, 0, 1024, 728});
    EXPECT_EQ(frame->MaxFrameWidth(), 1024);
    EXPECT_EQ(frame->MaxFrameHeight(), 728);
    frame->MaximizeOnFullScreen = true;
    EXPECT_EQ(frame->MaxFrameHeight(), 768);
    frame->MaxHeight = 500;
    frame->MaxWidth = 2000;  // larger than the monitor: the monitor wins
    EXPECT_EQ(frame->MaxFrameHeight(), 500);
    EXPECT_EQ(frame->MaxFrameWidth(), 1024);
}

TEST_F(TbsSkinFormTest, AWindowBelowItsMinimumIsBroughtBackAndDragsStopThere) {
    MakeForm(100, 20);
    EXPECT_EQ(form->Width(), 200);
    EXPECT_EQ(form->Height(), 33);
    ShowAndPump();
    MINMAXINFO info;
    SendMessage(form->Handle(), WM_GETMINMAXINFO, 0, ToLParam(&info));
    EXPECT_EQ(info.ptMinTrackSize, (TPoint{200, 33}));
    // Dragging the right border far to the left stops at the minimum width.
    screen().Drag({100 + 199, 80 + 20}, {100, 80 + 20});
    PumpMessages();
    EXPECT_EQ(form->Width(), 200);
}

TEST_F(TbsSkinFormTest, SkinnedHitTestsFollowTheMaskAndTheObjects) {
    MakeForm(551, 391);
    ShowAndPump();
    const TRect close = frame->FindObject("closebutton")->ObjectRect;
    const TRect caption = frame->FindObject("caption")->ObjectRect;
    const struct {
        int x, y, expected;
    } cases[] = {
        {1, 200, HTLEFT},          {549, 200, HTRIGHT},     {200, 389, HTBOTTOM},
        {200, 1, HTTOP},           {1, 1, HTTOPLEFT},       {549, 5, HTTOPRIGHT},
        {1, 389, HTBOTTOMLEFT},    {549, 389, HTBOTTOMRIGHT},
        {5, 200, HTCLIENT},        {300, 200, HTCLIENT},    // inside the mask area: no border
        {caption.Left + 20, 15, HTCAPTION},
        {close.Left + 5, close.Top + 5, HTOBJECT},
    };
    for (const auto& c : cases) EXPECT_EQ(HitAt(c.x, c.y), c.expected) << c.x << "," << c.y;

    // A window that cannot be resized has no borders.
    form->SetBorderStyle(bsSingle);
    PumpMessages();
    EXPECT_EQ(HitAt(1, 200), HTOBJECT);
    EXPECT_EQ(HitAt(300, 200), HTCLIENT);
    frame->AlwaysResize = true;
    EXPECT_EQ(HitAt(1, 200), HTLEFT);
}

TEST_F(TbsSkinFormTest, WithoutMaskTheBorderProbesTheWindowRectangle) {
    ScratchDir dir;
    MakeForm(400, 300, dir.CopyProgramSkin([](std::string& ini) { Replace(ini, "mask=framemask.bmp", "mask="); }));
    ShowAndPump();
    TRegion region;
    ASSERT_NE(GetWindowRgn(form->Handle(), region), RGN_ERROR);
    EXPECT_EQ(region, TRegion(TRect{0, 0, 400, 300}));
    EXPECT_EQ(HitAt(2, 150), HTLEFT);   // 3 pixels of border width reach past the edge
    EXPECT_EQ(HitAt(3, 150), HTCLIENT);
    EXPECT_EQ(HitAt(0, 0), HTTOPLEFT);
    EXPECT_EQ(HitAt(397, 150), HTRIGHT);
}

TEST_F(TbsSkinFormTest, BuiltInHitTests) {
    MakeForm(300, 200, "");
    ShowAndPump();
    frame->PaintDefaultFrame();
    const struct {
        int x, y, expected;
    } cases[] = {
        {0, 0, HTTOPLEFT},     {299, 0, HTTOPRIGHT}, {0, 199, HTBOTTOMLEFT}, {299, 199, HTBOTTOMRIGHT},
        {1, 100, HTLEFT},      {100, 2, HTTOP},      {298, 100, HTRIGHT},    {100, 198, HTBOTTOM},
        {100, 10, HTCAPTION},  {100, 100, HTCLIENT}, {290, 10, HTOBJECT},
    };
    for (const auto& c : cases) EXPECT_EQ(HitAt(c.x, c.y), c.expected) << c.x << "," << c.y;
    form->SetBorderStyle(bsSingle);
    PumpMessages();
    EXPECT_EQ(HitAt(1, 100), HTOBJECT);
    EXPECT_EQ(HitAt(100, 10), HTCAPTION);
}

TEST_F(TbsSkinFormTest, TheRegionIsTheComposedMaskPixelForPixel) {
    MakeForm(551, 391);
    ShowAndPump();
    for (const TSize size : {TSize{551, 391}, TSize{300, 140}}) {
        form->SetBounds(100, 80, size.cx, size.cy);
        PumpMessages();
        TRegion region;
        ASSERT_NE(GetWindowRgn(form->Handle(), region), RGN_ERROR);
        const SkinFormInfo& info = skin->FormInfo();
        SkinCornerPoints points = CornerPointsOf(info);
        points.clientrect = info.maskrectarea;
        const auto expected = ComposeSkinRegion(points, skin->MaskBitmap(), size.cx,
                                                SizedCornerPoints(points, {200, 100}, size));
        ASSERT_TRUE(expected.has_value());
        EXPECT_EQ(region, *expected) << size.cx;
        // The fixed corner pieces of the mask are the window's corners exactly.
        const TBitmap& mask = skin->MaskBitmap();
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 8; ++x) {
                ASSERT_EQ(region.Contains(x, y), mask.Pixels(x, y) == TColor(0)) << x << "," << y;
                ASSERT_EQ(region.Contains(size.cx - 8 + x, y), mask.Pixels(192 + x, y) == TColor(0));
            }
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 8; ++x)
                ASSERT_EQ(region.Contains(size.cx - 8 + x, size.cy - 3 + y), mask.Pixels(192 + x, 97 + y) == TColor(0));
        EXPECT_FALSE(region.Contains(0, 0));  // the rounded corner shows the desktop
    }
}

TEST_F(TbsSkinFormTest, ThePaintedFrameIsTheComposedStripsPlusTheButtons) {
    MakeForm(551, 391);
    ShowAndPump();
    ASSERT_TRUE(frame->IsFormActive());
    TBitmap shown;
    ReadWindow(shown);

    const SkinFormInfo& info = skin->FormInfo();
    const SkinCornerPoints points = CornerPointsOf(info);
    SkinFramePartBitmaps parts;
    ComposeFrameParts(points, skin->MainBitmap().BoundsRect(), skin->MainBitmap(), 551, 391,
                      SizedCornerPoints(points, {200, 100}, {551, 391}), StretchFlagsOf(info), parts);
    TBitmap expected(551, 391);
    expected.Canvas().Draw(0, 0, parts.Top);
    expected.Canvas().Draw(0, 30, parts.Left);
    expected.Canvas().Draw(548, 30, parts.Right);
    expected.Canvas().Draw(0, 388, parts.Bottom);
    std::vector<TRect> objects;
    for (const auto& o : frame->ObjectList()) {
        if (!o->IsVisible || !o->skinrectinapicture) continue;
        expected.Canvas().CopyRect(o->ObjectRect, const_cast<TBitmap*>(o->ObjectPicture)->Canvas(), o->skinrect);
        objects.push_back(o->ObjectRect);
    }
    EXPECT_EQ(objects.size(), 5u);  // system menu, close, maximise, minimise, roll-up
    TRegion region;
    GetWindowRgn(form->Handle(), region);
    const TRect caption = frame->FindObject("caption")->ObjectRect;
    const TRect client = frame->Layout().FrameClientRect;
    int compared = 0;
    for (int y = 0; y < 391; ++y)
        for (int x = 0; x < 551; ++x) {
            if (!region.Contains(x, y) || PtInRect(client, {x, y}) || PtInRect(caption, {x, y})) continue;
            ASSERT_EQ(shown.Pixels(x, y), expected.Pixels(x, y)) << x << "," << y;
            ++compared;
        }
    EXPECT_GT(compared, 551 * 15);
    // The client area shows the client background, not the frame.
    EXPECT_EQ(shown.Pixels(200, 200), skin->MainBitmap().Pixels(100, 60));
}

TEST_F(TbsSkinFormTest, EmptyOrBrokenSkinsFallBackToTheBuiltInFrame) {
    // Skin data with nothing loaded counts as no skin.
    form = Application->CreateForm<TForm>();
    form->SetBounds(100, 80, 300, 200);
    frame = CreateComponent<TbsSkinForm>(form);
    frame->SetSkinData(CreateComponent<TbsSkinData>(form));
    ShowAndPump();
    EXPECT_FALSE(frame->UsesSkin());
    EXPECT_EQ(ClientOf(form), (TRect{3, 22, 297, 197}));

    // A skin naming a picture that is not there loads as an empty skin.
    ScratchDir dir;
    std::vector<AnsiString> reported;
    Application->OnException = [&](TObject*, const Exception& e) { reported.push_back(e.Message()); };
    MakeForm(300, 200, dir.CopyProgramSkin([](std::string& ini) { Replace(ini, "picture=frame.bmp", "picture=gone.bmp"); }));
    ShowAndPump();
    EXPECT_EQ(reported.size(), 1u);
    EXPECT_FALSE(frame->UsesSkin());
    EXPECT_EQ(ClientOf(form), (TRect{3, 22, 297, 197}));
    TBitmap shown;
    ReadWindow(shown);
    EXPECT_EQ(shown.Pixels(0, 0), ColorToRGB(cl3DLight));  // the built-in 3-D frame
}

TEST_F(TbsSkinFormTest, AClientPictureIndexOutsideThePictureListUsesTheFramePicture) {
    ScratchDir dir;
    MakeForm(400, 300, dir.CopyProgramSkin([](std::string& ini) { Replace(ini, "clientrect=3,30,197,97", "clientrect=3,30,197,97\nbgpictureindex=99"); }));
    ShowAndPump();
    TBitmap shown;
    ReadWindow(shown);
    EXPECT_EQ(shown.Pixels(200, 150), skin->MainBitmap().Pixels(100, 60));
}

TEST_F(TbsSkinFormTest, AFrameHeldBelowThePictureSizeIsNotPainted) {
    form = Application->CreateForm<TForm>();
    form->Constraints.MaxWidth = 150;
    form->SetBounds(100, 80, 150, 200);
    frame = CreateComponent<TbsSkinForm>(form);
    skin = CreateComponent<TbsSkinData>(form);
    skin->LoadIniSkin(ProgramSkinDir() + "skin.ini");
    frame->SetSkinData(skin);
    ShowAndPump();
    EXPECT_EQ(form->Width(), 150);
    TBitmap shown;
    ReadWindow(shown);  // nothing painted, nothing broken
    EXPECT_EQ(HitAt(75, 100), HTCLIENT);
}

}  // namespace

namespace {

TEST_F(TbsSkinFormTest, AttachingRecreatesTheWindowAndClientSizesSetEarlyAreKept) {
    // A form that has its window already gets a new one with the frame's size.
    TForm* early = Application->CreateForm<TForm>();
    early->SetBounds(100, 80, 300, 200);
    early->HandleNeeded();
    const HWND before = early->Handle();
    TbsSkinForm* attached = CreateComponent<TbsSkinForm>(early);
    EXPECT_NE(early->Handle(), before);
    early->Show();
    PumpMessages();
    EXPECT_EQ(ClientOf(early), (TRect{3, 3 + attached->DefaultCaptionHeight(), 297, 197}));

    // Client sizes given before the window exists hold for the real frame:
    // the form's own, with and without a skin, and the frame's (applied with
    // the skin).
    for (const bool skinned : {true, false}) {
        for (const bool throughFrame : {true, false}) {
            if (throughFrame && !skinned) continue;
            form = Application->CreateForm<TForm>();
            form->SetBounds(100, 80, 300, 200);
            frame = CreateComponent<TbsSkinForm>(form);
            if (throughFrame) {
                frame->ClientWidth = 420;
                frame->ClientHeight = 260;
            }
            if (skinned) {
                skin = CreateComponent<TbsSkinData>(form);
                skin->LoadIniSkin(ProgramSkinDir() + "skin.ini");
                frame->SetSkinData(skin);
            }
            if (!throughFrame) {
                form->SetClientWidth(420);
                form->SetClientHeight(260);
            }
            ASSERT_FALSE(form->HandleAllocated());
            ShowAndPump();
            const TRect client = ClientOf(form);
            EXPECT_EQ(client.Width(), 420) << skinned << throughFrame;
            EXPECT_EQ(client.Height(), 260) << skinned << throughFrame;
        }
    }
}

TEST_F(TbsSkinFormTest, ReferencesAreClearedWhenTheirComponentGoes) {
    MakeForm(300, 200, "");
    auto* bar = CreateComponent<TPanel>(form);
    auto* menu = CreateComponent<TPopupMenu>(form);
    EXPECT_EQ(frame->StatusBar(), nullptr);
    EXPECT_EQ(frame->SystemMenu(), nullptr);
    EXPECT_EQ(frame->SkinHint(), nullptr);
    frame->SetStatusBar(bar);
    frame->SetMainMenuBar(bar);
    frame->SetMDITabsBar(bar);
    frame->SetSystemMenu(menu);
    FreeComponent(bar);
    FreeComponent(menu);
    EXPECT_EQ(frame->StatusBar(), nullptr);
    EXPECT_EQ(frame->MainMenuBar(), nullptr);
    EXPECT_EQ(frame->MDITabsBar(), nullptr);
    EXPECT_EQ(frame->SystemMenu(), nullptr);
}

}  // namespace

namespace {

TEST_F(TbsSkinFormTest, AltSpaceOpensTheSystemMenuAfterTheUsersShortCutHandler) {
    MakeForm(400, 300);
    ShowAndPump();
    // The skinned system menu stays open after the key; each check closes it.
    const auto menuOpened = [&] {
        const bool open = frame->SkinMenu().MenuVisible();
        frame->SkinMenu().CloseMenu();
        return open;
    };
    bool userHandles = true;
    int userCalls = 0;
    frame->OnShortCut = [&](TWMKey&, bool& handled) {
        ++userCalls;
        handled = userHandles;
    };
    const auto press = [&](WORD key) {
        TWMKey k{WM_SYSKEYDOWN, key, KF_ALTDOWN_BIT, 0};
        return form->IsShortCut(k);
    };
    EXPECT_TRUE(press(VK_SPACE));  // the user's handler wins
    EXPECT_EQ(userCalls, 1);
    EXPECT_FALSE(menuOpened());
    userHandles = false;
    EXPECT_TRUE(press(VK_SPACE));
    EXPECT_TRUE(menuOpened());
    EXPECT_FALSE(press('X'));
    // Without an enabled system-menu button the key is still the frame's.
    frame->SetBorderIcons(biMinimize);
    EXPECT_TRUE(press(VK_SPACE));
    EXPECT_FALSE(menuOpened());
}

}  // namespace

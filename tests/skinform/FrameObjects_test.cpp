// The live frame objects on the headless screen: hot and pressed caption
// buttons, their commands and enabling, morphing and animation steps on the
// virtual clock.

#include "SkinFormTestSupport.h"

#include "TbsSkinAnimateObject.h"
#include "TbsSkinStdButtonObject.h"

using namespace frametest;

namespace {

class FrameObjects : public FrameTest {
protected:
    TbsActiveSkinObject& Object(const char* name) {
        TbsActiveSkinObject* o = frame->FindObject(name);
        EXPECT_NE(o, nullptr) << name;
        return *o;
    }
    TPoint ScreenCentre(const TbsActiveSkinObject& o) {
        return {form->Left() + (o.ObjectRect.Left + o.ObjectRect.Right) / 2,
                form->Top() + (o.ObjectRect.Top + o.ObjectRect.Bottom) / 2};
    }
    void MoveTo(TPoint p) {
        screen().MouseMove(p.X, p.Y);
        PumpMessages();
    }
};

TEST_F(FrameObjects, CommandTableEnablesAndHidesButtons) {
    ScratchDir dir;
    // The maximise button drawn as part of the frame picture.
    const std::string inPicture = dir.CopyProgramSkin([](std::string& ini) {
        Replace(ini, "skinrect=2,46,28,66", "skinrect=2,46,28,66\nskinrectinapicture=0");
        Replace(ini, "[maxbutton]\nactivepictureindex=0\nskinrectinapicture=1", "[maxbutton]\nactivepictureindex=0");
    });
    const TbsBorderIcons mainWindow = biSystemMenu | biMinimize | biRollUp | biMinimizeToTray;
    const struct {
        bool maxInPicture;
        TbsBorderIcons icons;
        bool hide;
        bool maxEnabled, maxVisible, trayVisible, sysEnabled;
    } cases[] = {
        {false, mainWindow, false, false, false, true, true},
        {true, mainWindow, false, false, true, true, true},  // part of the picture: shown, but dead
        {false, biSystemMenu | biMinimize | biMaximize | biRollUp, false, true, true, false, true},
        {false, biMinimize, false, false, false, false, false},
        {false, mainWindow | biMaximize, true, false, false, false, false},
    };
    for (const auto& c : cases) {
        MakeForm(551, 391, c.maxInPicture ? inPicture : ProgramSkinDir() + "skin.ini");
        frame->HideCaptionButtons = c.hide;
        frame->SetBorderIcons(c.icons);
        EXPECT_EQ(Object("maxbutton").IsEnabled, c.maxEnabled);
        EXPECT_EQ(Object("maxbutton").IsVisible, c.maxVisible);
        EXPECT_EQ(Object("traybutton").IsVisible, c.trayVisible);
        EXPECT_EQ(Object("sysmenubutton").IsEnabled, c.sysEnabled);
        EXPECT_EQ(Object("closebutton").IsVisible, !c.hide);
    }
    // A hidden button leaves no gap: the row closes up.
    MakeForm(551, 391);
    frame->SetBorderIcons(mainWindow);
    frame->UpdateFrame();
    EXPECT_EQ(Object("minbutton").ObjectRect.Right + 2, Object("closebutton").ObjectRect.Left);
    EXPECT_EQ(Object("closebutton").HintText, AnsiString("关闭"));
}

TEST_F(FrameObjects, ACustomObjectShowsOnlyWhenTheProgramAsks) {
    ScratchDir dir;
    const std::string ini = dir.CopyProgramSkin([](std::string& text) {
        Replace(text, "count=8\n0=sysmenubutton", "count=9\n8=helpbutton:stdbutton\n0=sysmenubutton");
        text += "\n[helpbutton]\nactivepictureindex=0\nskinrectinapicture=1\nskinrect=2,2,24,22\ncommand=cmdefault\n";
    });
    MakeForm(551, 391, ini);
    EXPECT_FALSE(Object("helpbutton").IsVisible);
    frame->OnActivateCustomObject = [](const AnsiString& name, bool& visible) { visible = name == "helpbutton"; };
    frame->UpdateButtonStates();
    EXPECT_TRUE(Object("helpbutton").IsVisible);
}

TEST_F(FrameObjects, AButtonMorphsInFiveTicksAndBackInFive) {
    MakeForm(551, 391);
    ShowAndPump();
    TbsActiveSkinObject& close = Object("closebutton");
    MoveTo(ScreenCentre(close));
    EXPECT_EQ(frame->HotIndex(), 1);
    EXPECT_TRUE(close.ActiveLook);
    for (double expected : {0.2, 0.4, 0.6, 0.8, 1.0}) {
        screen().Advance(25);
        EXPECT_NEAR(close.MorphFactor, expected, 1e-9);
    }
    screen().Advance(25);
    EXPECT_FALSE(frame->MorphTimerRunning());
    // At the end the window shows the active image exactly.
    TBitmap shown, active;
    ReadWindow(shown);
    const TRect r = close.ObjectRect;
    for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x)
            ASSERT_EQ(shown.Pixels(x, y),
                      close.ObjectPicture->Pixels(close.activeskinrect.Left + x - r.Left, close.activeskinrect.Top + y - r.Top));

    MoveTo({form->Left() + 300, form->Top() + 200});  // into the client area
    screen().Advance(50);                              // the pointer timer notices
    EXPECT_FALSE(close.ActiveLook);
    int ticks = 0;
    while (close.MorphFactor > 0 && ticks < 10) {
        screen().Advance(25);
        ++ticks;
    }
    EXPECT_LE(ticks, 5);
    EXPECT_EQ(close.MorphFactor, 0);
}

TEST_F(FrameObjects, ReleasingOverTheRollUpButtonRollsUpReleasingAfterLeavingDoesNot) {
    MakeForm(551, 391);
    ShowAndPump();
    const TPoint over = ScreenCentre(Object("rollupbutton"));

    MoveTo(over);
    screen().MouseDown(over.X, over.Y);
    PumpMessages();
    EXPECT_TRUE(dynamic_cast<TbsSkinStdButtonObject&>(Object("rollupbutton")).Pressed);
    screen().MouseMove(over.X - 200, over.Y + 150);
    PumpMessages();
    screen().Advance(50);
    screen().MouseUp(over.X - 200, over.Y + 150);
    PumpMessages();
    EXPECT_FALSE(frame->RollUpState());
    EXPECT_EQ(form->Height(), 391);

    MoveTo(over);
    screen().Click(over.X, over.Y);
    PumpMessages();
    EXPECT_TRUE(frame->RollUpState());
    EXPECT_EQ(form->Height(), 33);
    EXPECT_FALSE(dynamic_cast<TbsSkinStdButtonObject&>(Object("rollupbutton")).Pressed);
}

TEST_F(FrameObjects, TheCloseButtonClosesTheForm) {
    MakeForm(551, 391);
    TForm* main = form;
    MakeForm(300, 200);  // a second form: closing it hides it
    ShowAndPump();
    const TPoint over = ScreenCentre(Object("closebutton"));
    MoveTo(over);
    screen().Click(over.X, over.Y);
    PumpMessages();
    EXPECT_FALSE(form->Visible());
    EXPECT_NE(main, form);
}

TEST_F(FrameObjects, AnimationStepsFollowTheTimerInterval) {
    const auto skinWithInterval = [](const ScratchDir& dir, int interval) {
        return dir.CopyProgramSkin([interval](std::string& text) {
            Replace(text, "count=8\n0=sysmenubutton", "count=9\n8=light:animate\n0=sysmenubutton");
            text += "\n[light]\nactivepictureindex=0\nskinrectinapicture=1\nskinrect=2,2,24,22\ncountframes=3\n"
                    "buttonstyle=1\ncycle=0\ncommand=cmdefault\ntimerinterval=" +
                    std::to_string(interval) + "\n";
        });
    };
    for (const auto& [interval, msPerFrame] : {std::pair{10, 25}, std::pair{100, 100}}) {
        ScratchDir dir;
        const std::string ini = skinWithInterval(dir, interval);
        MakeForm(551, 391, ini);
        frame->OnActivateCustomObject = [](const AnsiString&, bool& visible) { visible = true; };
        frame->UpdateButtonStates();
        ShowAndPump();
        auto& light = dynamic_cast<TbsSkinAnimateObject&>(Object("light"));
        MoveTo(ScreenCentre(light));
        EXPECT_TRUE(light.ActiveLook);
        EXPECT_EQ(light.AnimationFrame, 1);
        screen().Advance(unsigned(msPerFrame));
        EXPECT_EQ(light.AnimationFrame, 2) << interval;
        screen().Advance(unsigned(msPerFrame));
        EXPECT_EQ(light.AnimationFrame, 3);
        EXPECT_FALSE(light.ActiveLook);  // no cycle: it stops at the last frame
        // Leaving runs it back to the first frame.
        MoveTo({form->Left() + 300, form->Top() + 200});
        screen().Advance(50 + 2 * unsigned(msPerFrame));
        EXPECT_EQ(light.AnimationFrame, 1);
    }
}

}  // namespace

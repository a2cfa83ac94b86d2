// The window states the frame keeps itself: maximising into the work area
// and back, the rows of minimised secondary windows, the caption's double
// click, and magnetic edges while the caption is dragged.

#include "SkinFormTestSupport.h"

#include "SkinMagneticEdges.h"
#include "SkinWindowPlacement.h"

using namespace frametest;

namespace {

class WindowStates : public FrameTest {
protected:
    // A skinned secondary form (another form is the main one).
    TForm* MakeSecondaryForm(int width = 400, int height = 300, TFormBorderStyle style = bsSizeable) {
        if (!Application->MainForm()) Application->CreateForm<TForm>();
        MakeForm(width, height, ProgramSkinDir() + "skin.ini", style);
        ShowAndPump();
        return form;
    }
    void DoubleClickCaption() {
        SendMessage(form->Handle(), WM_NCLBUTTONDBLCLK, HTCAPTION, PointToLParam({form->Left() + 150, form->Top() + 10}));
        PumpMessages();
    }
};

TEST(MagneticEdges, SnapAtOneInsideTheDistanceHoldUntilThePointerMovedFurther) {
    const TRect area{0, 0, 1000, 700};
    const TPoint size{200, 100};
    MagneticState s;
    // Left edge 10 away: no snap; 9 away: snaps, the pointer noted there.
    EXPECT_EQ(ApplyMagneticEdges(s, {10, 300}, size, area, 10, {500, 500}), (TPoint{10, 300}));
    EXPECT_FALSE(s.SnapLeft);
    EXPECT_EQ(ApplyMagneticEdges(s, {9, 300}, size, area, 10, {499, 500}), (TPoint{0, 300}));
    EXPECT_TRUE(s.SnapLeft);
    EXPECT_EQ(s.SnapCursorX, 499);
    // Held while the pointer is within 10 of the snap, even when the
    // proposal leaves the band (the flag then clears).
    EXPECT_EQ(ApplyMagneticEdges(s, {5, 300}, size, area, 10, {495, 500}), (TPoint{0, 300}));
    EXPECT_EQ(ApplyMagneticEdges(s, {19, 300}, size, area, 10, {509, 500}), (TPoint{0, 300}));
    EXPECT_FALSE(s.SnapLeft);
    // Snapped again, then the pointer moves 11 away: the window follows it.
    EXPECT_EQ(ApplyMagneticEdges(s, {3, 300}, size, area, 10, {493, 500}), (TPoint{0, 300}));
    EXPECT_EQ(ApplyMagneticEdges(s, {4, 300}, size, area, 10, {504, 500}), (TPoint{11, 300}));

    // The right and bottom edges compare the window's far edges.
    MagneticState far;
    EXPECT_EQ(ApplyMagneticEdges(far, {791, 591}, size, area, 10, {0, 0}), (TPoint{800, 600}));
    EXPECT_TRUE(far.SnapRight && far.SnapBottom);
    MagneticState none;
    EXPECT_EQ(ApplyMagneticEdges(none, {790, 590}, size, area, 10, {0, 0}), (TPoint{790, 590}));
    // A work area not at the origin: its own edges count.
    MagneticState shifted;
    EXPECT_EQ(ApplyMagneticEdges(shifted, {1028, 34}, size, {1024, 30, 2048, 768}, 5, {0, 0}), (TPoint{1024, 30}));
}

TEST(MinimizedSlots, RowsFromTheBottomLeftUpwards) {
    const TRect area{0, 0, 500, 300};
    std::vector<TPoint> taken;
    const auto isTaken = [&](TPoint p) { return std::find(taken.begin(), taken.end(), p) != taken.end(); };
    // Strips of 160 x 30: three in a row (480 <= 500), then one row higher.
    const TPoint expected[] = {{0, 270}, {160, 270}, {320, 270}, {0, 240}, {160, 240}};
    for (const TPoint& e : expected) {
        const TPoint slot = FindMinimizedSlot(area, 160, 30, isTaken);
        EXPECT_EQ(slot, e);
        taken.push_back(slot);
    }
    // A full area gives the first slot again.
    EXPECT_EQ(FindMinimizedSlot(area, 160, 30, [](TPoint) { return true; }), (TPoint{0, 270}));
    EXPECT_EQ(CentreIn({0, 0, 1024, 768}, 401, 301), (TPoint{312, 234}));
    EXPECT_EQ(CentreIn({1024, 30, 2048, 768}, 400, 300), (TPoint{1336, 249}));
}

TEST_F(WindowStates, MinimisedSecondaryWindowsLineUpAtTheBottomLeft) {
    screen().SetWorkArea({0, 0, 1024, 740});
    MakeSecondaryForm();
    TbsSkinForm* first = frame;
    TForm* second = MakeSecondaryForm();
    TbsSkinForm* secondFrame = frame;
    first->SetSkinWindowState(wsMinimized);
    secondFrame->SetSkinWindowState(wsMinimized);
    PumpMessages();
    const int w = first->MinFrameWidth(), h = first->MinFrameHeight();
    EXPECT_EQ(first->Form()->BoundsRect(), (TRect{0, 740 - h, w, 740}));
    EXPECT_EQ(second->BoundsRect(), (TRect{w, 740 - h, 2 * w, 740}));
    // Restored, the second returns exactly and its slot is free again.
    secondFrame->SetSkinWindowState(wsNormal);
    EXPECT_EQ(second->BoundsRect(), (TRect{100, 80, 500, 380}));
    EXPECT_TRUE(IsRectEmpty(secondFrame->NormalBounds()));
}

TEST_F(WindowStates, MaximiseFillsTheWorkAreaRestoreReturnsExactlyAndAMaximisedWindowDoesNotMove) {
    MakeSecondaryForm();
    const TRect before = form->BoundsRect();
    // The work area is the whole monitor: 1 pixel inside, so that a hidden
    // task bar at the edge can still be reached.
    frame->SetSkinWindowState(wsMaximized);
    PumpMessages();
    EXPECT_EQ(form->BoundsRect(), (TRect{1, 1, 1023, 767}));
    EXPECT_EQ(frame->NormalBounds(), before);
    // Dragging the caption leaves it where it is.
    screen().Drag({form->Left() + 150, form->Top() + 10}, {form->Left() + 350, form->Top() + 200});
    PumpMessages();
    EXPECT_EQ(form->BoundsRect(), (TRect{1, 1, 1023, 767}));
    frame->SetSkinWindowState(wsNormal);
    PumpMessages();
    EXPECT_EQ(form->BoundsRect(), before);

    // Above a task bar the work area itself; on the full screen the monitor.
    screen().SetWorkArea({0, 0, 1024, 740});
    frame->SetSkinWindowState(wsMaximized);
    EXPECT_EQ(form->BoundsRect(), (TRect{0, 0, 1024, 740}));
    frame->SetSkinWindowState(wsNormal);
    frame->MaximizeOnFullScreen = true;
    frame->SetSkinWindowState(wsMaximized);
    EXPECT_EQ(form->BoundsRect(), (TRect{0, 0, 1024, 768}));
    frame->SetSkinWindowState(wsNormal);
    EXPECT_EQ(form->BoundsRect(), before);
}

TEST_F(WindowStates, CaptionDoubleClickMaximisesRollsUpOrDoesNothing) {
    const TbsBorderIcons sys = biSystemMenu;
    const struct {
        const char* what;
        TFormBorderStyle style;
        TbsBorderIcons icons;
        TWindowState first;
        bool firstRolledUp;
    } cases[] = {
        {"maximise box", bsSizeable, sys | biMaximize | biRollUp, wsMaximized, false},
        {"no maximise box: roll-up", bsSizeable, sys | biRollUp, wsNormal, true},
        {"neither: nothing", bsSizeable, sys, wsNormal, false},
        {"fixed size: roll-up", bsSingle, sys | biMaximize | biRollUp, wsNormal, true},
    };
    for (const auto& c : cases) {
        MakeSecondaryForm(400, 300, c.style);
        frame->SetBorderIcons(c.icons);
        const TRect before = form->BoundsRect();
        DoubleClickCaption();
        EXPECT_EQ(frame->SkinWindowState(), c.first) << c.what;
        EXPECT_EQ(frame->RollUpState(), c.firstRolledUp) << c.what;
        if (c.firstRolledUp) {
            EXPECT_EQ(form->Height(), frame->MinFrameHeight()) << c.what;
        }
        // A second double click undoes the first.
        DoubleClickCaption();
        EXPECT_EQ(frame->SkinWindowState(), wsNormal) << c.what;
        EXPECT_FALSE(frame->RollUpState()) << c.what;
        EXPECT_EQ(form->BoundsRect(), before) << c.what;
        form->Hide();
    }
    // A minimised window comes back to normal.
    frame->SetBorderIcons(sys | biMinimize);
    form->SetBorderStyle(bsSizeable);
    frame->SetSkinWindowState(wsMinimized);
    DoubleClickCaption();
    EXPECT_EQ(frame->SkinWindowState(), wsNormal);
}

TEST_F(WindowStates, DraggingTheCaptionSnapsToTheWorkAreaEdge) {
    MakeSecondaryForm();
    frame->Magnetic = true;
    frame->MagneticSize = 10;
    const struct {
        int dropLeft, expectedLeft;
    } cases[] = {{9, 0}, {10, 10}, {-9, 0}, {40, 40}};
    for (const auto& c : cases) {
        form->SetBounds(100, 80, 400, 300);
        PumpMessages();
        const TPoint grab{form->Left() + 150, form->Top() + 10};
        screen().Drag(grab, {grab.X + c.dropLeft - 100, grab.Y + 20});
        PumpMessages();
        EXPECT_EQ(form->Left(), c.expectedLeft) << c.dropLeft;
        EXPECT_EQ(form->Top(), 100) << c.dropLeft;
    }
}

}  // namespace

// The frame's answers to the requests between skinned windows and to the
// system commands, skinned and not, and switching the takeover of a
// maximised window.

#include "SkinFormTestSupport.h"

#include "SkinMessages.h"
#include "TbsSkinMenu.h"

using namespace frametest;

namespace {

class FrameMessages : public FrameTest {};

TEST_F(FrameMessages, RequestsBetweenSkinnedWindowsAnswerWithTheirCodes) {
    MakeForm(400, 300);
    ShowAndPump();
    const struct {
        UINT msg;
        LPARAM lParam;
        LRESULT skinned, plain;
    } cases[] = {
        {SKINMSG_QUERYSKINNED, 0, kQuerySkinnedYes, kQuerySkinnedNo},
        {SKINMSG_DRAWFRAME, 0, kDrawFrameDone, 0},
        {SKINMSG_PRINTFRAME, kPrintFrameTag, kPrintFrameTag, 0},
        {SKINMSG_PRINTFRAME, 0x1234, 0, 0},
    };
    // Switching the takeover may give the form a new window.
    const auto send = [&](UINT msg, LPARAM lParam) {
        const HWND h = form->Handle();
        const HDC dc = GetWindowDC(h);
        const LRESULT result = SendMessage(h, msg, DcToWParam(dc), lParam);
        ReleaseDC(h, dc);
        return result;
    };
    for (const auto& c : cases) {
        frame->SetSkinnable(true);
        EXPECT_EQ(send(c.msg, c.lParam), c.skinned) << std::hex << c.msg;
        frame->SetSkinnable(false);
        EXPECT_EQ(send(c.msg, c.lParam), c.plain) << std::hex << c.msg;
    }
}

TEST_F(FrameMessages, SystemCommandsRestoreEventAndKeyMenuEndsTheMenuState) {
    MakeForm(400, 300);
    ShowAndPump();
    int restores = 0, closes = 0;
    frame->OnRestore = [&](TObject*) { ++restores; };
    frame->OnSkinMenuClose = [&](TObject*) { ++closes; };
    SendMessage(form->Handle(), WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_EQ(restores, 1);
    frame->PopupSystemMenuAt(300, 200);
    PumpMessages();
    ASSERT_TRUE(frame->SkinMenuOpen());
    SendMessage(form->Handle(), WM_SYSCOMMAND, SC_KEYMENU, 0);
    EXPECT_FALSE(frame->SkinMenuOpen());
    EXPECT_EQ(closes, 1);
    frame->SkinMenu().CloseMenu();
    EXPECT_EQ(closes, 1);  // the state was already over
}

TEST_F(FrameMessages, SwitchingTheTakeoverKeepsAMaximisedWindowMaximised) {
    Application->CreateForm<TForm>();  // the main form
    MakeForm(400, 300);
    ShowAndPump();
    frame->SetSkinWindowState(wsMaximized);
    const TRect maximised = form->BoundsRect();
    frame->SetSkinnable(false);
    PumpMessages();
    EXPECT_EQ(form->WindowState(), wsMaximized);
    EXPECT_EQ(frame->SkinWindowState(), wsNormal);
    EXPECT_TRUE(form->Visible());
    frame->SetSkinnable(true);
    PumpMessages();
    EXPECT_EQ(form->WindowState(), wsNormal);
    EXPECT_EQ(frame->SkinWindowState(), wsMaximized);
    EXPECT_EQ(form->BoundsRect(), maximised);
    frame->SetSkinWindowState(wsNormal);
    EXPECT_EQ(form->BoundsRect(), (TRect{100, 80, 500, 380}));
}

}  // namespace

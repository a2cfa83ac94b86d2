// The frame's system menu: its items for each window state, the user's own
// system menu with the standard items put in, the right click on the caption,
// and the menu state with its events and message filter.

#include "SkinFormTestSupport.h"

#include "TbsSkinMenu.h"
#include "TbsSkinPopupWindow.h"

using namespace frametest;

namespace {

// The items' names, or their captions where they have no name.
std::string Names(const TMenuItem* root) {
    std::string out;
    for (int i = 0; i < root->Count(); ++i) {
        const TMenuItem* item = root->Items(i);
        out += item->Name().empty() ? std::string(item->Caption().c_str()) : std::string(item->Name().c_str());
        out += ' ';
    }
    return out;
}

class SystemMenu : public FrameTest {
protected:
    // A secondary form, so that minimising keeps the state in the frame.
    void MakeSecondaryForm() {
        Application->CreateForm<TForm>();  // the main form
        MakeForm(400, 300);
        ShowAndPump();
    }
};

TEST_F(SystemMenu, StandardItemsFollowTheStateAndTheBorderIcons) {
    MakeSecondaryForm();
    const TbsBorderIcons all = biSystemMenu | biMinimize | biMaximize | biRollUp;
    const struct {
        const char* what;
        TbsBorderIcons icons;
        TWindowState state;
        bool rolledUp;
        const char* items;
    } cases[] = {
        {"normal", all, wsNormal, false, "BSF_MINITEM BSF_MAXITEM BSF_ROLLUP - BSF_CLOSE "},
        {"rolled up", all, wsNormal, true, "BSF_MINITEM BSF_MAXITEM BSF_RESTORE - BSF_CLOSE "},
        {"maximised", all, wsMaximized, false, "BSF_MINITEM BSF_RESTORE BSF_ROLLUP - BSF_CLOSE "},
        {"minimised", all, wsMinimized, false, "BSF_MAXITEM BSF_RESTORE - BSF_CLOSE "},
        {"tray", TbsBorderIcons(biSystemMenu) | biMinimizeToTray, wsNormal, false, "BSF_MINTOTRAY - BSF_CLOSE "},
        {"no icons", biSystemMenu, wsNormal, false, "BSF_CLOSE "},
    };
    for (const auto& c : cases) {
        frame->SetBorderIcons(all);
        frame->SetSkinWindowState(wsNormal);
        frame->RollUp(false);
        frame->SetSkinWindowState(c.state);
        if (c.rolledUp) frame->RollUp(true);
        frame->SetBorderIcons(c.icons);
        EXPECT_EQ(Names(frame->GetSystemMenuItems()), c.items) << c.what;
    }
    // Without a text table the built-in captions are used.
    frame->SetBorderIcons(biSystemMenu);
    const TMenuItem* close = frame->GetSystemMenuItems()->Items(0);
    EXPECT_EQ(close->Caption(), "关闭(&C)");
    EXPECT_EQ(close->ShortCut, TextToShortCut("Alt+F4"));
}

TEST_F(SystemMenu, TheUsersMenuGetsTheStandardItemsAroundItsOwnOnce) {
    MakeForm(400, 300);
    ShowAndPump();
    auto* user = CreateComponent<TPopupMenu>(form);
    for (const char* caption : {"-", "关于...", "-"}) {
        auto* item = CreateComponent<TMenuItem>(user);
        item->SetCaption(caption);
        user->Items()->Add(item);
    }
    frame->SetSystemMenu(user);
    frame->SetBorderIcons(TbsBorderIcons(biSystemMenu | biMinimize) | biRollUp | biMinimizeToTray);
    const std::string expected = "BSF_MINITEM BSF_ROLLUP BSF_MINTOTRAY - 关于... - BSF_CLOSE ";
    EXPECT_EQ(Names(frame->GetSystemMenuItems()), expected);
    // Asked again in another state, the standard items are replaced, not added.
    frame->RollUp(true);
    EXPECT_EQ(Names(frame->GetSystemMenuItems()), "BSF_MINITEM BSF_RESTORE BSF_MINTOTRAY - 关于... - BSF_CLOSE ");
    // Without UseDefaultSysMenu the user's menu is shown as it stands.
    frame->UseDefaultSysMenu = false;
    user->Items()->Delete(0);
    EXPECT_EQ(Names(frame->GetSystemMenuItems()), "BSF_RESTORE BSF_MINTOTRAY - 关于... - BSF_CLOSE ");
}

TEST_F(SystemMenu, RightClickOnTheCaptionOpensTheMenuAndTheMenuStateFollowsIt) {
    MakeForm(400, 300);
    ShowAndPump();
    screen().SetAppActive(true);
    PumpMessages();
    std::string events;
    frame->OnSkinMenuOpen = [&](TObject*) { events += "open;"; };
    frame->OnSkinMenuClose = [&](TObject*) { events += "close;"; };
    int userKeys = 0;
    Application->OnMessage = [&](MSG& msg, bool&) { userKeys += msg.message == WM_KEYDOWN; };

    const TPoint caption{form->Left() + 150, form->Top() + 10};
    ASSERT_EQ(HitAt(150, 10), HTCAPTION);
    screen().Click(caption.X, caption.Y, MouseButton::Right);
    PumpMessages();
    ASSERT_EQ(frame->SkinMenu().PopupCount(), 1);
    EXPECT_TRUE(frame->SkinMenuOpen());
    const TbsSkinPopupWindow& popup = *frame->SkinMenu().PopupAt(0);
    EXPECT_EQ(TPoint(popup.Left(), popup.Top()), caption);
    // Keys go to the menu, not to the application's filter.
    screen().KeyPress(VK_DOWN);
    Application->ProcessMessages();
    EXPECT_EQ(userKeys, 0);
    screen().KeyPress(VK_ESCAPE);
    Application->ProcessMessages();
    EXPECT_EQ(frame->SkinMenu().PopupCount(), 0);
    EXPECT_FALSE(frame->SkinMenuOpen());
    EXPECT_EQ(events, "open;close;");
    // The application's filter hears the keys again.
    screen().KeyPress('A');
    Application->ProcessMessages();
    EXPECT_EQ(userKeys, 1);

    // A press in the client area closes a menu opened again (later than a
    // double click would be).
    screen().Advance(1000);
    screen().Click(caption.X, caption.Y, MouseButton::Right);
    PumpMessages();
    EXPECT_EQ(frame->SkinMenu().PopupCount(), 1);
    screen().Click(form->Left() + 200, form->Top() + 200);
    PumpMessages();
    EXPECT_EQ(frame->SkinMenu().PopupCount(), 0);
    EXPECT_FALSE(frame->SkinMenuOpen());
    EXPECT_EQ(events, "open;close;open;close;");

    frame->DisableSystemMenu = true;
    screen().Click(caption.X, caption.Y, MouseButton::Right);
    PumpMessages();
    EXPECT_EQ(frame->SkinMenu().PopupCount(), 0);
}

}  // namespace

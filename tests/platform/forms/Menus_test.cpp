// Menu items, shortcuts, the plain popup menu, the hint, timers, image lists.

#include <string>
#include <vector>

#include "ExtCtrls.h"
#include "FormsFixture.h"
#include "HintWindow.h"
#include "ImgList.h"
#include "Menus.h"

namespace {

class Pad : public TCustomControl {
public:
    explicit Pad(TComponent* owner) : TCustomControl(owner) { SetTabStop(true); }
};

TEST(MenuTextTest, ShortcutsAndHotkeysReadAndWriteAsThePlatformSpellsThem) {
    struct Case {
        TShortCut sc;
        const char* text;
    };
    for (const Case& c : {Case{TShortCut(scCtrl | 'C'), "Ctrl+C"}, Case{TShortCut(scAlt | VK_F4), "Alt+F4"},
                          Case{TShortCut(scShift | VK_DELETE), "Shift+Del"},
                          Case{TShortCut(scShift | scCtrl | VK_RETURN), "Shift+Ctrl+Enter"}}) {
        EXPECT_EQ(ShortCutToText(c.sc), c.text);
        EXPECT_EQ(TextToShortCut(c.text), c.sc) << c.text;
    }
    EXPECT_EQ(TextToShortCut("Ctrl+Nothing"), 0);
    EXPECT_EQ(StripHotkey("&Open && Save"), "Open & Save");
    EXPECT_EQ(GetHotkey("Mi&nimize"), 'N');
    EXPECT_EQ(GetHotkey("A && B"), 0);
    // The caption "关闭(&C)" in GBK: the trail bytes never count as "&".
    const AnsiString close = "\xB9\xD8\xB1\xD5(&C)";
    EXPECT_EQ(GetHotkey(close), 'C');
    EXPECT_EQ(StripHotkey(close), "\xB9\xD8\xB1\xD5(C)");
}

TEST(MenuTreeTest, RethinkLinesShowsSeparatorsOnlyBetweenVisibleItems) {
    auto menu = CreateUnowned<TPopupMenu>();
    TMenuItem* root = menu->Items();
    auto add = [&](const char* caption, bool visible = true) {
        auto item = CreateUnowned<TMenuItem>();
        item->SetCaption(caption);
        item->Visible = visible;
        return root->Add(std::unique_ptr<TMenuItem>(item.release()));
    };
    TMenuItem* lead = add("-");
    add("a");
    TMenuItem* double1 = add("-");
    TMenuItem* double2 = add("-");
    add("hidden", false);
    add("b");
    TMenuItem* tail = add("-");
    root->RethinkLines();
    EXPECT_FALSE(lead->Visible);
    EXPECT_TRUE(double1->Visible);
    EXPECT_FALSE(double2->Visible);
    EXPECT_FALSE(tail->Visible);
    EXPECT_EQ(root->Count(), 7);
    root->Clear();
    EXPECT_EQ(root->Count(), 0);
}

TEST_F(FormsTest, ARightClickOpensThePopupMenuAndTheKeyboardChoosesAnItem) {
    TForm* form = ShowPlainForm({100, 100, 400, 300});
    auto* pad = CreateComponent<Pad>(form);
    pad->SetBounds(10, 10, 100, 50);
    pad->SetParent(form);
    auto* menu = CreateComponent<TPopupMenu>(form);
    std::vector<std::string> log;
    for (const char* caption : {"&First", "-", "&Second", "&Third"}) {
        auto* item = CreateComponent<TMenuItem>(form);
        item->SetCaption(caption);
        item->OnClick = [&log, caption](TObject*) { log.push_back(caption); };
        menu->Items()->Add(item);
    }
    menu->Items()->Items(3)->Enabled = false;
    pad->SetPopupMenu(menu);
    menu->OnPopup = [&](TObject*) { log.push_back("popup"); };
    // Down twice skips the separator; Enter chooses "Second".
    WhenIdle([&] {
        EXPECT_NE(Pixel(125, 125), Pixel(125, 400));  // something covers the form below the point
        screen().KeyPress(VK_DOWN);
        screen().KeyPress(VK_DOWN);
        screen().KeyPress(VK_RETURN);
    });
    Click(120, 120, MouseButton::Right);
    EXPECT_EQ(log, (std::vector<std::string>{"popup", "&Second"}));
    EXPECT_EQ(menu->PopupComponent(), pad);
    // A click elsewhere dismisses it; the accelerator of a disabled item does nothing.
    log.clear();
    WhenIdle([&] {
        screen().KeyPress('T');
        screen().Click(700, 500);
    });
    Click(120, 120, MouseButton::Right);
    EXPECT_EQ(log, (std::vector<std::string>{"popup"}));
    // Clicking an item chooses it.
    log.clear();
    WhenIdle([&] { screen().Click(125, 125); });
    menu->Popup(120, 120);
    EXPECT_EQ(log, (std::vector<std::string>{"popup", "&First"}));
}

TEST_F(FormsTest, AHintAppearsAfterThePauseBelowThePointerAndGoesAfterTheHidePause) {
    TForm* form = ShowPlainForm({100, 100, 400, 300});
    auto* pad = CreateComponent<Pad>(form);
    pad->SetBounds(10, 10, 100, 50);
    pad->SetParent(form);
    pad->SetHint("\xCA\xE4\xC8\xEB\xD6\xD0\xCE\xC4/\xD3\xA2\xCE\xC4|long text");  // "输入中文/英文"
    pad->SetShowHint(true);
    pad->SetCursor(crIBeam);
    int entered = 0, left = 0;
    pad->WindowProc = [pad, old = pad->WindowProc, &entered, &left](TMessage& m) {
        if (m.Msg == CM_MOUSEENTER) ++entered;
        if (m.Msg == CM_MOUSELEAVE) ++left;
        old(m);
    };
    screen().MouseMove(130, 130);
    Pump();
    EXPECT_EQ(entered, 1);
    EXPECT_EQ(Application->Hint(), "long text");
    Advance(450);
    EXPECT_TRUE(Application->HintWindow() == nullptr || !Application->HintWindow()->HintShowing());
    Advance(100);
    THintWindow* hint = Application->HintWindow();
    ASSERT_NE(hint, nullptr);
    ASSERT_TRUE(hint->HintShowing());
    EXPECT_EQ(hint->Caption(), "\xCA\xE4\xC8\xEB\xD6\xD0\xCE\xC4/\xD3\xA2\xCE\xC4");
    EXPECT_EQ(hint->Left(), 130);
    EXPECT_EQ(CursorId(GetCursor()), IDC_IBEAM);
    EXPECT_EQ(hint->Top(), 130 + 9);  // below the I-beam's lower half
    EXPECT_EQ(Pixel(hint->Left() + 1, hint->Top() + 1), ColorToRGB(clInfoBk));
    Advance(2600);
    EXPECT_FALSE(hint->HintShowing());
    // Leaving the control tells it; a press cancels a pending hint.
    screen().MouseMove(300, 250);
    Pump();
    EXPECT_EQ(left, 1);
}

TEST_F(FormsTest, ATimerFiresEveryIntervalWhileEnabled) {
    TForm* form = ShowPlainForm({0, 0, 100, 100});
    auto* timer = CreateComponent<TTimer>(form);
    timer->SetInterval(100);
    int ticks = 0;
    timer->OnTimer = [&](TObject*) { ++ticks; };
    Advance(350);
    EXPECT_EQ(ticks, 3);
    timer->SetEnabled(false);
    Advance(300);
    EXPECT_EQ(ticks, 3);
    timer->SetEnabled(true);
    timer->OnTimer = [&](TObject*) {
        ++ticks;
        throw Exception("tick failed");
    };
    std::string reported;
    Application->OnException = [&](TObject*, const Exception& e) { reported = e.Message(); };
    Advance(110);
    EXPECT_EQ(ticks, 4);
    EXPECT_EQ(reported, "tick failed");
}

TEST_F(FormsTest, AnImageListDrawsItsImagesWithoutTheMaskColour) {
    TForm* form = ShowPlainForm({0, 0, 100, 100});
    auto* images = CreateComponent<TImageList>(form);
    images->SetWidth(4);
    images->SetHeight(4);
    TBitmap strip(8, 4);
    strip.Fill(clFuchsia);
    strip.Canvas().Brush.Color = clRed;
    strip.Canvas().FillRect({1, 1, 3, 3});
    strip.Canvas().Brush.Color = clBlue;
    strip.Canvas().FillRect({4, 0, 8, 4});
    EXPECT_EQ(images->AddMasked(strip, clFuchsia), 0);
    EXPECT_EQ(images->Count(), 2);
    TBitmap target(10, 4);
    target.Fill(clWhite);
    images->Draw(target.Canvas(), 0, 0, 0);
    images->Draw(target.Canvas(), 5, 0, 1);
    images->Draw(target.Canvas(), 0, 0, 7);  // out of range: nothing
    EXPECT_EQ(target.Pixels(0, 0), clWhite);
    EXPECT_EQ(target.Pixels(1, 1), clRed);
    EXPECT_EQ(target.Pixels(5, 0), clBlue);
}

}  // namespace

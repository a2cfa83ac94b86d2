// The skinned edit: Chinese text typed and pasted from the desktop, caret and
// selection over double-byte characters, the context menu's commands, the
// read-only filter, Enter reaching the default button, and its looks.

#include "SkinComposition.h"
#include "SkinCtrlsTestSupport.h"
#include "SkinEditCommands.h"
#include "SkinGeometry.h"
#include "TbsSkinButton.h"
#include "TbsSkinEdit.h"
#include "TbsSkinForm.h"
#include "TbsSkinMemo2.h"
#include "TbsSkinMenu.h"
#include "TbsSkinPopupMenu.h"
#include "TbsSkinPopupWindow.h"

using namespace ctrltest;

namespace {

// UTF-8 as the desktop sends it (this file's narrow literals are GBK).
std::string Utf8(const char8_t* s) { return reinterpret_cast<const char*>(s); }

class SkinEditTest : public SkinCtrlsTest {
protected:
    TbsSkinEdit* AddEdit(TWinControl* parent, TbsSkinData* skin = nullptr, int y = 20) {
        auto* e = CreateComponent<TbsSkinEdit>(parent);
        e->SetParent(parent);
        e->SetBounds(20, y, 160, 21);
        e->SetSkinData(skin);
        Pump();
        return e;
    }
    // What the screen shows of the whole edit, frame included (window coordinates).
    void WindowShot(TbsSkinEdit& e, TBitmap& out) {
        Pump();
        TRect wr;
        GetWindowRect(e.Handle(), wr);
        screen().ReadScreenRect(wr, out);
    }
    TColor WindowPixel(TbsSkinEdit& e, int x, int y) {
        TBitmap shot;
        WindowShot(e, shot);
        return shot.Pixels(x, y);
    }
    void ShiftKey(int vk) {
        screen().KeyDown(VK_SHIFT);
        screen().KeyPress(vk);
        screen().KeyUp(VK_SHIFT);
        Pump();
    }
};

TEST_F(SkinEditTest, TypedChineseArrivesWholeAndTheCaretAndSelectionNeverSplitACharacter) {
    TForm* form = ShowForm();
    TbsSkinEdit* edit = AddEdit(form);
    edit->SetFocus();
    Pump();
    screen().Text(Utf8(u8"中文ab"));
    Pump();
    EXPECT_EQ(edit->Text(), AnsiString("中文ab"));
    Key(VK_HOME);
    Key(VK_RIGHT);
    EXPECT_EQ(edit->SelStart(), 2);
    TCanvas measure;
    measure.Font.Assign(edit->Font());
    EXPECT_EQ(edit->CaretPos().X, 2 + measure.TextWidth("中"));  // left margin 2
    ShiftKey(VK_RIGHT);
    EXPECT_EQ(edit->SelText(), AnsiString("文"));
    ShiftKey(VK_RIGHT);
    EXPECT_EQ(edit->SelText(), AnsiString("文a"));
    // A selection asked to start inside a character holds the whole one.
    edit->SetSelStart(3);
    edit->SetSelLength(0);
    EXPECT_EQ(edit->SelStart() % 2, 0);
    // A character GBK cannot hold shows as "?"; the rest of the text stays.
    Key(VK_END);
    screen().Text(Utf8(u8"x\U0001F600y词"));
    Pump();
    EXPECT_EQ(edit->Text(), AnsiString("中文abx?y词"));
}

TEST_F(SkinEditTest, PasteTurnsTheDesktopsUtf8IntoGbkAndCopyGivesUtf8Back) {
    TForm* form = ShowForm();
    TbsSkinEdit* edit = AddEdit(form);
    edit->SetText("abc");
    edit->SetSelStart(3);
    screen().SetClipboardUtf8(Utf8(u8"词典\U0001F600!"));
    RunEditCommand(*edit, EditCommand::Paste);
    EXPECT_EQ(edit->Text(), AnsiString("abc词典?!"));
    edit->SetSelStart(3);
    edit->SetSelLength(4);
    RunEditCommand(*edit, EditCommand::Copy);
    EXPECT_EQ(screen().ClipboardUtf8(), Utf8(u8"词典"));
}

TEST_F(SkinEditTest, TheMenuCommandsAreEnabledByTheSelectionTheClipboardAndReadOnly) {
    TForm* form = ShowForm();
    TbsSkinEdit* edit = AddEdit(form);
    edit->SetText("hello 世界");
    screen().SetClipboardUtf8("");
    using C = EditCommand;
    struct Case {
        const char* what;
        std::function<void()> setUp;
        bool undo, cut, copy, paste, del, all;
    };
    const Case cases[] = {
        {"nothing selected, empty clipboard", [] {}, false, false, false, false, false, true},
        {"a selection", [&] { edit->SetSelStart(6); edit->SetSelLength(4); }, false, true, true, false, true, true},
        {"text on the clipboard", [&] { screen().SetClipboardUtf8("x"); }, false, true, true, true, true, true},
        {"everything selected", [&] { edit->SelectAll(); }, false, true, true, true, true, false},
        {"after a change", [&] { RunEditCommand(*edit, C::Delete); }, true, false, false, true, false, false},
        {"read-only with a selection", [&] { edit->SetText("abc"); edit->SelectAll(); edit->SetReadOnly(true); },
         false, false, true, false, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        c.setUp();
        EXPECT_EQ(EditCommandEnabled(*edit, C::Undo), c.undo);
        EXPECT_EQ(EditCommandEnabled(*edit, C::Cut), c.cut);
        EXPECT_EQ(EditCommandEnabled(*edit, C::Copy), c.copy);
        EXPECT_EQ(EditCommandEnabled(*edit, C::Paste), c.paste);
        EXPECT_EQ(EditCommandEnabled(*edit, C::Delete), c.del);
        EXPECT_EQ(EditCommandEnabled(*edit, C::SelectAll), c.all);
    }
    // The menu's order and its built-in captions.
    std::string order;
    for (const EditMenuEntry& e : EditMenuEntries()) order += EditCommandCaption(e, nullptr) + "|";
    EXPECT_EQ(order, "撤消|-|剪切|复制|粘贴|删除|-|选择所有|");
}

TEST_F(SkinEditTest, RightClickShowsTheSkinnedContextMenuOfEditAndMemoWhoseCommandRuns) {
    TForm* form = ShowForm();
    auto* frame = CreateComponent<TbsSkinForm>(form);
    frame->SetSkinData(LoadSkin(form, DeliveredSkinIni()));
    TbsSkinEdit* edit = AddEdit(form);
    edit->SetText("hello 世界");
    auto* memo = CreateComponent<TbsSkinMemo2>(form);
    memo->SetParent(form);
    memo->SetBounds(20, 60, 160, 80);
    memo->SetText("第一行");
    Pump();
    const struct {
        TCustomEdit* control;
        std::function<TbsSkinPopupMenu*()> editMenu;
    } cases[] = {
        {edit, [&] { return edit->EditMenu(); }},
        {memo, [&] { return memo->EditMenu(); }},
    };
    for (const auto& c : cases) {
        c.control->SetFocus();
        c.control->SetSelStart(0);
        c.control->SetSelLength(0);
        Pump();
        const TPoint at = c.control->ClientToScreen({30, 8});
        screen().Click(at.X, at.Y, MouseButton::Right);
        Pump();
        TbsSkinMenu& engine = frame->SkinMenu();
        ASSERT_EQ(engine.PopupCount(), 1);
        TbsSkinPopupWindow& p = *engine.PopupAt(0);
        EXPECT_TRUE(p.SkinnedLook());
        EXPECT_EQ(p.Left(), at.X);  // at the pointer
        ASSERT_EQ(p.Items().size(), 8u);
        TbsSkinMenuItem& all = *p.Items()[7];
        EXPECT_EQ(all.MenuItem()->Caption(), "选择所有");
        EXPECT_FALSE(p.Items()[2]->MenuItem()->Enabled);  // cut: nothing selected
        ASSERT_NE(c.editMenu(), nullptr);
        const TPoint item{p.Left() + all.ItemRect.Left + 30, p.Top() + all.ItemRect.Top + 5};
        screen().Click(item.X, item.Y);
        Pump();
        EXPECT_EQ(engine.PopupCount(), 0);
        EXPECT_EQ(c.control->SelLength(), int(c.control->Text().size()));
        EXPECT_EQ(c.editMenu(), nullptr);  // freed once the command was done
    }
}

TEST_F(SkinEditTest, CommandsChangeTheTextAndAReadOnlyEditOnlySelectsAndCopies) {
    TForm* form = ShowForm();
    TbsSkinEdit* edit = AddEdit(form);
    edit->SetText("one two");
    edit->SetSelStart(4);
    edit->SetSelLength(3);
    RunEditCommand(*edit, EditCommand::Cut);
    EXPECT_EQ(edit->Text(), AnsiString("one "));
    EXPECT_EQ(screen().ClipboardUtf8(), "two");
    RunEditCommand(*edit, EditCommand::Undo);
    EXPECT_EQ(edit->Text(), AnsiString("one two"));
    RunEditCommand(*edit, EditCommand::SelectAll);
    EXPECT_EQ(edit->SelLength(), 7);
    RunEditCommand(*edit, EditCommand::Delete);
    EXPECT_EQ(edit->Text(), AnsiString(""));

    edit->SetText("fixed");
    edit->SetReadOnly(true);
    edit->SetFocus();
    Pump();
    RunEditCommand(*edit, EditCommand::SelectAll);
    screen().Text("x");
    Key(VK_BACK);
    Key(VK_DELETE);
    RunEditCommand(*edit, EditCommand::Cut);
    RunEditCommand(*edit, EditCommand::Paste);
    RunEditCommand(*edit, EditCommand::Delete);
    EXPECT_EQ(edit->Text(), AnsiString("fixed"));
    RunEditCommand(*edit, EditCommand::Copy);
    EXPECT_EQ(screen().ClipboardUtf8(), "fixed");
}

TEST_F(SkinEditTest, EnterClicksTheDefaultButtonOnceAndLeavesTheTextAlone) {
    TForm* form = ShowForm();
    auto* button = CreateComponent<TbsSkinButton>(form);
    button->SetParent(form);
    button->SetBounds(20, 80, 65, 25);
    button->SetDefault(true);
    int clicks = 0;
    button->OnClick = [&](TObject*) { ++clicks; };
    TbsSkinEdit* edit = AddEdit(form);
    edit->SetFocus();
    screen().Text("ab");
    Key(VK_RETURN);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(edit->Text(), AnsiString("ab"));
}

TEST_F(SkinEditTest, WithoutSkinATwoPixelFrameSurroundsTheDefaultColour) {
    TForm* form = ShowForm();
    TbsSkinEdit* edit = AddEdit(form);
    edit->SetDefaultColor(0x00E0F0FF);
    EXPECT_EQ(edit->Height(), 21);
    EXPECT_EQ(edit->ClientRect(), (TRect{0, 0, 156, 17}));
    EXPECT_EQ(WindowPixel(*edit, 0, 0), ColorToRGB(clBtnShadow));
    EXPECT_EQ(WindowPixel(*edit, 1, 1), ColorToRGB(clBtnFace));
    EXPECT_EQ(WindowPixel(*edit, 159, 20), ColorToRGB(clBtnShadow));
    EXPECT_EQ(WindowPixel(*edit, 100, 10), TColor(0x00E0F0FF));
    EXPECT_EQ(edit->Font().Name(), AnsiString("Arial"));
    EXPECT_EQ(edit->Font().Color(), clBlack);

    // The edit button: a square at the right end that clicks and focuses.
    edit->SetButtonMode(true);
    Pump();
    EXPECT_EQ(edit->ButtonRect(), (TRect{139, 0, 160, 21}));
    EXPECT_EQ(edit->ClientWidth(), 160 - 21 - 4);
    int clicks = 0;
    edit->OnButtonClick = [&](TObject*) { ++clicks; };
    const TPoint b = ScreenPoint(*edit, 0, 0);
    screen().MouseMove(b.X + 149, b.Y + 10);
    Pump();
    EXPECT_TRUE(edit->ButtonHot());
    screen().Click(b.X + 149, b.Y + 10);
    Pump();
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(edit->Focused());
}

TEST_F(SkinEditTest, TheSkinnedEditTakesTheRecordsHeightAndSwitchesToTheActiveLookUnderThePointer) {
    TForm* form = ShowForm();
    TbsSkinData* skin = LoadSkin(form, DeliveredSkinIni());
    TbsSkinEdit* edit = AddEdit(form, skin);
    edit->SetHeight(40);
    const auto& rec = *static_cast<const TbsDataSkinEditControl*>(
        skin->SkinControls()[std::size_t(skin->FindControlIndex("edit"))].get());
    const TBitmap& pic = *skin->ActiveBitmaps()[std::size_t(rec.pictureindex)];
    EXPECT_EQ(edit->Height(), HeightOf(rec.skinrect));
    EXPECT_EQ(edit->Font().Color(), rec.fontcolor);
    // The frame (everything outside the text area) is the row image.
    auto expectFrame = [&](const TRect& state, const char* what) {
        SCOPED_TRACE(what);
        TBitmap want, shot;
        ComposeRowImage(rec.lefttoppoint.X, WidthOf(rec.skinrect) - rec.righttoppoint.X, want, rec.stretcheffect,
                        160, state, pic);
        WindowShot(*edit, shot);
        const TRect text = edit->TextRect();
        for (int y = 0; y < shot.Height(); ++y)
            for (int x = 0; x < shot.Width(); ++x)
                if (!PtInRect(text, {x, y})) {
                    ASSERT_EQ(shot.Pixels(x, y), want.Pixels(x, y)) << x << "," << y;
                }
    };
    expectFrame(rec.skinrect, "normal");
    const TPoint in = ScreenPoint(*edit, 30, 10);
    screen().MouseMove(in.X, in.Y);
    Pump();
    EXPECT_TRUE(edit->MouseIn());
    EXPECT_EQ(edit->Font().Color(), rec.activefontcolor);
    expectFrame(rec.activeskinrect, "under the pointer");
}

}  // namespace

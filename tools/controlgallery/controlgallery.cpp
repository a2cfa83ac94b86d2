// Shows the skinned controls side by side: with the skin given on the left,
// in their default look on the right. Each button state is shown on its own
// button (and each scroll bar state on its own bar); the pointer, the press
// and the focus are real where one control can have them, and held for the
// picture on the others. Only one control can hold the focus: the picture
// shows the buttons while a button has it, and each edit, with its caret,
// while that edit has it; each combo box's list is shown dropped in turn.
//
//   controlgallery <skin.ini> <out.png>    writes the headless screen to a PNG
//
// Exit status: 0 written, 1 failure, 2 wrong arguments.

#include <cstdio>
#include <memory>

#include "Forms.h"
#include "HeadlessBackend.h"
#include "ImgList.h"
#include "PngFile.h"
#include "TbsSkinButton.h"
#include "TbsSkinComboBox.h"
#include "TbsSkinData.h"
#include "TbsSkinEdit.h"
#include "TbsSkinListView.h"
#include "TbsSkinMemo2.h"
#include "TbsSkinMenu.h"
#include "TbsSkinMenuSpeedButton.h"
#include "TbsSkinPanel.h"
#include "TbsSkinPopupMenu.h"
#include "TbsSkinPopupWindow.h"
#include "TbsSkinScrollBar.h"
#include "TbsSkinSpeedButton.h"
#include "TbsSkinStdLabel.h"
#include "TbsSkinTextLabel.h"
#include "WindowSystem.h"

namespace {

// A button held in one look for the picture.
class StillButton : public TbsSkinButton {
public:
    using TbsSkinButton::TbsSkinButton;
    void Hold(bool hot, bool down) {
        SetMouseIn(hot);
        SetDownFlag(down);
        Invalidate();
    }
};

class StillSpeedButton : public TbsSkinSpeedButton {
public:
    using TbsSkinSpeedButton::TbsSkinSpeedButton;
    void Hold(bool hot) {
        SetMouseIn(hot);
        Invalidate();
    }
};

// A menu button held pressed, as it looks while its menu is open.
class StillMenuButton : public TbsSkinMenuSpeedButton {
public:
    using TbsSkinMenuSpeedButton::TbsSkinMenuSpeedButton;
    void HoldOpen() {
        SetMouseIn(true);
        SetDownFlag(true);
        Invalidate();
    }
};

// A scroll bar held in one look for the picture.
class StillScrollBar : public TbsSkinScrollBar {
public:
    using TbsSkinScrollBar::TbsSkinScrollBar;
    void HoldButton(int part, bool hot, bool pressed) { SetPartState(part, hot, pressed); }
    void HoldDragging() { SetDraggingLook(true); }
};

template <class T>
T* Place(TWinControl* parent, int x, int y, int w, int h) {
    T* c = CreateComponent<T>(parent);
    c->SetParent(parent);
    c->SetBounds(x, y, w, h);
    return c;
}

TbsSkinStdLabel* Note(TWinControl* parent, TbsSkinData* skin, int x, int y, const AnsiString& text) {
    auto* l = Place<TbsSkinStdLabel>(parent, x, y, 60, 14);
    TFont small = l->DefaultFont();
    small.SetHeight(12);
    l->SetDefaultFont(small);
    l->SetUseSkinFont(false);
    l->SetCaption(text);
    l->SetSkinData(skin);
    return l;
}

// A 16 x 16 magnifier on a magenta ground (the glyph's transparent colour is
// its bottom-left pixel).
void MakeGlyph(TBitmap& g) {
    g.SetSize(16, 16);
    g.Fill(0xFF00FF);
    TCanvas& c = g.Canvas();
    c.Pen.Color = 0x603020;
    c.Brush.Style = bsClear;
    c.Ellipse(2, 1, 11, 10);
    c.MoveTo(9, 9);
    c.LineTo(14, 14);
    c.MoveTo(10, 9);
    c.LineTo(15, 14);
}

// Returns the menu button to show with its menu open.
StillMenuButton* BuildSide(TForm* form, TbsSkinData* skin) {
    const AnsiString names[] = {"normal", "hot", "pressed", "focused", "disabled"};
    StillButton* buttons[5];
    for (int i = 0; i < 5; ++i) {
        Note(form, skin, 10 + 75 * i, 8, names[i]);
        buttons[i] = Place<StillButton>(form, 10 + 75 * i, 24, 65, 25);
        buttons[i]->SetCaption("翻译");
        buttons[i]->SetSkinData(skin);
    }
    buttons[1]->Hold(true, false);
    buttons[2]->Hold(true, true);
    buttons[4]->SetEnabled(false);

    TBitmap glyph;
    MakeGlyph(glyph);
    Note(form, skin, 10, 60, "glyph and text");
    auto* withGlyph = Place<TbsSkinButton>(form, 10, 76, 98, 25);
    withGlyph->SetCaption("查找");
    withGlyph->SetGlyph(glyph);
    withGlyph->SetSpacing(4);
    withGlyph->SetSkinData(skin);
    Note(form, skin, 125, 60, "speed buttons");
    auto* speed = Place<StillSpeedButton>(form, 125, 76, 27, 25);
    speed->SetGlyph(glyph);
    speed->SetSkinData(skin);
    auto* speedHot = Place<StillSpeedButton>(form, 155, 76, 27, 25);
    speedHot->SetGlyph(glyph);
    speedHot->SetSkinData(skin);
    speedHot->Hold(true);

    Note(form, skin, 10, 112, "group box");
    auto* group = Place<TbsSkinPanel>(form, 10, 128, 170, 130);
    group->SetSkinDataName("groupbox");
    group->SetCaptionMode(true);
    group->SetCaption("单     词");
    group->SetSkinData(skin);
    Note(form, skin, 195, 112, "rolled up");
    auto* rolled = Place<TbsSkinPanel>(form, 195, 128, 170, 130);
    rolled->SetSkinDataName("groupbox");
    rolled->SetCaptionMode(true);
    rolled->SetRollUpMode(true);
    rolled->SetCaption("卷起");
    rolled->SetSkinData(skin);
    rolled->SetRollUpState(true);

    Note(form, skin, 10, 268, "transparent panel on a stretched one, labels");
    auto* back = Place<TbsSkinPanel>(form, 10, 284, 250, 110);
    back->SetSkinData(skin);
    auto* glass = Place<TbsSkinPanel>(back, 20, 15, 210, 80);
    glass->SetTransparentMode(true);
    glass->SetCaptionMode(true);
    glass->SetCaption("透明");
    glass->SetSkinData(skin);
    auto* std = Place<TbsSkinStdLabel>(glass, 12, 26, 80, 16);
    std->SetCaption("标签 label");
    std->SetSkinData(skin);
    auto* text = Place<TbsSkinTextLabel>(glass, 12, 44, 180, 30);
    text->Lines().Add("多行标签");
    text->Lines().Add("a text label");
    text->SetSkinData(skin);

    Note(form, skin, 270, 268, "menu buttons");
    auto* menu = CreateComponent<TbsSkinPopupMenu>(form);
    for (const char* caption : {"大图标", "小图标", "列表", "详细信息"}) {
        auto* item = CreateComponent<TMenuItem>(menu);
        item->SetCaption(caption);
        item->RadioItem = true;
        menu->Items()->Add(item);
    }
    menu->Items()->Items(2)->Checked = true;
    auto* open = Place<StillMenuButton>(form, 270, 284, 37, 25);
    auto* closed = Place<TbsSkinMenuSpeedButton>(form, 320, 284, 37, 25);
    for (TbsSkinMenuSpeedButton* b : {static_cast<TbsSkinMenuSpeedButton*>(open), closed}) {
        b->SetGlyph(glyph);
        b->SetSkinPopupMenu(menu);
        b->SetSkinData(skin);
    }
    open->HoldOpen();

    buttons[3]->SetFocus();
    return open;
}

struct TextSide {
    TbsSkinEdit* edit = nullptr;
    TbsSkinComboBox* droppedCombo = nullptr;
};

// Scroll bars in each state, an edit with a selection, and a memo of wrapped
// Chinese text with its skinned bar.
TextSide BuildTextSide(TForm* form, TbsSkinData* skin) {
    Note(form, skin, 10, 404, "scroll bar states");
    const AnsiString states[] = {"normal", "hot", "pressed", "dragged", "disabled"};
    StillScrollBar* bars[5];
    for (int i = 0; i < 5; ++i) {
        Note(form, skin, 130, 424 + 24 * i, states[i]);
        bars[i] = Place<StillScrollBar>(form, 10, 422 + 24 * i, 115, 19);
        bars[i]->SetRangeAndPosition(0, 100, 0, 20 + 15 * i);
        bars[i]->SetSkinData(skin);
    }
    bars[1]->HoldButton(1, true, false);
    bars[2]->HoldButton(1, true, true);
    bars[3]->HoldDragging();
    bars[4]->SetEnabled(false);
    Note(form, skin, 10, 544, "both kinds, with a page");
    auto* vertical = Place<TbsSkinScrollBar>(form, 185, 422, 19, 140);
    vertical->SetKind(sbVertical);
    vertical->SetRangeAndPosition(0, 99, 30, 40);
    vertical->SetSkinData(skin);
    auto* both = Place<TbsSkinScrollBar>(form, 10, 562 + (skin ? 2 : 0), 194, 19);
    both->SetRangeAndPosition(0, 99, 25, 60);
    both->SetBoth(true);
    both->SetSkinData(skin);
    // The vertical bar ends where the shared corner of the horizontal one starts.
    vertical->SetHeight(both->Top() - 422);
    vertical->SetLeft(both->Left() + both->Width() - vertical->Width());

    Note(form, skin, 215, 404, "edit");
    TextSide side;
    side.edit = Place<TbsSkinEdit>(form, 215, 422, 175, 21);
    side.edit->SetText("hello 词典 edit");
    side.edit->SetHideSelection(false);
    side.edit->SetSkinData(skin);
    side.edit->SetSelStart(6);
    side.edit->SetSelLength(4);

    Note(form, skin, 215, 452, "memo");
    auto* memo = Place<TbsSkinMemo2>(form, 215, 470, 156, 110);
    memo->SetText("词典把英文单词译成中文，也可以输入中文查找英文。每个窗口和控件都由皮肤绘制，"
                  "没有皮肤时使用默认外观。输入法输入的汉字以 GBK 保存，"
                  "粘贴的文字也会转换成 GBK。拖动滚动条可以查看后面的内容。");
    memo->SetSkinData(skin);
    auto* memoBar = Place<TbsSkinScrollBar>(form, 371, 470, 19, 110);
    memoBar->SetKind(sbVertical);
    memoBar->SetSkinData(skin);
    memo->SetVScrollBar(memoBar);

    // The hit list: a report list view with its header and a selected row.
    Note(form, skin, 10, 600, "list view");
    auto* list = Place<TbsSkinListView>(form, 10, 618, 194, 140);
    list->SetViewStyle(vsReport);
    list->SetRowSelect(true);
    list->SetHideSelection(false);
    list->SetHeaderSkinDataName("resizetoolbutton");
    TListColumn* word = list->Columns().Add();
    word->SetCaption("单词");
    word->SetWidth(80);
    TListColumn* gloss = list->Columns().Add();
    gloss->SetCaption("释义");
    gloss->SetWidth(110);
    const char* rows[][2] = {{"apple", "苹果"}, {"apply", "申请"}, {"applet", "小程序"}, {"applaud", "鼓掌"},
                             {"appliance", "器具"}, {"applicant", "申请人"}};
    for (const auto& row : rows) {
        TListItem* item = list->Items().Add();
        item->SetCaption(row[0]);
        item->SubItems().Add(row[1]);
    }
    list->SetItemIndex(1);
    list->SetSkinData(skin);

    // A combo box closed on its selection, and one with its list dropped.
    Note(form, skin, 215, 600, "combo box, closed and dropped");
    const char* words[] = {"apple", "apply", "applet", "applaud", "appliance"};
    TbsSkinComboBox* combos[2];
    for (int i = 0; i < 2; ++i) {
        combos[i] = Place<TbsSkinComboBox>(form, 215, 618 + 32 * i, 175, 20);
        for (const char* w : words) combos[i]->Items().Add(w);
        combos[i]->SetSkinData(skin);
        combos[i]->SetItemIndex(i == 0 ? 0 : 2);
    }
    side.droppedCombo = combos[1];
    return side;
}

// A combo box whose items carry an image and a tabbed gloss, shown with its
// list dropped under a caption, and one drawn as a tool button.
TbsSkinComboBox* BuildComboExtras(TForm* form, TbsSkinData* skin) {
    auto* images = CreateComponent<TImageList>(form);
    images->SetWidth(12);
    images->SetHeight(12);
    for (TColor colour : {TColor(0x3A9E4A), TColor(0xC0702C)}) {
        TBitmap square;
        square.SetSize(12, 12);
        square.Canvas().Brush.Color = clFuchsia;
        square.Canvas().FillRect({0, 0, 12, 12});
        square.Canvas().Brush.Color = colour;
        square.Canvas().Pen.Color = colour;
        square.Canvas().Ellipse(1, 1, 11, 11);
        images->AddMasked(square, clFuchsia);
    }
    Note(form, skin, 200, 160, "images, tabs, list caption");
    auto* combo = Place<TbsSkinComboBox>(form, 200, 178, 190, 20);
    for (const char* w : {"apple\t苹果", "applet\t小程序"}) combo->Items().Add(w);
    combo->SetImages(images);
    combo->SetTabWidths({70});
    combo->SetListBoxCaption("单词 / 释义");
    combo->SetListBoxCaptionMode(true);
    combo->SetSkinData(skin);
    combo->SetItemIndex(1);

    Note(form, skin, 230, 62, "tool button");
    auto* tool = Place<TbsSkinComboBox>(form, 230, 80, 110, 25);
    for (const char* w : {"详细", "列表"}) tool->Items().Add(w);
    tool->SetToolButtonStyle(true);
    tool->SetSkinData(skin);
    tool->SetItemIndex(0);
    return combo;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: controlgallery <skin.ini> <out.png>\n");
        return 2;
    }
    try {
        auto backend = std::make_unique<HeadlessBackend>(820, 780);
        HeadlessBackend* screen = backend.get();
        screen->SetDesktopColor(0xE0E0E0);
        WindowSystemSession windowSystem(std::move(backend));
        ApplicationSession session;
        auto* skinned = Application->CreateForm<TForm>();
        skinned->SetBorderStyle(bsNone);
        skinned->SetColor(0xF5F1EE);
        skinned->SetBounds(5, 5, 400, 770);
        auto* skin = CreateComponent<TbsSkinData>(skinned);
        skin->LoadIniSkin(argv[1]);
        if (skin->IsEmpty()) {
            std::fprintf(stderr, "the skin %s did not load\n", argv[1]);
            return 1;
        }
        auto* plain = Application->CreateForm<TForm>();
        plain->SetBorderStyle(bsNone);
        plain->SetColor(clBtnFace);
        plain->SetBounds(415, 5, 400, 770);
        plain->Show();
        StillMenuButton* plainMenu = BuildSide(plain, nullptr);
        const TextSide plainText = BuildTextSide(plain, nullptr);
        TbsSkinComboBox* plainExtra = BuildComboExtras(plain, nullptr);
        // The skinned side is built last, so its focused button keeps the focus.
        skinned->Show();
        StillMenuButton* skinnedMenu = BuildSide(skinned, skin);
        const TextSide skinnedText = BuildTextSide(skinned, skin);
        TbsSkinComboBox* skinnedExtra = BuildComboExtras(skinned, skin);
        Application->ProcessMessages();
        // One control has the focus at a time: the buttons are shown with
        // the focus on a button, the edits each with the focus and its caret.
        TBitmap picture, withCaret;
        screen->ReadScreen(picture);
        for (TbsSkinEdit* edit : {plainText.edit, skinnedText.edit}) {
            edit->SetFocus();
            edit->SetSelStart(6);
            edit->SetSelLength(4);
            Application->ProcessMessages();
            screen->ReadScreen(withCaret);
            TRect wr;
            GetWindowRect(edit->Handle(), wr);
            wr = InflateRect(wr, 2, 2);
            for (int y = wr.Top; y < wr.Bottom; ++y)
                for (int x = wr.Left; x < wr.Right; ++x) picture.SetPixels(x, y, withCaret.Pixels(x, y));
        }
        // One list is open at a time: each combo box is shown with its list dropped.
        for (TbsSkinComboBox* combo : {plainText.droppedCombo, skinnedText.droppedCombo, plainExtra, skinnedExtra}) {
            combo->DropDown();
            Application->ProcessMessages();
            screen->ReadScreen(withCaret);
            TRect wr;
            GetWindowRect(combo->ListBox()->Handle(), wr);
            for (int y = wr.Top; y < wr.Bottom; ++y)
                for (int x = wr.Left; x < wr.Right; ++x) picture.SetPixels(x, y, withCaret.Pixels(x, y));
            combo->CloseUp(false);
            Application->ProcessMessages();
        }
        // Likewise each menu button's menu, shown by a menu engine of its own
        // (the gallery's windows have no frame component to lend theirs).
        for (StillMenuButton* button : {plainMenu, skinnedMenu}) {
            auto* engine = CreateComponent<TbsSkinMenu>(button->Owner());
            const TPoint tl = button->ClientToScreen({0, 0});
            engine->Popup(button, button->SkinData(), false, button->SkinPopupMenu()->Items(),
                          {tl.X, tl.Y, tl.X + button->Width(), tl.Y + button->Height()});
            Application->ProcessMessages();
            screen->ReadScreen(withCaret);
            for (int i = 0; i < engine->PopupCount(); ++i) {
                TRect wr;
                GetWindowRect(engine->PopupAt(i)->Handle(), wr);
                for (int y = wr.Top; y < wr.Bottom; ++y)
                    for (int x = wr.Left; x < wr.Right; ++x) picture.SetPixels(x, y, withCaret.Pixels(x, y));
            }
            engine->CloseMenu();
            Application->ProcessMessages();
        }
        if (!SavePng(picture, argv[2])) {
            std::fprintf(stderr, "cannot write %s\n", argv[2]);
            return 1;
        }
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "controlgallery: %s\n", e.what());
        return 1;
    }
}

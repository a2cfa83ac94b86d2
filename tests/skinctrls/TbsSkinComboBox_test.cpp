// The skinned combo box: the text and change rules a hidden combo box is
// used for, the keys, and the drop-down list opened by the pointer, taking
// an item on release and closing on a press anywhere else.

#include "ImgList.h"
#include "SkinComposition.h"
#include "SkinControlGeometry.h"
#include "SkinCornerPoints.h"
#include "SkinGeometry.h"
#include "SkinGlyphs.h"
#include "SkinCtrlsTestSupport.h"
#include "SkinDefaultLook.h"
#include "SkinItemContent.h"
#include "TButton.h"
#include "TbsSkinComboBox.h"
#include "TbsSkinScrollBar.h"

using namespace ctrltest;

namespace {

class SkinComboBoxTest : public SkinCtrlsTest {
protected:
    struct Counts {
        int change = 0;
        int click = 0;
    };
    void Count(TbsSkinComboBox& combo, Counts& counts) {
        combo.OnChange = [&counts](TObject*) { ++counts.change; };
        combo.OnClick = [&counts](TObject*) { ++counts.click; };
    }
    void ClickAt(const TControl& c, int x, int y) {
        const TPoint p = ScreenPoint(c, x, y);
        screen().Click(p.X, p.Y);
        Pump();
    }
};

TEST_F(SkinComboBoxTest, OnlyAnActualTextChangeRaisesOnChange) {
    // A hidden combo box, never shown, used as a list with a selection.
    auto owner = std::make_unique<TComponent>(nullptr);
    auto* combo = CreateComponent<TbsSkinComboBox>(owner.get());
    Counts counts;
    Count(*combo, counts);
    EXPECT_EQ(combo->Text(), "") << "the combo box does not take its name as text";
    combo->SetName("CmbBxWord");
    EXPECT_EQ(combo->Text(), "");

    struct Step {
        const char* what;
        std::vector<const char*> items;  // replaces the items when not empty; {"-"} clears them
        int index;
        int changes;
        int clicks;
        const char* text;
        int indexAfter;
    };
    const Step steps[] = {
        {"empty list", {"-"}, 0, 0, 0, "", -1},
        {"first item, text differs", {"Default", "apple"}, 0, 1, 1, "Default", 0},
        {"same item again", {}, 0, 0, 1, "Default", 0},
        {"another item", {}, 1, 1, 1, "apple", 1},
        {"minus one keeps the text", {}, -1, 0, 1, "apple", -1},
        {"new list, same first word", {"apple", "apples"}, 0, 0, 1, "apple", 0},
        {"cleared list keeps the text", {"-"}, 0, 0, 0, "apple", -1},
        {"index past the end", {"x"}, 5, 0, 1, "apple", -1},
    };
    for (const Step& s : steps) {
        if (!s.items.empty()) {
            combo->Items().Clear();
            if (std::string(s.items[0]) != "-")
                for (const char* item : s.items) combo->Items().Add(item);
        }
        counts = {};
        combo->SetItemIndex(s.index);
        EXPECT_EQ(counts.change, s.changes) << s.what;
        EXPECT_EQ(counts.click, s.clicks) << s.what;
        EXPECT_EQ(combo->Text(), s.text) << s.what;
        EXPECT_EQ(combo->ItemIndex(), s.indexAfter) << s.what;
    }

    // While a form is being read nothing fires.
    combo->Items().Clear();
    combo->Items().Add("Loaded");
    counts = {};
    combo->BeginLoading();
    combo->SetItemIndex(0);
    combo->EndLoading();
    EXPECT_EQ(counts.click, 0);
    EXPECT_EQ(combo->ItemIndex(), 0);
}

TEST_F(SkinComboBoxTest, KeysStepPageAndSearch) {
    TForm* form = ShowForm();
    TbsSkinComboBox* combo = ShownCombo(form, 0);
    for (const char* w : {"apple", "kiwi", "banana", "kumquat", "kale", "lemon"}) combo->Items().Add(w);
    for (int i = 0; i < 20; ++i) combo->Items().Add(("z" + std::to_string(i)).c_str());
    combo->SetFocus();
    Pump();
    Counts counts;
    Count(*combo, counts);

    combo->SetItemIndex(0);
    Key(VK_NEXT);
    EXPECT_EQ(combo->ItemIndex(), 7) << "Page Down from 0 with 8 rows";
    combo->SetItemIndex(20);
    Key(VK_PRIOR);
    EXPECT_EQ(combo->ItemIndex(), 11) << "Page Up from 20";
    combo->SetItemIndex(0);
    Key(VK_UP);
    EXPECT_EQ(combo->ItemIndex(), 0) << "nothing before the first item";
    counts = {};
    Key(VK_DOWN);
    EXPECT_EQ(combo->ItemIndex(), 1);
    EXPECT_EQ(combo->Text(), "kiwi");
    EXPECT_EQ(counts.change, 1);
    EXPECT_EQ(counts.click, 1);

    // "k" then "a" quickly searches "ka"; after a pause "k" cycles on from the current item.
    combo->SetItemIndex(0);
    screen().Text("k");
    Pump();
    EXPECT_EQ(combo->Text(), "kiwi");
    screen().Text("a");
    Pump();
    EXPECT_EQ(combo->Text(), "kale");
    Advance(600);
    screen().Text("k");
    Pump();
    EXPECT_EQ(combo->Text(), "kiwi") << "after kale the next k item wraps round to kiwi";
    screen().Text("k");
    Pump();
    EXPECT_EQ(combo->Text(), "kiwi") << "\"kk\" matches nothing and leaves the selection";
    Advance(600);
    screen().Text("k");
    Pump();
    EXPECT_EQ(combo->Text(), "kumquat");

    // Alt+Down opens the list, Escape closes it without taking anything.
    screen().KeyDown(VK_MENU);
    Key(VK_DOWN);
    screen().KeyUp(VK_MENU);
    Pump();
    EXPECT_TRUE(combo->DroppedDown());
    EXPECT_TRUE(combo->ListBox()->IsPoppedUp());
    Key(VK_ESCAPE);
    EXPECT_FALSE(combo->DroppedDown());
    EXPECT_EQ(combo->Text(), "kumquat");
}

TEST_F(SkinComboBoxTest, TheListTakesAnItemOnReleaseAndClosesOnAPressElsewhere) {
    TForm* form = ShowForm();
    TbsSkinComboBox* combo = ShownCombo(form, 5);
    auto* other = CreateComponent<TButton>(form);
    other->SetParent(form);
    other->SetBounds(250, 200, 80, 25);
    Pump();
    Counts counts;
    Count(*combo, counts);

    // Empty lists do not open.
    auto* empty = ShownCombo(form, 0);
    empty->DropDown();
    EXPECT_FALSE(empty->DroppedDown());

    // A simple click on the button leaves the list open, holding the mode.
    const TRect button = combo->ButtonRect();
    ClickAt(*combo, button.Left + 5, 10);
    ASSERT_TRUE(combo->DroppedDown());
    TbsPopupListBox* list = combo->ListBox();
    EXPECT_TRUE(list->IsPoppedUp());
    EXPECT_EQ(Application->ModeControl(), combo);
    EXPECT_EQ(list->Height(), list->HeightForRows(5));
    // The list lies under the combo box.
    EXPECT_EQ(list->ClientToScreen({0, 0}).Y, combo->ClientToScreen({0, 20}).Y + 2);

    // A press elsewhere closes it and takes nothing.
    ClickAt(*other, 10, 10);
    EXPECT_FALSE(combo->DroppedDown());
    EXPECT_FALSE(list->IsPoppedUp());
    EXPECT_EQ(Application->ModeControl(), nullptr);
    EXPECT_EQ(combo->ItemIndex(), -1);
    EXPECT_EQ(counts.change, 0);

    // Press on the field, drag onto the third item and release: it is taken.
    const TPoint down = ScreenPoint(*combo, 20, 10);
    screen().MouseDown(down.X, down.Y);
    Pump();
    ASSERT_TRUE(combo->DroppedDown());
    const TRect item2 = list->ItemRect(2);
    const TPoint onItem = list->ClientToScreen({20, item2.Top + item2.Height() / 2});
    screen().MouseMove(onItem.X, onItem.Y);
    Pump();
    EXPECT_EQ(list->ItemIndex(), 2);
    screen().MouseUp(onItem.X, onItem.Y);
    Pump();
    EXPECT_FALSE(combo->DroppedDown());
    EXPECT_EQ(combo->ItemIndex(), 2);
    EXPECT_EQ(combo->Text(), "item2");
    EXPECT_EQ(counts.change, 1);
    EXPECT_EQ(counts.click, 1);

    // Open by a click, then a click on an item takes it.
    ClickAt(*combo, button.Left + 5, 10);
    ASSERT_TRUE(combo->DroppedDown());
    const TRect item4 = list->ItemRect(4);
    const TPoint on4 = list->ClientToScreen({20, item4.Top + 3});
    screen().Click(on4.X, on4.Y);
    Pump();
    EXPECT_FALSE(combo->DroppedDown());
    EXPECT_EQ(combo->Text(), "item4");

    // Moving off the list after visiting it and releasing elsewhere cancels.
    screen().MouseDown(down.X, down.Y);
    Pump();
    screen().MouseMove(onItem.X, onItem.Y);
    Pump();
    const TPoint away = ScreenPoint(*other, 5, 5);
    screen().MouseMove(away.X, away.Y);
    screen().MouseUp(away.X, away.Y);
    Pump();
    EXPECT_FALSE(combo->DroppedDown());
    EXPECT_EQ(combo->Text(), "item4");
    EXPECT_EQ(combo->ItemIndex(), 4);
}

TEST_F(SkinComboBoxTest, InEditStyleTypedTextCompletesFromTheList) {
    TForm* form = ShowForm();
    TbsSkinComboBox* combo = ShownCombo(form, 0);
    for (const char* w : {"banana", "Apple", "apricot", "cherry"}) combo->Items().Add(w);
    combo->SetStyle(bscbEditStyle);
    ASSERT_NE(combo->Edit(), nullptr);
    Counts counts;
    Count(*combo, counts);
    combo->Edit()->SetFocus();
    Pump();

    // A one-letter text is searched after the item its text change selected
    // (Apple), so "a" completes to apricot; the completed part stays selected.
    screen().KeyDown('A');
    screen().Text("a");
    screen().KeyUp('A');
    Pump();
    EXPECT_EQ(combo->Text(), "apricot");
    EXPECT_EQ(combo->Edit()->Text(), "apricot");
    EXPECT_EQ(combo->ItemIndex(), 2);
    EXPECT_EQ(combo->Edit()->SelStart(), 1);
    EXPECT_EQ(combo->Edit()->SelLength(), 6);
    EXPECT_GE(counts.change, 1);
    // Longer texts are searched from the top, whatever the case.
    Advance(250);
    screen().KeyDown('P');
    screen().Text("p");
    screen().KeyUp('P');
    Pump();
    EXPECT_EQ(combo->Text(), "Apple");
    EXPECT_EQ(combo->Edit()->SelStart(), 2);
    EXPECT_EQ(combo->Edit()->SelLength(), 3);
    Advance(250);
    screen().KeyDown('R');
    screen().Text("r");
    screen().KeyUp('R');
    Pump();
    EXPECT_EQ(combo->Text(), "apricot");
    EXPECT_EQ(combo->Edit()->SelStart(), 3);

    // Down takes the next item into the field, selected whole, and clicks.
    counts = {};
    Key(VK_DOWN);
    EXPECT_EQ(combo->Edit()->Text(), "cherry");
    EXPECT_EQ(combo->Text(), "cherry");
    EXPECT_EQ(combo->Edit()->SelLength(), 6);
    EXPECT_EQ(counts.click, 1);
    EXPECT_EQ(counts.change, 1);

    // Back to fixed style: the edit goes, the text stays.
    combo->SetStyle(bscbFixedStyle);
    EXPECT_EQ(combo->Edit(), nullptr);
    EXPECT_EQ(combo->Text(), "cherry");
}

// CharCase is the edit's: set before the edit exists or while it does, it
// changes what typing puts into the field and the combo's text.
TEST_F(SkinComboBoxTest, CharCaseIsPassedToTheEdit) {
    TForm* form = ShowForm();
    TbsSkinComboBox* combo = ShownCombo(form, 0);
    EXPECT_EQ(combo->CharCase(), ecNormal);
    combo->SetCharCase(ecUpperCase);
    combo->SetStyle(bscbEditStyle);
    ASSERT_NE(combo->Edit(), nullptr);
    EXPECT_EQ(combo->Edit()->CharCase(), ecUpperCase);
    combo->Edit()->SetFocus();
    Pump();
    screen().Text("ab");
    Pump();
    EXPECT_EQ(combo->Edit()->Text(), "AB");
    EXPECT_EQ(combo->Text(), "AB");
    // Set while the edit is there: the text already in it follows too.
    combo->SetCharCase(ecLowerCase);
    EXPECT_EQ(combo->Edit()->CharCase(), ecLowerCase);
    EXPECT_EQ(combo->Text(), "ab");
    combo->Edit()->SetSelStart(2);
    screen().Text("C");
    Pump();
    EXPECT_EQ(combo->Text(), "abc");
}

TEST_F(SkinComboBoxTest, TheSkinnedListHasTheSkinsRowsAndItsOwnSkinnedBar) {
    TForm* form = ShowForm();
    TbsSkinData* skin = LoadSkin(form, DeliveredSkinIni());
    TbsSkinComboBox* combo = ShownCombo(form, 20);
    combo->SetSkinData(skin);
    Pump();
    const auto& rec = *static_cast<const TbsDataSkinComboBox*>(
        skin->SkinControls()[std::size_t(skin->FindControlIndex("combobox"))].get());
    // The record's height; the button at the right end.
    EXPECT_EQ(combo->Height(), rec.skinrect.Bottom - rec.skinrect.Top);
    EXPECT_EQ(combo->ButtonRect().Right, 150 - (rec.skinrect.Right - rec.skinrect.Left - rec.buttonrect.Right));

    combo->SetItemIndex(15);
    combo->DropDown();
    Pump();
    TbsPopupListBox* list = combo->ListBox();
    ASSERT_NE(list->RecordIndex(), -1);
    const auto& lb = *static_cast<const TbsDataSkinListBox*>(
        skin->SkinControls()[std::size_t(skin->FindControlIndex("listbox"))].get());
    const int itemHeight = lb.itemrect.Bottom - lb.itemrect.Top;
    EXPECT_EQ(list->ItemHeight(), itemHeight);
    EXPECT_EQ(list->Height(), (lb.skinrect.Bottom - lb.skinrect.Top) + 8 * itemHeight -
                                  (lb.clientrect.Bottom - lb.clientrect.Top));
    // More items than rows: the list's own skinned bar, showing the selection's page.
    ASSERT_NE(list->ScrollBar(), nullptr);
    EXPECT_TRUE(list->ScrollBar()->Visible());
    EXPECT_NE(list->ScrollBar()->RecordIndex(), -1);
    EXPECT_LE(list->TopIndex(), 15);
    EXPECT_GT(list->TopIndex() + 8, 15);
    // The bar scrolls the list, and the list stays open while it is used.
    const TPoint barDown = list->ScrollBar()->ClientToScreen({5, list->ScrollBar()->Height() - 5});
    const int top = list->TopIndex();
    screen().Click(barDown.X, barDown.Y);
    Pump();
    EXPECT_TRUE(combo->DroppedDown());
    EXPECT_NE(list->TopIndex(), top);
    combo->CloseUp(false);
    EXPECT_EQ(combo->ItemIndex(), 15);
}

// The leftmost column in rows [top, bottom) of a shot, from x on, whose
// pixels differ from `background`; -1 when none.
int FirstInkColumn(const TBitmap& shot, int x, int top, int bottom, TColor background) {
    for (; x < shot.Width(); ++x)
        for (int y = top; y < bottom; ++y)
            if ((shot.Pixels(x, y) ^ background) & 0xFFFFFF) return x;
    return -1;
}

TEST(SkinItemContentLayout, TabbedPartsStartAtTheNextColumnStop) {
    const struct {
        const char* what;
        std::vector<int> parts, tabs;
        std::vector<int> offsets;
    } cases[] = {
        {"one width repeats", {7, 7, 7}, {40}, {0, 40, 80}},
        {"a passed stop moves on to the next", {50, 7}, {40}, {0, 80}},
        {"column widths add up, the last repeats", {7, 7, 7, 7}, {30, 10}, {0, 30, 40, 50}},
        {"no widths: the default gap", {7, 7}, {}, {0, 16}},
        {"a zero width cannot stall", {7, 7}, {0}, {0, 7}},
        {"no tab at all", {25}, {40}, {0}},
    };
    for (const auto& c : cases) EXPECT_EQ(TabbedPartOffsets(c.parts, c.tabs, 16), c.offsets) << c.what;
}

TEST_F(SkinComboBoxTest, ItemsShowTheirImageAndTabbedColumnsInTheFieldAndTheList) {
    TForm* form = ShowForm();
    auto* images = CreateComponent<TImageList>(form);
    images->SetWidth(8);
    images->SetHeight(8);
    TBitmap red, blue;
    red.SetSize(8, 8);
    red.Canvas().Brush.Color = clRed;
    red.Canvas().FillRect({0, 0, 8, 8});
    blue.SetSize(8, 8);
    blue.Canvas().Brush.Color = clBlue;
    blue.Canvas().FillRect({0, 0, 8, 8});
    images->Add(red);
    images->Add(blue);

    TbsSkinComboBox* combo = ShownCombo(form, 0);
    combo->Items().Add("ab\tcd");
    combo->Items().Add("W");
    combo->SetImages(images);
    combo->SetTabWidths({40});
    combo->SetItemIndex(0);
    TBitmap shot;
    Shot(*combo, shot);
    // The field's text area is the field inset by 2: (4, 4) - (128, 16).
    const TColor field = shot.Pixels(100, 10);
    EXPECT_EQ(shot.Pixels(4, 6) & 0xFFFFFF, TColor(clRed) & 0xFFFFFF) << "the image at the left, centred";
    EXPECT_EQ(shot.Pixels(11, 13) & 0xFFFFFF, TColor(clRed) & 0xFFFFFF);
    EXPECT_EQ(shot.Pixels(11, 4) & 0xFFFFFF, field & 0xFFFFFF) << "centred: one row free above";
    const int textLeft = 4 + 8 + 2;
    const int firstInk = FirstInkColumn(shot, 12, 4, 16, field);
    EXPECT_GE(firstInk, textLeft);
    EXPECT_LE(firstInk, textLeft + 2);
    // "cd" starts at the column stop 40 pixels into the text.
    const int secondInk = FirstInkColumn(shot, textLeft + 25, 4, 16, field);
    EXPECT_GE(secondInk, textLeft + 40);
    EXPECT_LE(secondInk, textLeft + 42);

    // ImageIndex set: every item shows that image.
    combo->SetImageIndex(1);
    Shot(*combo, shot);
    EXPECT_EQ(shot.Pixels(6, 8) & 0xFFFFFF, TColor(clBlue) & 0xFFFFFF);
    combo->SetImageIndex(-1);

    // The list draws its items the same way: item 1 shows image 1.
    combo->DropDown();
    Pump();
    TbsPopupListBox* list = combo->ListBox();
    const TRect row1 = list->ItemRect(1);
    const TPoint at = list->ClientToScreen({row1.Left, row1.Top});
    TBitmap listShot;
    screen().ReadScreenRect(Bounds(at.X, at.Y, row1.Width(), row1.Height()), listShot);
    // Inset by 2 and centred in the 16 rows of text area: rows 6..13.
    EXPECT_EQ(listShot.Pixels(2, 6) & 0xFFFFFF, TColor(clBlue) & 0xFFFFFF);
    EXPECT_EQ(listShot.Pixels(9, 13) & 0xFFFFFF, TColor(clBlue) & 0xFFFFFF);
    combo->CloseUp(false);

    // Freeing the image list clears it from the combo box.
    FreeComponent(images);
    EXPECT_EQ(combo->Images(), nullptr);
    Shot(*combo, shot);
    EXPECT_GE(FirstInkColumn(shot, 4, 4, 16, shot.Pixels(100, 10)), 4);
    EXPECT_LE(FirstInkColumn(shot, 4, 4, 16, shot.Pixels(100, 10)), 6) << "the text moves back to the left";
}

TEST_F(SkinComboBoxTest, ToolButtonStyleDrawsTheWholeControlAsAButtonThatDropsTheList) {
    TForm* form = ShowForm();
    TbsSkinComboBox* combo = ShownCombo(form, 3);
    combo->SetStyle(bscbEditStyle);
    ASSERT_NE(combo->Edit(), nullptr);
    combo->SetToolButtonStyle(true);
    EXPECT_EQ(combo->Style(), bscbFixedStyle);
    EXPECT_EQ(combo->Edit(), nullptr);
    EXPECT_FALSE(combo->UseSkinSize());
    combo->SetStyle(bscbEditStyle);
    EXPECT_EQ(combo->Style(), bscbFixedStyle) << "a tool button takes no edit";

    // Unskinned: the default box over the whole control, normal, hot, pressed while dropped.
    EXPECT_EQ(PixelOf(*combo, 0, 0) & 0xFFFFFF, ColorToRGB(clBtnShadow));
    EXPECT_EQ(PixelOf(*combo, 3, 10) & 0xFFFFFF, ColorToRGB(clBtnFace));
    const TPoint over = ScreenPoint(*combo, 3, 10);
    screen().MouseMove(over.X, over.Y);
    Pump();
    EXPECT_EQ(PixelOf(*combo, 3, 10) & 0xFFFFFF, kDefaultLookHotFill);
    // A click anywhere on it, the field included, opens the list.
    ClickAt(*combo, 3, 10);
    ASSERT_TRUE(combo->DroppedDown());
    EXPECT_EQ(PixelOf(*combo, 3, 10) & 0xFFFFFF, kDefaultLookDownFill);
    combo->CloseUp(false);

    // Skinned: the tool button record at any size, the button laid out as without skin.
    TbsSkinData* skin = LoadSkin(form, DeliveredSkinIni());
    combo->SetSkinData(skin);
    combo->SetBounds(20, 20, 150, 30);
    Pump();
    EXPECT_EQ(combo->Height(), 30);
    EXPECT_EQ(combo->ButtonRect(), (TRect{131, 2, 148, 28}));
    const auto& rec = *static_cast<const TbsDataSkinButtonControl*>(
        skin->SkinControls()[std::size_t(skin->FindControlIndex("toolbutton"))].get());
    const TBitmap& pic = *SkinPictureAt(*skin, rec.pictureindex);
    screen().MouseMove(400, 500);
    Pump();
    EXPECT_EQ(PixelOf(*combo, 0, 0) & 0xFFFFFF, pic.Pixels(rec.skinrect.Left, rec.skinrect.Top) & 0xFFFFFF);
    combo->DropDown();
    Pump();
    EXPECT_EQ(PixelOf(*combo, 0, 0) & 0xFFFFFF,
              pic.Pixels(rec.downskinrect.Left, rec.downskinrect.Top) & 0xFFFFFF);
    combo->CloseUp(false);
}

TEST_F(SkinComboBoxTest, SwitchingStyleAtRunTimeKeepsTextAndFocus) {
    TForm* form = ShowForm();
    TbsSkinComboBox* combo = ShownCombo(form, 6);
    combo->SetFocus();
    combo->SetItemIndex(2);
    Pump();
    ASSERT_TRUE(combo->Focused());

    combo->SetStyle(bscbEditStyle);
    Pump();
    TbsCustomEdit* edit = combo->Edit();
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->Text(), "item2");
    EXPECT_TRUE(edit->Focused()) << "the edit takes the focus the combo box had";
    EXPECT_TRUE(edit->TabStop());
    EXPECT_FALSE(combo->TabStop());
    EXPECT_EQ(edit->Left(), combo->FieldRect().Left);
    EXPECT_EQ(edit->Width(), combo->FieldRect().Width());
    combo->SetStyle(bscbEditStyle);
    EXPECT_EQ(combo->Edit(), edit) << "the same style again keeps the edit";

    // Back to fixed with the list open: the list closes, the edit goes,
    // the text and the focus stay with the combo box, and its keys work.
    combo->DropDown();
    ASSERT_TRUE(combo->DroppedDown());
    combo->SetStyle(bscbFixedStyle);
    Pump();
    EXPECT_EQ(combo->Edit(), nullptr);
    EXPECT_FALSE(combo->DroppedDown());
    EXPECT_FALSE(combo->ListBox()->IsPoppedUp());
    EXPECT_EQ(combo->Text(), "item2");
    EXPECT_TRUE(combo->Focused());
    EXPECT_TRUE(combo->TabStop());
    Key(VK_DOWN);
    EXPECT_EQ(combo->Text(), "item3");

    // And to edit style again from an unfocused combo: the edit does not grab the focus.
    auto* other = CreateComponent<TButton>(form);
    other->SetParent(form);
    other->SetBounds(250, 200, 80, 25);
    other->SetFocus();
    Pump();
    combo->SetStyle(bscbEditStyle);
    Pump();
    ASSERT_NE(combo->Edit(), nullptr);
    EXPECT_EQ(combo->Edit()->Text(), "item3");
    EXPECT_TRUE(other->Focused());
}


// A combo box record 40 x 20 (row image, button at its right end) and button
// records at distinct places of the pattern, so each drawn piece shows where
// it came from. Each entry of `buttons` is "name:kind" followed by its keys.
std::string ComboSkinWith(ScratchSkin& skin, const std::vector<std::pair<std::string, std::string>>& buttons) {
    std::string list = "0=combobox:combobox\n";
    std::string records =
        "[combobox]\npictureindex=0\nskinrect=0,0,40,20\nlefttoppoint=3,0\nrighttoppoint=20,0\n"
        "clientrect=3,2,20,18\nbuttonrect=21,1,39,19\nitemrect=0,20,30,36\nitemtextrect=2,0,28,16\n"
        "fontcolor=255\n";
    int n = 1;
    for (const auto& [nameKind, keys] : buttons) {
        list += std::to_string(n++) + "=" + nameKind + "\n";
        records += "[" + nameKind.substr(0, nameKind.find(':')) + "]\n" + keys + "\n";
    }
    return skin.Write(list, n, records);
}

// A nine-part button record cut at (x, 40): normal, active and down images
// of 16 x 16 side by side.
std::string NinePartButtonKeys(int x, const std::string& extra = "") {
    auto rect = [](int l, int t, int r, int b) {
        return std::to_string(l) + "," + std::to_string(t) + "," + std::to_string(r) + "," + std::to_string(b);
    };
    return "pictureindex=0\nskinrect=" + rect(x, 40, x + 16, 56) + "\nactiveskinrect=" + rect(x + 16, 40, x + 32, 56) +
           "\ndownskinrect=" + rect(x + 32, 40, x + 48, 56) +
           "\nlefttoppoint=3,3\nrighttoppoint=13,3\nleftbottompoint=3,13\nrightbottompoint=13,13\n"
           "clientrect=3,3,13,13\nfontcolor=16711680\nactivefontcolor=65280\ndownfontcolor=8421504\n" + extra;
}

class SkinComboButtonTest : public SkinComboBoxTest {
protected:
    // A combo box at a size of its own (150 x 30, the record is 40 x 20),
    // bound to the skin at `ini`.
    TbsSkinComboBox* FreeSizedCombo(const std::string& ini) {
        form_ = ShowForm();
        skin_ = LoadSkin(form_, ini);
        TbsSkinComboBox* combo = ShownCombo(form_, 3);
        combo->SetUseSkinSize(false);
        combo->SetSkinData(skin_);
        combo->SetBounds(20, 20, 150, 30);
        Pump();
        return combo;
    }
    const TbsDataSkinButtonControl& ButtonRecord(const char* name) {
        return *static_cast<const TbsDataSkinButtonControl*>(
            skin_->SkinControls()[std::size_t(skin_->FindControlIndex(name))].get());
    }
    const TBitmap& Picture() { return *SkinPictureAt(*skin_, 0); }
    // The record's image `src` composed at the button's size.
    void Composed(const TbsDataSkinButtonControl& rec, const TRect& src, const TRect& button, TBitmap& out) {
        const SkinCornerPoints points = CornerPointsOf(rec);
        ComposeSkinImage(points, src, Picture(), out, button.Width(), button.Height(),
                         SizedCornerPoints(points, {WidthOf(src), HeightOf(src)}, {button.Width(), button.Height()}),
                         StretchFlagsOf(rec), true);
    }
    // The part of a shot of the combo box that the button covers.
    void ButtonShot(const TbsSkinComboBox& combo, TBitmap& out) {
        TBitmap shot;
        Shot(combo, shot);
        const TRect b = combo.ButtonRect();
        out.SetSize(b.Width(), b.Height());
        out.Canvas().CopyRect({0, 0, b.Width(), b.Height()}, shot.Canvas(), b);
    }
    // Hot: the pointer over the button; pressed: the button held down.
    void Hover(const TbsSkinComboBox& combo) {
        const TRect b = combo.ButtonRect();
        const TPoint p = ScreenPoint(combo, b.Left + 3, b.Top + 3);
        screen().MouseMove(p.X, p.Y);
        Pump();
    }
    void Press(const TbsSkinComboBox& combo) {
        const TRect b = combo.ButtonRect();
        const TPoint p = ScreenPoint(combo, b.Left + 3, b.Top + 3);
        screen().MouseDown(p.X, p.Y);
        Pump();
    }
    void Release(const TbsSkinComboBox& combo) {
        const TRect b = combo.ButtonRect();
        const TPoint p = ScreenPoint(combo, b.Left + 3, b.Top + 3);
        screen().MouseUp(p.X, p.Y);
        Pump();
    }

    TForm* form_ = nullptr;
    TbsSkinData* skin_ = nullptr;
};

TEST_F(SkinComboButtonTest, AtItsOwnSizeTheButtonIsComposedFromTheButtonRecordWithItsMarker) {
    ScratchSkin scratch;
    // The normal marker's top-left pixel is its transparent colour.
    const std::string markers =
        "menumarkerrect=60,60,67,64\nmenumarkeractiverect=70,60,77,64\nmenumarkerdownrect=80,60,87,64\n"
        "menumarkertransparentcolor=" + std::to_string(scratch.Picture().Pixels(60, 60) & 0xFFFFFF) + "\n";
    TbsSkinComboBox* combo = FreeSizedCombo(ComboSkinWith(scratch, {{"combobutton:button", NinePartButtonKeys(0, markers)}}));
    // The requested size holds; the button keeps its place at the right end
    // and both bottoms move down with the height.
    EXPECT_EQ(combo->Width(), 150);
    EXPECT_EQ(combo->Height(), 30);
    EXPECT_EQ(combo->ButtonRect(), (TRect{131, 1, 149, 29}));
    EXPECT_EQ(combo->FieldRect(), (TRect{3, 2, 130, 28}));

    const auto& rec = ButtonRecord("combobutton");
    const TRect button = combo->ButtonRect();
    struct State {
        const char* what;
        TRect image;
        TRect marker;
        int sink;
    };
    auto expect = [&](const State& s) {
        SCOPED_TRACE(s.what);
        TBitmap want, shot;
        Composed(rec, s.image, button, want);
        ButtonShot(*combo, shot);
        ASSERT_EQ(shot.Width(), want.Width());
        const int mx = (button.Width() - WidthOf(s.marker)) / 2;
        const int my = (button.Height() - HeightOf(s.marker)) / 2 + s.sink;
        const TColor transparent = ColorToRGB(rec.menumarkertransparentcolor);
        for (int y = 0; y < shot.Height(); ++y)
            for (int x = 0; x < shot.Width(); ++x) {
                TColor expected = want.Pixels(x, y);
                if (PtInRect({mx, my, mx + WidthOf(s.marker), my + HeightOf(s.marker)}, {x, y})) {
                    const TColor glyph = Picture().Pixels(s.marker.Left + x - mx, s.marker.Top + y - my);
                    if ((glyph & 0xFFFFFF) != transparent) expected = glyph;
                }
                ASSERT_EQ(shot.Pixels(x, y) & 0xFFFFFF, expected & 0xFFFFFF) << x << "," << y;
            }
    };
    screen().MouseMove(700, 500);
    Pump();
    expect({"normal", rec.skinrect, rec.menumarkerrect, 0});
    Hover(*combo);
    expect({"hot", rec.activeskinrect, rec.menumarkeractiverect, 0});
    Press(*combo);
    ASSERT_TRUE(combo->DroppedDown());
    expect({"pressed: one pixel lower", rec.downskinrect, rec.menumarkerdownrect, 1});
    Release(*combo);
    combo->CloseUp(false);
}

TEST_F(SkinComboButtonTest, WithoutAMarkerTheArrowIsDrawnInTheRecordsFontColour) {
    ScratchSkin scratch;
    TbsSkinComboBox* combo = FreeSizedCombo(ComboSkinWith(scratch, {{"combobutton:button", NinePartButtonKeys(0)}}));
    const auto& rec = ButtonRecord("combobutton");
    const TRect button = combo->ButtonRect();
    auto expect = [&](const char* what, const TRect& image, TColor colour, int sink) {
        SCOPED_TRACE(what);
        TBitmap want, shot;
        Composed(rec, image, button, want);
        DrawDirectionArrow(want.Canvas(), {0, sink, button.Width(), button.Height() + sink}, SkinArrowKind::Down,
                           colour);
        ButtonShot(*combo, shot);
        EXPECT_TRUE(SamePixels(shot, want)) << FirstDifference(shot, want);
    };
    screen().MouseMove(700, 500);
    Pump();
    expect("normal", rec.skinrect, rec.fontcolor, 0);
    Hover(*combo);
    expect("hot", rec.activeskinrect, rec.activefontcolor, 0);
    Press(*combo);
    expect("pressed: two pixels lower", rec.downskinrect, rec.downfontcolor, 2);
    Release(*combo);
    combo->CloseUp(false);
}

TEST_F(SkinComboButtonTest, TheButtonRecordIsTheComboButtonElseTheEditButtonElseTheResizeButton) {
    struct Case {
        const char* what;
        std::vector<std::pair<std::string, std::string>> records;
        const char* drawn;  // null: the default box
    };
    const Case cases[] = {
        {"all three", {{"resizebutton:button", NinePartButtonKeys(0)}, {"editbutton:button", NinePartButtonKeys(48)},
                       {"combobutton:button", NinePartButtonKeys(60)}}, "combobutton"},
        {"no combo button", {{"resizebutton:button", NinePartButtonKeys(0)}, {"editbutton:button", NinePartButtonKeys(48)}},
         "editbutton"},
        {"only the resize button", {{"resizebutton:button", NinePartButtonKeys(48)}}, "resizebutton"},
        {"a combo button of another kind is passed over",
         {{"combobutton:panel", "pictureindex=0\nskinrect=60,40,76,56\n"}, {"resizebutton:button", NinePartButtonKeys(0)}},
         "resizebutton"},
        {"none", {}, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ScratchSkin scratch;
        TbsSkinComboBox* combo = FreeSizedCombo(ComboSkinWith(scratch, c.records));
        screen().MouseMove(700, 500);
        Pump();
        TBitmap shot;
        ButtonShot(*combo, shot);
        if (c.drawn) {
            TBitmap want;
            Composed(ButtonRecord(c.drawn), ButtonRecord(c.drawn).skinrect, combo->ButtonRect(), want);
            EXPECT_EQ(shot.Pixels(0, 0) & 0xFFFFFF, want.Pixels(0, 0) & 0xFFFFFF);
            EXPECT_EQ(shot.Pixels(2, 20) & 0xFFFFFF, want.Pixels(2, 20) & 0xFFFFFF);
        } else {
            EXPECT_EQ(shot.Pixels(0, 0) & 0xFFFFFF, ColorToRGB(clBtnShadow));
            EXPECT_EQ(shot.Pixels(2, 2) & 0xFFFFFF, ColorToRGB(clBtnFace));
        }
        form_->Release();
        Pump();
    }
}

}  // namespace

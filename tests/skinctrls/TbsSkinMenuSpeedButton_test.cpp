// The menu speed button on a skinned form: its drop-down part opens the
// skinned menu under the button, the button stays pressed while the menu is
// open and comes up when it closes (command, Escape, a press elsewhere or on
// the button itself); the marker of its state is drawn in the drop-down part.

#include "SkinCtrlsTestSupport.h"
#include "SkinGeometry.h"
#include "TbsSkinForm.h"
#include "TbsSkinMenu.h"
#include "TbsSkinMenuItem.h"
#include "TbsSkinMenuSpeedButton.h"
#include "TbsSkinPopupMenu.h"
#include "TbsSkinPopupWindow.h"

using namespace ctrltest;

namespace {

class MenuSpeedButtonTest : public SkinCtrlsTest {
protected:
    // A skinned form with a 37 x 25 menu button whose menu has two items.
    void Open(bool withSkin = true) {
        form = ShowForm();
        frame = CreateComponent<TbsSkinForm>(form);
        if (withSkin) {
            skin = LoadSkin(form, DeliveredSkinIni());
            skin->SetEnableSkinEffects(false);  // no morph: looks change at once
            frame->SetSkinData(skin);
        }
        menu = CreateComponent<TbsSkinPopupMenu>(form);
        for (const char* caption : {"One", "Two"}) {
            auto* item = CreateComponent<TMenuItem>(menu);
            item->SetCaption(caption);
            item->OnClick = [this, caption](TObject*) { chosen += caption; };
            menu->Items()->Add(item);
        }
        button = CreateComponent<TbsSkinMenuSpeedButton>(form);
        button->SetParent(form);
        button->SetSkinData(skin);
        button->SetBounds(40, 30, 37, 25);
        button->SetSkinPopupMenu(menu);
        button->OnMenuClose = [this](TObject*) { ++closes; };
        Pump();
    }
    TbsSkinMenu& engine() { return frame->SkinMenu(); }
    void ClickAt(TPoint p) {
        screen().MouseMove(p.X, p.Y);
        Pump();
        screen().MouseDown(p.X, p.Y);
        Pump();
        screen().MouseUp(p.X, p.Y);
        Pump();
    }
    TPoint Track() { return ScreenPoint(*button, button->Width() - 4, button->Height() / 2); }
    TPoint Main() { return ScreenPoint(*button, 6, button->Height() / 2); }
    TPoint ItemCentre(int index) {
        TbsSkinPopupWindow& p = *engine().PopupAt(0);
        const TRect& r = p.Items()[std::size_t(index)]->ItemRect;
        return {p.Left() + (r.Left + r.Right) / 2, p.Top() + (r.Top + r.Bottom) / 2};
    }

    TForm* form = nullptr;
    TbsSkinForm* frame = nullptr;
    TbsSkinData* skin = nullptr;
    TbsSkinPopupMenu* menu = nullptr;
    TbsSkinMenuSpeedButton* button = nullptr;
    std::string chosen;
    int closes = 0;
};

TEST_F(MenuSpeedButtonTest, TheDropDownPartOpensTheMenuUnderTheButtonWhichStaysPressedUntilItCloses) {
    Open();
    int clicks = 0;
    button->OnClick = [&](TObject*) { ++clicks; };
    // The main part is an ordinary button.
    ClickAt(Main());
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(engine().PopupCount(), 0);

    ClickAt(Track());
    ASSERT_EQ(engine().PopupCount(), 1);
    TbsSkinPopupWindow& popup = *engine().PopupAt(0);
    EXPECT_TRUE(popup.SkinnedLook());
    const TPoint bottomLeft = ScreenPoint(*button, 0, button->Height());
    EXPECT_EQ(popup.Left(), bottomLeft.X);
    EXPECT_EQ(popup.Top(), bottomLeft.Y);
    EXPECT_TRUE(button->MenuOpen());
    EXPECT_TRUE(button->Down());
    EXPECT_EQ(clicks, 1);  // opening the menu is no click
    // Pressed while the pointer is on the menu, not on the button.
    TBitmap pressed;
    Shot(*button, pressed);
    const TPoint one = ItemCentre(0);
    screen().MouseMove(one.X, one.Y);
    Pump();
    TBitmap onMenu;
    Shot(*button, onMenu);
    EXPECT_TRUE(SamePixels(pressed, onMenu)) << FirstDifference(pressed, onMenu);
    ClickAt(one);
    EXPECT_EQ(chosen, "One");
    EXPECT_EQ(engine().PopupCount(), 0);
    EXPECT_FALSE(button->MenuOpen());
    EXPECT_FALSE(button->Down());
    EXPECT_EQ(closes, 1);
    EXPECT_EQ(clicks, 1);
    screen().MouseMove(300, 300);
    TBitmap idleLook;
    Shot(*button, idleLook);
    EXPECT_FALSE(SamePixels(pressed, idleLook));
}

TEST_F(MenuSpeedButtonTest, EveryWayOfClosingTheMenuReleasesTheButton) {
    Open();
    const struct {
        const char* what;
        std::function<void()> close;
    } cases[] = {
        {"Escape", [&] { Key(VK_ESCAPE); }},
        {"a press elsewhere", [&] { ClickAt(ScreenPoint(*form, 300, 200)); }},
        // The press that closes the menu does not open it again.
        {"a press on the button", [&] { ClickAt(Track()); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        closes = 0;
        ClickAt(Track());
        ASSERT_EQ(engine().PopupCount(), 1);
        c.close();
        EXPECT_EQ(engine().PopupCount(), 0);
        EXPECT_FALSE(button->Down());
        EXPECT_FALSE(button->MenuOpen());
        EXPECT_EQ(closes, 1);
    }
    // Without a click of its own, the whole button opens the menu.
    ClickAt(Main());
    EXPECT_EQ(engine().PopupCount(), 1);
    Key(VK_ESCAPE);
    EXPECT_TRUE(chosen.empty());
}

TEST_F(MenuSpeedButtonTest, TheDropDownPartShowsTheMarkerOfTheState) {
    Open();
    const auto& r = *static_cast<const TbsDataSkinButtonControl*>(
        skin->SkinControls()[std::size_t(skin->FindControlIndex("toolmenubutton"))].get());
    const TBitmap& picture = *skin->ActiveBitmaps()[std::size_t(r.pictureindex)];
    // The marker lies centred in a part of marker width + 8 at the right.
    const int partLeft = button->Width() - (WidthOf(r.menumarkerrect) + 8);
    EXPECT_EQ(button->TrackButtonRect().Left, partLeft);
    auto markerShown = [&](const TRect& marker) {
        TBitmap shot;
        Shot(*button, shot);
        const int x0 = partLeft + (WidthOf(r.menumarkerrect) + 8 - WidthOf(marker)) / 2;
        const int y0 = (button->Height() - HeightOf(marker)) / 2;
        int opaque = 0;
        for (int y = 0; y < HeightOf(marker); ++y)
            for (int x = 0; x < WidthOf(marker); ++x) {
                const TColor want = picture.Pixels(marker.Left + x, marker.Top + y);
                if (want == r.menumarkertransparentcolor) continue;
                ++opaque;
                if (shot.Pixels(x0 + x, y0 + y) != want) return false;
            }
        return opaque > 0;
    };
    EXPECT_TRUE(markerShown(r.menumarkerrect));
    const TPoint track = Track();
    screen().MouseMove(track.X, track.Y);
    Pump();
    EXPECT_TRUE(markerShown(r.menumarkeractiverect));
}

TEST_F(MenuSpeedButtonTest, WithoutSkinTheButtonDrawsItsOwnDropDownPartAndTheMenuStillOpens) {
    Open(false);
    const TRect part = button->TrackButtonRect();
    EXPECT_EQ(WidthOf(part), 14);
    // The line that sets the part off, and the arrow's dark pixels in it.
    EXPECT_EQ(PixelOf(*button, part.Left, button->Height() / 2), ColorToRGB(clBtnShadow));
    TBitmap shot;
    Shot(*button, shot);
    int arrow = 0;
    for (int y = 0; y < shot.Height(); ++y)
        for (int x = part.Left + 1; x < part.Right; ++x) arrow += shot.Pixels(x, y) == ColorToRGB(clBtnText);
    EXPECT_GT(arrow, 4);
    ClickAt(Track());
    ASSERT_EQ(engine().PopupCount(), 1);
    EXPECT_FALSE(engine().PopupAt(0)->SkinnedLook());
    ClickAt(ItemCentre(1));
    EXPECT_EQ(chosen, "Two");
    EXPECT_FALSE(button->Down());
}

}  // namespace

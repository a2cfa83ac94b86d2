// The skinned popup menus on the headless screen: where popups go, the
// scrolling of long menus, the keyboard, the submenu delay, executing and
// closing, and what the windows show.

#include "SkinFormTestSupport.h"

#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "ScratchFolder.h"
#include "SkinMenuPlacement.h"
#include "SkinMessages.h"
#include "TbsSkinMenu.h"
#include "TbsSkinMenuItem.h"
#include "TbsSkinPopupMenu.h"
#include "TbsSkinPopupWindow.h"

using namespace frametest;

namespace {

TEST(SkinMenuPlacement, KeepsPopupsInsideTheWorkArea) {
    const TRect work{0, 0, 1024, 740};
    const struct {
        const char* what;
        TRect anchor;
        int w, h, t;
        bool submenu, upward, scrollable, limited;
        TPoint expected;
    } cases[] = {
        {"point, room below", {100, 100, 100, 100}, 80, 100, 0, false, false, false, false, {100, 100}},
        {"point in the bottom-right corner", {1000, 700, 1000, 700}, 80, 100, 0, false, false, false, false, {944, 600}},
        {"tall menu from above the middle overlaps, beside", {1000, 300, 1000, 300}, 80, 500, 0, false, false, false, false, {919, 240}},
        {"tall menu from below the middle opens above", {100, 600, 100, 600}, 80, 500, 0, false, false, false, false, {100, 100}},
        {"below the middle, no room above either", {100, 500, 100, 500}, 80, 700, 0, false, false, false, false, {101, 0}},
        {"left of the work area", {-30, 100, -30, 100}, 80, 100, 0, false, false, false, false, {0, 100}},
        {"upward, room above", {50, 400, 150, 420}, 80, 100, 0, false, true, false, false, {50, 300}},
        {"upward near the top falls below", {50, 50, 150, 70}, 80, 100, 0, false, true, false, false, {50, 70}},
        {"upward below the middle, no room", {50, 600, 150, 620}, 80, 700, 0, false, true, false, false, {151, 0}},
        {"submenu beside its item", {200, 100, 300, 120}, 80, 100, 3, true, false, false, false, {301, 97}},
        {"submenu at the right edge goes left", {950, 100, 1010, 120}, 80, 100, 3, true, false, false, false, {869, 97}},
        {"submenu too tall, item above the middle", {200, 300, 300, 320}, 80, 500, 3, true, false, false, false, {301, 240}},
        {"submenu too tall, item below the middle", {200, 600, 300, 620}, 80, 200, 3, true, false, false, false, {301, 423}},
        {"cut to the work area: top, beside", {100, 100, 100, 100}, 80, 740, 0, false, false, true, false, {101, 0}},
        {"limited by item count: placed normally", {100, 100, 100, 100}, 80, 540, 0, false, false, true, true, {100, 100}},
    };
    for (const auto& c : cases) {
        SkinMenuPlacementInput in;
        in.anchor = c.anchor;
        in.workArea = work;
        in.width = c.w;
        in.height = c.h;
        in.parentItemsTop = c.t;
        in.submenu = c.submenu;
        in.upward = c.upward;
        in.scrollable = c.scrollable;
        in.scrollLimited = c.limited;
        const TPoint p = PlaceSkinMenu(in);
        EXPECT_EQ(p.X, c.expected.X) << c.what;
        EXPECT_EQ(p.Y, c.expected.Y) << c.what;
    }
}

// Records the skinned menu messages a control hears.
class MenuListener : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
    std::vector<UINT> heard;

protected:
    void WndProc(TMessage& m) override {
        if (m.Msg == SKINMSG_MENUCLOSED || m.Msg == SKINMSG_MENUCOMMANDDONE) heard.push_back(m.Msg);
        TCustomControl::WndProc(m);
    }
};

class SkinMenus : public FrameTest {
protected:
    // A form with a frame (skinned or built-in) and a menu owned by it.
    void Open(const std::string& skinIni = "") {
        MakeForm(400, 300, skinIni);
        ShowAndPump();
        screen().SetAppActive(true);
        PumpMessages();
        menu = CreateComponent<TbsSkinPopupMenu>(form);
    }
    TMenuItem* Add(TMenuItem* parent, const char* caption, bool enabled = true) {
        TMenuItem* item = CreateComponent<TMenuItem>(menu);
        item->SetCaption(caption);
        item->Enabled = enabled;
        item->OnClick = [this, caption](TObject*) {
            clicked.push_back(caption);
            popupsAtClick = engine().PopupCount();
            visibleAtClick = false;
            for (HWND h : shown) visibleAtClick = visibleAtClick || IsWindowVisible(h);
        };
        parent->Add(item);
        return item;
    }
    // Alpha, -, Beta (disabled), Gamma > (Sub One, Sub Two), Delta.
    void BuildStandardMenu() {
        Add(menu->Items(), "&Alpha");
        Add(menu->Items(), "-");
        Add(menu->Items(), "&Beta", false);
        gamma = Add(menu->Items(), "&Gamma");
        Add(gamma, "Sub &One");
        Add(gamma, "Sub &Two");
        Add(menu->Items(), "&Delta");
    }
    TbsSkinMenu& engine() { return frame->SkinMenu(); }
    TbsSkinPopupWindow& popup(int i) {
        TbsSkinPopupWindow* p = engine().PopupAt(i);
        EXPECT_NE(p, nullptr);
        return *p;
    }
    void Show(int x = 150, int y = 150) {
        menu->Popup(x, y);
        PumpMessages();
        for (int i = 0; i < engine().PopupCount(); ++i) shown.push_back(popup(i).Handle());
    }
    void Key(WORD vk) {
        screen().KeyPress(vk);
        Application->ProcessMessages();
        PumpMessages();
        for (int i = 0; i < engine().PopupCount(); ++i) shown.push_back(popup(i).Handle());
    }
    TPoint ItemCentre(int level, int index) {
        TbsSkinPopupWindow& p = popup(level);
        const TRect& r = p.Items()[std::size_t(index)]->ItemRect;
        return {p.Left() + (r.Left + r.Right) / 2, p.Top() + (r.Top + r.Bottom) / 2};
    }
    void MoveTo(TPoint p) {
        screen().MouseMove(p.X, p.Y);
        PumpMessages();
    }

    TbsSkinPopupMenu* menu = nullptr;
    TMenuItem* gamma = nullptr;
    std::vector<std::string> clicked;
    std::vector<HWND> shown;
    int popupsAtClick = -1;
    bool visibleAtClick = false;
};

TEST_F(SkinMenus, ThirtyItemsWithALimitOfTwentyFiveScrollFromTheBottomBand) {
    Open();
    for (int i = 0; i < 30; ++i) Add(menu->Items(), ("Item " + std::to_string(i)).c_str());
    // Set through the form, which passes its menu settings to the engine;
    // a negative count and a height of 0 are ignored.
    frame->SetMaxMenuItemsInWindow(25);
    frame->SetMaxMenuItemsInWindow(-1);
    frame->SetDefMenuItemHeight(0);
    EXPECT_EQ(frame->SkinMenu().MaxMenuItemsInWindow, 25);
    Show(100, 60);
    TbsSkinPopupWindow& p = popup(0);
    EXPECT_TRUE(p.Scrollable() && p.ScrollLimited());
    EXPECT_EQ(p.Height(), 25 * 20 + 4 + 20);  // 25 rows, the built-in frame, two 10-pixel bands
    EXPECT_EQ(p.VisibleCount(), 25);
    EXPECT_EQ(p.Top(), 60);  // a limited menu is placed like any other
    EXPECT_EQ(p.Items()[0]->ItemRect.Top, p.ItemsArea().Top + 10);

    MoveTo({p.Left() + 20, p.Top() + p.ItemsArea().Bottom - 5});
    EXPECT_EQ(p.ScrollDir(), 2);
    screen().Advance(99);
    EXPECT_EQ(p.VisibleStart(), 0);
    screen().Advance(1);
    EXPECT_EQ(p.VisibleStart(), 1);
    screen().Advance(400);
    EXPECT_EQ(p.VisibleStart(), 5);
    EXPECT_TRUE(p.Items()[29]->ItemVisible);
    screen().Advance(300);  // at the end: scrolling stops there
    EXPECT_EQ(p.VisibleStart(), 5);
    EXPECT_EQ(p.ScrollDir(), 0);
    // The top band scrolls back.
    MoveTo({p.Left() + 20, p.Top() + p.ItemsArea().Top + 3});
    screen().Advance(200);
    EXPECT_EQ(p.VisibleStart(), 3);
}

TEST_F(SkinMenus, AMenuTallerThanTheWorkAreaIsCutToItAndOpensAtItsTop) {
    screen().SetWorkArea({0, 0, 1024, 400});
    Open();
    for (int i = 0; i < 40; ++i) Add(menu->Items(), ("Item " + std::to_string(i)).c_str());
    Show(300, 200);
    TbsSkinPopupWindow& p = popup(0);
    EXPECT_TRUE(p.Scrollable());
    EXPECT_FALSE(p.ScrollLimited());
    EXPECT_EQ(p.Height(), 400);
    EXPECT_EQ(p.Top(), 0);
    EXPECT_EQ(p.Left(), 301);
    EXPECT_EQ(p.VisibleCount(), (400 - 4 - 20) / 20);
    // Up from the first item wraps to the last, scrolling it into view.
    Key(VK_UP);
    EXPECT_EQ(p.ActiveItem(), 39);
    EXPECT_TRUE(p.Items()[39]->ItemVisible);
    Key(VK_DOWN);
    EXPECT_EQ(p.ActiveItem(), 0);
    EXPECT_EQ(p.VisibleStart(), 0);
}

TEST_F(SkinMenus, KeyboardMovesPastSeparatorsAndDisabledItemsAndWalksTheChain) {
    Open();
    BuildStandardMenu();
    Show();
    ASSERT_EQ(engine().PopupCount(), 1);
    EXPECT_EQ(popup(0).ActiveItem(), 0);  // the first selectable item, chosen by the opening
    const struct {
        WORD key;
        int popups;
        int active;  // in the topmost popup
    } steps[] = {
        {VK_DOWN, 1, 3},   // past "-" and the disabled Beta
        {VK_DOWN, 1, 4},   //
        {VK_DOWN, 1, 0},   // cycles to the start
        {VK_UP, 1, 4},     //
        {VK_UP, 1, 3},     // Gamma: selected by keyboard, its submenu stays shut
        {VK_LEFT, 1, 3},   // never closes the first popup
        {VK_RIGHT, 2, 0},  // opens Gamma's submenu, its first item selected
        {VK_DOWN, 2, 1},   //
        {VK_LEFT, 1, 3},   // back to the first popup, selection kept
        {VK_RIGHT, 2, 0},  //
        {VK_ESCAPE, 1, 3}, // only the topmost closes
    };
    for (const auto& s : steps) {
        Key(s.key);
        ASSERT_EQ(engine().PopupCount(), s.popups) << "key " << s.key;
        EXPECT_EQ(engine().TopPopup()->ActiveItem(), s.active) << "key " << s.key;
    }
    EXPECT_FALSE(popup(0).Items()[3]->SubmenuOpen);
    Key(VK_ESCAPE);
    EXPECT_EQ(engine().PopupCount(), 0);
    EXPECT_FALSE(engine().MenuVisible());
    // Opening a submenu runs its item's own OnClick; no leaf ran.
    EXPECT_EQ(clicked, std::vector<std::string>(2, "&Gamma"));
}

TEST_F(SkinMenus, AcceleratorsAndEnterExecuteAfterEveryPopupClosed) {
    Open();
    BuildStandardMenu();
    const struct {
        std::vector<WORD> keys;
        const char* expected;  // the item whose OnClick ran
    } cases[] = {
        {{'D'}, "&Delta"},
        {{VK_DOWN, VK_RETURN}, "&Gamma"},  // Enter on a submenu item opens it (its own OnClick runs)
        {{'G', 'T'}, "Sub &Two"},
        {{'B'}, nullptr},                  // disabled: nothing
    };
    for (const auto& c : cases) {
        clicked.clear();
        popupsAtClick = -1;
        visibleAtClick = false;
        Show();
        for (WORD k : c.keys) Key(k);
        if (!c.expected) {
            EXPECT_TRUE(clicked.empty());
            EXPECT_EQ(engine().PopupCount(), 1);
            Key(VK_ESCAPE);
            continue;
        }
        ASSERT_FALSE(clicked.empty());
        EXPECT_EQ(clicked.back(), c.expected);
        if (std::string(c.expected) == "&Gamma") {
            EXPECT_EQ(engine().PopupCount(), 2);
            Key(VK_ESCAPE);
            Key(VK_ESCAPE);
            continue;
        }
        EXPECT_EQ(popupsAtClick, 0) << c.expected;
        EXPECT_FALSE(visibleAtClick) << c.expected;
        EXPECT_FALSE(engine().MenuVisible());
    }
}

TEST_F(SkinMenus, HoveredSubmenuOpensAfterHalfASecondAndAClickOpensItAtOnce) {
    Open();
    BuildStandardMenu();
    Show();
    MoveTo(ItemCentre(0, 3));
    screen().Advance(TbsSkinMenu::kSubmenuDelayMs - 1);
    EXPECT_EQ(engine().PopupCount(), 1);
    screen().Advance(1);
    ASSERT_EQ(engine().PopupCount(), 2);
    EXPECT_TRUE(popup(0).Items()[3]->SubmenuOpen);
    // The submenu sits beside its item, its first item level with it.
    EXPECT_EQ(popup(1).Left(), popup(0).Left() + popup(0).Items()[3]->ItemRect.Right + 1);
    EXPECT_EQ(popup(1).Top() + popup(1).ItemsArea().Top, popup(0).Top() + popup(0).Items()[3]->ItemRect.Top);
    // Moving to a leaf item closes it; a click on the submenu item reopens it at once.
    MoveTo(ItemCentre(0, 4));
    EXPECT_EQ(engine().PopupCount(), 1);
    const TPoint g = ItemCentre(0, 3);
    screen().Click(g.X, g.Y);
    Application->ProcessMessages();
    PumpMessages();
    EXPECT_EQ(engine().PopupCount(), 2);
    // A click on a leaf of the submenu runs it with the screen clear.
    const TPoint two = ItemCentre(1, 1);
    shown.push_back(popup(1).Handle());
    screen().Click(two.X, two.Y);
    Application->ProcessMessages();
    PumpMessages();
    ASSERT_EQ(clicked.size(), 3u);  // Gamma's own OnClick at each opening, then the leaf's
    EXPECT_EQ(clicked.back(), "Sub &Two");
    EXPECT_EQ(popupsAtClick, 0);
    EXPECT_FALSE(visibleAtClick);
}

TEST_F(SkinMenus, APressElsewhereOrLosingTheInputClosesTheChainAndTellsTheControls) {
    Open();
    BuildStandardMenu();
    auto* listener = CreateComponent<MenuListener>(form);
    listener->SetParent(form);
    listener->SetBounds(10, 10, 50, 50);
    const struct {
        const char* what;
        std::function<void()> act;
    } cases[] = {
        {"press on the form", [&] { screen().MouseDown(form->Left() + 200, form->Top() + 200); }},
        {"the application loses the input", [&] { screen().SetAppActive(false); }},
    };
    for (const auto& c : cases) {
        screen().SetAppActive(true);
        PumpMessages();
        listener->heard.clear();
        menu->PopupForControl(listener, {150, 150, 150, 150}, false);
        PumpMessages();
        ASSERT_EQ(engine().PopupCount(), 1) << c.what;
        Key(VK_RIGHT);  // (nothing to open on Alpha)
        c.act();
        Application->ProcessMessages();
        PumpMessages();
        screen().MouseUp(900, 700);
        PumpMessages();
        EXPECT_EQ(engine().PopupCount(), 0) << c.what;
        EXPECT_EQ(listener->heard, std::vector<UINT>{SKINMSG_MENUCLOSED}) << c.what;
    }
    // After a command the control hears both, the command first done after OnClick.
    screen().SetAppActive(true);
    PumpMessages();
    listener->heard.clear();
    bool closedSeen = false;
    menu->OnMenuClose = [&](TObject*) { closedSeen = true; };
    menu->PopupForControl(listener, {150, 150, 150, 150}, false);
    PumpMessages();
    Key('A');
    EXPECT_EQ(listener->heard, (std::vector<UINT>{SKINMSG_MENUCLOSED, SKINMSG_MENUCOMMANDDONE}));
    EXPECT_TRUE(closedSeen);
}

TEST_F(SkinMenus, BuiltInLookShowsHighlightSeparatorAndGlyphColumn) {
    Open();
    BuildStandardMenu();
    Show(150, 150);
    TbsSkinPopupWindow& p = popup(0);
    TBitmap shot;
    screen().ReadScreenRect(p.BoundsRect(), shot);
    const TRect a = p.Items()[0]->ItemRect;  // highlighted by the opening
    EXPECT_EQ(shot.Pixels(a.Left, a.Top), clNavy);
    EXPECT_EQ(shot.Pixels(a.Left + 5, a.Top + 5), TColor(0xD2BDB6));
    const TRect d = p.Items()[4]->ItemRect;   // plain item: glyph column, then window colour
    EXPECT_EQ(shot.Pixels(d.Left + 5, d.Top + 2), ColorToRGB(clBtnFace));
    EXPECT_EQ(shot.Pixels(d.Left + 40, d.Top + 2), ColorToRGB(clWindow));
    const TRect s = p.Items()[1]->ItemRect;   // separator line at half height
    EXPECT_EQ(s.Height(), 4);
    EXPECT_EQ(shot.Pixels(s.Left + 40, s.Top + 2), ColorToRGB(clBtnShadow));
    EXPECT_EQ(shot.Pixels(0, 0), ColorToRGB(clBtnShadow));  // the outer frame
    // Moving the highlight repaints the two items only and the screen follows.
    Key(VK_DOWN);
    screen().ReadScreenRect(p.BoundsRect(), shot);
    EXPECT_EQ(shot.Pixels(a.Right - 10, a.Top + 5), ColorToRGB(clWindow));
    const TRect g = p.Items()[3]->ItemRect;
    EXPECT_EQ(shot.Pixels(g.Left, g.Top), clNavy);
}

TEST_F(SkinMenus, SkinnedPopupIsShapedByTheMaskAndDrawnFromThePopupPicture) {
    Open(ProgramSkinDir() + "skin.ini");
    BuildStandardMenu();
    screen().SetDesktopColor(TColor(0x00FF00));
    Show(600, 400);  // clear of the form, over the bare desktop
    TbsSkinPopupWindow& p = popup(0);
    EXPECT_TRUE(p.SkinnedLook());
    TBitmap shot, expected;
    screen().ReadScreenRect(p.BoundsRect(), shot);
    p.RenderTo(expected);
    // The mask cuts the corner: the desktop shows through there.
    EXPECT_EQ(shot.Pixels(0, 0), TColor(0x00FF00));
    // Inside the shape the window is its picture with the items over it.
    int differing = 0;
    for (int y = 5; y < p.Height() - 5; ++y)
        for (int x = 5; x < p.Width() - 5; ++x) differing += shot.Pixels(x, y) != expected.Pixels(x, y);
    EXPECT_EQ(differing, 0);
    // Items take the record's heights: 22 for an item, 7 for the divider.
    EXPECT_EQ(p.Items()[0]->ItemRect.Height(), 22);
    EXPECT_EQ(p.Items()[1]->ItemRect.Height(), 7);
}

// A system-menu item's built-in glyph stands in the skin's image cell
// (imagerect 4,3,20,19 in the program's skin), clear of the caption.
TEST_F(SkinMenus, AStandardItemsGlyphStandsInTheSkinsImageCell) {
    Open(ProgramSkinDir() + "skin.ini");
    // The first item is the selected one; the two after it differ in the name alone.
    for (int i = 0; i < 2; ++i) Add(menu->Items(), "");
    Add(menu->Items(), "")->SetName("BSF_MINITEM");
    Show(600, 400);
    TbsSkinPopupWindow& p = popup(0);
    TBitmap shot;
    p.RenderTo(shot);
    const TRect plain = p.Items()[1]->ItemRect, named = p.Items()[2]->ItemRect;
    const TRect cell = OffsetRect(TRect{4, 3, 20, 19}, named.Left, named.Top);
    int inside = 0, outside = 0;
    for (int y = 0; y < named.Height(); ++y)
        for (int x = 0; x < named.Width(); ++x) {
            const bool differs = shot.Pixels(named.Left + x, named.Top + y) != shot.Pixels(plain.Left + x, plain.Top + y);
            if (!differs) continue;
            PtInRect(cell, {named.Left + x, named.Top + y}) ? ++inside : ++outside;
        }
    EXPECT_GT(inside, 0);
    EXPECT_EQ(outside, 0);
}

// With the menu-item record's useimagecolor, the built-in glyphs of the
// window commands take imagecolor, and activeimagecolor while highlighted.
TEST_F(SkinMenus, GlyphsTakeTheRecordsImageColoursWhenItAsksForThem) {
    const ScratchFolder dir;
    std::filesystem::copy(ProgramSkinDir(), dir.Path(), std::filesystem::copy_options::recursive);
    std::ifstream in(dir / "skin.ini", std::ios::binary);
    std::string ini((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::string off = "useimagecolor=0";
    ASSERT_NE(ini.find(off), std::string::npos);
    ini.replace(ini.find(off), off.size(), "useimagecolor=1\r\nimagecolor=255\r\nactiveimagecolor=65280");
    std::ofstream(dir / "skin.ini", std::ios::binary) << ini;

    // The colours in the image cell (imagerect 4,3,20,19) of the selected
    // first item and of the plain second one; both are close items.
    const auto cellColours = [this](const std::string& skinIni) {
        Open(skinIni);
        Add(menu->Items(), "One")->SetName("BSF_CLOSE");
        Add(menu->Items(), "Two")->SetName("TRAY_BSF_CLOSE");
        Show(600, 400);
        TbsSkinPopupWindow& p = popup(0);
        TBitmap shot;
        p.RenderTo(shot);
        std::vector<std::set<TColor>> seen(2);
        for (int i = 0; i < 2; ++i) {
            const TRect cell = OffsetRect(TRect{4, 3, 20, 19}, p.Items()[std::size_t(i)]->ItemRect.Left,
                                          p.Items()[std::size_t(i)]->ItemRect.Top);
            for (int y = cell.Top; y < cell.Bottom; ++y)
                for (int x = cell.Left; x < cell.Right; ++x) seen[std::size_t(i)].insert(shot.Pixels(x, y));
        }
        engine().CloseMenu();
        FreeComponent(form);
        return seen;
    };
    const TColor red = 0x0000FF, green = 0x00FF00;
    const auto coloured = cellColours((dir / "skin.ini").string());
    EXPECT_TRUE(coloured[0].count(green)) << "highlighted: activeimagecolor";
    EXPECT_FALSE(coloured[0].count(red));
    EXPECT_TRUE(coloured[1].count(red)) << "plain: imagecolor";
    EXPECT_FALSE(coloured[1].count(green));
    // The delivered skin leaves the glyphs in the text colours.
    const auto plain = cellColours(ProgramSkinDir() + "skin.ini");
    for (const auto& colours : plain) {
        EXPECT_FALSE(colours.count(red));
        EXPECT_FALSE(colours.count(green));
    }
}

// Wrapping past either end of a menu taller than its window jumps the
// window to that end: to the start, or to the largest start that fills it.
TEST_F(SkinMenus, KeyboardWrapJumpsTheWindowToTheOtherEnd) {
    Open();
    for (int i = 0; i < 8; ++i) Add(menu->Items(), ("Item " + std::to_string(i)).c_str(), i != 7);
    frame->SetMaxMenuItemsInWindow(4);
    Show(100, 60);
    TbsSkinPopupWindow& p = popup(0);
    ASSERT_TRUE(p.ScrollLimited());
    ASSERT_EQ(p.VisibleCount(), 4);
    const struct {
        WORD key;
        int active, start;
    } steps[] = {
        {VK_UP, 6, 4},    // wraps past the disabled last item: items 4-7 show
        {VK_UP, 5, 4},    //
        {VK_UP, 4, 4},    //
        {VK_UP, 3, 3},    // leaves the window upwards: one step
        {VK_DOWN, 4, 3},  //
        {VK_DOWN, 5, 3},  //
        {VK_DOWN, 6, 3},  //
        {VK_DOWN, 0, 0},  // wraps to the start
        {VK_DOWN, 1, 0},  //
    };
    for (const auto& s : steps) {
        Key(s.key);
        EXPECT_EQ(p.ActiveItem(), s.active) << "key " << s.key;
        EXPECT_EQ(p.VisibleStart(), s.start) << "key " << s.key << " to " << s.active;
    }
    // Down from 3 to 4 steps the window by one.
    for (int i = 0; i < 3; ++i) Key(VK_DOWN);
    EXPECT_EQ(p.ActiveItem(), 4);
    EXPECT_EQ(p.VisibleStart(), 1);
}

TEST_F(SkinMenus, AHeaderTakesTheSkinsMenuHeaderRecordAndLabelFontOrTheBuiltInLook) {
    // The program's skin with a "menuheader" record (the panel's picture)
    // and a "label" record whose text is pure red.
    const ScratchFolder dir;
    std::filesystem::copy(ProgramSkinDir(), dir.Path(), std::filesystem::copy_options::recursive);
    std::ifstream in(dir / "skin.ini", std::ios::binary);
    std::string ini((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ini.replace(ini.find("count=17"), 8, "count=19\r\n17=menuheader:panel\r\n18=label:label");
    ini += "\r\n[menuheader]\r\npictureindex=8\r\nskinrect=64,2,104,42\r\nlefttoppoint=4,4\r\n"
           "righttoppoint=36,4\r\nleftbottompoint=4,36\r\nrightbottompoint=36,36\r\nclientrect=1,1,39,39\r\n"
           "leftstretch=1\r\ntopstretch=1\r\nrightstretch=1\r\nbottomstretch=1\r\nstretcheffect=1\r\n"
           "\r\n[label]\r\nfontname=Arial\r\nfontheight=14\r\nfontcolor=255\r\n";
    std::ofstream(dir / "skin.ini", std::ios::binary) << ini;

    const auto headerPixels = [this](const std::string& skinIni) {
        Open(skinIni);
        Add(menu->Items(), "-Words-", false);
        Add(menu->Items(), "&Alpha");
        Show(600, 400);
        TbsSkinPopupWindow& p = popup(0);
        TBitmap shot;
        screen().ReadScreenRect(p.BoundsRect(), shot);
        const TRect r = p.Items()[0]->ItemRect;
        std::set<TColor> seen;
        for (int y = r.Top; y < r.Bottom; ++y)
            for (int x = r.Left; x < r.Right; ++x) seen.insert(shot.Pixels(x, y));
        engine().CloseMenu();
        FreeComponent(form);
        return seen;
    };
    const std::set<TColor> builtIn = headerPixels(ProgramSkinDir() + "skin.ini");
    EXPECT_TRUE(builtIn.count(ColorToRGB(clBtnShadow)));
    EXPECT_FALSE(builtIn.count(TColor(0x0000FF)));
    const std::set<TColor> skinned = headerPixels((dir / "skin.ini").string());
    EXPECT_FALSE(skinned.count(ColorToRGB(clBtnShadow)));
    EXPECT_TRUE(skinned.count(TColor(0x0000FF))) << "the header text in the label record's colour";
}

TEST_F(SkinMenus, SystemMenuOfTheFrameRunsInTheEngineAndItsCommandsWork) {
    MakeForm(400, 300);
    ShowAndPump();
    screen().SetAppActive(true);
    PumpMessages();
    frame->PopupSystemMenuAt(1000, 740);
    PumpMessages();
    ASSERT_EQ(frame->SkinMenu().PopupCount(), 1);
    TbsSkinPopupWindow& p = *frame->SkinMenu().PopupAt(0);
    // Inside the work area's corner.
    EXPECT_LE(p.Left() + p.Width(), 1024);
    EXPECT_LE(p.Top() + p.Height(), 768);
    // "向上卷拢(&l)" rolls the window up.
    screen().KeyPress('L');
    Application->ProcessMessages();
    PumpMessages();
    EXPECT_EQ(frame->SkinMenu().PopupCount(), 0);
    EXPECT_TRUE(frame->RollUpState());
}

}  // namespace

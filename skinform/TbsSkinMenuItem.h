#pragma once
// One entry of a skinned popup menu window: the menu item it shows, its
// place in the window, its selection state and its look, drawn from the
// skin's menu-item record or, without one, in the built-in look. Morphing
// between the normal and the active picture and frame animations run on the
// popup window's effect timer.

#include "Geometry.h"
#include "Menus.h"
#include "TBitmap.h"

class TbsDataSkinMenuItem;
class TbsSkinPopupWindow;

class TbsSkinMenuItem {
public:
    TbsSkinMenuItem(TbsSkinPopupWindow& popup, TMenuItem* item, const TbsDataSkinMenuItem* record,
                    const TBitmap* picture);

    TMenuItem* MenuItem() const { return item_; }
    const TbsDataSkinMenuItem* Record() const { return record_; }

    TRect ItemRect;  // window coordinates
    bool ItemVisible = false;
    bool Highlighted = false;
    bool SubmenuOpen = false;
    // Selected when the popup opened, not yet by the pointer: a submenu item
    // so selected does not open by itself.
    bool WaitCommand = false;
    double MorphFactor = 0;
    int AnimationFrame = 0;

    bool IsSeparator() const { return item_->IsLine(); }
    // A disabled item whose caption starts and ends with "-" (not a separator).
    bool IsHeader() const;
    bool HasSubmenu() const { return item_->Count() > 0; }
    // What the selection may rest on: enabled and not a separator.
    bool Selectable() const { return item_->Enabled && !IsSeparator(); }
    // The height the item asks for.
    int Height(int defaultHeight) const;

    void Highlight(bool byKeyboard);
    void Unhighlight();
    void Execute();

    bool CanMorph() const;
    bool CanAnimate() const;
    // One effect step; true when something changed (and was repainted).
    bool StepEffects();
    bool EffectsPending() const;

    // Draws the item at ItemRect onto `canvas` (the popup's paint buffer);
    // nothing when it is out of the visible range.
    void Draw(TCanvas& canvas) const;

private:
    void DrawDefault(TCanvas& c, int w, int h) const;
    void DrawSkinned(TCanvas& c, int w, int h) const;
    void DrawHeader(TCanvas& c, int w, int h) const;
    void DrawTexts(TCanvas& c, TRect textArea, TColor color, int shortcutRight) const;
    void DrawGlyphOrMark(TCanvas& c, int x, int yMid, bool active, const TRect& imageArea) const;
    void ComposeNormal(TBitmap& out, int w) const;
    void ComposeActive(TBitmap& out, int w) const;
    bool Active() const { return Highlighted || SubmenuOpen; }

    TbsSkinPopupWindow& popup_;
    TMenuItem* item_;
    const TbsDataSkinMenuItem* record_;
    const TBitmap* picture_;
};

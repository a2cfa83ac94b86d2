#pragma once
// Menus: TMenuItem (a tree of captions with "&" accelerators, "-"
// separators, states, shortcuts and OnClick), TMenu and TPopupMenu, the
// shortcut helpers, and the plain popup-menu window that shows a popup menu
// when no skinned menu engine replaces it.
//
// Ownership of items. An item made with an owner component belongs to that
// owner, and a parent item only links it. An item handed over as a
// unique_ptr (Add / Insert with ownership) belongs to its parent item.
// Clear frees the children either way.

#include <functional>
#include <memory>
#include <vector>

#include "Classes.h"
#include "Controls.h"
#include "Exceptions.h"

class TImageList;
class TMenu;

// A key with its modifiers: the virtual key in the low byte.
using TShortCut = WORD;
inline constexpr TShortCut scShift = 0x2000;
inline constexpr TShortCut scCtrl = 0x4000;
inline constexpr TShortCut scAlt = 0x8000;
inline constexpr TShortCut scNone = 0;

TShortCut ShortCut(WORD key, TShiftState shift);
void ShortCutToKey(TShortCut shortCut, WORD& key, TShiftState& shift);
// "Ctrl+C", "Alt+F4", "Shift+Del" ... ; empty for scNone.
AnsiString ShortCutToText(TShortCut shortCut);
// The reverse; 0 when the text names no key.
TShortCut TextToShortCut(const AnsiString& text);

// The caption without its "&" marks ("&&" stands for one "&").
AnsiString StripHotkey(const AnsiString& caption);
// The accelerator character (upper-cased), or 0.
char GetHotkey(const AnsiString& caption);
// Whether `key` (a character) is the caption's accelerator, case-insensitively.
bool IsAccel(WORD key, const AnsiString& caption);

inline const AnsiString cLineCaption = "-";

class EMenuError : public Exception {
public:
    using Exception::Exception;
};

class TMenuItem : public TComponent {
public:
    explicit TMenuItem(TComponent* AOwner);
    ~TMenuItem() override;

    const AnsiString& Caption() const { return caption_; }
    void SetCaption(const AnsiString& value) { caption_ = value; }
    bool IsLine() const { return caption_ == cLineCaption; }
    bool Enabled = true;
    bool Visible = true;
    bool Checked = false;
    bool RadioItem = false;
    bool Default = false;
    int GroupIndex = 0;
    TShortCut ShortCut = 0;
    AnsiString Hint;
    int ImageIndex = -1;
    // A picture of the item's own (drawn instead of an image-list entry).
    std::unique_ptr<TBitmap> Bitmap;

    // ---- the tree ----
    int Count() const { return int(items_.size()); }
    TMenuItem* Items(int index) const { return items_.at(std::size_t(index)).item; }
    TMenuItem* Parent() const { return parent_; }
    int MenuIndex() const;
    int IndexOf(const TMenuItem* item) const;
    // Links an item owned by a component.
    void Add(TMenuItem* item);
    void Insert(int index, TMenuItem* item);
    // Takes an item into the tree's own ownership; returns it.
    TMenuItem* Add(std::unique_ptr<TMenuItem> item);
    TMenuItem* Insert(int index, std::unique_ptr<TMenuItem> item);
    // Unlinks the child at `index`; returns it when the tree owned it.
    std::unique_ptr<TMenuItem> Delete(int index);
    std::unique_ptr<TMenuItem> Remove(TMenuItem* item);
    // Frees every child.
    void Clear();
    TMenuItem* Find(const AnsiString& caption) const;
    // Hides separators at the start, at the end and after another separator
    // (counting visible items only) and shows the others again.
    void RethinkLines();
    // The menu the tree belongs to, or null.
    TMenu* GetParentMenu() const;

    // Raises OnClick.
    virtual void Click();
    TNotifyEvent OnClick;

private:
    struct Child {
        TMenuItem* item = nullptr;
        std::unique_ptr<TMenuItem> owned;
    };
    void Link(int index, TMenuItem* item, std::unique_ptr<TMenuItem> owned);
    std::unique_ptr<TMenuItem> Unlink(std::size_t index);

    friend class TMenu;
    AnsiString caption_;
    TMenuItem* parent_ = nullptr;
    TMenu* menu_ = nullptr;  // set on the root item only
    std::vector<Child> items_;
};

enum TMenuAutoFlag { maAutomatic, maManual, maParent };
enum TPopupAlignment { paLeft, paRight, paCenter };

class TMenu : public TComponent {
public:
    explicit TMenu(TComponent* AOwner);
    ~TMenu() override;

    TMenuItem* Items() const { return items_.get(); }
    TImageList* Images() const { return images_; }
    void SetImages(TImageList* images);
    TMenuAutoFlag AutoLineReduction = maAutomatic;
    // Finds the item with that shortcut (visible and enabled, searched
    // depth first) and clicks it.
    bool IsShortCut(TWMKey& Message);
    // Clicks the item (the command a menu window reports).
    void DispatchCommand(TMenuItem* item);

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    std::unique_ptr<TMenuItem> items_;
    TImageList* images_ = nullptr;
};

class TPopupMenu : public TMenu {
public:
    explicit TPopupMenu(TComponent* AOwner);
    ~TPopupMenu() override;

    bool AutoPopup = true;
    TPopupAlignment Alignment = paLeft;
    TComponent* PopupComponent() const { return popupComponent_; }
    void SetPopupComponent(TComponent* component);
    TPoint PopupPoint() const { return popupPoint_; }

    // Fires OnPopup and shows the items at a screen point in the plain popup
    // window; returns when the menu has closed (and a chosen item's OnClick
    // has run).
    virtual void Popup(int X, int Y);
    TNotifyEvent OnPopup;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void SetPopupPoint(TPoint p) { popupPoint_ = p; }

private:
    TComponent* popupComponent_ = nullptr;
    TPoint popupPoint_{-1, -1};
};

// Shows `root`'s visible children as the platform's plain popup menu at a
// screen point (inside the work area), tracks pointer and keys until an item
// is chosen or the menu is dismissed, and returns the chosen leaf item or
// null. Submenus open beside their items.
TMenuItem* TrackPopupMenu(TMenuItem* root, TPoint screenPos, TImageList* images);

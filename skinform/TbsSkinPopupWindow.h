#pragma once
// One window of a skinned menu chain: a real top-level popup that never
// takes the focus and stays on top, shaped by the skin's popup-window mask.
// It builds one TbsSkinMenuItem per visible child of its item tree, sizes
// itself (cut to a maximum item count or to the work area, then scrolling
// with a band at the top and at the bottom), follows the pointer, takes the
// keys the menu engine hands it, and paints the skin's popup picture with the
// items over it, or the built-in look without a skin.

#include <memory>
#include <vector>

#include "Controls.h"
#include "Menus.h"
#include "TBitmap.h"
#include "TbsSkinMenuItem.h"

class TbsSkinMenu;
class TbsSkinData;
class TImageList;
class TbsDataSkinMenuItem;
class TbsDataSkinPopupWindow;

class TbsSkinPopupWindow : public TCustomControl {
public:
    // Window timers of the popup.
    static constexpr UINT_PTR kScrollTimer = 1;
    static constexpr UINT_PTR kPointerTimer = 2;
    static constexpr UINT_PTR kEffectTimer = 3;
    static constexpr UINT_PTR kFadeTimer = 4;
    static constexpr int kScrollBand = 10;

    TbsSkinPopupWindow(TComponent* AOwner, TbsSkinMenu& engine);
    ~TbsSkinPopupWindow() override;

    // Builds the items for `tree`'s visible children from `startIndex` on and
    // takes the size they need (no window is made yet).
    void Build(TMenuItem* tree, int startIndex);
    // Places the popup beside or under `anchor` (screen coordinates).
    void Place(const TRect& anchor, bool upward, bool submenu, int parentItemsTop);
    // Shows it topmost without activating it and selects the first item.
    void ShowPopup(bool fadeIn);

    TMenuItem* Tree() const { return tree_; }
    std::vector<std::unique_ptr<TbsSkinMenuItem>>& Items() { return items_; }
    int ActiveItem() const { return activeItem_; }
    TbsSkinMenuItem* ActiveMenuItem() const;
    int IndexOf(const TbsSkinMenuItem* item) const;
    int VisibleStart() const { return visibleStart_; }
    int VisibleCount() const { return visibleCount_; }
    bool Scrollable() const { return scrollable_; }
    bool ScrollLimited() const { return scrollLimited_; }
    int ScrollDir() const { return scrollDir_; }
    const TRect& ItemsArea() const { return itemsArea_; }
    int GlyphWidth() const { return glyphWidth_; }
    bool HasImageList() const { return images_ != nullptr; }
    TImageList* Images() const { return images_; }
    const TBitmap& PaintBuffer() const { return background_; }
    bool SkinnedLook() const { return popupRecord_ != nullptr; }
    TbsSkinMenu& Engine() { return engine_; }
    const AnsiString& CurrentHint() const { return hint_; }
    void SetCurrentHint(const AnsiString& hint) { hint_ = hint; }

    // ---- input (the engine and the window's own messages call these) ----
    // Keyboard navigation; true when the key meant something to the menu.
    bool KeyDown(WORD key);
    // The pointer at a screen point over this popup.
    void PointerMovedTo(TPoint screen);
    // A left-button release at a screen point over this popup.
    void PointerReleasedAt(TPoint screen);
    // One pointer poll: reads the pointer and handles a move.
    void PollPointer();
    // One step of the scroll timer.
    void ScrollTick();
    // One step of the effect timer.
    void EffectTick();
    void SetActiveItem(int index);
    // Selects the item the keyboard moves to (Down: +1, Up: -1).
    void SelectNext(int direction);
    void ScrollBy(int delta);

    // ---- painting ----
    // Repaints one item straight onto the window.
    void RepaintItem(const TbsSkinMenuItem& item);
    void StartEffects();
    // The whole window image (background, items, markers).
    void RenderTo(TBitmap& out) const;
    // The background only, at the window's size.
    void RenderBackground(TBitmap& out) const;

protected:
    void CreateParams(TCreateParams& Params) override;
    void WndProc(TMessage& Message) override;
    void Paint() override;

private:
    void RenderOnto(TCanvas& c) const;
    void LayoutItems();
    void ComposeBackground();
    void DrawMarkers(TCanvas& c) const;
    void UpdateShape();
    void StartScroll(int dir);
    void StopScroll();
    int ItemAt(TPoint client) const;
    void EnsureVisible(int index);
    // The largest start that still fills the window: the last items that fit.
    int LastFullStart() const;
    // Shows the items from `start` on.
    void ScrollTo(int start);

    TbsSkinMenu& engine_;
    TMenuItem* tree_ = nullptr;
    const TbsDataSkinPopupWindow* popupRecord_ = nullptr;
    const TbsDataSkinMenuItem* itemRecord_ = nullptr;
    const TBitmap* windowPicture_ = nullptr;
    const TBitmap* maskPicture_ = nullptr;
    const TBitmap* itemPicture_ = nullptr;
    TImageList* images_ = nullptr;
    int glyphWidth_ = 19;
    std::vector<std::unique_ptr<TbsSkinMenuItem>> items_;
    int activeItem_ = -1;
    int oldActiveItem_ = -1;
    int visibleStart_ = 0;
    int visibleCount_ = 0;
    bool scrollable_ = false;
    bool scrollLimited_ = false;
    int scrollDir_ = 0;
    TRect itemsArea_;
    TBitmap background_;
    TPoint lastPointer_{-1, -1};
    AnsiString hint_;
    BYTE fadeAlpha_ = 0;
    bool effectsRunning_ = false;
};

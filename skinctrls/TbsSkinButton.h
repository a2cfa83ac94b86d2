#pragma once
// The skinned push button: normal, hot (pointer over it or keyboard focus),
// pressed, focused and disabled looks from a button record, morphing and
// frame animation between normal and hot, a glyph beside the caption, repeat
// clicking while held, group (radio-like) behaviour, and the keyboard: Space,
// Enter, the caption's accelerator, and Enter/Escape for the default and
// cancel buttons of its form.

#include "Forms.h"
#include "SkinButtonCore.h"
#include "TbsSkinCustomControl.h"

class TbsSkinButton : public TbsSkinCustomControl, public SkinButtonCore {
public:
    explicit TbsSkinButton(TComponent* AOwner);
    ~TbsSkinButton() override;

    bool CanFocused() const { return canFocused_; }
    // Also sets TabStop.
    void SetCanFocused(bool value);
    bool Default() const { return default_; }
    void SetDefault(bool value);
    bool Cancel() const { return cancel_; }
    void SetCancel(bool value) { cancel_ = value; }
    TModalResult ModalResult() const { return modalResult_; }
    void SetModalResult(TModalResult value) { modalResult_ = value; }
    // A non-zero group makes the button unfocusable.
    void SetGroupIndex(int value) override;
    // Enter clicks this button now.
    bool DefaultActive() const { return defaultActive_; }

    // The platform's own click (a release over the button) does nothing:
    // clicks run through DoButtonClick only.
    void Click() override {}
    void DoButtonClick() override;
    void ApplySkin() override;

    void WndProc(TMessage& Message) override;

protected:
    void BindSkinRecord() override;
    void PaintSkinImage(TBitmap& bitmap) override;
    void PaintDefaultImage(TBitmap& bitmap) override;
    void FitSkinSize(int& W, int& H) override;
    void UpdateRegion() override;
    void CreateWnd() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseEntered() override;
    void MouseLeft() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

    // ---- SkinButtonCore ----
    TControl& HostControl() override { return *this; }
    TbsSkinData* HostSkinData() const override { return SkinData(); }
    bool HostHasRecord() const override { return recordIndex_ != -1; }
    SkinControlGeometry& HostGeometry() override { return geometry_; }
    const TFont& HostDefaultFont() const override { return DefaultFont(); }
    bool HostUseSkinFont() const override { return UseSkinFont(); }
    bool FocusedAndCanFocus() const override { return canFocused_ && Focused(); }
    bool KeepsHighlightOnLeave() const override {
        return canFocused_ && default_ && defaultActive_ && !Focused();
    }
    void ForEachGroupSibling(const std::function<void(SkinButtonCore&)>& visit) override;
    void SkinSizeRuleChanged() override { ApplySkin(); }
    void PaintSkinImageFrom(TBitmap& bitmap, const TRect& r) override {
        TbsSkinCustomControl::PaintSkinImageFrom(bitmap, r);
    }

private:
    void FocusChanged(TWinControl* sender);
    bool HandleDialogKey(TMessage& m);

    bool canFocused_ = true;
    bool default_ = false;
    bool cancel_ = false;
    TModalResult modalResult_ = mrNone;
    bool defaultActive_ = false;
    bool spaceDown_ = false;
    bool takingFocus_ = false;
};

// Tells every skinned button below `root` that `focused` took the focus, as
// the form announces a focus change.
void AnnounceFocusToButtons(TWinControl& root, TWinControl* focused);

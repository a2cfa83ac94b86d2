#pragma once
// What the skinned push button and the skinned speed button share: their
// glyph and group properties, the state machine of pointer, press, repeat,
// frame animation and morph, and the drawing of each state, skinned or in
// the default look. Each button class derives from its control base and from
// this core, and answers the few questions the core asks of its host.

#include <functional>
#include <memory>

#include "ActnList.h"
#include "Controls.h"
#include "ExtCtrls.h"
#include "ImgList.h"
#include "SkinControlGeometry.h"
#include "SkinControlRecords.h"
#include "SkinTextLayout.h"
#include "TBitmap.h"

class TbsSkinData;

using TbsNumGlyphs = int;
// Called before glyph and caption are drawn; clearing DrawDefault leaves
// them out.
using TbsButtonPaintEvent =
    std::function<void(TCanvas* Cnvs, const TRect& R, bool ADown, bool AMouseIn, bool& DrawDefault)>;

// Milliseconds between morph steps, the wait before repeating, and the morph
// step itself.
inline constexpr unsigned kButtonMorphTick = 20;
inline constexpr unsigned kButtonRepeatDelay = 500;
inline constexpr double kButtonMorphStep = 0.2;

class SkinButtonCore {
public:
    SkinButtonCore();
    virtual ~SkinButtonCore();
    SkinButtonCore(const SkinButtonCore&) = delete;
    SkinButtonCore& operator=(const SkinButtonCore&) = delete;

    // ---- properties ----
    bool UseSkinSize() const { return useSkinSize_; }
    void SetUseSkinSize(bool value);
    bool UseSkinFontColor() const { return useSkinFontColor_; }
    void SetUseSkinFontColor(bool value) { useSkinFontColor_ = value; RepaintButton(); }
    const TBitmap& Glyph() const { return glyph_; }
    void SetGlyph(const TBitmap& value);
    TbsNumGlyphs NumGlyphs() const { return numGlyphs_; }
    // Values outside 1 .. 4 are taken as the nearest one.
    void SetNumGlyphs(TbsNumGlyphs value);
    int Margin() const { return margin_; }
    // Values below -1 are refused.
    void SetMargin(int value);
    int Spacing() const { return spacing_; }
    void SetSpacing(int value);
    TbsButtonLayout Layout() const { return layout_; }
    void SetLayout(TbsButtonLayout value);
    TImageList* ImageList() const { return imageList_; }
    void SetImageList(TImageList* value);
    int ImageIndex() const { return imageIndex_; }
    virtual void SetImageIndex(int value);
    bool RepeatMode() const { return repeatMode_; }
    void SetRepeatMode(bool value) { repeatMode_ = value; }
    int RepeatInterval() const { return repeatInterval_; }
    void SetRepeatInterval(int value) { repeatInterval_ = value; }
    int GroupIndex() const { return groupIndex_; }
    virtual void SetGroupIndex(int value) { groupIndex_ = value; }
    bool AllowAllUp() const { return allowAllUp_; }
    void SetAllowAllUp(bool value) { allowAllUp_ = value; }
    bool Down() const { return down_; }
    void SetDown(bool value);
    // The action the button runs and shows (caption, enabled state, hint,
    // and its image as the glyph while the button has none); null for none.
    TBasicAction* Action() const { return actionLink_ ? actionLink_->Action() : nullptr; }
    void SetAction(TBasicAction* value);

    TbsButtonPaintEvent OnPaint;

    // ---- state, for the look and for tests ----
    bool MouseIn() const { return mouseIn_; }
    bool MousePressed() const { return mousePressed_; }
    double MorphFactor() const { return morphFactor_; }
    bool Morphing() const { return morphTimer_->Enabled(); }
    bool Repeating() const { return repeatTimer_->Enabled(); }
    int AnimationFrame() const { return animationFrame_; }
    // The button's copy of its record, fallbacks applied (valid while bound).
    const TbsDataSkinButtonControl& ButtonRecord() const { return record_; }

    // Performs a click: OnClick or the action (and, for the push button, the
    // modal result first).
    virtual void DoButtonClick() = 0;

protected:
    // ---- what the host control answers ----
    virtual TControl& HostControl() = 0;
    virtual TbsSkinData* HostSkinData() const = 0;
    virtual bool HostHasRecord() const = 0;
    virtual SkinControlGeometry& HostGeometry() = 0;
    virtual const TFont& HostDefaultFont() const = 0;
    virtual bool HostUseSkinFont() const = 0;
    // The host has the keyboard focus and can take it (never for a speed button).
    virtual bool FocusedAndCanFocus() const { return false; }
    // Other buttons of the same group on the same parent.
    virtual void ForEachGroupSibling(const std::function<void(SkinButtonCore&)>& visit) = 0;
    // The skinned image cut from `r` at the host's size.
    virtual void PaintSkinImageFrom(TBitmap& bitmap, const TRect& r) = 0;
    // Draws one skinned state into the bitmap.
    virtual void PaintStateImage(TBitmap& bitmap, const TRect& r, bool IsDown, bool IsActive);
    // Whether frame animation and morphing apply to this host now.
    virtual bool AnimationAllowed() const { return true; }
    virtual bool MorphAllowed() const { return true; }
    // The text drawn beside the glyph.
    virtual AnsiString ButtonCaption() { return HostControl().Caption(); }
    // The pointer leaving does not clear MouseIn (a highlighted default button).
    virtual bool KeepsHighlightOnLeave() const { return false; }
    // The button keeps its pressed look while Down wherever the pointer is
    // (a menu button while its menu is open).
    virtual bool HoldsPressedLook() const { return false; }
    // The part of `rect` that glyph and caption are laid out in.
    virtual TRect ContentRect(const TRect& rect) const { return rect; }

    void RepaintButton();
    // The host's size rule changed with UseSkinSize: refit and reshape.
    virtual void SkinSizeRuleChanged() { RepaintButton(); }
    // The action changed (or was just linked, CheckDefaults false): take its
    // caption, enabled state, hint and execute handler, and its image as the
    // glyph while the button has none. With CheckDefaults only what the
    // button still has at its defaults is taken.
    virtual void ActionChange(TObject* Sender, bool CheckDefaults);
    // The click's handlers: a handler of the button's own that is not the
    // action's runs instead of the action; else the action runs; else OnClick.
    void RunClickHandlers();

    // ---- binding and drawing ----
    // Copies the button record (when `record` is one) with its fallbacks.
    void BindButtonRecord(const TbsDataSkinControl* record);
    bool HasButtonRecord() const { return HostHasRecord() && hasButtonRecord_; }
    // The skinned look of the current state, morphs included.
    void PaintSkinnedButton(TBitmap& bitmap);
    // The look without skin.
    void PaintDefaultButton(TBitmap& bitmap);
    // Glyph and caption with the host's settings in `rect`.
    void DrawGlyphAndCaption(TCanvas& canvas, const TRect& rect, bool isDown, bool isActive, bool enabled);
    // Image of the strip for the state (1-based).
    int GlyphNumber(bool isDown, bool isActive) const;
    bool MorphAvailable() const;
    bool EffectsOn() const;
    bool AnimationAvailable() const;

    // ---- the state machine ----
    void StateChanged();
    void StartAnimation(bool forward);
    void StopAnimation();
    void StartRepeat();
    void StopRepeat();
    void StopMorph();
    void ButtonMouseEnter();
    void ButtonMouseLeave();
    void ButtonMouseDown();
    void ButtonMouseUp();
    void ButtonEnabledChanged();
    // Before the host's ApplySkin: stop what runs on the old skin.
    void BeforeApplySkin();
    // After it: settle the morph on the new skin.
    void AfterApplySkin();
    void SetMouseIn(bool value) { mouseIn_ = value; }
    void SetMorphFactor(double value) { morphFactor_ = value; }
    void SetDownFlag(bool value) { down_ = value; }

private:
    void MorphTick();
    void RepeatTick();
    void AnimationTick();
    TRect AnimationFrameRect(int frame) const;
    bool AnimationRunning() const { return animationTimer_->Enabled(); }

    bool useSkinSize_ = true;
    bool useSkinFontColor_ = true;
    TBitmap glyph_;
    TbsNumGlyphs numGlyphs_ = 1;
    int margin_ = -1;
    int spacing_ = 1;
    TbsButtonLayout layout_ = blGlyphLeft;
    TImageList* imageList_ = nullptr;
    int imageIndex_ = -1;
    bool repeatMode_ = false;
    int repeatInterval_ = 100;
    int groupIndex_ = 0;
    bool allowAllUp_ = false;
    bool down_ = false;

    bool mouseIn_ = false;
    bool mousePressed_ = false;
    bool groupRelease_ = false;
    double morphFactor_ = 0;
    int animationFrame_ = 0;
    bool animationForward_ = true;

    TbsDataSkinButtonControl record_{""};
    bool hasButtonRecord_ = false;

    std::unique_ptr<TActionLink> actionLink_;
    TComponentPtr<TTimer> morphTimer_;
    TComponentPtr<TTimer> repeatTimer_;
    TComponentPtr<TTimer> animationTimer_;

protected:
    // Cleared by the host when the image list it watches goes.
    void ForgetImageList() { imageList_ = nullptr; }
};

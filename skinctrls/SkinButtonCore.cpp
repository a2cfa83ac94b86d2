#include "SkinButtonCore.h"

#include <algorithm>

#include "SkinComposition.h"
#include "SkinGeometry.h"
#include "SkinPieceCopy.h"
#include "TbsEffectBmp.h"
#include "TbsSkinData.h"

namespace {
// Disabled text drawn in the record's disabled colour when the skin gives it
// a colour of its own; a skin that leaves it equal to the normal colour gets
// grey, so disabled text still looks disabled.
constexpr TColor kDisabledGrey = 0x808080;
// The default look's pointer-over and pressed fills, inside a navy frame.
constexpr TColor kDefaultFrame = 0x800000;
constexpr TColor kDefaultHotFill = 0xD2BDB6;
constexpr TColor kDefaultDownFill = 0xB59385;
}  // namespace

SkinButtonCore::SkinButtonCore()
    : morphTimer_(CreateUnowned<TTimer>()),
      repeatTimer_(CreateUnowned<TTimer>()),
      animationTimer_(CreateUnowned<TTimer>()) {
    for (TTimer* t : {morphTimer_.get(), repeatTimer_.get(), animationTimer_.get()}) t->SetEnabled(false);
    morphTimer_->SetInterval(kButtonMorphTick);
    morphTimer_->OnTimer = [this](TObject*) { MorphTick(); };
    repeatTimer_->OnTimer = [this](TObject*) { RepeatTick(); };
    animationTimer_->OnTimer = [this](TObject*) { AnimationTick(); };
}

SkinButtonCore::~SkinButtonCore() = default;

void SkinButtonCore::RepaintButton() { HostControl().Invalidate(); }

// ---- properties ------------------------------------------------------------------------------

void SkinButtonCore::SetUseSkinSize(bool value) {
    if (value == useSkinSize_) return;
    useSkinSize_ = value;
    SkinSizeRuleChanged();
}

void SkinButtonCore::SetGlyph(const TBitmap& value) {
    glyph_.Assign(value);
    RepaintButton();
}

void SkinButtonCore::SetNumGlyphs(TbsNumGlyphs value) {
    numGlyphs_ = std::clamp(value, 1, 4);
    RepaintButton();
}

void SkinButtonCore::SetMargin(int value) {
    if (value < -1 || value == margin_) return;
    margin_ = value;
    RepaintButton();
}

void SkinButtonCore::SetSpacing(int value) {
    if (value == spacing_) return;
    spacing_ = value;
    RepaintButton();
}

void SkinButtonCore::SetLayout(TbsButtonLayout value) {
    if (value == layout_) return;
    layout_ = value;
    RepaintButton();
}

void SkinButtonCore::SetImageList(TImageList* value) {
    if (imageList_ && imageList_ != value) imageList_->RemoveFreeNotification(&HostControl());
    imageList_ = value;
    if (value) value->FreeNotification(&HostControl());
    RepaintButton();
}

void SkinButtonCore::SetImageIndex(int value) {
    if (value == imageIndex_) return;
    imageIndex_ = value;
    RepaintButton();
}

void SkinButtonCore::SetDown(bool value) {
    down_ = value;
    if (MorphAvailable()) {
        morphFactor_ = 1;
        if (value) StopMorph();
        else morphTimer_->SetEnabled(true);
    }
    RepaintButton();
    if (groupIndex_ != 0 && value && !allowAllUp_) {
        ForEachGroupSibling([](SkinButtonCore& other) {
            if (other.Down()) other.SetDown(false);
        });
    }
}

// ---- action ------------------------------------------------------------------------------------

void SkinButtonCore::SetAction(TBasicAction* value) {
    if (!value) {
        actionLink_.reset();
        return;
    }
    if (!actionLink_) {
        actionLink_ = std::make_unique<TActionLink>();
        actionLink_->OnChange = [this](TObject* sender) { ActionChange(sender, false); };
    }
    actionLink_->SetAction(value);
    ActionChange(value, false);
}

void SkinButtonCore::ActionChange(TObject* Sender, bool CheckDefaults) {
    auto* action = dynamic_cast<TCustomAction*>(Sender);
    if (!action) return;
    TControl& host = HostControl();
    if (!CheckDefaults || host.Caption().empty()) host.SetCaption(action->Caption());
    if (!CheckDefaults || host.Enabled()) host.SetEnabled(action->Enabled());
    if (!CheckDefaults || host.Hint().empty()) host.SetHint(action->Hint());
    if (!CheckDefaults || !host.OnClick) host.OnClick = ActionExecuteHandler(*action);
    TImageList* images = action->Images();
    if (images && action->ImageIndex() >= 0 && action->ImageIndex() < images->Count() && glyph_.Empty()) {
        // The image on magenta, the colour a glyph's transparent corner takes.
        TBitmap image(images->Width(), images->Height());
        image.Canvas().Brush.Style = bsSolid;
        image.Canvas().Brush.Color = clFuchsia;
        image.Canvas().FillRect(image.BoundsRect());
        images->Draw(image.Canvas(), 0, 0, action->ImageIndex());
        glyph_.Assign(image);
    }
    RepaintButton();
}

void SkinButtonCore::RunClickHandlers() {
    TControl& host = HostControl();
    TBasicAction* action = Action();
    if (host.OnClick && action && !IsActionExecuteHandler(host.OnClick, action)) {
        host.OnClick(&host);
        return;
    }
    if (!host.Designing() && action) {
        actionLink_->Execute();
        return;
    }
    if (host.OnClick) host.OnClick(&host);
}

// ---- binding -----------------------------------------------------------------------------------

bool SkinButtonCore::EffectsOn() const {
    const TbsSkinData* skin = HostSkinData();
    return skin && skin->EnableSkinEffects();
}

bool SkinButtonCore::MorphAvailable() const {
    return HasButtonRecord() && record_.morphing && EffectsOn() && MorphAllowed();
}

bool SkinButtonCore::AnimationAvailable() const {
    return HasButtonRecord() && EffectsOn() && !RectIsEmpty(record_.animateskinrect) && record_.framecount > 0 &&
           AnimationAllowed();
}

void SkinButtonCore::BindButtonRecord(const TbsDataSkinControl* record) {
    const auto* button = dynamic_cast<const TbsDataSkinButtonControl*>(record);
    hasButtonRecord_ = button != nullptr;
    if (!button) return;
    record_ = *button;
    if (RectIsEmpty(record_.activeskinrect)) record_.activeskinrect = record_.skinrect;
    if (RectIsEmpty(record_.downskinrect)) record_.downskinrect = record_.activeskinrect;
    if (record_.disabledfontcolor == record_.fontcolor) record_.disabledfontcolor = kDisabledGrey;
    // While a frame animation runs, its current frame stands in for the look
    // it leads to (forward) or comes from (backward).
    if (AnimationRunning() && animationFrame_ > 0 && animationFrame_ <= record_.framecount) {
        if (animationForward_) record_.activeskinrect = AnimationFrameRect(animationFrame_);
        else record_.skinrect = AnimationFrameRect(animationFrame_);
    }
}

TRect SkinButtonCore::AnimationFrameRect(int k) const {
    const TRect& a = record_.animateskinrect;
    const int n = std::max(1, record_.framecount);
    if (WidthOf(a) > WidthOf(record_.skinrect)) {
        const int w = WidthOf(a) / n;
        return {a.Left + w * (k - 1), a.Top, a.Left + w * k, a.Bottom};
    }
    const int h = HeightOf(a) / n;
    return {a.Left, a.Top + h * (k - 1), a.Right, a.Top + h * k};
}

// ---- drawing ------------------------------------------------------------------------------------

int SkinButtonCore::GlyphNumber(bool isDown, bool isActive) const {
    if (isDown && isActive && numGlyphs_ > 2) return 3;
    if (isActive && numGlyphs_ > 3) return 4;
    if (const_cast<SkinButtonCore*>(this)->HostControl().Enabled() || numGlyphs_ < 2) return 1;
    return 2;
}

void SkinButtonCore::DrawGlyphAndCaption(TCanvas& canvas, const TRect& whole, bool isDown, bool isActive,
                                         bool enabled) {
    const TRect rect = ContentRect(whole);
    const AnsiString caption = ButtonCaption();
    const bool pressed = isDown && isActive;
    if (imageList_ && imageIndex_ >= 0 && imageIndex_ < imageList_->Count()) {
        DrawImageListGlyphAndText(canvas, rect, margin_, 0, false, enabled, pressed, imageList_, imageIndex_, caption,
                                  layout_, spacing_);
    } else {
        DrawBitmapGlyphAndText(canvas, rect, margin_, 0, false, pressed, GlyphNumber(isDown, isActive), numGlyphs_,
                               glyph_, caption, layout_, spacing_);
    }
}

void SkinButtonCore::PaintStateImage(TBitmap& bitmap, const TRect& r, bool IsDown, bool IsActive) {
    SkinControlGeometry& g = HostGeometry();
    TControl& host = HostControl();
    const bool enabled = host.Enabled();
    TRect textRect;
    if (useSkinSize_ || g.ResizeKind == kResizeFrame) {
        PaintSkinImageFrom(bitmap, r);
        textRect = g.SizedClientRect;
    } else {
        // Any size: the state image is stretched to the button.
        const TRect whole = bitmap.BoundsRect();
        if (g.SkinPicture) {
            if (g.ResizeKind == kResizeFixed) StretchSkinPiece(bitmap, whole, *g.SkinPicture, r);
            else ComposeStretchedImage(bitmap, *g.SkinPicture, r, true, g.clientrect);
        }
        textRect = g.clientrect;
        textRect.Right += bitmap.Width() - WidthOf(r);
        textRect.Bottom += bitmap.Height() - HeightOf(r);
    }
    TCanvas& c = bitmap.Canvas();
    if (HostUseSkinFont()) {
        c.Font.SetName(record_.fontname);
        c.Font.SetHeight(record_.fontheight);
        c.Font.SetStyle(record_.fontstyle);
    } else {
        c.Font.Assign(HostDefaultFont());
    }
    if (const TbsSkinData* skin = HostSkinData(); skin && skin->ResourceStrData())
        c.Font.SetCharset(skin->ResourceStrData()->CharSet());
    else
        c.Font.SetCharset(HostDefaultFont().Charset());
    TColor colour;
    if (enabled && !useSkinFontColor_) colour = HostDefaultFont().Color();
    else if (!enabled) colour = record_.disabledfontcolor;
    else if (IsDown && IsActive) colour = record_.downfontcolor;
    else if (IsActive) colour = record_.activefontcolor;
    else colour = record_.fontcolor;
    c.Font.SetColor(colour);
    if (record_.showfocus && FocusedAndCanFocus()) {
        c.Brush.Style = bsSolid;
        if (const TbsSkinData* skin = HostSkinData()) c.Brush.Color = skin->SkinColors().cbtnface;
        c.DrawFocusRect(textRect);
    }
    bool drawDefault = true;
    if (OnPaint) OnPaint(&c, textRect, IsDown, IsActive, drawDefault);
    if (!drawDefault) return;
    DrawGlyphAndCaption(c, textRect, IsDown, IsActive, enabled);
}

void SkinButtonCore::PaintSkinnedButton(TBitmap& bitmap) {
    if (!HasButtonRecord()) {
        PaintDefaultButton(bitmap);
        return;
    }
    const bool enabled = HostControl().Enabled();
    if (MorphAvailable() && morphFactor_ > 0 && morphFactor_ < 1 && enabled) {
        TBitmap normal(bitmap.Width(), bitmap.Height());
        TBitmap hot(bitmap.Width(), bitmap.Height());
        PaintStateImage(normal, record_.skinrect, false, false);
        PaintStateImage(hot, record_.activeskinrect, false, true);
        TbsEffectBmp blend(normal);
        const TbsEffectBmp target(hot);
        blend.Morph(record_.morphkind, target, morphFactor_);
        blend.AssignTo(bitmap);
        return;
    }
    const bool focused = FocusedAndCanFocus();
    if (!enabled && !RectIsEmpty(record_.disabledskinrect)) {
        PaintStateImage(bitmap, record_.disabledskinrect, false, false);
    } else if (down_ && (mouseIn_ || (focused && !mousePressed_) || groupIndex_ != 0 || HoldsPressedLook())) {
        PaintStateImage(bitmap, record_.downskinrect, true, true);
    } else if (focused && !RectIsEmpty(record_.focusedskinrect) && !AnimationRunning()) {
        PaintStateImage(bitmap, record_.focusedskinrect, false, true);
    } else if (focused || mouseIn_) {
        PaintStateImage(bitmap, record_.activeskinrect, false, true);
    } else if (MorphAvailable() && morphFactor_ == 1) {
        PaintStateImage(bitmap, record_.activeskinrect, false, true);
    } else {
        PaintStateImage(bitmap, record_.skinrect, false, false);
    }
}

void SkinButtonCore::PaintDefaultButton(TBitmap& bitmap) {
    TControl& host = HostControl();
    TCanvas& c = bitmap.Canvas();
    const TRect r{0, 0, bitmap.Width(), bitmap.Height()};
    const bool focused = FocusedAndCanFocus();
    const bool pressed =
        groupIndex_ == 0 ? down_ && (mouseIn_ || (focused && !mousePressed_) || HoldsPressedLook()) : down_;
    c.Brush.Style = bsSolid;
    if (pressed) {
        c.Brush.Color = kDefaultDownFill;
        c.FillRect(r);
        c.Brush.Color = kDefaultFrame;
        c.FrameRect(r);
    } else if (mouseIn_ || focused) {
        c.Brush.Color = kDefaultHotFill;
        c.FillRect(r);
        c.Brush.Color = kDefaultFrame;
        c.FrameRect(r);
    } else {
        c.Brush.Color = clBtnFace;
        c.FillRect(r);
        c.Brush.Color = clBtnShadow;
        c.FrameRect(r);
    }
    c.Font.Assign(HostDefaultFont());
    if (const TbsSkinData* skin = HostSkinData(); skin && skin->ResourceStrData())
        c.Font.SetCharset(skin->ResourceStrData()->CharSet());
    if (!host.Enabled()) c.Font.SetColor(clBtnShadow);
    bool drawDefault = true;
    if (OnPaint) OnPaint(&c, r, down_, mouseIn_, drawDefault);
    if (!drawDefault) return;
    DrawGlyphAndCaption(c, r, down_, mouseIn_ || pressed, host.Enabled());
}

// ---- the state machine ----------------------------------------------------------------------------

void SkinButtonCore::StateChanged() {
    if (MorphAvailable()) {
        if (!morphTimer_->Enabled()) morphTimer_->SetEnabled(true);
    } else {
        RepaintButton();
    }
}

void SkinButtonCore::StopMorph() { morphTimer_->SetEnabled(false); }

void SkinButtonCore::MorphTick() {
    const bool active = mouseIn_ || FocusedAndCanFocus();
    if (!MorphAvailable()) {
        morphFactor_ = active ? 1 : 0;
        StopMorph();
    } else if (active && morphFactor_ < 1) {
        morphFactor_ = std::min(1.0, morphFactor_ + kButtonMorphStep);
    } else if (!active && morphFactor_ > 0) {
        morphFactor_ = std::max(0.0, morphFactor_ - kButtonMorphStep);
    } else {
        morphFactor_ = active ? 1 : 0;
        StopMorph();
    }
    RepaintButton();
}

void SkinButtonCore::StartAnimation(bool forward) {
    if (!AnimationAvailable()) return;
    StopAnimation();
    animationForward_ = forward;
    animationFrame_ = forward ? 1 : record_.framecount;
    animationTimer_->SetInterval(unsigned(std::max(1, record_.animateinterval)));
    animationTimer_->SetEnabled(true);
}

void SkinButtonCore::StopAnimation() {
    animationFrame_ = 0;
    animationTimer_->SetEnabled(false);
}

void SkinButtonCore::AnimationTick() {
    if (animationForward_) {
        if (animationFrame_ <= record_.framecount) {
            ++animationFrame_;
            RepaintButton();
        }
        if (animationFrame_ > record_.framecount) StopAnimation();
    } else {
        if (animationFrame_ >= 0) {
            --animationFrame_;
            RepaintButton();
        }
        if (animationFrame_ <= 0) StopAnimation();
    }
}

void SkinButtonCore::StartRepeat() {
    repeatTimer_->SetEnabled(false);
    repeatTimer_->SetInterval(kButtonRepeatDelay);
    repeatTimer_->SetEnabled(true);
}

void SkinButtonCore::StopRepeat() { repeatTimer_->SetEnabled(false); }

void SkinButtonCore::RepeatTick() {
    if (repeatTimer_->Interval() != unsigned(std::max(1, repeatInterval_)))
        repeatTimer_->SetInterval(unsigned(std::max(1, repeatInterval_)));
    DoButtonClick();
}

void SkinButtonCore::ButtonMouseEnter() {
    mouseIn_ = true;
    const bool focused = FocusedAndCanFocus();
    const bool qualifies = (groupIndex_ != 0 && !down_) || (groupIndex_ == 0 && (!focused || down_));
    if (qualifies) {
        if (down_) {
            if (MorphAvailable()) morphFactor_ = 1;
            RepaintButton();
        } else {
            StartAnimation(true);
            StateChanged();
        }
    }
    if (down_ && repeatMode_ && groupIndex_ == 0) StartRepeat();
}

void SkinButtonCore::ButtonMouseLeave() {
    if (!KeepsHighlightOnLeave()) mouseIn_ = false;
    const bool focused = FocusedAndCanFocus();
    const bool qualifies = (groupIndex_ != 0 && !down_) || (groupIndex_ == 0 && (!focused || down_));
    if (qualifies) {
        StartAnimation(false);
        StateChanged();
    }
    if (down_ && repeatMode_ && Repeating() && groupIndex_ == 0) StopRepeat();
}

void SkinButtonCore::ButtonMouseDown() {
    if (AnimationAvailable()) StopAnimation();
    mousePressed_ = true;
    if (!down_) {
        mouseIn_ = true;
        SetDown(true);
        if (repeatMode_ && groupIndex_ == 0) StartRepeat();
        else if (groupIndex_ != 0) DoButtonClick();
        groupRelease_ = false;
    } else if (groupIndex_ != 0) {
        groupRelease_ = true;
    }
}

void SkinButtonCore::ButtonMouseUp() {
    const bool wasDown = down_;
    mousePressed_ = false;
    if (groupIndex_ == 0) {
        if (mouseIn_) {
            SetDown(false);
            StopRepeat();
            if (wasDown) DoButtonClick();
        } else {
            down_ = false;
            StopRepeat();
        }
    } else if (wasDown && allowAllUp_ && groupRelease_ && mouseIn_) {
        SetDown(false);
        DoButtonClick();
    }
}

void SkinButtonCore::ButtonEnabledChanged() {
    StopMorph();
    if (MorphAvailable()) morphFactor_ = 0;
    mouseIn_ = false;
    RepaintButton();
}

void SkinButtonCore::BeforeApplySkin() {
    StopMorph();
    StopAnimation();
    morphFactor_ = 0;
}

void SkinButtonCore::AfterApplySkin() {
    if (MorphAvailable()) morphFactor_ = (FocusedAndCanFocus() || mouseIn_) ? 1 : 0;
}

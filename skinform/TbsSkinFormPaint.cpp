// TbsSkinForm: frame geometry for the current size, object layout, the window
// region, and the painters of the skinned frame, the built-in frame, single
// objects and the client background.

#include <algorithm>

#include "SkinClientBackground.h"
#include "SkinCornerPoints.h"
#include "SkinFrameHitTest.h"
#include "SkinFrameRegion.h"
#include "SkinGeometry.h"
#include "SkinTextLayout.h"
#include "TbsEffectBmp.h"
#include "TbsSkinAnimateObject.h"
#include "TbsSkinCaptionObject.h"
#include "TbsSkinData.h"
#include "TbsSkinForm.h"
#include "TbsSkinStdButtonObject.h"

namespace {
TSize PictureSize(const TbsSkinData& skin) { return {skin.MainBitmap().Width(), skin.MainBitmap().Height()}; }

void ClearMasks(SkinFramePartBitmaps& masks) {
    for (TBitmap* side : {&masks.Top, &masks.Bottom, &masks.Left, &masks.Right}) side->SetSize(0, 0);
}

// A device context for the whole window, released when it goes.
class WindowDc {
public:
    WindowDc(HWND window, HDC given) : window_(window), dc_(given ? given : GetWindowDC(window)), owned_(!given) {}
    ~WindowDc() {
        if (owned_ && dc_) ReleaseDC(window_, dc_);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
    bool owned_;
};

bool IsButtonRowObject(const TbsActiveSkinObject& o) {
    return dynamic_cast<const TbsSkinStdButtonObject*>(&o) || dynamic_cast<const TbsSkinAnimateObject*>(&o);
}

SkinCommand CommandOf(const TbsActiveSkinObject& o) {
    if (auto* s = dynamic_cast<const TbsSkinStdButtonObject*>(&o)) return s->command;
    if (auto* a = dynamic_cast<const TbsSkinAnimateObject*>(&o)) return a->command;
    return SkinCommand::Default;
}
}  // namespace

void TbsSkinForm::ComputeFrameLayout() {
    if (!skinData_ || skinData_->IsEmpty()) return;
    layout_ = ::ComputeFrameLayout(skinData_->FormInfo(), PictureSize(*skinData_), {frameWidth_, frameHeight_});
}

void TbsSkinForm::UpdateFrame() {
    if (Designing() || !usesSkin_) return;
    if (skinnable_) {
        ComputeFrameLayout();
        LayoutObjects();
    }
    UpdateRegion();
    if (!holdsRegion_ && skinnable_ && Bordered()) RepaintFrame();
    if (skinData_->FormInfo().stretcheffect && form_->HandleAllocated()) {
        form_->Invalidate();
        for (int i = 0; i < form_->ControlCount(); ++i)
            if (auto* child = dynamic_cast<TWinControl*>(form_->Controls(i)))
                if (child->HandleAllocated()) SendMessage(child->Handle(), SKINMSG_PARENTBGCHANGED, 0, 0);
    }
}

void TbsSkinForm::RepaintFrame() {
    if (form_->HandleAllocated() && IsWindowVisible(form_->Handle())) SendMessage(form_->Handle(), WM_NCPAINT, 0, 0);
}

// ---- layout ------------------------------------------------------------------------------------------------

void TbsSkinForm::LayoutObjects() {
    if (!usesSkin_) return;
    const SkinFormInfo& info = skinData_->FormInfo();
    const TSize picture = PictureSize(*skinData_);
    for (const auto& o : objects_)
        if (!o->skinrectinapicture) o->ObjectRect = MapSkinRect(o->skinrect, info, picture, layout_.FrameRightBottom);
    LayoutButtonRow();
}

void TbsSkinForm::LayoutButtonRow() {
    const bool ownArea = !RectIsEmpty(layout_.ButtonsArea);
    const TRect area = ownArea ? layout_.ButtonsArea : layout_.CaptionArea;
    if (RectIsEmpty(area)) return;
    const int offset = layout_.ButtonsOffset;
    const bool toRight = layout_.ButtonsInLeft;
    const auto sizeOf = [this](const TbsActiveSkinObject& o) -> TSize {
        auto* std = dynamic_cast<const TbsSkinStdButtonObject*>(&o);
        if (std && std->ShowsIcon()) return {GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON)};
        return {o.skinrect.Width(), o.skinrect.Height()};
    };
    std::vector<TbsActiveSkinObject*> row;
    const auto take = [&](SkinCommand command) {
        for (const auto& o : objects_)
            if (o->skinrectinapicture && o->IsVisible && IsButtonRowObject(*o) && CommandOf(*o) == command)
                row.push_back(o.get());
    };
    for (SkinCommand c : {SkinCommand::Close, SkinCommand::Maximize, SkinCommand::Minimize, SkinCommand::RollUp,
                          SkinCommand::MinimizeToTray, SkinCommand::Default})
        take(c);
    if (toRight) take(SkinCommand::SysMenu);

    int x = toRight ? area.Left : area.Right;
    for (TbsActiveSkinObject* o : row) {
        const TSize s = sizeOf(*o);
        if (toRight) {
            o->ObjectRect = Bounds(x, area.Top, s.cx, s.cy);
            x += s.cx + offset;
        } else {
            x -= s.cx;
            o->ObjectRect = Bounds(x, area.Top, s.cx, s.cy);
            x -= offset;
        }
    }
    const auto captions = [this] {
        std::vector<TbsSkinCaptionObject*> out;
        for (const auto& o : objects_)
            if (auto* c = dynamic_cast<TbsSkinCaptionObject*>(o.get())) out.push_back(c);
        return out;
    }();
    if (toRight) {
        if (!ownArea)
            for (TbsSkinCaptionObject* c : captions) c->ObjectRect.Left = x;
        return;
    }
    if (!ownArea && !row.empty())
        for (TbsSkinCaptionObject* c : captions) c->ObjectRect.Right = x + offset;
    // The system menu button opens the caption area.
    const TRect captionArea = layout_.CaptionArea;
    if (RectIsEmpty(captionArea)) return;
    int left = captionArea.Left;
    for (const auto& o : objects_) {
        if (!o->skinrectinapicture || !o->IsVisible || !IsButtonRowObject(*o) || CommandOf(*o) != SkinCommand::SysMenu)
            continue;
        const TSize s = sizeOf(*o);
        o->ObjectRect = Bounds(left, captionArea.Top + captionArea.Height() / 2 - s.cy / 2, s.cx, s.cy);
        left += s.cx + offset;
    }
    if (!ownArea && left != captionArea.Left)
        for (TbsSkinCaptionObject* c : captions) c->ObjectRect.Left = left - offset;
}

void TbsSkinForm::LayoutDefaultButtons() {
    defaultCaptionRect_ = {3, 3, frameWidth_ - 3, DefaultCaptionHeight()};
    const int size = DefaultButtonSize();
    int x = frameWidth_ - 3;
    for (SkinCommand c : {SkinCommand::Close, SkinCommand::Maximize, SkinCommand::Minimize, SkinCommand::RollUp,
                          SkinCommand::MinimizeToTray}) {
        for (const auto& o : objects_) {
            auto* b = dynamic_cast<TbsSkinStdButtonObject*>(o.get());
            if (!b || !b->IsVisible || b->command != c) continue;
            x -= size;
            b->ObjectRect = Bounds(x, 4, size, size);
            defaultCaptionRect_.Right = x;
        }
    }
    for (const auto& o : objects_) {
        auto* b = dynamic_cast<TbsSkinStdButtonObject*>(o.get());
        if (!b || !b->IsVisible || b->command != SkinCommand::SysMenu) continue;
        const TSize s = ShowIcon ? TSize{GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON)} : TSize{size, size};
        b->ObjectRect = Bounds(defaultCaptionRect_.Left, 4, s.cx, s.cy);
        defaultCaptionRect_.Left += s.cx;
    }
}

// ---- region --------------------------------------------------------------------------------------------

void TbsSkinForm::UpdateRegion() {
    if (!form_->HandleAllocated()) {
        // Without a window there is nothing to shape; the masks still follow the size.
        if (!usesSkin_ || skinData_->MaskBitmap().Empty()) ClearMasks(masks_);
        else ComposeFrameMasks(skinData_->FormInfo(), skinData_->MaskBitmap(), PictureSize(*skinData_),
                               {frameWidth_, frameHeight_}, masks_);
        return;
    }
    const HWND h = form_->Handle();
    if (!skinnable_ || !Bordered()) {
        if (holdsRegion_) SetWindowRgn(h, nullptr, TRUE);
        holdsRegion_ = false;
        return;
    }
    if (!usesSkin_ || skinData_->MaskBitmap().Empty()) {
        if (!usesSkin_) ClearMasks(masks_);
        const TRegion rect(TRect{0, 0, frameWidth_, frameHeight_});
        SetWindowRgn(h, &rect, TRUE);
        holdsRegion_ = true;
        return;
    }
    ComposeFrameMasks(skinData_->FormInfo(), skinData_->MaskBitmap(), PictureSize(*skinData_),
                      {frameWidth_, frameHeight_}, masks_);
    const TRegion shape = FrameRegionFromMasks(layout_.MaskArea, masks_);
    SetWindowRgn(h, &shape, TRUE);
    holdsRegion_ = true;
}

// ---- painting -------------------------------------------------------------------------------------------

void TbsSkinForm::PaintObject(TbsActiveSkinObject* object) {
    if (!object || !Bordered() || !form_->HandleAllocated() || !IsWindowVisible(form_->Handle())) return;
    if (usesSkin_ && (frameWidth_ < MinFrameWidth() || frameHeight_ < MinFrameHeight())) return;
    WindowDc dc(form_->Handle(), nullptr);
    if (!dc.get()) return;
    const int saved = dc.get()->SaveDC();
    // Frame objects never draw over the client area.
    dc.get()->ExcludeClipRect(usesSkin_ ? layout_.FrameClientRect
                                        : TRect{3, DefaultCaptionHeight() + 3, frameWidth_ - 3, frameHeight_ - 3});
    object->Draw(*dc.get(), true);
    dc.get()->RestoreDC(saved);
}

void TbsSkinForm::PaintSkinFrame(HDC given) {
    if (!usesSkin_ || !form_->HandleAllocated()) return;
    if (frameWidth_ < MinFrameWidth() || frameHeight_ < MinFrameHeight()) return;
    ComputeFrameLayout();
    LayoutObjects();
    WindowDc dc(form_->Handle(), given);
    if (!dc.get()) return;
    DrawStrips(*dc.get());
}

void TbsSkinForm::DrawStrips(TCanvas& target) {
    const TbsSkinData& skin = *skinData_;
    const SkinFormInfo& info = skin.FormInfo();
    const bool active = IsFormActive();
    const TBitmap& picture = !active && !skin.InactiveBitmap().Empty() ? skin.InactiveBitmap() : skin.MainBitmap();
    const TSize pic = PictureSize(skin);
    const SkinCornerPoints points = CornerPointsOf(info);
    const SkinCornerPoints sized = SizedCornerPoints(points, pic, {frameWidth_, frameHeight_});
    SkinFramePartBitmaps parts;
    ComposeFrameParts(points, skin.MainBitmap().BoundsRect(), picture, frameWidth_, frameHeight_, sized,
                      StretchFlagsOf(info), parts);
    if (!active && info.autorenderinginactiveimage) {
        for (TBitmap* strip : {&parts.Top, &parts.Bottom, &parts.Left, &parts.Right}) {
            if (strip->Empty()) continue;
            TbsEffectBmp effect(*strip);
            effect.ApplyImageEffect(info.inactiveeffect);
            effect.AssignTo(*strip);
        }
    }
    const TRect& client = layout_.FrameClientRect;
    for (const auto& o : objects_) {
        if (!o->IsVisible) continue;
        const bool inBottom = o->ObjectRect.Bottom > client.Top;
        TBitmap& strip = inBottom ? parts.Bottom : parts.Top;
        if (strip.Empty()) continue;
        TCanvas& c = strip.Canvas();
        const int saved = c.SaveDC();
        if (inBottom) c.MoveOrigin(0, -client.Bottom);
        o->Draw(c, false);
        c.RestoreDC(saved);
    }
    const int saved = target.SaveDC();
    target.ExcludeClipRect(client);
    target.Draw(0, 0, parts.Top);
    target.Draw(0, parts.Top.Height(), parts.Left);
    target.Draw(frameWidth_ - parts.Right.Width(), parts.Top.Height(), parts.Right);
    target.Draw(0, frameHeight_ - parts.Bottom.Height(), parts.Bottom);
    target.RestoreDC(saved);
}

void TbsSkinForm::PaintDefaultFrame(HDC given) {
    if (usesSkin_ || !form_->HandleAllocated()) return;
    if (skinData_ && skinData_->IsChanging()) return;
    if (objects_.empty()) CreateDefaultButtons();
    LayoutDefaultButtons();
    const int capH = DefaultCaptionHeight();
    const int W = frameWidth_, H = frameHeight_;
    if (W <= 6 || capH <= 0) return;
    TBitmap caption(W - 6, capH);
    TCanvas& c = caption.Canvas();
    c.Brush.Style = bsSolid;
    c.Brush.Color = clBtnFace;
    c.FillRect(caption.BoundsRect());
    const int capL = defaultCaptionRect_.Left - 3, capR = defaultCaptionRect_.Right - 3;
    if (capH > 5) {
        for (int y = 2; y <= capH - 4; ++y) {
            c.Pen.Color = (y % 2 == 0) ? clBtnHighlight : clBtnShadow;
            c.MoveTo(capL + 2, y);
            c.LineTo(capR - 3, y);
        }
    }
    const bool active = IsFormActive();
    c.Font.Assign(active ? DefCaptionFont : DefInActiveCaptionFont);
    if (skinData_ && skinData_->ResourceStrData()) c.Font.SetCharset(skinData_->ResourceStrData()->CharSet());
    const AnsiString text = form_->Caption();
    if (OnCaptionPaint) {
        TRect r{capL, 0, capR, capH};
        OnCaptionPaint(&c, r, active);
    } else if (!text.empty()) {
        const int available = capR - capL + 3;
        const AnsiString fitted = FitTextToWidth(c, text, available);
        const TSize extent = c.TextExtent(fitted);
        const int x = capL + available / 2 - (extent.cx + 5) / 2;
        const int y = capH / 2 - extent.cy / 2;
        TRect measured{x, y, x, y};
        c.DrawText(fitted, measured, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
        c.Brush.Color = clBtnFace;
        c.FillRect(InflateRect(measured, 2, 2));
        c.Brush.Style = bsClear;
        c.DrawText(fitted, measured, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    }
    for (const auto& o : objects_) {
        if (!o->IsVisible) continue;
        const int saved = c.SaveDC();
        c.MoveOrigin(-3, -3);
        o->Draw(c, true);
        c.RestoreDC(saved);
    }
    WindowDc dc(form_->Handle(), given);
    if (!dc.get()) return;
    TCanvas& t = *dc.get();
    const int saved = t.SaveDC();
    t.ExcludeClipRect({3, capH + 3, W - 3, H - 3});
    t.Draw(3, 3, caption);
    const auto bevel = [&](const TRect& r, TColor topLeft, TColor bottomRight) {
        t.Pen.Color = topLeft;
        t.MoveTo(r.Left, r.Bottom - 1);
        t.LineTo(r.Left, r.Top);
        t.LineTo(r.Right - 1, r.Top);
        t.Pen.Color = bottomRight;
        t.LineTo(r.Right - 1, r.Bottom - 1);
        t.LineTo(r.Left - 1, r.Bottom - 1);
    };
    TRect r{0, 0, W, H};
    bevel(r, cl3DLight, cl3DDkShadow);
    bevel(InflateRect(r, -1, -1), clBtnHighlight, clBtnShadow);
    bevel(InflateRect(r, -2, -2), clBtnFace, clBtnFace);
    t.RestoreDC(saved);
}

void TbsSkinForm::PaintClientBackground(HDC dc) {
    if (!dc) return;
    const TRect client = form_->ClientRect();
    if (!usesSkin_) {
        FillClientWithFace(*dc, client);
    } else {
        const SkinFormInfo& info = skinData_->FormInfo();
        const TBitmap* picture = nullptr;
        TRect piece;
        const auto& pictures = skinData_->ActiveBitmaps();
        if (info.bgpictureindex >= 0 && info.bgpictureindex < int(pictures.size())) {
            picture = pictures[std::size_t(info.bgpictureindex)].get();
            piece = picture->BoundsRect();
        } else if (!RectIsEmpty(info.clientrect)) {
            // No picture of its own (or one the picture list lacks): the
            // client part of the frame picture.
            picture = &skinData_->MainBitmap();
            piece = info.clientrect;
        }
        if (!picture || picture->Empty() || RectIsEmpty(piece)) {
            FillClientWithFace(*dc, client);
        } else {
            PaintSkinClientPicture(*dc, client, *picture, piece, info.stretcheffect, info.stretchtype,
                                   {frameWidth_, frameHeight_});
        }
    }
    DrawClientLogo(*dc, client, LogoBitMap, LogoBitMapTransparent);
}

// ---- hit tests -------------------------------------------------------------------------------------------------

int TbsSkinForm::HitTestSkin(TPoint p) const {
    SkinHitTestState s;
    s.window = {frameWidth_, frameHeight_};
    s.borderWidth = skinData_->FormInfo().borderwidth;
    s.hasMask = !skinData_->MaskBitmap().Empty();
    s.rolledUpOrMinimized = rollUpState_ || skinWindowState_ == wsMinimized;
    s.maximized = skinWindowState_ == wsMaximized;
    s.canResize = CanResize();
    s.inSizeMove = inSizeMove_;
    s.hotObject = hotIndex_ != -1;
    s.onCaption = [this](TPoint q) {
        for (const auto& o : objects_)
            if (dynamic_cast<const TbsSkinCaptionObject*>(o.get()) && PtInRect(o->ObjectRect, q)) return true;
        return false;
    };
    return HitTestSkinFrame(layout_, masks_, s, p);
}

int TbsSkinForm::HitTestDefault(TPoint p) const {
    DefaultHitTestState s;
    s.window = {frameWidth_, frameHeight_};
    s.captionHeight = DefaultCaptionHeight();
    s.captionRect = defaultCaptionRect_;
    s.normalAndUnrolled = skinWindowState_ == wsNormal && !rollUpState_;
    s.canResize = CanResize();
    s.hotObject = hotIndex_ != -1;
    return HitTestDefaultFrame(s, p);
}

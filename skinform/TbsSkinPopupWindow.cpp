#include "TbsSkinPopupWindow.h"

#include <algorithm>

#include "ImgList.h"
#include "SkinComposition.h"
#include "SkinCornerPoints.h"
#include "SkinGeometry.h"
#include "SkinGlyphs.h"
#include "SkinMenuPlacement.h"
#include "SkinPlatform.h"
#include "SkinRegions.h"
#include "TbsSkinData.h"
#include "TbsSkinMenu.h"

namespace {
const TbsDataSkinMenuItem* FirstMenuItemRecord(const TbsSkinData& skin) {
    for (const auto& o : skin.SkinObjects())
        if (auto* r = dynamic_cast<const TbsDataSkinMenuItem*>(o.get())) return r;
    return nullptr;
}

TPoint ScreenOf(HWND h, TPoint client) {
    ClientToScreen(h, client);
    return client;
}
}  // namespace

TbsSkinPopupWindow::TbsSkinPopupWindow(TComponent* AOwner, TbsSkinMenu& engine)
    : TCustomControl(AOwner), engine_(engine) {
    SetVisibleFlag(false);
}

TbsSkinPopupWindow::~TbsSkinPopupWindow() = default;

void TbsSkinPopupWindow::CreateParams(TCreateParams& p) {
    TCustomControl::CreateParams(p);
    p.Style = WS_POPUP;
    // Never activated, on top of everything, kept off the task bar.
    p.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE;
    p.WinClassName = "TbsSkinPopupWindow";
    p.WindowClassStyle = CS_SAVEBITS;
}

TbsSkinMenuItem* TbsSkinPopupWindow::ActiveMenuItem() const {
    return activeItem_ >= 0 && activeItem_ < int(items_.size()) ? items_[std::size_t(activeItem_)].get() : nullptr;
}

int TbsSkinPopupWindow::IndexOf(const TbsSkinMenuItem* item) const {
    for (std::size_t i = 0; i < items_.size(); ++i)
        if (items_[i].get() == item) return int(i);
    return -1;
}

// ---- building ------------------------------------------------------------------------------------------

void TbsSkinPopupWindow::Build(TMenuItem* tree, int startIndex) {
    tree_ = tree;
    const TbsSkinData* skin = engine_.MenuSkin();
    const bool loaded = skin && !skin->IsEmpty();
    if (loaded && skin->PopupWindow().windowpictureindex != -1) {
        windowPicture_ = skin->ActiveBitmapAt(skin->PopupWindow().windowpictureindex);
        if (windowPicture_) {
            popupRecord_ = &skin->PopupWindow();
            maskPicture_ = skin->ActiveBitmapAt(popupRecord_->maskpictureindex);
        }
    }
    if (loaded) {
        // A record without a usable picture leaves the items in the built-in look.
        if (const TbsDataSkinMenuItem* r = FirstMenuItemRecord(*skin)) {
            itemPicture_ = skin->ActiveBitmapAt(r->activepictureindex);
            if (itemPicture_) itemRecord_ = r;
        }
    }
    TFont font;
    if (itemRecord_ && engine_.UseSkinFont) {
        font.SetName(itemRecord_->fontname);
        font.SetHeight(itemRecord_->fontheight);
        font.SetStyle(itemRecord_->fontstyle);
    } else {
        font.Assign(engine_.DefaultMenuItemFont);
    }
    SetFont(font);

    TMenu* menu = tree->GetParentMenu();
    if (menu && menu->AutoLineReduction != maAutomatic) tree->RethinkLines();
    images_ = menu ? menu->Images() : nullptr;
    for (int i = std::max(startIndex, 0); i < tree->Count(); ++i) {
        TMenuItem* child = tree->Items(i);
        if (!child->Visible) continue;
        items_.push_back(std::make_unique<TbsSkinMenuItem>(*this, child, itemRecord_, itemPicture_));
    }
    glyphWidth_ = images_ ? images_->Width() + 5 : 19;

    TCanvas measure;
    measure.Font = Font();
    int textW = 0;
    for (const auto& item : items_) {
        if (item->IsSeparator()) continue;
        AnsiString text = item->MenuItem()->Caption();
        if (item->MenuItem()->ShortCut) text = text + "  " + ShortCutToText(item->MenuItem()->ShortCut);
        TRect r{0, 0, 0, 0};
        measure.DrawText(text, r, DT_CALCRECT | DT_SINGLELINE);
        textW = std::max(textW, r.Width());
    }
    int w = textW + 2 + glyphWidth_ + 19;
    if (itemRecord_) w += itemRecord_->textrect.Left + (itemRecord_->skinrect.Width() - itemRecord_->textrect.Right);
    else w += 10;
    if (popupRecord_) w += windowPicture_->Width() - popupRecord_->itemsrect.Width();

    const int frameH = popupRecord_ ? windowPicture_->Height() - popupRecord_->itemsrect.Height() : 4;
    int h = frameH;
    for (const auto& item : items_) h += item->Height(engine_.DefaultMenuItemHeight);
    const int maxItems = engine_.MaxMenuItemsInWindow;
    if (maxItems > 0 && maxItems < int(items_.size())) {
        const int normal = itemRecord_ ? itemRecord_->skinrect.Height() : engine_.DefaultMenuItemHeight;
        h = normal * maxItems + frameH + 2 * kScrollBand;
        scrollable_ = scrollLimited_ = true;
    }
    const TRect& work = engine_.MenuWorkArea();
    if (work.Height() > 0 && h > work.Height()) {
        h = work.Height();
        scrollable_ = true;
    }
    SetBounds(Left(), Top(), w, h);
    if (popupRecord_) {
        const int dW = w - windowPicture_->Width(), dH = h - windowPicture_->Height();
        itemsArea_ = popupRecord_->itemsrect;
        itemsArea_.Right += dW;
        itemsArea_.Bottom += dH;
    } else {
        itemsArea_ = {2, 2, w - 2, h - 2};
    }
    LayoutItems();
    ComposeBackground();
}

void TbsSkinPopupWindow::LayoutItems() {
    const int band = scrollable_ ? kScrollBand : 0;
    int y = itemsArea_.Top + band;
    const int limit = itemsArea_.Bottom - band;
    visibleCount_ = 0;
    bool ended = false;
    for (std::size_t i = 0; i < items_.size(); ++i) {
        TbsSkinMenuItem& item = *items_[i];
        item.ItemVisible = false;
        if (int(i) < visibleStart_ || ended) continue;
        const int ih = item.Height(engine_.DefaultMenuItemHeight);
        if (y + ih > limit) {
            ended = true;
            continue;
        }
        item.ItemRect = {itemsArea_.Left, y, itemsArea_.Right, y + ih};
        item.ItemVisible = true;
        ++visibleCount_;
        y += ih;
    }
}

void TbsSkinPopupWindow::Place(const TRect& anchor, bool upward, bool submenu, int parentItemsTop) {
    SkinMenuPlacementInput in;
    in.anchor = anchor;
    in.workArea = engine_.MenuWorkArea();
    in.width = Width();
    in.height = Height();
    in.parentItemsTop = parentItemsTop;
    in.submenu = submenu;
    in.upward = upward;
    in.scrollable = scrollable_;
    in.scrollLimited = scrollLimited_;
    const TPoint at = PlaceSkinMenu(in);
    SetBounds(at.X, at.Y, Width(), Height());
}

void TbsSkinPopupWindow::UpdateShape() {
    if (!HandleAllocated() || !popupRecord_ || !maskPicture_) return;
    const SkinCornerPoints points = CornerPointsOf(*popupRecord_);
    const TSize picture{windowPicture_->Width(), windowPicture_->Height()};
    const SkinCornerPoints sized = SizedCornerPoints(points, picture, {Width(), Height()});
    if (auto region = ComposeSkinRegion(points, *maskPicture_, Width(), sized)) SetWindowRgn(Handle(), &*region, TRUE);
}

void TbsSkinPopupWindow::ShowPopup(bool fadeIn) {
    HandleNeeded();
    const HWND h = Handle();
    UpdateShape();
    if (engine_.AlphaBlend) {
        SetWindowLong(h, GWL_EXSTYLE, GetWindowLong(h, GWL_EXSTYLE) | LONG(WS_EX_LAYERED));
        fadeAlpha_ = fadeIn ? 0 : engine_.AlphaBlendValue;
        SetWindowAlpha(h, fadeAlpha_);
    }
    SetWindowPos(h, HWND_TOPMOST, Left(), Top(), 0, 0, SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOSIZE);
    if (engine_.AlphaBlend && fadeIn) SetTimer(h, kFadeTimer, 5);
    GetCursorPos(lastPointer_);
    SetTimer(h, kPointerTimer, 50);
    for (std::size_t i = 0; i < items_.size(); ++i) {
        if (!items_[i]->Selectable()) continue;
        activeItem_ = int(i);
        items_[i]->WaitCommand = true;
        items_[i]->Highlight(true);
        break;
    }
}

// ---- selection -----------------------------------------------------------------------------------------

void TbsSkinPopupWindow::SetActiveItem(int index) {
    if (index == activeItem_ || index < 0 || index >= int(items_.size())) return;
    oldActiveItem_ = activeItem_;
    if (TbsSkinMenuItem* old = ActiveMenuItem(); old && old->Selectable()) old->Unhighlight();
    activeItem_ = index;
}

void TbsSkinPopupWindow::SelectNext(int direction) {
    const int n = int(items_.size());
    int i = activeItem_;
    for (int k = 0; k < n; ++k) {
        i = i < 0 ? (direction > 0 ? 0 : n - 1) : (i + direction + n) % n;
        if (!items_[std::size_t(i)]->Selectable()) continue;
        if (i == activeItem_) return;
        // Passing an end of the list wraps the window to the other end too.
        const bool wrapped = activeItem_ >= 0 && (direction > 0 ? i < activeItem_ : i > activeItem_);
        SetActiveItem(i);
        if (wrapped && scrollable_ && !items_[std::size_t(i)]->ItemVisible) ScrollTo(direction > 0 ? 0 : LastFullStart());
        // Disabled items at that end can still leave the selection outside.
        EnsureVisible(i);
        items_[std::size_t(i)]->Highlight(true);
        return;
    }
}

int TbsSkinPopupWindow::LastFullStart() const {
    // From the last item back, as many as the items area holds.
    const int band = scrollable_ ? kScrollBand : 0;
    int room = (itemsArea_.Bottom - band) - (itemsArea_.Top + band);
    int start = int(items_.size());
    while (start > 0) {
        const int ih = items_[std::size_t(start - 1)]->Height(engine_.DefaultMenuItemHeight);
        if (ih > room) break;
        room -= ih;
        --start;
    }
    return std::min(start, std::max(0, int(items_.size()) - 1));
}

void TbsSkinPopupWindow::ScrollTo(int start) {
    if (start == visibleStart_) return;
    visibleStart_ = start;
    LayoutItems();
    if (HandleAllocated()) InvalidateRect(Handle(), nullptr, FALSE);
}

void TbsSkinPopupWindow::EnsureVisible(int index) {
    if (!scrollable_ || items_[std::size_t(index)]->ItemVisible) return;
    if (index < visibleStart_) {
        visibleStart_ = index;
    } else {
        // The smallest start that brings the item into the window.
        while (visibleStart_ < index) {
            ++visibleStart_;
            LayoutItems();
            if (items_[std::size_t(index)]->ItemVisible) break;
        }
    }
    LayoutItems();
    if (HandleAllocated()) InvalidateRect(Handle(), nullptr, FALSE);
}

void TbsSkinPopupWindow::ScrollBy(int delta) {
    const int last = int(items_.size()) - visibleCount_;
    const int start = std::clamp(visibleStart_ + delta, 0, std::max(last, 0));
    if (start == visibleStart_) return;
    visibleStart_ = start;
    LayoutItems();
    if (HandleAllocated()) InvalidateRect(Handle(), nullptr, FALSE);
}

bool TbsSkinPopupWindow::KeyDown(WORD key) {
    const int level = engine_.IndexOfPopup(this);
    if (level < 0 || !HandleAllocated() || !IsWindowVisible(Handle())) return false;
    if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9')) {
        for (std::size_t i = 0; i < items_.size(); ++i) {
            TbsSkinMenuItem& item = *items_[i];
            if (!item.Selectable() || !IsAccel(key, item.MenuItem()->Caption())) continue;
            SetActiveItem(int(i));
            EnsureVisible(int(i));
            item.Highlight(true);
            item.Execute();
            return true;
        }
        return false;
    }
    switch (key) {
    case VK_RETURN:
        if (TbsSkinMenuItem* item = ActiveMenuItem(); item && item->Selectable()) item->Execute();
        return true;
    case VK_ESCAPE:
        if (level == 0) engine_.CloseMenu();
        else engine_.CloseFrom(level);
        return true;
    case VK_LEFT:
        if (level > 0) engine_.CloseFrom(level);
        return true;
    case VK_RIGHT:
        if (TbsSkinMenuItem* item = ActiveMenuItem();
            item && item->Selectable() && item->HasSubmenu() && !item->SubmenuOpen)
            engine_.ItemActivated(*this, *item, true, true);
        return true;
    case VK_DOWN: SelectNext(1); return true;
    case VK_UP: SelectNext(-1); return true;
    default: return false;
    }
}

// ---- pointer -------------------------------------------------------------------------------------------

int TbsSkinPopupWindow::ItemAt(TPoint client) const {
    for (std::size_t i = 0; i < items_.size(); ++i)
        if (items_[i]->ItemVisible && PtInRect(items_[i]->ItemRect, client)) return int(i);
    return -1;
}

void TbsSkinPopupWindow::PointerMovedTo(TPoint screen) {
    lastPointer_ = screen;
    const TPoint p{screen.X - Left(), screen.Y - Top()};
    if (scrollable_) {
        const bool inTop = p.Y >= itemsArea_.Top && p.Y < itemsArea_.Top + kScrollBand;
        const bool inBottom = p.Y >= itemsArea_.Bottom - kScrollBand && p.Y < itemsArea_.Bottom;
        const bool canUp = visibleStart_ > 0;
        const bool canDown = visibleStart_ + visibleCount_ < int(items_.size());
        if (inTop && scrollDir_ == 0 && canUp) StartScroll(1);
        else if (inBottom && scrollDir_ == 0 && canDown) StartScroll(2);
        else if (!inTop && !inBottom && scrollDir_ != 0) StopScroll();
    }
    const int index = ItemAt(p);
    if (index < 0) return;
    TbsSkinMenuItem& item = *items_[std::size_t(index)];
    if (index == activeItem_) {
        if (item.WaitCommand) {
            item.WaitCommand = false;
            if (item.HasSubmenu() && item.Selectable()) item.Highlight(false);
        }
        return;
    }
    SetActiveItem(index);
    if (item.Selectable()) item.Highlight(false);
}

void TbsSkinPopupWindow::PointerReleasedAt(TPoint screen) {
    PointerMovedTo(screen);
    const int index = ItemAt({screen.X - Left(), screen.Y - Top()});
    if (index < 0 || index != activeItem_) return;
    TbsSkinMenuItem& item = *items_[std::size_t(index)];
    if (!item.IsSeparator()) item.Execute();
}

void TbsSkinPopupWindow::PollPointer() {
    TPoint p;
    if (!GetCursorPos(p) || p == lastPointer_) return;
    lastPointer_ = p;
    if (WindowFromPoint(p) == Handle()) PointerMovedTo(p);
    else if (scrollable_ && scrollDir_ != 0) StopScroll();
}

void TbsSkinPopupWindow::StartScroll(int dir) {
    scrollDir_ = dir;
    const int level = engine_.IndexOfPopup(this);
    if (level >= 0) engine_.CloseFrom(level + 1);
    if (HandleAllocated()) {
        InvalidateRect(Handle(), nullptr, FALSE);
        SetTimer(Handle(), kScrollTimer, 100);
    }
}

void TbsSkinPopupWindow::StopScroll() {
    scrollDir_ = 0;
    if (!HandleAllocated()) return;
    KillTimer(Handle(), kScrollTimer);
    InvalidateRect(Handle(), nullptr, FALSE);
}

void TbsSkinPopupWindow::ScrollTick() {
    const bool canDown = visibleStart_ + visibleCount_ < int(items_.size());
    if (scrollDir_ == 1 && visibleStart_ > 0) ScrollBy(-1);
    else if (scrollDir_ == 2 && canDown) ScrollBy(1);
    else StopScroll();
}

// ---- effects -------------------------------------------------------------------------------------------

void TbsSkinPopupWindow::StartEffects() {
    if (!HandleAllocated() || effectsRunning_) return;
    effectsRunning_ = true;
    UINT interval = 20;
    for (const auto& item : items_)
        if (item->CanAnimate() && item->EffectsPending()) interval = UINT(std::max(item->Record()->animateinterval, 1));
    SetTimer(Handle(), kEffectTimer, interval);
}

void TbsSkinPopupWindow::EffectTick() {
    bool moved = false;
    for (const auto& item : items_) moved = item->StepEffects() || moved;
    if (!moved) {
        effectsRunning_ = false;
        KillTimer(Handle(), kEffectTimer);
    }
}

// ---- painting ------------------------------------------------------------------------------------------

void TbsSkinPopupWindow::RenderBackground(TBitmap& out) const {
    const int w = Width(), h = Height();
    if (popupRecord_) {
        const SkinCornerPoints points = CornerPointsOf(*popupRecord_);
        const TSize picture{windowPicture_->Width(), windowPicture_->Height()};
        ComposeWindowImage(points, {0, 0, picture.cx, picture.cy}, *windowPicture_, out, w, h,
                           SizedCornerPoints(points, picture, {w, h}), StretchFlagsOf(*popupRecord_), true);
        return;
    }
    out.SetSize(w, h);
    TCanvas& c = out.Canvas();
    c.Brush.Style = bsSolid;
    const int column = images_ ? glyphWidth_ + 2 : 21;
    c.Brush.Color = clBtnFace;
    c.FillRect({0, 0, column, h});
    c.Brush.Color = clWindow;
    c.FillRect({column, 0, w, h});
    c.Brush.Color = clBtnShadow;
    c.FrameRect({0, 0, w, h});
    c.Brush.Color = clWindow;
    c.FrameRect({1, 1, w - 1, h - 1});
}

void TbsSkinPopupWindow::ComposeBackground() { RenderBackground(background_); }

void TbsSkinPopupWindow::DrawMarkers(TCanvas& c) const {
    if (!scrollable_) return;
    const int w = Width(), h = Height();
    const bool canUp = visibleStart_ > 0;
    (void)canUp;
    if (!popupRecord_) {
        const TRect top{3, 3, w - 3, 13}, bottom{3, h - 10, w - 3, h - 3};
        c.Brush.Style = bsSolid;
        c.Brush.Color = clWindow;
        c.FillRect(top);
        c.FillRect(bottom);
        DrawDirectionArrow(c, top, SkinArrowKind::Up, scrollDir_ == 1 ? clBtnText : clBtnShadow);
        DrawDirectionArrow(c, bottom, SkinArrowKind::Down, scrollDir_ == 2 ? clBtnText : clBtnShadow);
        return;
    }
    const TRect top{itemsArea_.Left, itemsArea_.Top, itemsArea_.Right, itemsArea_.Top + kScrollBand};
    const TRect bottom{itemsArea_.Left, itemsArea_.Bottom - kScrollBand, itemsArea_.Right, itemsArea_.Bottom};
    const TbsSkinData* skin = engine_.MenuSkin();
    const TbsDataSkinMenuItem* band = nullptr;
    if (skin) {
        int index = skin->FindObjectIndex("menuitem");
        if (index < 0) index = skin->FindObjectIndex("MENUITEM");
        if (index >= 0) band = dynamic_cast<const TbsDataSkinMenuItem*>(skin->SkinObjects()[std::size_t(index)].get());
    }
    for (const TRect& r : {top, bottom}) {
        if (!band) continue;
        if (band->inactivetransparent) {
            c.CopyRect(r, const_cast<TBitmap&>(background_).Canvas(), r);
        } else if (const TBitmap* pic = skin->ActiveBitmapAt(band->activepictureindex); pic && !RectIsEmpty(band->skinrect)) {
            TBitmap row;
            ComposeRowImage(band->itemleftoffset, band->itemrightoffset, row, band->inactivestretcheffect, r.Width(),
                            band->skinrect, *pic);
            c.StretchDraw(r, row);
        }
    }
    const TColor normal = popupRecord_->scrollmarkercolor, active = popupRecord_->scrollmarkeractivecolor;
    DrawDirectionArrow(c, top, SkinArrowKind::Up, scrollDir_ == 1 ? active : normal);
    DrawDirectionArrow(c, bottom, SkinArrowKind::Down, scrollDir_ == 2 ? active : normal);
}

void TbsSkinPopupWindow::RenderOnto(TCanvas& c) const {
    c.Draw(0, 0, background_);
    for (const auto& item : items_) item->Draw(c);
    DrawMarkers(c);
}

void TbsSkinPopupWindow::RenderTo(TBitmap& out) const {
    out.SetSize(Width(), Height());
    RenderOnto(out.Canvas());
}

void TbsSkinPopupWindow::Paint() { RenderOnto(Canvas()); }

void TbsSkinPopupWindow::RepaintItem(const TbsSkinMenuItem& item) {
    if (!HandleAllocated() || !item.ItemVisible || !IsWindowVisible(Handle())) return;
    // A DC of its own, released at once, so the change reaches the screen now.
    const HWND h = Handle();
    const HDC dc = GetDC(h);
    if (!dc) return;
    dc->Font = Font();
    item.Draw(*dc);
    ReleaseDC(h, dc);
}

// ---- messages ------------------------------------------------------------------------------------------

void TbsSkinPopupWindow::WndProc(TMessage& m) {
    TbsSkinMenu::HandlerScope scope(engine_);
    switch (m.Msg) {
    case WM_MOUSEACTIVATE:
        m.Result = MA_NOACTIVATE;
        return;
    case WM_ERASEBKGND:
        m.Result = 1;
        return;
    case WM_MOUSEMOVE:
        PointerMovedTo(ScreenOf(Handle(), LParamToPoint(m.LParam)));
        return;
    case WM_LBUTTONUP:
        PointerReleasedAt(ScreenOf(Handle(), LParamToPoint(m.LParam)));
        return;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
        return;
    case WM_ACTIVATEAPP:
        // Another program took the input: the menu is over.
        if (!m.WParam && engine_.IndexOfPopup(this) >= 0) engine_.CloseMenu();
        return;
    case WM_TIMER:
        switch (m.WParam) {
        case kScrollTimer: ScrollTick(); return;
        case kPointerTimer: PollPointer(); return;
        case kEffectTimer: EffectTick(); return;
        case kFadeTimer: {
            const int next = std::min(int(fadeAlpha_) + 10, int(engine_.AlphaBlendValue));
            fadeAlpha_ = BYTE(next);
            SetWindowAlpha(Handle(), fadeAlpha_);
            if (next >= engine_.AlphaBlendValue) KillTimer(Handle(), kFadeTimer);
            return;
        }
        default: break;
        }
        break;
    default:
        break;
    }
    TCustomControl::WndProc(m);
}

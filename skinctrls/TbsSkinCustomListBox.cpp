#include "TbsSkinCustomListBox.h"

#include <algorithm>

#include "SkinComposition.h"
#include "SkinControlGeometry.h"
#include "SkinDefaultLook.h"
#include "SkinGeometry.h"
#include "TbsSkinCustomControl.h"
#include "TbsSkinData.h"
#include "TbsSkinScrollBar.h"

namespace {
constexpr int kDefaultFrame = 2;
}  // namespace

TbsSkinCustomListBox::TbsSkinCustomListBox(TComponent* AOwner) : TPopupListBox(AOwner) {
    defaultFont_.Assign(MakeSkinDefaultFont());
    Font().Assign(defaultFont_);
    // The frame is the list's own; the platform's edge and bars never show.
    SetBorderStyle(bsNone);
    bars_.SetAllowed(false, false, nullptr);
    SetStyle(lbOwnerDrawFixed);
    SetItemHeight(defaultItemHeight_);
}

TbsSkinCustomListBox::~TbsSkinCustomListBox() {
    if (scrollBar_) scrollBar_->OnChange = nullptr;
}

void TbsSkinCustomListBox::Notification(TComponent* AComponent, TOperation Operation) {
    TPopupListBox::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == skinData_) {
        skinData_ = nullptr;
        recordIndex_ = -1;
    }
    if (AComponent == scrollBar_) scrollBar_ = nullptr;
}

// ---- binding -----------------------------------------------------------------------------------

void TbsSkinCustomListBox::SetSkinData(TbsSkinData* value) {
    ReferToSkinData(*this, skinData_, value);
    if (scrollBar_) scrollBar_->SetSkinData(value);
    ApplySkin();
}

void TbsSkinCustomListBox::SetSkinDataName(const AnsiString& value) {
    skinDataName_ = value;
    ApplySkin();
}

void TbsSkinCustomListBox::SetDefaultItemHeight(int value) {
    if (value < 1) return;
    defaultItemHeight_ = value;
    ApplySkin();
}

void TbsSkinCustomListBox::SetUseSkinItemHeight(bool value) {
    useSkinItemHeight_ = value;
    ApplySkin();
}

void TbsSkinCustomListBox::SetDefaultFont(const TFont& value) {
    defaultFont_.Assign(value);
    ApplySkin();
}

void TbsSkinCustomListBox::SetUseSkinFont(bool value) {
    useSkinFont_ = value;
    ApplySkin();
}

void TbsSkinCustomListBox::BindSkinRecord() {
    recordIndex_ = -1;
    picture_ = nullptr;
    if (!skinData_ || skinData_->IsEmpty() || skinDataName_.empty()) return;
    const int index = skinData_->FindControlIndex(skinDataName_);
    const auto* r = dynamic_cast<const TbsDataSkinListBox*>(SkinControlRecordAt(skinData_, index));
    if (!r) return;
    rec_ = *r;
    // The selected and focused item images fall back to the normal one.
    if (RectIsEmpty(rec_.activeitemrect)) rec_.activeitemrect = rec_.itemrect;
    if (RectIsEmpty(rec_.focusitemrect)) rec_.focusitemrect = rec_.itemrect;
    picture_ = SkinPictureAt(*skinData_, rec_.pictureindex);
    recordIndex_ = index;
}

void TbsSkinCustomListBox::ApplySkin() {
    BindSkinRecord();
    TFont f;
    f.Assign(defaultFont_);
    if (Skinned() && useSkinFont_) {
        f.SetName(rec_.fontname);
        f.SetHeight(rec_.fontheight);
        f.SetStyle(rec_.fontstyle);
    }
    if (Skinned()) f.SetColor(rec_.fontcolor);
    Font().Assign(f);
    const bool skinHeight = Skinned() && useSkinItemHeight_ && HeightOf(rec_.itemrect) > 0;
    SetItemHeight(skinHeight ? HeightOf(rec_.itemrect) : defaultItemHeight_);
    if (scrollBar_) {
        scrollBar_->SetSkinDataName(Skinned() ? rec_.vscrollbarname : AnsiString("vscrollbar"));
        scrollBar_->ApplySkin();
    }
    if (HandleAllocated()) {
        // The frame's widths may have changed.
        SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    }
    SyncScrollBar();
    Invalidate();
}

// ---- geometry ----------------------------------------------------------------------------------

TRect TbsSkinCustomListBox::FrameInsets() const {
    if (!Skinned()) return {kDefaultFrame, kDefaultFrame, kDefaultFrame, kDefaultFrame};
    const TRect& c = rec_.clientrect;
    return {c.Left, c.Top, WidthOf(rec_.skinrect) - c.Right, HeightOf(rec_.skinrect) - c.Bottom};
}

int TbsSkinCustomListBox::HeightForRows(int rows) const {
    rows = std::max(0, rows);
    if (!Skinned()) return rows * ItemHeight() + 2 * kDefaultFrame;
    return HeightOf(rec_.skinrect) + rows * ItemHeight() - HeightOf(rec_.clientrect);
}

int TbsSkinCustomListBox::ItemAreaWidth(const TRect& rect) const {
    const int bar = scrollBar_ && scrollBar_->Visible() ? scrollBar_->Width() : 0;
    return std::max(0, rect.Width() - bar);
}

// ---- the bar -----------------------------------------------------------------------------------

void TbsSkinCustomListBox::SyncScrollBar() {
    if (syncing_) return;
    syncing_ = true;
    const int count = Items().Count();
    const int rows = std::max(1, ClientRect().Height() / std::max(1, ItemHeight()));
    const bool needed = count > rows && HandleAllocated();
    if (needed && !scrollBar_) {
        scrollBar_ = CreateComponent<TbsSkinScrollBar>(this);
        scrollBar_->FreeNotification(this);
        scrollBar_->SetKind(sbVertical);
        scrollBar_->SetDefaultWidth(19);
        scrollBar_->SetBounds(0, 0, 19, 100);
        scrollBar_->SetSkinDataName(Skinned() ? rec_.vscrollbarname : AnsiString("vscrollbar"));
        scrollBar_->SetSkinData(skinData_);
        scrollBar_->SetParent(this);
        scrollBar_->OnChange = [this](TObject*) {
            if (!syncing_) SetTopIndex(scrollBar_->Position());
        };
    }
    if (scrollBar_) {
        if (needed) {
            // The bar keeps the width it takes (a skinned bar its record's).
            const TRect client = ClientRect();
            const int w = scrollBar_->Width();
            const TRect place{client.Right - w, 0, client.Right, client.Height()};
            if (scrollBar_->BoundsRect() != place) scrollBar_->SetBoundsRect(place);
            scrollBar_->SetRangeAndPosition(0, count - 1, rows, TopIndex());
            scrollBar_->SetSmallChange(1);
            scrollBar_->SetLargeChange(rows);
        }
        if (scrollBar_->Visible() != needed) {
            scrollBar_->SetVisible(needed);
            Invalidate();
        }
    }
    syncing_ = false;
}

// ---- painting ----------------------------------------------------------------------------------

void TbsSkinCustomListBox::PaintFrame() {
    HDC dc = GetWindowDC(Handle());
    if (!dc) return;
    TRect wr;
    GetWindowRect(Handle(), wr);
    const int W = wr.Width(), H = wr.Height();
    TCanvas& c = *dc;
    const TRect in = FrameInsets();
    c.SaveDC();
    c.ExcludeClipRect({in.Left, in.Top, W - in.Right, H - in.Bottom});
    if (Skinned()) {
        TbsDataSkinCustomControl geometry = rec_;
        const SkinCornerPoints points = CornerPointsOf(geometry);
        const TSize skin{WidthOf(rec_.skinrect), HeightOf(rec_.skinrect)};
        TBitmap image;
        ComposeSkinImage(points, rec_.skinrect, *picture_, image, W, H, SizedCornerPoints(points, skin, {W, H}),
                         StretchFlagsOf(geometry), false);
        c.Draw(0, 0, image);
    } else {
        c.Brush.Style = bsSolid;
        c.Brush.Color = clWindow;
        c.FillRect({0, 0, W, H});
        c.Brush.Color = clBtnShadow;
        c.FrameRect({0, 0, W, H});
    }
    c.RestoreDC();
    ReleaseDC(Handle(), dc);
}

void TbsSkinCustomListBox::DrawItem(int index, const TRect& rect, TOwnerDrawState state) {
    TCanvas& c = Canvas();
    const bool selected = (state & odSelected) != 0;
    const int width = ItemAreaWidth(rect);
    const AnsiString& text = Items().Strings(index);
    if (Skinned() && HeightOf(rec_.itemrect) > 0) {
        // The pointed-at item of a drop-down list is selected and focused at once.
        const TRect& src = selected ? rec_.focusitemrect : rec_.itemrect;
        TBitmap strip;
        ComposeRowImage(rec_.itemleftoffset, rec_.itemrightoffset, strip, false, width, src, *picture_);
        c.StretchDraw({rect.Left, rect.Top, rect.Left + width, rect.Bottom}, strip);
        TRect textRect = rec_.itemtextrect;
        textRect.Right += width - WidthOf(rec_.itemrect);
        textRect = OffsetRect(textRect, rect.Left, rect.Top);
        c.Font.Assign(Font());
        c.Font.SetColor(selected ? rec_.focusfontcolor : rec_.fontcolor);
        if (OnDrawSkinItem) {
            OnDrawSkinItem(c, index, width, rect.Height(), textRect, state);
            return;
        }
        c.Brush.Style = bsClear;
        c.DrawText(text, textRect, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_EXPANDTABS);
        c.Brush.Style = bsSolid;
        if (rec_.showfocus && selected) c.DrawFocusRect({rect.Left, rect.Top, rect.Left + width, rect.Bottom});
        return;
    }
    c.Brush.Style = bsSolid;
    c.Brush.Color = selected ? clHighlight : Color();
    c.FillRect({rect.Left, rect.Top, rect.Left + width, rect.Bottom});
    c.Font.Assign(Font());
    c.Font.SetColor(selected ? clHighlightText : Font().Color());
    TRect textRect{rect.Left + 2, rect.Top + 2, rect.Left + width - 2, rect.Bottom - 2};
    if (OnDrawSkinItem) {
        OnDrawSkinItem(c, index, width, rect.Height(), textRect, state);
        return;
    }
    c.Brush.Style = bsClear;
    c.DrawText(text, textRect, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_EXPANDTABS);
    c.Brush.Style = bsSolid;
}

// ---- messages ----------------------------------------------------------------------------------

void TbsSkinCustomListBox::WndProc(TMessage& m) {
    switch (m.Msg) {
    case WM_NCCALCSIZE: {
        TRect* r = m.WParam ? &FromLParam<NCCALCSIZE_PARAMS>(m.LParam)->rgrc[0] : FromLParam<TRect>(m.LParam);
        if (r) {
            const TRect in = FrameInsets();
            r->Left += in.Left;
            r->Top += in.Top;
            r->Right = std::max(r->Left, r->Right - in.Right);
            r->Bottom = std::max(r->Top, r->Bottom - in.Bottom);
        }
        m.Result = 0;
        return;
    }
    case WM_NCPAINT:
        PaintFrame();
        m.Result = 0;
        return;
    case WM_NCHITTEST:
        m.Result = HTCLIENT;
        return;
    default:
        break;
    }
    TPopupListBox::WndProc(m);
    switch (m.Msg) {
    case WM_SIZE:
    case WM_SHOWWINDOW:
    case WM_PAINT:
    case WM_MOUSEWHEEL:
    case WM_VSCROLL:
        SyncScrollBar();
        break;
    default:
        break;
    }
}

#include "TbsSkinListView.h"

#include <algorithm>

#include "SkinComposition.h"
#include "SkinControlGeometry.h"
#include "SkinGeometry.h"
#include "SkinDefaultLook.h"
#include "SkinTextLayout.h"
#include "TbsSkinCustomControl.h"
#include "TbsSkinData.h"
#include "TbsSkinScrollBar.h"

namespace {
// The header is wider than the list, so its right end never shows a seam.
constexpr int kHeaderExtraWidth = 4;
}  // namespace

TbsSkinCustomListView::TbsSkinCustomListView(TComponent* AOwner) : TCustomListView(AOwner) {
    defaultFont_.Assign(MakeSkinDefaultFont());
    Font().Assign(defaultFont_);
    defaultFont_.OnChange = [this] {
        if (!Bound()) Font().Assign(defaultFont_);
    };
    // No frame and no platform bars: attached skinned bars do the scrolling.
    SetBorderStyle(bsNone);
    SetShowScrollBars(false);
    takenHeader_ = Header();
    if (takenHeader_) {
        headerOldProc_ = takenHeader_->WindowProc;
        takenHeader_->WindowProc = [this](TMessage& m) { HeaderWndProc(m); };
    }
}

TbsSkinCustomListView::~TbsSkinCustomListView() {
    defaultFont_.OnChange = nullptr;
    // The header goes with the base class: give it its own handling back first.
    if (takenHeader_) takenHeader_->WindowProc = headerOldProc_;
    takenHeader_ = nullptr;
    SetVScrollBar(nullptr);
    SetHScrollBar(nullptr);
}

void TbsSkinCustomListView::Notification(TComponent* AComponent, TOperation Operation) {
    TCustomListView::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == skinData_) {
        skinData_ = nullptr;
        recordIndex_ = headerIndex_ = -1;
    }
    if (AComponent == vScrollBar_) vScrollBar_ = nullptr;
    if (AComponent == hScrollBar_) hScrollBar_ = nullptr;
    if (AComponent == takenHeader_) takenHeader_ = nullptr;
}

void TbsSkinCustomListView::Loaded() {
    TCustomListView::Loaded();
    ApplySkin();
}

// ---- binding -----------------------------------------------------------------------------------

void TbsSkinCustomListView::SetSkinData(TbsSkinData* value) {
    if (ReferToSkinData(*this, skinData_, value) && !Designing()) ApplySkin();
}

void TbsSkinCustomListView::SetHeaderSkinDataName(const AnsiString& value) {
    headerSkinDataName_ = value;
    BindSkinRecords();
    if (Header()) Header()->Invalidate();
}

void TbsSkinCustomListView::SetDefaultColor(TColor value) {
    defaultColor_ = value;
    if (!Bound()) SetColor(value);
}

void TbsSkinCustomListView::SetUseSkinFont(bool value) {
    useSkinFont_ = value;
    ApplySkin();
}

void TbsSkinCustomListView::ForgetSkinRecord() {
    recordIndex_ = -1;
    headerIndex_ = -1;
    headerPicture_ = nullptr;
}

void TbsSkinCustomListView::BindSkinRecords() {
    recordIndex_ = headerIndex_ = -1;
    headerPicture_ = nullptr;
    if (!skinData_ || skinData_->IsEmpty()) return;
    const int index = skinData_->FindControlIndex(skinDataName_);
    if (const auto* r = dynamic_cast<const TbsDataSkinListView*>(SkinControlRecordAt(skinData_, index))) {
        rec_ = *r;
        recordIndex_ = index;
    }
    const int header = skinData_->FindControlIndex(headerSkinDataName_);
    if (const auto* h = dynamic_cast<const TbsDataSkinButtonControl*>(SkinControlRecordAt(skinData_, header))) {
        headerRec_ = *h;
        // The pressed image falls back to the active one, and that to the normal one.
        if (RectIsEmpty(headerRec_.activeskinrect)) headerRec_.activeskinrect = headerRec_.skinrect;
        if (RectIsEmpty(headerRec_.downskinrect)) headerRec_.downskinrect = headerRec_.activeskinrect;
        headerPicture_ = SkinPictureAt(*skinData_, headerRec_.pictureindex);
        if (headerPicture_ && !RectIsEmpty(headerRec_.skinrect)) headerIndex_ = header;
    }
}

void TbsSkinCustomListView::ApplySkin() {
    BindSkinRecords();
    if (!Bound()) {
        SetColor(defaultColor_);
        Font().Assign(defaultFont_);
    } else {
        TFont f;
        f.Assign(useSkinFont_ ? Font() : defaultFont_);
        if (useSkinFont_) {
            f.SetName(rec_.fontname);
            f.SetStyle(rec_.fontstyle);
            f.SetHeight(rec_.fontheight);
        }
        f.SetColor(rec_.fontcolor);
        if (skinData_->ResourceStrData()) f.SetCharset(skinData_->ResourceStrData()->CharSet());
        else f.SetCharset(defaultFont_.Charset());
        Font().Assign(f);
        SetColor(rec_.bgcolor);
    }
    SyncListScrollBars();
    RealignBars();
    if (ViewStyle() == vsReport && Header()) Header()->Invalidate();
    Invalidate();
}

// ---- scroll bars -------------------------------------------------------------------------------

void TbsSkinCustomListView::Attach(TbsSkinScrollBar*& slot, TbsSkinScrollBar* bar, bool vertical) {
    if (slot && slot != bar) {
        slot->RemoveFreeNotification(this);
        slot->OnChange = nullptr;
    }
    slot = bar;
    if (!bar) return;
    bar->FreeNotification(this);
    bar->SetEnabled(true);
    bar->SetVisible(false);
    bar->OnChange = [this, vertical](TObject*) { BarChanged(vertical); };
}

void TbsSkinCustomListView::SetVScrollBar(TbsSkinScrollBar* value) {
    Attach(vScrollBar_, value, true);
    SyncListScrollBars();
}

void TbsSkinCustomListView::SetHScrollBar(TbsSkinScrollBar* value) {
    Attach(hScrollBar_, value, false);
    SyncListScrollBars();
}

void TbsSkinCustomListView::BarChanged(bool vertical) {
    if (scrollingFromBar_) return;
    scrollingFromBar_ = true;
    if (vertical && vScrollBar_) {
        const int pos = vScrollBar_->Position();
        // List and report views scroll by rows; the others by pixels.
        const bool rows = ViewStyle() == vsList || ViewStyle() == vsReport;
        Scroll(0, (pos - lastVPos_) * (rows ? RowHeight() : 1));
        lastVPos_ = pos;
    } else if (!vertical && hScrollBar_) {
        const int pos = hScrollBar_->Position();
        if (ViewStyle() == vsList) {
            const int steps = pos - lastHPos_;
            for (int i = 0; i < std::abs(steps); ++i)
                Perform(WM_HSCROLL, steps > 0 ? SB_LINERIGHT : SB_LINELEFT, 0);
        } else {
            Scroll(pos - lastHPos_, 0);
        }
        lastHPos_ = pos;
    }
    scrollingFromBar_ = false;
    // The list may not have gone all the way (or further): the bars follow it.
    SyncListScrollBars();
}

void TbsSkinCustomListView::RealignBars() {
    for (TbsSkinScrollBar* bar : {vScrollBar_, hScrollBar_})
        if (bar && bar->Parent()) bar->Parent()->Realign();
}

void TbsSkinCustomListView::SyncListScrollBars() {
    if (scrollingFromBar_ || changingBars_ || !HandleAllocated() || Width() <= 5 || Height() <= 5) return;
    if (!vScrollBar_ && !hScrollBar_) return;
    const bool listVisible = Visible();
    const bool vWasVisible = vScrollBar_ && vScrollBar_->Visible();
    const bool hWasVisible = hScrollBar_ && hScrollBar_->Visible();
    const TScrollInfo v = GetScrollInfo(SB_VERT);
    const TScrollInfo h = GetScrollInfo(SB_HORZ);

    changingBars_ = true;
    if (vScrollBar_) {
        const bool show = listVisible && v.Page < v.Max + 1;
        if (show) {
            vScrollBar_->SetRangeAndPosition(v.Min, v.Max, v.Page, v.Pos);
            vScrollBar_->SetSmallChange(1);
            vScrollBar_->SetLargeChange(std::max(1, v.Page));
        }
        lastVPos_ = show ? vScrollBar_->Position() : 0;
        vScrollBar_->SetVisible(show);
    }
    if (hScrollBar_) {
        // The horizontal range is the pixels of the columns; the page the width.
        const bool show = listVisible && h.Page < h.Max + 1;
        if (show) {
            hScrollBar_->SetRangeAndPosition(h.Min, h.Max, h.Page, h.Pos);
            hScrollBar_->SetSmallChange(1);
            hScrollBar_->SetLargeChange(1);
        }
        lastHPos_ = show ? hScrollBar_->Position() : 0;
        if (vScrollBar_) hScrollBar_->SetBoth(vScrollBar_->Visible());
        hScrollBar_->SetVisible(show);
    }
    const bool changed = (vScrollBar_ && vScrollBar_->Visible() != vWasVisible) ||
                         (hScrollBar_ && hScrollBar_->Visible() != hWasVisible);
    if (changed && Align() != alNone && Parent()) Parent()->Realign();
    changingBars_ = false;
}

// ---- messages ----------------------------------------------------------------------------------

void TbsSkinCustomListView::WndProc(TMessage& m) {
    switch (m.Msg) {
    case WM_NCCALCSIZE:
        // The whole window is list: no frame, no bars.
        m.Result = 0;
        return;
    case WM_NCPAINT:
        m.Result = 0;
        return;
    case CM_VISIBLECHANGED:
        TCustomListView::WndProc(m);
        for (TbsSkinScrollBar* bar : {vScrollBar_, hScrollBar_})
            if (bar && !Visible()) bar->SetVisible(false);
        SyncListScrollBars();
        return;
    default:
        break;
    }
    TCustomListView::WndProc(m);
    switch (m.Msg) {
    case WM_SIZE:
    case WM_PAINT:
    case WM_KEYDOWN:
    case WM_LBUTTONUP:
    case WM_MOUSEWHEEL:
    case WM_VSCROLL:
    case WM_HSCROLL:
    case LVM_SCROLL:
    case LVM_ENSUREVISIBLE:
        SyncListScrollBars();
        break;
    default:
        break;
    }
}

// ---- the header --------------------------------------------------------------------------------

void TbsSkinCustomListView::HeaderWndProc(TMessage& m) {
    TListViewHeader* header = takenHeader_;
    switch (m.Msg) {
    case WM_WINDOWPOSCHANGING: {
        auto* wp = FromLParam<WINDOWPOS>(m.LParam);
        if (wp && !(wp->flags & SWP_NOSIZE) && wp->cx == ClientWidth()) wp->cx += kHeaderExtraWidth;
        m.Result = 0;
        return;
    }
    case WM_ERASEBKGND:
        m.Result = 1;
        return;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(header->Handle(), ps);
        if (dc) PaintHeader(*dc);
        EndPaint(header->Handle(), ps);
        m.Result = 0;
        return;
    }
    default:
        break;
    }
    headerOldProc_(m);
    switch (m.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        const HDHITTESTINFO hit = header->HitTest(LParamToPoint(m.LParam));
        pressedSection_ = hit.iItem;
        sectionPressed_ = hit.flags == HHT_ONHEADER && hit.iItem >= 0;
        header->Invalidate();
        break;
    }
    case WM_LBUTTONUP:
        pressedSection_ = -1;
        sectionPressed_ = false;
        header->Invalidate();
        break;
    default:
        break;
    }
}

void TbsSkinCustomListView::PaintHeader(TCanvas& c) {
    TListViewHeader* header = takenHeader_;
    int right = 0;
    for (int i = 0; i < Columns().Count(); ++i) {
        const TRect r = header->SectionRect(i);
        right = r.Right;
        if (r.Width() <= 0) continue;
        PaintHeaderSection(c, i, r, sectionPressed_ && i == pressedSection_);
    }
    const TRect rest{right, 0, header->Width() + 1, header->Height()};
    if (rest.Width() > 0) PaintHeaderRest(c, rest);
}

void TbsSkinCustomListView::PaintHeaderSection(TCanvas& c, int index, const TRect& r, bool pressed) {
    TListColumn* column = Columns().Items(index);
    TColor textColor = clBtnText;
    if (headerIndex_ != -1) {
        const TRect& src = pressed ? headerRec_.downskinrect : headerRec_.skinrect;
        textColor = pressed ? headerRec_.downfontcolor : headerRec_.fontcolor;
        TBitmap image;
        if (headerRec_.leftbottompoint != TPoint{}) {
            const SkinCornerPoints points = CornerPointsOf(headerRec_);
            const TSize skin{WidthOf(src), HeightOf(src)};
            ComposeSkinImage(points, src, *headerPicture_, image, r.Width(), r.Height(),
                             SizedCornerPoints(points, skin, {r.Width(), r.Height()}), StretchFlagsOf(headerRec_), true);
            c.Draw(r.Left, r.Top, image);
        } else {
            ComposeRowImage(headerRec_.lefttoppoint.X, WidthOf(src) - headerRec_.righttoppoint.X, image,
                            headerRec_.stretcheffect, r.Width(), src, *headerPicture_);
            c.StretchDraw(r, image);
        }
    } else {
        DrawDefaultBox(c, r, pressed ? DefaultBoxState::Pressed : DefaultBoxState::Normal);
    }
    if (OnDrawHeaderSection) {
        OnDrawHeaderSection(c, column, pressed, r);
        return;
    }
    c.Font.Assign(Font());
    c.Font.SetColor(textColor);
    c.Brush.Style = bsClear;
    const TRect area{r.Left + 5, r.Top, r.Right - 5, r.Bottom};
    const AnsiString& caption = column->Caption();
    TImageList* images = SmallImages();
    const int textHeight = c.TextHeight("Wg");
    const int textY = r.Top + (r.Height() - textHeight) / 2;
    if (images && column->ImageIndex() >= 0 && column->ImageIndex() < images->Count()) {
        const int iw = images->Width();
        const AnsiString shown = FitTextToWidth(c, caption, r.Width() - iw - 10);
        const int tw = c.TextWidth(shown);
        int x = area.Left;
        if (shown == caption) {
            if (column->Alignment() == taRightJustify) x = area.Right - tw - iw - 10;
            else if (column->Alignment() == taCenter) x = area.Width() / 2 + area.Left - (tw + iw + 10) / 2;
        }
        images->Draw(c, x, r.Top + (r.Height() - images->Height()) / 2, column->ImageIndex());
        c.TextOut(x + iw + 10, textY, shown);
    } else {
        const AnsiString shown = FitTextToWidth(c, caption, r.Width());
        const int tw = c.TextWidth(shown);
        int x = area.Left;
        if (column->Alignment() == taRightJustify) x = area.Right - tw;
        else if (column->Alignment() == taCenter) x = area.Left + (area.Width() - tw) / 2;
        c.TextOut(x, textY, shown);
    }
    c.Brush.Style = bsSolid;
}

void TbsSkinCustomListView::PaintHeaderRest(TCanvas& c, const TRect& r) {
    if (headerIndex_ == -1) {
        DrawDefaultBox(c, r, DefaultBoxState::Normal);
        return;
    }
    const TRect& src = headerRec_.skinrect;
    TBitmap image;
    if (headerRec_.leftbottompoint != TPoint{}) {
        const SkinCornerPoints points = CornerPointsOf(headerRec_);
        const TSize skin{WidthOf(src), HeightOf(src)};
        ComposeOpenEndedImage(points, src, *headerPicture_, image, r.Width(), r.Height(),
                              SizedCornerPoints(points, skin, {r.Width(), r.Height()}), StretchFlagsOf(headerRec_),
                              true);
        c.Draw(r.Left, r.Top, image);
    } else {
        ComposeRowImageLeft(headerRec_.lefttoppoint.X, WidthOf(src) - headerRec_.righttoppoint.X, image,
                            headerRec_.stretcheffect, r.Width(), src, *headerPicture_);
        c.StretchDraw(r, image);
    }
}

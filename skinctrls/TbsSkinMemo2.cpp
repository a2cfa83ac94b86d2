#include "TbsSkinMemo2.h"

#include "SkinControlGeometry.h"
#include "SkinEditMenu.h"
#include "SkinMessages.h"
#include "TbsSkinPopupMenu.h"
#include "TbsSkinCustomControl.h"
#include "TbsSkinData.h"
#include "TbsSkinScrollBar.h"

TbsSkinMemo2::TbsSkinMemo2(TComponent* AOwner) : TMemo(AOwner) {
    defaultFont_.Assign(MakeSkinDefaultFont());
    defaultFont_.SetColor(clBlack);
    Font().Assign(defaultFont_);
    defaultFont_.OnChange = [this] {
        if (!Bound()) Font().Assign(defaultFont_);
    };
    SetBorderStyle(bsNone);
    SetScrollBars(ssBoth);
}

TbsSkinMemo2::~TbsSkinMemo2() {
    defaultFont_.OnChange = nullptr;
    // The bars outlive the memo possibly; they must not call back into it.
    SetVScrollBar(nullptr);
    SetHScrollBar(nullptr);
}

void TbsSkinMemo2::Notification(TComponent* AComponent, TOperation Operation) {
    TMemo::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == skinData_) skinData_ = nullptr;
    if (AComponent == vScrollBar_) vScrollBar_ = nullptr;
    if (AComponent == hScrollBar_) hScrollBar_ = nullptr;
    if (AComponent == editMenu_) editMenu_ = nullptr;
}

void TbsSkinMemo2::HidePlatformBars() { bars_.SetAllowed(false, false, HandleAllocated() ? Handle() : nullptr); }

void TbsSkinMemo2::SetScrollBars(TScrollStyle value) {
    TCustomMemo::SetScrollBars(value);
    HidePlatformBars();
}

void TbsSkinMemo2::SetWordWrap(bool value) {
    TCustomMemo::SetWordWrap(value);
    HidePlatformBars();
    SyncScrollBars();
}

// ---- binding -----------------------------------------------------------------------------------

void TbsSkinMemo2::SetSkinData(TbsSkinData* value) {
    if (ReferToSkinData(*this, skinData_, value) && !Designing()) ApplySkin();
}

void TbsSkinMemo2::SetUseSkinFont(bool value) {
    useSkinFont_ = value;
    ApplySkin();
}

void TbsSkinMemo2::SetUseSkinFontColor(bool value) {
    useSkinFontColor_ = value;
    ApplySkin();
}

void TbsSkinMemo2::BindSkinRecord() {
    int index = -1;
    const TbsDataSkinControl* found = SkinControlRecordNamed(skinData_, skinDataName_, &index);
    if (!found) {
        recordIndex_ = -1;
        return;
    }
    if (const auto* r = dynamic_cast<const TbsDataSkinMemoControl*>(found)) {
        rec_ = *r;
        hasRecord_ = true;
    }
    recordIndex_ = hasRecord_ ? index : -1;
    // Disabled text takes the edit record's colour.
    disabledFontColor_ = clGrayText;
    if (const auto* e = dynamic_cast<const TbsDataSkinEditControl*>(SkinControlRecordNamed(skinData_, "edit")))
        disabledFontColor_ = e->disabledfontcolor;
}

void TbsSkinMemo2::ApplySkin() {
    BindSkinRecord();
    if (!Bound()) {
        Font().Assign(defaultFont_);
        SetColor(clWindow);
    } else {
        TFont f;
        if (useSkinFont_) {
            f.Assign(Font());
            f.SetName(rec_.fontname);
            f.SetStyle(rec_.fontstyle);
            f.SetHeight(rec_.fontheight);
        } else {
            f.Assign(defaultFont_);
        }
        if (skinData_->ResourceStrData()) f.SetCharset(skinData_->ResourceStrData()->CharSet());
        else f.SetCharset(defaultFont_.Charset());
        Font().Assign(f);
        SetColor(rec_.bgcolor);
        ApplyStateColours();
    }
    SyncScrollBars();
    // The bars lay themselves out again against the memo.
    for (TbsSkinScrollBar* bar : {vScrollBar_, hScrollBar_})
        if (bar && bar->Parent()) bar->Parent()->Realign();
    Invalidate();
}

void TbsSkinMemo2::ApplyStateColours() {
    if (!Bound()) return;
    const bool active = mouseIn_ || Focused();
    if (useSkinFontColor_) Font().SetColor(active ? rec_.activefontcolor : rec_.fontcolor);
    SetColor(active ? rec_.activebgcolor : rec_.bgcolor);
}

// ---- scroll bars -------------------------------------------------------------------------------

void TbsSkinMemo2::Attach(TbsSkinScrollBar*& slot, TbsSkinScrollBar* bar, UINT scrollMessage) {
    if (slot && slot != bar) {
        slot->RemoveFreeNotification(this);
        slot->OnChange = nullptr;
    }
    slot = bar;
    if (!bar) return;
    bar->FreeNotification(this);
    bar->SetRangeAndPosition(0, 0, 0, 0);
    bar->OnChange = [this, bar, scrollMessage](TObject*) {
        Perform(scrollMessage, MAKEWPARAM(SB_THUMBPOSITION, bar->Position()), 0);
        Invalidate();
    };
}

void TbsSkinMemo2::SetVScrollBar(TbsSkinScrollBar* value) {
    Attach(vScrollBar_, value, WM_VSCROLL);
    SyncScrollBars();
}

void TbsSkinMemo2::SetHScrollBar(TbsSkinScrollBar* value) {
    Attach(hScrollBar_, value, WM_HSCROLL);
    SyncScrollBars();
}

void TbsSkinMemo2::SyncScrollBars() {
    if (syncing_) return;
    syncing_ = true;
    auto sync = [&](TbsSkinScrollBar* bar, int which) {
        if (!bar) return;
        if (!Enabled()) {
            bar->SetEnabled(false);
            return;
        }
        const TScrollInfo info = GetScrollInfo(which);
        // A vertical range holds Max + 1 lines; a horizontal one Max pixels.
        const bool scrolls = which == SB_VERT ? info.Page < info.Max + 1 : info.Page < info.Max;
        if (scrolls) bar->SetRangeAndPosition(0, info.Max, info.Page, info.Pos);
        else bar->SetRangeAndPosition(0, 0, 0, 0);
        bar->SetEnabled(scrolls);
    };
    sync(vScrollBar_, SB_VERT);
    sync(hScrollBar_, SB_HORZ);
    syncing_ = false;
}

bool TbsSkinMemo2::ChangesScrolling(const TMessage& m) {
    switch (m.Msg) {
    case WM_KEYDOWN:
    case WM_CHAR:
    case WM_CUT:
    case WM_PASTE:
    case WM_CLEAR:
    case WM_UNDO:
    case EM_UNDO:
    case EM_REPLACESEL:
    case EM_SETSEL:
    case EM_LINESCROLL:
    case EM_SCROLL:
    case EM_SCROLLCARET:
    case WM_SETTEXT:
    case WM_SIZE:
    case WM_VSCROLL:
    case WM_HSCROLL:
    case WM_LBUTTONUP:
    case CM_FONTCHANGED:
        return true;
    case WM_MOUSEMOVE:
        return (m.WParam & MK_LBUTTON) != 0;
    default:
        return false;
    }
}

bool TbsSkinMemo2::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) {
    // An event handler may take the wheel; otherwise one line per step.
    if (TWinControl::DoMouseWheel(Shift, WheelDelta, MousePos)) return true;
    Perform(WM_VSCROLL, WheelDelta <= 0 ? SB_LINEDOWN : SB_LINEUP, 0);
    return true;
}

// ---- painting ----------------------------------------------------------------------------------

void TbsSkinMemo2::PaintWindow(HDC DC) {
    if (Enabled()) {
        TMemo::PaintWindow(DC);
        return;
    }
    PaintDisabled(*DC);
}

void TbsSkinMemo2::PaintDisabled(TCanvas& c) {
    c.Brush.Style = bsSolid;
    c.Brush.Color = Color();
    c.FillRect(ClientRect());
    if (Bound() && useSkinFont_) {
        c.Font.SetName(rec_.fontname);
        c.Font.SetStyle(rec_.fontstyle);
        c.Font.SetHeight(rec_.fontheight);
    } else {
        c.Font.Assign(defaultFont_);
    }
    c.Font.SetColor(Bound() ? disabledFontColor_ : clGrayText);
    const int lineHeight = std::max(1, c.TextHeight("Wq"));
    // One line fewer than fit: the last, possibly cut, line is left out.
    const int fitting = ClientHeight() / lineHeight - 1;
    const TRect fr = FormatRect();
    const AnsiString& text = buffer_.Text();
    c.Brush.Style = bsClear;
    for (int i = 0; i < fitting; ++i) {
        const int line = FirstVisibleLine() + i;
        if (line >= layout_.Count()) break;
        const TMemoLine& l = layout_.Line(line);
        const AnsiString part = text.substr(l.Start, l.End - l.Start);
        const int w = c.TextWidth(part);
        int x = fr.Left;
        if (Alignment() == taRightJustify) x = fr.Right - w;
        else if (Alignment() == taCenter) x = fr.Left + (fr.Width() - w) / 2;
        c.TextOut(x, fr.Top + i * lineHeight, part);
    }
    c.Brush.Style = bsSolid;
}

// ---- messages ----------------------------------------------------------------------------------

void TbsSkinMemo2::WndProc(TMessage& m) {
    switch (m.Msg) {
    case WM_NCCALCSIZE:
        // No frame and no bars: the whole window is text area.
        m.Result = 0;
        return;
    case WM_NCPAINT:
        m.Result = 0;
        return;
    case WM_NCHITTEST:
        m.Result = HTCLIENT;
        return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        TMemo::WndProc(m);
        ApplyStateColours();
        return;
    case WM_CONTEXTMENU:
        // A menu of the memo's own goes first; without a skin the platform's
        // plain menu still serves.
        if (!PopupMenu()) {
            TbsSkinPopupMenu* previous = editMenu_;
            editMenu_ = nullptr;
            const TbsResourceStrData* strings = skinData_ ? skinData_->ResourceStrData() : nullptr;
            editMenu_ = PopupSkinEditMenu(*this, LParamToPoint(m.LParam), strings, previous);
            if (editMenu_) return;
        }
        break;
    case SKINMSG_MENUCOMMANDDONE:
        if (editMenu_) {
            TbsSkinPopupMenu* menu = editMenu_;
            editMenu_ = nullptr;
            FreeComponent(menu);
        }
        return;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
        if (m.LParam == 0 || FromLParam<TControl>(m.LParam) == this) {
            mouseIn_ = m.Msg == CM_MOUSEENTER;
            ApplyStateColours();
            const TNotifyEvent& event = mouseIn_ ? OnMouseEnter : OnMouseLeave;
            if (!Designing() && event) event(this);
        }
        break;
    case CM_ENABLEDCHANGED:
        Perform(WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 0), 0);
        TMemo::WndProc(m);
        Invalidate();
        SyncScrollBars();
        return;
    default:
        break;
    }
    TMemo::WndProc(m);
    if (ChangesScrolling(m)) SyncScrollBars();
}

// TbsSkinForm: the form's messages as the frame handles them. Every message
// of the form comes here first; what the frame does not consume goes on to
// the form's own window procedure.

#include "SkinBinding.h"
#include "SkinMessages.h"
#include "SkinPlatform.h"
#include "TbsSkinCaptionObject.h"
#include "TbsSkinData.h"
#include "TbsSkinForm.h"
#include "TbsSkinMenu.h"

namespace {
TPoint ScreenPointOf(LPARAM lParam) { return LParamToPoint(lParam); }

// The messages before which an open popup of the frame (a skinned menu, an
// object hint) closes: the form moves, is resized, (de)activated, clicked or
// told to cancel its modes.
bool ClosesPopups(UINT msg) {
    switch (msg) {
    case WM_MOVE:
    case WM_SIZE:
    case WM_ACTIVATE:
    case WM_SETFOCUS:
    case WM_CANCELMODE:
    case WM_MOUSEACTIVATE:
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
    case WM_NCMBUTTONDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_PARENTNOTIFY:
        return true;
    default:
        return false;
    }
}
}  // namespace

void TbsSkinForm::NewWndProc(TMessage& m) {
    if (ClosesPopups(m.Msg)) {
        HideObjectHint();
        if (skinMenu_ && skinMenu_->MenuVisible()) skinMenu_->CloseMenu();
        else if (skinMenuOpen_) ResetMenuState();
    }
    if (!HandleMessage(m)) CallOldWndProc(m);
}

void TbsSkinForm::NcCalcSize(TMessage& m) {
    if (!Bordered()) return;
    TRect* r = NcCalcSizeRect(m.WParam, m.LParam);
    if (!r) return;
    if (skinData_ && !skinData_->IsEmpty()) {
        ComputeFrameLayout();
        const TBitmap& main = skinData_->MainBitmap();
        *r = SkinnedClientRect(skinData_->FormInfo(), {main.Width(), main.Height()}, *r);
    } else {
        *r = DefaultClientRect(*r, DefaultCaptionHeight());
    }
}

void TbsSkinForm::SkinChangeMessage(TMessage& m) {
    auto* sender = FromLParam<TbsSkinData>(LPARAM(m.WParam));
    const bool own = sender && sender == skinData_;
    switch (m.Msg) {
    case SKINMSG_BEFORECHANGE:
        if (!own) return;
        changing_ = true;
        usesSkin_ = false;
        StopTimers();
        FreeObjects();
        ForgetSkinRecords(form_, skinData_);
        NotifySkinListenersBefore(form_, skinData_);
        if (OnBeforeChangeSkinData) OnBeforeChangeSkinData(this);
        return;
    case SKINMSG_CHANGE:
        changing_ = false;
        if (own) ApplySkin();
        ApplySkinToControls(form_, sender);
        NotifySkinListenersAfter(form_, sender);
        return;
    case SKINMSG_AFTERCHANGE:
        if (OnAfterChangeSkinData) OnAfterChangeSkinData(this);
        return;
    case SKINMSG_STRINGSCHANGE:
        AssignObjectHints();
        return;
    case SKINMSG_SKINNABLECHANGE:
        if (own) SetSkinnable(skinData_->SkinnableForm());
        return;
    default:
        return;
    }
}

bool TbsSkinForm::HandleMessage(TMessage& m) {
    switch (m.Msg) {
    case WM_DESTROY:
        StopTimers();
        return false;
    case SKINMSG_BEFORECHANGE:
    case SKINMSG_CHANGE:
    case SKINMSG_AFTERCHANGE:
    case SKINMSG_STRINGSCHANGE:
    case SKINMSG_SKINNABLECHANGE:
        SkinChangeMessage(m);
        return false;
    case SKINMSG_MENUCLOSED:
        ResetMenuState();
        return false;
    case SKINMSG_QUERYSKINNED:
        m.Result = skinnable_ ? kQuerySkinnedYes : kQuerySkinnedNo;
        return true;
    case WM_SHOWWINDOW:
        ShowWindowMessage(m.WParam != 0);
        return false;
    case WM_TIMER:
        if (m.WParam == 1 && IsWindows2000OrLater() && (AlphaBlend || AlphaBlendAnimation)) FadeIn();
        return false;
    case WM_DISPLAYCHANGE:
        if (Bordered() && (form_->Width() > MaxFrameWidth() || form_->Height() > MaxFrameHeight())) Reframe();
        return false;
    case WM_SYSCOMMAND:
        switch (m.WParam & 0xFFF0) {
        case SC_RESTORE:
            if (OnRestore) OnRestore(this);
            return false;
        case SC_KEYMENU:
            // The system's own menu never opens over the skinned one.
            if (skinMenu_ && skinMenu_->MenuVisible()) ResetMenuState();
            return true;
        default:
            return false;
        }
    case SKINMSG_DRAWFRAME:
        if (!skinnable_) return false;
        if (Bordered()) {
            PaintFrameInto(WParamToDc(m.WParam));
            m.Result = kDrawFrameDone;
        }
        return true;
    case SKINMSG_PRINTFRAME:
        if (m.LParam != kPrintFrameTag || !skinnable_) return false;
        if (Bordered()) {
            PaintFrameInto(WParamToDc(m.WParam));
            m.Result = kPrintFrameTag;
        }
        return true;
    case WM_ERASEBKGND:
        PaintClientBackground(WParamToDc(m.WParam));
        m.Result = 1;
        return true;
    case WM_SIZE:
        if (inSizeMove_ && dragFullWindows_) return false;
        CallOldWndProc(m);
        magnetic_.ClearSnaps();
        TakeFrameSize();
        if (skinnable_) {
            if (!usesSkin_) {
                UpdateRegion();
                RepaintFrame();
            } else if (frameWidth_ >= MinFrameWidth() && frameHeight_ >= MinFrameHeight()) {
                UpdateFrame();
            }
        }
        if (skinnable_ && AlphaBlend && AlphaBlendValue != 255 && IsWindows2000OrLater()) {
            // A translucent window shows what lies behind it anew.
            RepaintFrame();
            form_->Invalidate();
        }
        if (!LogoBitMap.Empty()) form_->Invalidate();
        return true;
    case WM_SIZING: {
        if (!inSizeMove_ || !dragFullWindows_) return false;
        magnetic_.ClearSnaps();
        CallOldWndProc(m);
        const TRect* r = FromLParam<TRect>(m.LParam);
        if (!r) return true;
        frameWidth_ = r->Width();
        frameHeight_ = r->Height();
        if (!usesSkin_) UpdateRegion();
        else if (frameWidth_ >= MinFrameWidth() && frameHeight_ >= MinFrameHeight() &&
                 (frameWidth_ != form_->Width() || frameHeight_ != form_->Height()))
            UpdateFrame();
        return true;
    }
    case WM_ENTERSIZEMOVE: {
        TPoint cursor;
        if (GetCursorPos(cursor)) {
            magnetic_.SnapCursorX = cursor.X;
            magnetic_.SnapCursorY = cursor.Y;
        }
        ResetPointerStates();
        mouseTimer_->SetEnabled(false);
        hotIndex_ = capturedIndex_ = -1;
        inSizeMove_ = true;
        ++sizeMoveCount_;
        BOOL full = TRUE;
        SystemParametersInfo(SPI_GETDRAGFULLWINDOWS, 0, &full);
        dragFullWindows_ = full != FALSE;
        return false;
    }
    case WM_EXITSIZEMOVE:
        mouseTimer_->SetEnabled(false);
        hotIndex_ = prevHotIndex_ = capturedIndex_ = -1;
        // The loop is over: size changes are the frame's again, even when no
        // press follows (a move started from the keyboard).
        inSizeMove_ = false;
        if (usesSkin_) {
            TakeFrameSize();
            UpdateFrame();
            RepaintFrame();
        }
        return false;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
        // Skinned or not: a captured frame object always hears the release.
        CallOldWndProc(m);
        ReleaseObject(m.Msg == WM_LBUTTONUP ? mbLeft : mbRight, {-1, -1});
        return true;
    case WM_GETMINMAXINFO:
        if (auto* info = FromLParam<MINMAXINFO>(m.LParam)) {
            info->ptMinTrackSize = {MinFrameWidth(), MinFrameHeight()};
            info->ptMaxTrackSize = {MaxFrameWidth(), MaxFrameHeight()};
        }
        return false;
    default:
        break;
    }
    if (!skinnable_) return false;
    switch (m.Msg) {
    case WM_MOVING:
        if (auto* proposed = FromLParam<TRect>(m.LParam)) MovingProposal(*proposed);
        return false;
    case WM_NCCALCSIZE:
        NcCalcSize(m);
        m.Result = 0;
        return true;
    case WM_NCPAINT:
        if (Bordered()) {
            if (usesSkin_) PaintSkinFrame();
            else if (!changing_) PaintDefaultFrame();
        }
        return true;
    case WM_NCHITTEST: {
        const TPoint p = ToWindowPoint(ScreenPointOf(m.LParam));
        m.Result = usesSkin_ ? HitTestSkin(p) : HitTestDefault(p);
        if (m.Result == HTOBJECT && !mouseTimer_->Enabled()) {
            UpdateHotObject(p.X, p.Y);
            mouseTimer_->SetEnabled(true);
        }
        return true;
    }
    case WM_NCACTIVATE:
        if (skinMenu_ && skinMenu_->MenuVisible()) skinMenu_->CloseMenu();
        formActive_ = m.WParam != 0;
        m.Result = 1;
        if (Bordered()) {
            RepaintFrame();
            UpdateActive(true);
        } else {
            UpdateActive(false);
        }
        return true;
    case WM_ACTIVATE:
        CallOldWndProc(m);
        RepaintFrame();
        ResetPointerStates();
        UpdateActive(true);
        return true;
    case WM_SYNCPAINT:
        if (!rollUpState_) return false;
        RepaintFrame();
        m.Result = 0;
        return true;
    case WM_SETTEXT:
        CallOldWndProc(m);
        if (Bordered()) RepaintFrame();
        return true;
    case WM_SETCURSOR:
        if (UseFormCursorInNCArea) {
            const int ht = std::int16_t(LOWORD(std::uintptr_t(m.LParam)));
            if (ht != HTCLIENT && !(ht >= HTLEFT && ht <= HTBOTTOMRIGHT))
                m.LParam = MAKELPARAM(HTCLIENT, HIWORD(std::uintptr_t(m.LParam)));
        }
        return false;
    case WM_NCMOUSEMOVE:
        CallOldWndProc(m);
        MoveOverObject(ToWindowPoint(ScreenPointOf(m.LParam)));
        return true;
    case WM_NCLBUTTONDOWN: {
        // A press on the caption or a border runs the move/size loop inside
        // the default handling; such a press ends there.
        const unsigned before = sizeMoveCount_;
        CallOldWndProc(m);
        if (sizeMoveCount_ != before) return true;
        const TPoint p = ToWindowPoint(ScreenPointOf(m.LParam));
        UpdateHotObject(p.X, p.Y);
        PressObject(mbLeft, p);
        if (int(m.WParam) == HTCAPTION) capturedIndex_ = -1;
        return true;
    }
    case WM_NCLBUTTONUP:
        CallOldWndProc(m);
        ReleaseObject(mbLeft, ToWindowPoint(ScreenPointOf(m.LParam)));
        return true;
    case WM_NCLBUTTONDBLCLK: {
        CallOldWndProc(m);
        const TPoint p = ToWindowPoint(ScreenPointOf(m.LParam));
        UpdateHotObject(p.X, p.Y);
        PressObject(mbLeft, p);
        if (hotIndex_ >= 0 && hotIndex_ < int(objects_.size())) objects_[std::size_t(hotIndex_)]->DblClick();
        if (int(m.WParam) == HTCAPTION) {
            capturedIndex_ = -1;
            CaptionDoubleClick();
        }
        return true;
    }
    case WM_NCRBUTTONDOWN:
    case WM_NCRBUTTONDBLCLK: {
        CallOldWndProc(m);
        const TPoint p = ToWindowPoint(ScreenPointOf(m.LParam));
        UpdateHotObject(p.X, p.Y);
        PressObject(mbRight, p);
        if (int(m.WParam) != HTCAPTION) return true;
        capturedIndex_ = -1;
        if (m.Msg == WM_NCRBUTTONDOWN && !DisableSystemMenu) {
            TPoint cursor;
            GetCursorPos(cursor);
            PopupSystemMenuAt(cursor.X, cursor.Y);
        }
        return true;
    }
    case WM_NCRBUTTONUP:
        CallOldWndProc(m);
        ReleaseObject(mbRight, ToWindowPoint(ScreenPointOf(m.LParam)));
        return true;
    default:
        return false;
    }
}

void TbsSkinForm::MovingProposal(TRect& proposed) {
    if (skinWindowState_ == wsMaximized) {
        // A maximised window stays where it is.
        if (form_->HandleAllocated()) GetWindowRect(form_->Handle(), proposed);
        return;
    }
    if (!Magnetic) return;
    TRect area = GetScreenWorkArea(true);
    if (form_->HandleAllocated()) GetMonitorWorkArea(form_->Handle(), true, area);
    TPoint cursor;
    GetCursorPos(cursor);
    const TPoint size{proposed.Width(), proposed.Height()};
    const TPoint origin = ApplyMagneticEdges(magnetic_, proposed.TopLeft(), size, area, MagneticSize, cursor);
    proposed = TRect{origin.X, origin.Y, origin.X + size.X, origin.Y + size.Y};
}

void TbsSkinForm::PaintFrameInto(HDC dc) {
    if (!dc) return;
    if (usesSkin_) PaintSkinFrame(dc);
    else PaintDefaultFrame(dc);
}

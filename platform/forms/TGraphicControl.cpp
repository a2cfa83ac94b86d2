// The two painting bases: TGraphicControl draws into its parent's window,
// TCustomControl into its own; both paint through Paint with a Canvas whose
// font and brush start as the control's Font and Color.

#include "Controls.h"
#include "Exceptions.h"

namespace {
void PrepareCanvas(TCanvas& c, const TControl& control) {
    c.Font = control.Font();
    c.Brush.Style = bsSolid;
    c.Brush.Color = control.Color();
}
}  // namespace

TGraphicControl::TGraphicControl(TComponent* AOwner) : TControl(AOwner) {}

TGraphicControl::~TGraphicControl() {
    if (ownDc_) ReleaseDC(ownDcWindow_, ownDc_);
}

TCanvas& TGraphicControl::Canvas() {
    if (paintDc_) return *paintDc_;
    if (!ownDc_) {
        if (!parent_) throw EInvalidOperation("Control '" + Name() + "' has no parent window");
        ownDcWindow_ = parent_->Handle();
        ownDc_ = GetDC(ownDcWindow_);
        if (!ownDc_) throw EInvalidOperation("Canvas does not allow drawing");
        ownDc_->MoveOrigin(Left(), Top());
        ownDc_->IntersectClipRect({0, 0, Width(), Height()});
        PrepareCanvas(*ownDc_, *this);
    }
    return *ownDc_;
}

void TGraphicControl::WndProc(TMessage& m) {
    if (m.Msg == WM_PAINT && m.WParam) {
        if (ownDc_) {
            ReleaseDC(ownDcWindow_, ownDc_);
            ownDc_ = nullptr;
        }
        paintDc_ = WParamToDc(m.WParam);
        PrepareCanvas(*paintDc_, *this);
        struct Reset {
            HDC& dc;
            ~Reset() { dc = nullptr; }
        } reset{paintDc_};
        Paint();
        return;
    }
    TControl::WndProc(m);
}

TCustomControl::TCustomControl(TComponent* AOwner) : TWinControl(AOwner) {}

TCustomControl::~TCustomControl() { ReleaseCachedDC(); }

TCanvas& TCustomControl::Canvas() {
    if (paintDc_) return *paintDc_;
    if (!ownDc_) {
        ownDcWindow_ = Handle();
        ownDc_ = GetDC(ownDcWindow_);
        if (!ownDc_) throw EInvalidOperation("Canvas does not allow drawing");
        PrepareCanvas(*ownDc_, *this);
    }
    return *ownDc_;
}

void TCustomControl::ReleaseCachedDC() {
    if (!ownDc_) return;
    ReleaseDC(ownDcWindow_, ownDc_);
    ownDc_ = nullptr;
    ownDcWindow_ = nullptr;
}

void TCustomControl::PaintWindow(HDC dc) {
    ReleaseCachedDC();
    paintDc_ = dc;
    PrepareCanvas(*dc, *this);
    struct Reset {
        HDC& dc;
        ~Reset() { dc = nullptr; }
    } reset{paintDc_};
    Paint();
}

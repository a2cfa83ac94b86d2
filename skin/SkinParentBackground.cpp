#include "SkinParentBackground.h"

#include "Forms.h"

namespace {

// A control's own painting (its PaintWindow) without its windowless children:
// those above the control must not show through, and those below it are
// painted one by one. PaintWindow is protected; naming it through a class
// derived from TWinControl is what gives access to it.
struct OwnPainting : TWinControl {
    static void Paint(TWinControl& control, HDC dc) {
        void (TWinControl::*const paintWindow)(HDC) = &OwnPainting::PaintWindow;
        (control.*paintWindow)(dc);
    }
};

// Sets csPaintCopy on the parent for the duration, even if a paint throws.
class PaintCopyMark {
public:
    explicit PaintCopyMark(TControl& control) : control_(control), wasSet_(control.ControlState & csPaintCopy) {
        control_.ControlState |= csPaintCopy;
    }
    ~PaintCopyMark() {
        if (!wasSet_) control_.ControlState &= ~TControlState(csPaintCopy);
    }
    PaintCopyMark(const PaintCopyMark&) = delete;
    PaintCopyMark& operator=(const PaintCopyMark&) = delete;

private:
    TControl& control_;
    bool wasSet_;
};

// Restores the canvas state saved at construction, even if a paint throws.
class SavedCanvasState {
public:
    explicit SavedCanvasState(TCanvas& canvas) : canvas_(canvas), level_(canvas.SaveDC()) {}
    ~SavedCanvasState() { canvas_.RestoreDC(level_); }
    SavedCanvasState(const SavedCanvasState&) = delete;
    SavedCanvasState& operator=(const SavedCanvasState&) = delete;

private:
    TCanvas& canvas_;
    int level_;
};

}  // namespace

void PaintParentBackground(const TControl& control, TCanvas& canvas) {
    TWinControl* const parent = control.Parent();
    if (!parent) return;
    const PaintCopyMark mark(*parent);
    HDC const dc = &canvas;
    {
        const SavedCanvasState saved(canvas);
        // From here on the canvas speaks the parent's client coordinates.
        canvas.MoveOrigin(-control.Left(), -control.Top());
        canvas.IntersectClipRect(parent->ClientRect());
        parent->Perform(WM_ERASEBKGND, DcToWParam(dc), 0);
        if (!dynamic_cast<TCustomForm*>(parent)) OwnPainting::Paint(*parent, dc);
    }
    const TRect bounds = control.BoundsRect();
    for (int i = 0; i < parent->ControlCount(); ++i) {
        TControl* const sibling = parent->Controls(i);
        if (sibling == &control) break;  // the rest lie above the control
        if (dynamic_cast<TWinControl*>(sibling) || !sibling->Visible()) continue;
        const TRect sb = sibling->BoundsRect();
        if (IsRectEmpty(IntersectRect(sb, bounds))) continue;
        const SavedCanvasState saved(canvas);
        canvas.MoveOrigin(sb.Left - bounds.Left, sb.Top - bounds.Top);
        canvas.IntersectClipRect({0, 0, sb.Width(), sb.Height()});
        sibling->Perform(WM_PAINT, DcToWParam(dc), 0);
    }
}

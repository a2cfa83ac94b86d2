// Anchors: how a control that is not aligned follows a resize of its parent.
//
// Each control remembers its bounds and its parent's client size from the
// last time its bounds or anchors were set by anyone but the parent's own
// placing. After a change of the parent's client size the control is placed
// from that record, never from its current bounds, so shrinking a window and
// growing it back returns every control to where it was, even where a
// constraint or a zero size got in the way meanwhile.

#include <algorithm>

#include "Controls.h"

namespace {

struct Span {
    int start;
    int length;
};

// One axis: `base` in a parent `baseSize` long, placed in one `size` long.
Span PlaceOnAxis(Span base, int baseSize, int size, bool nearEdge, bool farEdge) {
    const int delta = size - baseSize;
    if (nearEdge && farEdge) return {base.start, std::max(0, base.length + delta)};
    if (farEdge) return {base.start + delta, base.length};
    if (nearEdge) return base;
    // Tied to neither edge: the centre keeps its proportion of the parent.
    if (baseSize <= 0) return {base.start + delta / 2, base.length};
    const long long centre2 = 2LL * base.start + base.length;  // twice the centre
    const long long moved2 = (centre2 * size + baseSize / 2) / baseSize;
    return {int((moved2 - base.length) / 2), base.length};
}

}  // namespace

void TControl::SetAnchors(TAnchors value) {
    if (anchors_ == value) return;
    anchors_ = value;
    UpdateAnchorRules();
}

void TControl::UpdateAnchorRules() {
    if (!parent_) {
        anchorRules_.valid = false;
        return;
    }
    // The parent placing its children does not move the reference.
    if (parent_->ControlState & csAligning) return;
    const TRect client = parent_->ClientRect();
    anchorRules_ = {BoundsRect(), {client.Width(), client.Height()}, true};
}

void TWinControl::ApplyAnchors() {
    const TRect client = ClientRect();
    const std::vector<TControl*> kids = controls_;
    for (TControl* c : kids) {
        const TAnchors a = c->Anchors();
        if (c->Align() != alNone || !c->anchorRules_.valid) continue;
        if (a == (akLeft | akTop)) continue;  // the default: nothing follows the size
        const TControl::AnchorRules& rules = c->anchorRules_;
        const Span x = PlaceOnAxis({rules.bounds.Left, rules.bounds.Width()}, rules.parentSize.cx, client.Width(),
                                   a & akLeft, a & akRight);
        const Span y = PlaceOnAxis({rules.bounds.Top, rules.bounds.Height()}, rules.parentSize.cy, client.Height(),
                                   a & akTop, a & akBottom);
        c->SetBounds(x.start, y.start, x.length, y.length);
    }
}

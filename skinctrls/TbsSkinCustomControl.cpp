#include "TbsSkinCustomControl.h"

#include "SkinComposition.h"
#include "SkinGeometry.h"
#include "SkinRegions.h"
#include "TbsSkinData.h"

TbsSkinCustomControl::TbsSkinCustomControl(TComponent* AOwner) : SkinSizedControl(AOwner) {}

TbsSkinCustomControl::~TbsSkinCustomControl() = default;

void TbsSkinCustomControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    SkinSizedControl::SetBounds(ALeft, ATop, AWidth, AHeight);
    // A stretched client picture was composed again: whatever shows it
    // through must repaint.
    if (HasSkinGeometry() && geometry_.stretcheffect) NotifyChildrenOfBackground();
}

void TbsSkinCustomControl::SetRegion(std::optional<TRegion> region) {
    if (!HandleAllocated()) {
        windowRegion_ = std::move(region);
        return;
    }
    // The window keeps its own copy; ours only records what is set.
    SetWindowRgn(Handle(), region ? &*region : nullptr, TRUE);
    windowRegion_ = std::move(region);
}

void TbsSkinCustomControl::CreateWnd() {
    SkinSizedControl::CreateWnd();
    if (windowRegion_) SetWindowRgn(Handle(), &*windowRegion_, TRUE);
}

void TbsSkinCustomControl::UpdateRegion() {
    if (!Parent()) return;
    const TBitmap* mask = geometry_.SkinMask;
    if (!mask || !HasSkinGeometry()) {
        if (windowRegion_) SetRegion(std::nullopt);
        return;
    }
    int w = Width(), h = Height();
    FitSkinSize(w, h);
    std::optional<TRegion> region;
    const TRect maskRect{0, 0, WidthOf(geometry_.skinrect), HeightOf(geometry_.skinrect)};
    switch (geometry_.ResizeKind) {
    case kResizeFixed:
        region = RegionFromMask(*mask);
        break;
    case kResizeFrame:
        region = ComposeSkinRegion(geometry_.Points(), *mask, Width(), geometry_.SizedPoints());
        break;
    case kResizeRow: {
        // The mask composed like the image: its right end moves with the width.
        TBitmap sized;
        ComposeRowImage(geometry_.lefttoppoint.X, maskRect.Right - geometry_.righttoppoint.X, sized, false, Width(),
                        maskRect, *mask);
        region = RegionFromMask(sized);
        break;
    }
    case kResizeColumn: {
        TBitmap sized;
        ComposeColumnImage(geometry_.lefttoppoint.Y, maskRect.Bottom - geometry_.leftbottompoint.Y, sized, false,
                           Height(), maskRect, *mask);
        region = RegionFromMask(sized);
        break;
    }
    default:
        break;
    }
    SetRegion(std::move(region));
}

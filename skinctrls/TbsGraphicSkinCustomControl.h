#pragma once
// The windowless skinned control with the record's geometry: its size is
// fitted to the record like the windowed custom control's, it takes
// DefaultWidth and DefaultHeight without a record and draws with
// DefaultFont; it has no window and so no region.

#include "SkinSizedControl.h"
#include "TbsGraphicSkinControl.h"

class TbsGraphicSkinCustomControl : public SkinSizedControl<TbsGraphicSkinControl> {
public:
    explicit TbsGraphicSkinCustomControl(TComponent* AOwner);
    ~TbsGraphicSkinCustomControl() override;
};

#include "TbsGraphicSkinControl.h"

TbsGraphicSkinControl::TbsGraphicSkinControl(TComponent* AOwner) : SkinBoundControl(AOwner) {
    ControlStyle |= csOpaque;
}

TbsGraphicSkinControl::~TbsGraphicSkinControl() = default;

void TbsGraphicSkinControl::ParentBackgroundChanged() {
    if (!(ControlStyle & csOpaque)) Invalidate();
}

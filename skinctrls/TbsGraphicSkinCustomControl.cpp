#include "TbsGraphicSkinCustomControl.h"

TbsGraphicSkinCustomControl::TbsGraphicSkinCustomControl(TComponent* AOwner) : SkinSizedControl(AOwner) {}

TbsGraphicSkinCustomControl::~TbsGraphicSkinCustomControl() = default;

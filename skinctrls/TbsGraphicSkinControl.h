#pragma once
// The windowless skinned control: the same binding as the windowed one
// (record looked up by name at every paint, one off-screen bitmap per paint,
// default look without a record), drawn into its parent's window. It marks
// itself opaque: the parent need not paint under it.

#include "SkinBoundControl.h"

class TbsGraphicSkinControl : public SkinBoundControl<TGraphicControl> {
public:
    explicit TbsGraphicSkinControl(TComponent* AOwner);
    ~TbsGraphicSkinControl() override;

protected:
    // The parent's background under the control changed; a control that is
    // not opaque repaints.
    void ParentBackgroundChanged() override;
};

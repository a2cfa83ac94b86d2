#pragma once
// The windowed skinned control with the record's geometry: the size is
// fitted to the record (a fixed image forces both dimensions, a row the
// height, a column the width, a frame nothing), the window is shaped by the
// record's mask, and without a record the control takes DefaultWidth and
// DefaultHeight and draws with DefaultFont.

#include <optional>

#include "SkinSizedControl.h"
#include "TRegion.h"
#include "TbsSkinControl.h"

class TbsSkinCustomControl : public SkinSizedControl<TbsSkinControl> {
public:
    explicit TbsSkinCustomControl(TComponent* AOwner);
    ~TbsSkinCustomControl() override;

    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

    bool HasWindowRegion() const { return windowRegion_.has_value(); }

protected:
    // A region set before the window existed is given to it now.
    void CreateWnd() override;
    // Sets or removes the window region built from the record's mask.
    void UpdateRegion() override;

private:
    void SetRegion(std::optional<TRegion> region);

    std::optional<TRegion> windowRegion_;
};

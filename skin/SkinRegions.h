#pragma once
// Window shapes from mask pictures: black pixels are inside, every other
// colour outside. The region data has the platform's binary layout
// (TRegion.h), so a region can be built from it with ExtCreateRegion.

#include <cstdint>
#include <optional>
#include <vector>

#include "SkinCornerPoints.h"
#include "TBitmap.h"
#include "TRegion.h"

// The black pixels of `mask` as region data: one rectangle per run of black
// pixels in a row, rows from the top, shifted by (offsetX, offsetY); the
// header's bounding rectangle is the whole mask so shifted. Every run is
// kept, however many there are. An empty mask gives no data (size 0).
std::vector<std::uint8_t> MaskToRegionData(const TBitmap& mask, int offsetX, int offsetY);

// The region of the black pixels of the whole mask; none for an empty mask.
std::optional<TRegion> RegionFromMask(const TBitmap& mask);

// The shape of a skinned window W wide (its height is in the sized points,
// the bottom border lying below the sized inner rectangle): the inner rectangle `sized.clientrect`
// joined with the black pixels of the four border masks cut from `mask`
// around `points.clientrect` (ComposeBorderMasks). None when the sized corner
// points are inverted or the inner rectangle is empty; the caller then leaves
// the window rectangular.
std::optional<TRegion> ComposeSkinRegion(const SkinCornerPoints& points, const TBitmap& mask, int W,
                                         const SkinCornerPoints& sized);

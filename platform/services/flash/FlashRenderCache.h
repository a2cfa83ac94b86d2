#pragma once
// What drawing a frame leaves for the next one: the coverage of each paint
// of each placed shape, measured for one device matrix and one clip. A
// shape standing still from one frame to the next (or merely changing its
// colours) is then only composited again, not scan-converted; only shapes
// that moved or changed size cost their outlines again.

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <vector>

#include "CoverageRasterizer.h"
#include "FlashTypes.h"
#include "Geometry.h"

// The coverage of a shape's paints in drawing order (fills, then lines,
// layer by layer); a paint not yet measured is empty.
struct FlashShapeCoverage {
    std::vector<std::optional<CoverageMask>> Paints;
};

class FlashRenderCache {
public:
    // The coverage kept for `shapeId` drawn through `toDevice` into `clip`,
    // empty the first time; marked as used by the frame being drawn.
    FlashShapeCoverage& Coverage(std::uint16_t shapeId, const SwfMatrix& toDevice, const TRect& clip);
    // Drops what the frame just drawn did not use, so that the cache holds
    // at most one frame's shapes.
    void EndFrame();
    // For a new movie, whose shape ids mean other shapes.
    void Clear() { entries_.clear(); }
    std::size_t Size() const { return entries_.size(); }

private:
    // Matrices are told apart by their exact bits: a shape is reused only
    // where it would come out the same.
    struct Key {
        std::uint16_t ShapeId;
        std::array<std::uint64_t, 6> Matrix;
        std::array<int, 4> Clip;
        auto operator<=>(const Key&) const = default;
    };
    struct Entry {
        FlashShapeCoverage Coverage;
        bool Used = true;
    };
    std::map<Key, Entry> entries_;
};

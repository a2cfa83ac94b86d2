#pragma once
// The geometry a skin gives a picture that may grow: four corner points and a
// client rectangle, all relative to the skin rectangle's top-left corner, and
// the flags that say which parts stretch instead of tiling. Field names follow
// the skin keys, so a record's values copy across one to one.

#include "Geometry.h"
#include "SkinControlRecords.h"
#include "SkinIniValues.h"
#include "SkinObjectRecords.h"

struct SkinCornerPoints {
    TPoint lefttoppoint;      // inner end of the fixed top-left corner piece
    TPoint righttoppoint;     // inner end of the fixed top-right corner piece
    TPoint leftbottompoint;   // inner end of the fixed bottom-left corner piece
    TPoint rightbottompoint;  // inner end of the fixed bottom-right corner piece
    TRect clientrect;

    friend bool operator==(const SkinCornerPoints&, const SkinCornerPoints&) = default;
};

struct SkinStretchFlags {
    bool leftstretch = false;
    bool topstretch = false;
    bool rightstretch = false;
    bool bottomstretch = false;
    bool stretcheffect = false;  // the client part is stretched instead of tiled
    SkinStretchKind stretchtype = SkinStretchKind::Full;

    friend bool operator==(const SkinStretchFlags&, const SkinStretchFlags&) = default;
};

// The points placed on an image of `target` size cut from a skin rectangle of
// `skin` size: everything right of the fixed left parts moves with the width,
// everything below the fixed top parts with the height, so the border widths
// stay those of the skin.
constexpr SkinCornerPoints SizedCornerPoints(const SkinCornerPoints& p, TSize skin, TSize target) {
    const int dW = target.cx - skin.cx;
    const int dH = target.cy - skin.cy;
    return {p.lefttoppoint,
            {p.righttoppoint.X + dW, p.righttoppoint.Y},
            {p.leftbottompoint.X, p.leftbottompoint.Y + dH},
            {p.rightbottompoint.X + dW, p.rightbottompoint.Y + dH},
            {p.clientrect.Left, p.clientrect.Top, p.clientrect.Right + dW, p.clientrect.Bottom + dH}};
}

// ---- the same values taken from the records that carry them ----

inline SkinCornerPoints CornerPointsOf(const TbsDataSkinCustomControl& r) {
    return {r.lefttoppoint, r.righttoppoint, r.leftbottompoint, r.rightbottompoint, r.clientrect};
}
inline SkinStretchFlags StretchFlagsOf(const TbsDataSkinCustomControl& r) {
    return {r.leftstretch, r.topstretch, r.rightstretch, r.bottomstretch, r.stretcheffect, r.stretchtype};
}

inline SkinCornerPoints CornerPointsOf(const SkinFormInfo& r) {
    return {r.lefttoppoint, r.righttoppoint, r.leftbottompoint, r.rightbottompoint, r.clientrect};
}
inline SkinStretchFlags StretchFlagsOf(const SkinFormInfo& r) {
    return {r.leftstretch, r.topstretch, r.rightstretch, r.bottomstretch, r.stretcheffect, r.stretchtype};
}

// The popup window's items rectangle plays the part of the client rectangle.
inline SkinCornerPoints CornerPointsOf(const TbsDataSkinPopupWindow& r) {
    return {r.lefttoppoint, r.righttoppoint, r.leftbottompoint, r.rightbottompoint, r.itemsrect};
}
inline SkinStretchFlags StretchFlagsOf(const TbsDataSkinPopupWindow& r) {
    return {r.leftstretch, r.topstretch, r.rightstretch, r.bottomstretch, r.stretcheffect, r.stretchtype};
}

inline SkinCornerPoints CornerPointsOf(const TbsDataSkinHintWindow& r) {
    return {r.lefttoppoint, r.righttoppoint, r.leftbottompoint, r.rightbottompoint, r.clientrect};
}
inline SkinStretchFlags StretchFlagsOf(const TbsDataSkinHintWindow& r) {
    return {r.leftstretch, r.topstretch, r.rightstretch, r.bottomstretch, r.stretcheffect, r.stretchtype};
}

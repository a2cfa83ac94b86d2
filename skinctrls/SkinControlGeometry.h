#pragma once
// The geometry a custom skinned control copies from its record on every bind:
// the skin rectangle with its corner points and client rectangle, the stretch
// flags, the pictures, how the image grows (the resize kind), and the same
// points placed on the control's current size. Both custom bases (windowed
// and windowless) keep one and paint through it, so they compose alike.

#include <string_view>

#include "SkinControlRecords.h"
#include "SkinCornerPoints.h"
#include "SkinFrameParts.h"
#include "TBitmap.h"
#include "TCanvas.h"

class TbsSkinData;

// Resize kinds: how the skin image follows the control's size.
inline constexpr int kResizeNone = -1;   // no skin image
inline constexpr int kResizeFixed = 0;   // skinrect as it is; forces both dimensions
inline constexpr int kResizeFrame = 1;   // nine parts; any size
inline constexpr int kResizeRow = 2;     // three pieces across; forces the height
inline constexpr int kResizeColumn = 3;  // three pieces down; forces the width

class SkinControlGeometry {
public:
    // Copies the geometry of `record` (a custom control record) and resolves
    // its pictures in `skin`'s picture list.
    void Bind(const TbsSkinData& skin, const TbsDataSkinCustomControl& record);
    // A record of another class: fixed kind without pictures; the copies
    // keep their previous values.
    void BindForeign();

    // Adjusts a requested size to the record and places the points on it.
    // Kind -1 changes nothing.
    void Fit(int& W, int& H);

    // Draws the skin image cut from `r` (skinrect or a rectangle of the same
    // size and shape) into `bitmap` at W x H. A frame image is skipped when
    // `byParts`: the control then paints its parts itself.
    void PaintImage(TBitmap& bitmap, const TRect& r, int W, int H, bool byParts) const;

    // Paints a frame-kind control of W x H by parts onto `canvas`: the four
    // sides, and the client part tiled or stretched when `fillClient`.
    // `decorateTop` may draw onto the top side before it is shown.
    template <class Decorate>
    void PaintByParts(TCanvas& canvas, int W, int H, bool fillClient, Decorate&& decorateTop) const {
        SkinFramePartBitmaps parts;
        ComposeParts(W, H, parts);
        decorateTop(parts.Top);
        if (fillClient) FillClient(canvas, SizedClientRect);
        DrawParts(canvas, W, H, parts);
    }
    // Fills `area` of the canvas with the client part of the skin: tiled from
    // the area's top-left corner, or stretched by stretchtype.
    void FillClient(TCanvas& canvas, const TRect& area) const;

    SkinCornerPoints Points() const {
        return {lefttoppoint, righttoppoint, leftbottompoint, rightbottompoint, clientrect};
    }
    SkinCornerPoints SizedPoints() const {
        return {SizedLeftTop, SizedRightTop, SizedLeftBottom, SizedRightBottom, SizedClientRect};
    }
    SkinStretchFlags Flags() const {
        return {leftstretch, topstretch, rightstretch, bottomstretch, stretcheffect, stretchtype};
    }
    // A record of the custom class is bound (so the copies are its own).
    bool HasOwnRecord() const { return ownRecord_; }

    // ---- the copies ----
    TRect skinrect;
    TRect clientrect;
    TPoint lefttoppoint;
    TPoint righttoppoint;
    TPoint leftbottompoint;
    TPoint rightbottompoint;
    bool leftstretch = false;
    bool topstretch = false;
    bool rightstretch = false;
    bool bottomstretch = false;
    bool stretcheffect = false;
    SkinStretchKind stretchtype = SkinStretchKind::Full;
    const TBitmap* SkinPicture = nullptr;
    const TBitmap* SkinMask = nullptr;
    int ResizeKind = kResizeNone;

    // ---- the points on the current size ----
    TPoint SizedLeftTop;
    TPoint SizedRightTop;
    TPoint SizedLeftBottom;
    TPoint SizedRightBottom;
    TRect SizedClientRect;

private:
    void ComposeParts(int W, int H, SkinFramePartBitmaps& parts) const;
    static void DrawParts(TCanvas& canvas, int W, int H, const SkinFramePartBitmaps& parts);

    bool ownRecord_ = false;
};

// The picture `index` of the skin's picture list, or null when the index is
// -1 or past its end.
const TBitmap* SkinPictureAt(const TbsSkinData& skin, int index);
// The control record `index` of the skin, or null without a skin or when the
// index is -1 or past the end of the list.
const TbsDataSkinControl* SkinControlRecordAt(const TbsSkinData* skin, int index);
// The control record named `name` in a loaded skin, with its index in
// `index` when asked; null (and -1) without a loaded skin or such a record.
const TbsDataSkinControl* SkinControlRecordNamed(const TbsSkinData* skin, std::string_view name, int* index = nullptr);

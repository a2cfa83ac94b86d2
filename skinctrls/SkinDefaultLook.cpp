#include "SkinDefaultLook.h"

void DrawDefaultBox(TCanvas& canvas, const TRect& rect, DefaultBoxState state) {
    if (rect.Right <= rect.Left || rect.Bottom <= rect.Top) return;
    TColor frame = clBtnShadow, fill = clBtnFace;
    if (state == DefaultBoxState::Hot) frame = kDefaultLookFrame, fill = kDefaultLookHotFill;
    else if (state == DefaultBoxState::Pressed) frame = kDefaultLookFrame, fill = kDefaultLookDownFill;
    canvas.Brush.Style = bsSolid;
    canvas.Brush.Color = fill;
    canvas.FillRect(rect);
    canvas.Brush.Color = frame;
    canvas.FrameRect(rect);
}

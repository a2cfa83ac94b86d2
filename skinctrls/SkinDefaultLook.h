#pragma once
// The one palette skinned controls share when they have no skin: a box with
// a one-pixel frame in the button-shadow colour on button face when normal,
// a navy frame filled light when the pointer is over it, and a navy frame
// filled darker when pressed.

#include "Geometry.h"
#include "TCanvas.h"
#include "TColor.h"

inline constexpr TColor kDefaultLookFrame = 0x800000;
inline constexpr TColor kDefaultLookHotFill = 0xD2BDB6;
inline constexpr TColor kDefaultLookDownFill = 0xB59385;

enum class DefaultBoxState { Normal, Hot, Pressed };

// Fills `rect` and frames it in the colours of `state`.
void DrawDefaultBox(TCanvas& canvas, const TRect& rect, DefaultBoxState state);

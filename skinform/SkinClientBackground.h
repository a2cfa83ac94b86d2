#pragma once
// The client background of a skinned form: a skin picture tiled from the
// client's corner, or stretched over the frame's size by the skin's stretch
// kind, the button face without a skin, and a logo centred over it.

#include "SkinIniValues.h"
#include "TBitmap.h"
#include "TCanvas.h"

void FillClientWithFace(TCanvas& canvas, const TRect& client);

// `piece` of `picture` over the client area (client coordinates, `client` its
// rectangle): tiled from (0, 0) without a stretch effect; with one, stretched
// over (0, 0, frame width, frame height) (full), or stretched to the frame's
// height and repeated across (horizontal), or to its width and repeated down
// (vertical).
void PaintSkinClientPicture(TCanvas& canvas, const TRect& client, const TBitmap& picture, const TRect& piece,
                            bool stretchEffect, SkinStretchKind kind, TSize frame);

// The logo centred in the client area, never left of or above it.
void DrawClientLogo(TCanvas& canvas, const TRect& client, TBitmap& logo, bool transparent);

#include "SkinClientBackground.h"

#include <algorithm>

#include "SkinObjectDrawing.h"

void FillClientWithFace(TCanvas& canvas, const TRect& client) {
    canvas.Brush.Style = bsSolid;
    canvas.Brush.Color = clBtnFace;
    canvas.FillRect(client);
}

void PaintSkinClientPicture(TCanvas& canvas, const TRect& client, const TBitmap& picture, const TRect& piece,
                            bool stretchEffect, SkinStretchKind kind, TSize frame) {
    const int pw = piece.Width(), ph = piece.Height();
    if (pw <= 0 || ph <= 0) return;
    if (stretchEffect && !IsRectEmpty(client)) {
        switch (kind) {
        case SkinStretchKind::Full:
            DrawSkinPiece(canvas, {0, 0, frame.cx, frame.cy}, picture, piece);
            return;
        case SkinStretchKind::Horz: {
            TBitmap column;
            SkinPieceImage(picture, piece, {pw, frame.cy}, column);
            for (int i = 0, n = frame.cx / pw + 1; i < n; ++i) canvas.Draw(i * pw, 0, column);
            return;
        }
        case SkinStretchKind::Vert: {
            TBitmap row;
            SkinPieceImage(picture, piece, {frame.cx, ph}, row);
            for (int i = 0, n = frame.cy / ph + 1; i < n; ++i) canvas.Draw(0, i * ph, row);
            return;
        }
        }
    }
    TBitmap tile;
    SkinPieceImage(picture, piece, {pw, ph}, tile);
    const int columns = client.Width() / pw + 1, rows = client.Height() / ph + 1;
    for (int y = 0; y < rows; ++y)
        for (int x = 0; x < columns; ++x) canvas.Draw(x * pw, y * ph, tile);
}

void DrawClientLogo(TCanvas& canvas, const TRect& client, TBitmap& logo, bool transparent) {
    if (logo.Empty()) return;
    logo.SetTransparent(transparent);
    const int x = std::max(client.Width() / 2 - logo.Width() / 2, 0);
    const int y = std::max(client.Height() / 2 - logo.Height() / 2, 0);
    canvas.Draw(x, y, logo);
}

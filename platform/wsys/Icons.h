#pragma once
// Icons: small pictures with an opacity per pixel, shared by the window
// frames, the desktop (window and tray icons) and the message dialogs. A
// handle made here owns its pixels until DestroyIcon; a handle that was
// destroyed, or never made here, is simply not found. The standard icons of
// LoadIcon are shared: every call gives the same handle, and DestroyIcon
// leaves them alone.

#include <cstdint>
#include <vector>

#include "WinTypes.h"

// Straight (not premultiplied) 0xAARRGGBB pixels, rows top first.
struct IconPixels {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> argb;
};

// Null when the pixels are empty or do not fill width x height.
HICON CreateIconFromPixels(IconPixels pixels);
// An icon that lives as long as the process; DestroyIcon refuses it.
HICON CreateSharedIcon(IconPixels pixels);
// The pixels of a live icon, or null.
const IconPixels* IconPixelsOf(HICON icon);
// False for a null, unknown, shared or already destroyed handle.
BOOL DestroyIcon(HICON icon);

// The standard icons (LoadIcon with a null instance).
inline constexpr int IDI_APPLICATION = 32512;
inline constexpr int IDI_HAND = 32513;
inline constexpr int IDI_QUESTION = 32514;
inline constexpr int IDI_EXCLAMATION = 32515;
inline constexpr int IDI_ASTERISK = 32516;
inline constexpr int IDI_ERROR = IDI_HAND;
inline constexpr int IDI_WARNING = IDI_EXCLAMATION;
inline constexpr int IDI_INFORMATION = IDI_ASTERISK;
// A shared 32 x 32 standard icon; null for an unknown id or a non-null
// instance (there are no program modules with icon resources here).
HICON LoadIcon(void* instance, int iconId);

// WM_SETICON / WM_GETICON: which of a window's two icons.
inline constexpr WPARAM ICON_SMALL = 0;
inline constexpr WPARAM ICON_BIG = 1;

inline constexpr UINT IMAGE_BITMAP = 0;
inline constexpr UINT IMAGE_ICON = 1;
inline constexpr UINT IMAGE_CURSOR = 2;
inline constexpr UINT LR_COPYRETURNORG = 0x0004;
inline constexpr UINT LR_COPYDELETEORG = 0x0008;
inline constexpr UINT LR_DEFAULTSIZE = 0x0040;
// A new icon (the caller destroys it) of cx x cy pixels scaled from `image`;
// a zero size keeps the icon's own, or with LR_DEFAULTSIZE takes the
// standard icon size. LR_COPYRETURNORG returns the original itself when no
// scaling is needed; LR_COPYDELETEORG destroys an original that is not
// shared. Only IMAGE_ICON is supported: other types give null.
HICON CopyImage(HICON image, UINT type, int cx, int cy, UINT flags);

// The pixels scaled to width x height by averaging the covered area (in
// premultiplied colour, so transparent pixels do not darken the edges).
IconPixels ScaleIconPixels(const IconPixels& source, int width, int height);

inline constexpr UINT DI_MASK = 0x0001;
inline constexpr UINT DI_IMAGE = 0x0002;
inline constexpr UINT DI_NORMAL = 0x0003;
inline constexpr UINT DI_DEFAULTSIZE = 0x0008;
// Draws the icon at (x, y) of the canvas, scaled to cx x cy (zero: the icon's
// own size, or with DI_DEFAULTSIZE the standard icon size), within the
// canvas's clip. DI_NORMAL blends the pixels over the canvas by their
// opacity; DI_IMAGE alone draws the colours opaque; DI_MASK alone draws the
// mask (black where the icon is opaque, white where it is clear). `step` and
// `flickerFreeBrush` serve animated cursors and must be 0 and null.
BOOL DrawIconEx(HDC dc, int x, int y, HICON icon, int cx, int cy, UINT step, void* flickerFreeBrush, UINT flags);
// DrawIconEx at the icon's own size.
BOOL DrawIcon(HDC dc, int x, int y, HICON icon);

#pragma once
// A movie of the banner player: decoded once from its bytes, then any frame
// can be drawn into a bitmap of any size. Supported: shapes (DefineShape 1
// to 4: solid, gradient and bitmap fills, lines, straight and curved edges),
// lossless and JPEG bitmaps, PlaceObject, PlaceObject2 (and the placement
// part of PlaceObject3), RemoveObject and RemoveObject2 with matrices and
// colour transforms, ShowFrame and SetBackgroundColor. Masking layers are
// not drawn; other tags (sprites, text, sound, scripts) are skipped. A file that is not a movie
// draws as its background colour alone; nothing in a file can crash the
// player or make it run without end. What one movie's definitions may take
// once decoded is limited (kMaxMovieBitmapPixels, kMaxMovieShapeItems):
// definitions past the limits are left out, as damaged ones are.

#include <cstdint>
#include <map>
#include <memory>
#include <span>
#include <vector>

#include "AnsiString.h"
#include "FlashBitmap.h"
#include "FlashRenderCache.h"
#include "FlashShape.h"
#include "FlashTypes.h"
#include "SwfFile.h"
#include "TBitmap.h"
#include "TColor.h"

// The limits below keep what a hostile movie can cost the banner within
// twice what a delivered ad costs (about a megabyte of memory and a tenth
// of a per cent of a core each): a few times what a banner needs, no more.
// bench/banner_bench measures both.
//
// The largest file read: as much as a movie may inflate to.
constexpr std::uintmax_t kMaxMovieFileBytes = kMaxMovieBytes;
// All bitmaps of one movie together: 64 Ki pixels, 256 KiB decoded, four
// 300 x 50 banners' worth of pictures (the delivered ads hold at most 17 Ki).
constexpr std::int64_t kMaxMovieBitmapPixels = std::int64_t(1) << 16;
// All edges and styles of the shapes of one movie together, some 800 KiB
// decoded at most: a banner's text set as outlines takes a few thousand.
constexpr std::int64_t kMaxMovieShapeItems = 8192;

// The work one frame may do for each pixel of the picture it draws into
// (FlashWorkBudget's units), counted for at least a 300 x 50 banner. The
// delivered ads need at most 21 a pixel for a frame drawn afresh, 16 for
// one drawn after the one before; 40 take some 0.15 ms on a 300 x 50
// banner, and a frame that needs more is dropped, not waited for. With
// kMaxBannerFramesPerSecond that holds a banner under a quarter of a per
// cent of a core, whatever the movie.
constexpr std::uint64_t kFrameWorkPerPixel = 40;
constexpr std::uint64_t kFrameWorkMinPixels = 300 * 50;

// How the movie's frame is fitted to the picture, with the player's values.
enum TFlashScaleMode : int {
    fsmShowAll = 0,   // whole frame visible, aspect kept, centred
    fsmNoBorder = 1,  // picture filled, aspect kept, centred, edges cut
    fsmExactFit = 2,  // frame stretched to the picture
    fsmNoScale = 3,   // one twentieth of a pixel per twip, centred
};

// One change to the display list: a placement (new, moved or replaced
// character) or a removal.
struct FlashDisplayOp {
    bool Remove = false;
    int Depth = 0;
    bool Move = false;
    bool HasCharacter = false;
    std::uint16_t CharacterId = 0;
    bool HasMatrix = false;
    SwfMatrix Matrix;
    bool HasColorTransform = false;
    SwfColorTransform ColorTransform;
    int ClipDepth = 0;  // a masking layer; masks are not drawn
};

// What stands at one depth of the display list.
struct FlashDisplayObject {
    std::uint16_t CharacterId = 0;
    SwfMatrix Matrix;
    SwfColorTransform ColorTransform;
    int ClipDepth = 0;
    friend bool operator==(const FlashDisplayObject&, const FlashDisplayObject&) = default;
};

class TFlashMovie {
public:
    // Decodes a movie. Never throws for bad contents: see Valid.
    void LoadFromBytes(std::span<const std::uint8_t> bytes);
    // A file that cannot be read, or that is no regular file of at most
    // kMaxMovieFileBytes, loads as an empty, invalid movie.
    void LoadFromFile(const AnsiString& fileName);
    void Clear();

    // True when the data had a movie header with a usable frame size.
    bool Valid() const { return valid_; }
    int Version() const { return version_; }
    // The frame in twips; width and height in whole pixels.
    TwipsRect FrameRect() const { return frameRect_; }
    int FrameWidth() const;
    int FrameHeight() const;
    // Frames per second as stored; a movie that states 0 plays at 12.
    double FrameRate() const { return frameRate_; }
    // Frames completed by a ShowFrame tag.
    int FrameCount() const { return static_cast<int>(frames_.size()); }
    // The movie's SetBackgroundColor, white when it has none.
    TColor BackgroundColor() const { return backgroundColor_; }

    // The frame to show `elapsedMs` after playing started; the movie loops.
    int FrameAtTime(double elapsedMs) const;
    // The display list after frame `frame` (counted from 0, wrapping around).
    std::map<int, FlashDisplayObject> DisplayListAt(int frame) const;
    // A number for the picture frame `frame` shows (wrapping around): the
    // same for frames in a row whose display lists are alike, the last
    // frames and the first included, so that a player need not draw again
    // what it shows already.
    int PictureAt(int frame) const;

    // Draws frame `frame` (wrapping around) over the whole of `target`,
    // after filling it with `background`. The work is bounded in proportion
    // to the target's pixels; a frame that needs more is given up part way
    // and false returned, the target then holding no whole picture.
    // With `cache`, shapes drawn the same way as in the frame drawn last
    // with that cache are composited from what it kept, not measured again;
    // the picture is the same.
    // With `workDone`, it receives the units of work the frame took (all of
    // the budget when the frame was given up), so that what a movie asks of
    // the player can be weighed against kFrameWorkPerPixel.
    bool RenderFrame(int frame, TBitmap& target, TFlashScaleMode scaleMode, TColor background,
                     FlashRenderCache* cache = nullptr, std::uint64_t* workDone = nullptr) const;

private:
    void ReadTags(const SwfFile& file);
    void NumberPictures();

    bool valid_ = false;
    int version_ = 0;
    TwipsRect frameRect_;
    double frameRate_ = 12;
    TColor backgroundColor_ = clWhite;
    std::map<std::uint16_t, FlashShape> shapes_;
    std::map<std::uint16_t, FlashBitmap> bitmaps_;
    std::vector<std::vector<FlashDisplayOp>> frames_;
    std::vector<int> pictures_;  // PictureAt of each frame
};

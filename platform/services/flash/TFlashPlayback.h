#pragma once
// What the banner control does apart from its window: it holds the
// properties the program sets (Movie, ScaleMode, BackgroundColor, with their
// dispatch ids), loads the movie named by Movie, keeps the time playing
// started, and draws the frame due at any moment. The windowed control
// TShockwaveFlash owns one and repaints from it on its frame timer.

#include <cstdint>

#include "AnsiString.h"
#include "TBitmap.h"
#include "TFlashMovie.h"

// Dispatch ids of the control's properties.
constexpr int DISPID_FLASH_MOVIE = 102;
constexpr int DISPID_FLASH_SCALEMODE = 120;
constexpr int DISPID_FLASH_BACKGROUNDCOLOR = 123;

class TFlashPlayback {
public:
    const AnsiString& Movie() const { return movie_; }
    // Loads the named file and starts playing it from its first frame at
    // `nowMs`. A name that does not exist as written is also looked up with
    // ASCII letters matched regardless of case, as names listed in lower
    // case expect. A file that cannot be read or is no movie shows only the
    // background colour.
    void SetMovie(const AnsiString& fileName, double nowMs);

    int ScaleMode() const { return scaleMode_; }
    void SetScaleMode(int mode) { scaleMode_ = mode; }

    // 0x00RRGGBB as the control reports it (red in the high byte), or -1 for
    // the movie's own background colour.
    int BackgroundColor() const { return backgroundColor_; }
    void SetBackgroundColor(int color) { backgroundColor_ = color; }

    const TFlashMovie& LoadedMovie() const { return loaded_; }
    // The colour behind the movie: BackgroundColor, or the movie's own.
    TColor Background() const;
    // The frame due at `nowMs`; the movie loops.
    int FrameAt(double nowMs) const;
    // True when the picture changes over time (a movie of two or more
    // frames); otherwise nothing needs to be redrawn on a clock.
    bool Animated() const { return loaded_.Valid() && loaded_.FrameCount() > 1; }
    // Milliseconds from `nowMs` until the next frame is due (more than 0).
    double MsToNextFrame(double nowMs) const;
    // True when frames `a` and `b` show the same picture (the movie's
    // PictureAt), so that one painted need not be drawn again for the other.
    bool SamePicture(int a, int b) const { return loaded_.PictureAt(a) == loaded_.PictureAt(b); }
    // Draws the frame due at `nowMs` over the whole of `target`; false when
    // the frame was too much work to draw (TFlashMovie::RenderFrame). Shapes
    // drawn as in the frame rendered before are composited from what that
    // frame measured.
    bool Render(double nowMs, TBitmap& target);

private:
    AnsiString movie_;
    TFlashMovie loaded_;
    FlashRenderCache cache_;  // the shapes of the frame rendered last
    double startMs_ = 0;
    int scaleMode_ = fsmShowAll;
    int backgroundColor_ = -1;
};

#pragma once
// The banner control: a window that plays the movie named by Movie, fitted
// to its client area by ScaleMode over BackgroundColor. The program sets
// these properties by name or by dispatch id, and may name a new movie at
// any time; playing starts again from that movie's first frame.
//
// Frames advance on a window timer of the control, due when the next frame
// is, and only while the control shows on screen and the movie has more
// than one frame: a hidden banner, a still picture or a damaged file costs
// no timer work. Painting renders the frame into an off-screen bitmap and
// copies that to the window, so the banner never flickers; whatever goes
// wrong while rendering, the banner shows its background colour. A frame
// that takes more work than a frame may (TFlashMovie::RenderFrame) is
// dropped for that tick and the picture shown before stays. A frame due
// that shows the picture on screen already (its display list alike) is
// neither rendered nor repainted, and a frame that is rendered measures
// again only the shapes that moved or changed size since the last one.

#include <memory>
#include <variant>

#include "AnsiString.h"
#include "Controls.h"
#include "TBitmap.h"
#include "TFlashPlayback.h"

// The most frames the banner draws in a second, whatever rate a movie
// states: the delivered ads run at 12, and a frame drawn takes at most
// kFrameWorkPerPixel of work, so a movie made to keep the banner busy takes
// a bounded share of the processor.
constexpr double kMaxBannerFramesPerSecond = 15;

// A property value as the program passes it by dispatch id: text for
// Movie, an integer for ScaleMode and BackgroundColor.
using TFlashPropertyValue = std::variant<int, AnsiString>;

class TShockwaveFlash : public TCustomControl {
public:
    explicit TShockwaveFlash(TComponent* AOwner);

    // The name of the movie file, as set (lower-case names find the file
    // whatever the case of its name on disk).
    const AnsiString& Movie() const { return playback_.Movie(); }
    void SetMovie(const AnsiString& value);
    // A TFlashScaleMode value; others draw as fsmShowAll.
    int ScaleMode() const { return playback_.ScaleMode(); }
    void SetScaleMode(int value);
    // 0x00RRGGBB (red in the high byte), or -1 for the movie's own colour.
    int BackgroundColor() const { return playback_.BackgroundColor(); }
    void SetBackgroundColor(int value);

    // The same properties by their dispatch ids (DISPID_FLASH_MOVIE,
    // DISPID_FLASH_SCALEMODE, DISPID_FLASH_BACKGROUNDCOLOR). A value of the
    // other kind is converted: a number to its decimal text, a text to the
    // number it spells (EConvertError when it spells none). An unknown id
    // raises EInvalidOperation.
    void SetProperty(int dispId, const TFlashPropertyValue& value);
    TFlashPropertyValue GetProperty(int dispId) const;

    const TFlashPlayback& Playback() const { return playback_; }
    // The frame of the movie on screen: the one painted last, or one due
    // since that shows the same picture (which is not painted again); -1
    // before anything was painted since the movie was set.
    int PaintedFrame() const { return paintedFrame_; }
    // Whether the frame timer is running.
    bool Playing() const { return timerRunning_; }

    void WndProc(TMessage& Message) override;

protected:
    void CreateParams(TCreateParams& Params) override;
    void Paint() override;

private:
    // Milliseconds since the movie was set, on the window system's clock;
    // unsigned arithmetic keeps it right when the tick count wraps.
    double ElapsedMs() const;
    // Starts or moves the frame timer to the next frame, or stops it when
    // nothing would change on screen.
    void ScheduleNextFrame();
    void StopTimer();
    void FrameTimer();
    // The picture changed: render again at the next paint.
    void Changed();
    // True while the banner can be seen: shown, and its window not minimised.
    bool OnScreen();
    // Renders the frame due into back_ and, when it was drawn whole, makes
    // it the front picture; false when the frame was dropped.
    bool RenderBuffer(double elapsedMs);

    TFlashPlayback playback_;
    std::unique_ptr<TBitmap> front_ = std::make_unique<TBitmap>();  // the picture on screen
    std::unique_ptr<TBitmap> back_ = std::make_unique<TBitmap>();   // where the next frame is drawn
    DWORD startTick_ = 0;
    int paintedFrame_ = -1;
    // The frame rendered into front_, -1 when it must be rendered again.
    int bufferFrame_ = -1;
    bool timerRunning_ = false;
};

#include "TShockwaveFlash.h"

#include <algorithm>
#include <cmath>
#include <exception>

#include "Exceptions.h"
#include "SysUtils.h"

namespace {

constexpr UINT_PTR kFrameTimerId = 1;

int ToInteger(const TFlashPropertyValue& value) {
    if (const int* number = std::get_if<int>(&value)) return *number;
    return StrToInt(std::get<AnsiString>(value));
}

AnsiString ToText(const TFlashPropertyValue& value) {
    if (const AnsiString* text = std::get_if<AnsiString>(&value)) return *text;
    return IntToStr(std::get<int>(value));
}

[[noreturn]] void UnknownProperty(int dispId) {
    throw EInvalidOperation("The banner has no property with dispatch id " + IntToStr(dispId));
}

}  // namespace

TShockwaveFlash::TShockwaveFlash(TComponent* AOwner) : TCustomControl(AOwner) {
    SetBounds(0, 0, 300, 50);
    // Every pixel comes from the off-screen frame: erasing first would flicker.
    ControlStyle |= csOpaque;
}

void TShockwaveFlash::CreateParams(TCreateParams& p) {
    TCustomControl::CreateParams(p);
    p.WinClassName = "TShockwaveFlash";
}

// ---- properties ----------------------------------------------------------------------

void TShockwaveFlash::SetMovie(const AnsiString& value) {
    // Loading reads and decodes the whole file now; a bad file loads as an
    // empty movie, so nothing here throws for what the file holds.
    playback_.SetMovie(value, 0);
    startTick_ = GetTickCount();
    paintedFrame_ = -1;
    Changed();
    ScheduleNextFrame();
}

void TShockwaveFlash::SetScaleMode(int value) {
    if (value == playback_.ScaleMode()) return;
    playback_.SetScaleMode(value);
    Changed();
}

void TShockwaveFlash::SetBackgroundColor(int value) {
    if (value == playback_.BackgroundColor()) return;
    playback_.SetBackgroundColor(value);
    Changed();
}

void TShockwaveFlash::SetProperty(int dispId, const TFlashPropertyValue& value) {
    switch (dispId) {
        case DISPID_FLASH_MOVIE: SetMovie(ToText(value)); return;
        case DISPID_FLASH_SCALEMODE: SetScaleMode(ToInteger(value)); return;
        case DISPID_FLASH_BACKGROUNDCOLOR: SetBackgroundColor(ToInteger(value)); return;
        default: UnknownProperty(dispId);
    }
}

TFlashPropertyValue TShockwaveFlash::GetProperty(int dispId) const {
    switch (dispId) {
        case DISPID_FLASH_MOVIE: return Movie();
        case DISPID_FLASH_SCALEMODE: return ScaleMode();
        case DISPID_FLASH_BACKGROUNDCOLOR: return BackgroundColor();
        default: UnknownProperty(dispId);
    }
}

// ---- playing -------------------------------------------------------------------------

double TShockwaveFlash::ElapsedMs() const {
    return static_cast<double>(static_cast<DWORD>(GetTickCount() - startTick_));
}

bool TShockwaveFlash::OnScreen() {
    return Showing() && !IsIconic(GetAncestor(Handle(), GA_ROOT));
}

void TShockwaveFlash::ScheduleNextFrame() {
    if (!playback_.Animated() || !OnScreen()) {
        StopTimer();
        return;
    }
    // Due when the next frame is rather than at a fixed period, so that each
    // tick lands as the picture changes instead of drifting behind it as late
    // ticks add up. (The slowest movie changes frame every 256 seconds; the
    // clamp only keeps the conversion defined.)
    // No more than kMaxBannerFramesPerSecond frames are drawn, however fast
    // the movie says it runs: with the per-frame work limit, that bounds
    // what the banner can take of the processor. Frames due in between are
    // skipped; the movie keeps its own time.
    const double delay =
        std::ceil(std::max(playback_.MsToNextFrame(ElapsedMs()), 1000.0 / kMaxBannerFramesPerSecond));
    timerRunning_ = SetTimer(Handle(), kFrameTimerId, static_cast<UINT>(std::clamp(delay, 1.0, 1e6))) != 0;
}

void TShockwaveFlash::StopTimer() {
    if (timerRunning_ && HandleAllocated()) KillTimer(Handle(), kFrameTimerId);
    timerRunning_ = false;
}

void TShockwaveFlash::FrameTimer() {
    // Hidden since the last tick (its form hidden or minimised, say): the
    // timer rests until the banner is painted again.
    if (!OnScreen()) {
        StopTimer();
        return;
    }
    const int due = playback_.FrameAt(ElapsedMs());
    if (due != paintedFrame_) {
        // A frame that shows what is on screen already costs no drawing and
        // no repaint: the screen shows it as it stands.
        if (paintedFrame_ >= 0 && bufferFrame_ >= 0 && playback_.SamePicture(due, paintedFrame_)) {
            paintedFrame_ = due;
        } else {
            Invalidate();
        }
    }
    ScheduleNextFrame();
}

// ---- painting ------------------------------------------------------------------------

void TShockwaveFlash::Changed() {
    bufferFrame_ = -1;
    Invalidate();
}

bool TShockwaveFlash::RenderBuffer(double elapsedMs) {
    const int width = std::max(0, ClientWidth()), height = std::max(0, ClientHeight());
    back_->SetSize(width, height);
    bool complete = false;
    try {
        complete = playback_.Render(elapsedMs, *back_);
    } catch (const std::exception&) {
        // The decoder bounds what a movie can ask for, but memory can still
        // run out; the banner then shows its background, as for a bad file.
        back_->Fill(playback_.Background());
        complete = true;
    }
    if (!complete) {
        // Too much work for one frame: this frame is dropped and the picture
        // shown last stays, or the background when there is none that fits.
        if (front_->Width() != width || front_->Height() != height) {
            front_->SetSize(width, height);
            front_->Fill(playback_.Background());
        }
        return false;
    }
    std::swap(front_, back_);
    return true;
}

void TShockwaveFlash::Paint() {
    const double elapsed = ElapsedMs();
    const int frame = playback_.FrameAt(elapsed);
    if (bufferFrame_ < 0 || !playback_.SamePicture(frame, bufferFrame_) || front_->Width() != ClientWidth() ||
        front_->Height() != ClientHeight()) {
        RenderBuffer(elapsed);
        // A dropped frame is not tried again until the next one is due.
        bufferFrame_ = frame;
    }
    Canvas().Draw(0, 0, *front_);
    paintedFrame_ = frame;
    // Being painted means being seen again: a timer that rested while the
    // banner was hidden starts anew.
    if (!timerRunning_) ScheduleNextFrame();
}

void TShockwaveFlash::WndProc(TMessage& m) {
    switch (m.Msg) {
        case WM_TIMER:
            if (m.WParam == kFrameTimerId) {
                FrameTimer();
                return;
            }
            break;
        case CM_VISIBLECHANGED:
        case WM_SHOWWINDOW:
            if (!m.WParam) StopTimer();
            break;
        case WM_DESTROY:
            // The window's timers go with it.
            timerRunning_ = false;
            break;
        default: break;
    }
    TCustomControl::WndProc(m);
}

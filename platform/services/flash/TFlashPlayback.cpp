#include "TFlashPlayback.h"

#include <algorithm>
#include <cmath>

#include "FileUtils.h"

namespace {

// The file as named, or the one entry of its directory whose name matches
// it with ASCII letters compared regardless of case.
AnsiString ExistingFileName(const AnsiString& fileName) {
    if (FileExists(fileName)) return fileName;
    const AnsiString dir = ExtractFilePath(fileName);
    const AnsiString name = ExtractFileName(fileName);
    if (name.empty() || name.find_first_of("*?") != AnsiString::npos) return fileName;
    TSearchRec rec;
    for (int found = FindFirst(dir + name, faAnyFile & ~faDirectory, rec); found == 0; found = FindNext(rec)) {
        if (LowerCase(rec.Name) == LowerCase(name)) return dir + rec.Name;
    }
    return fileName;
}

}  // namespace

void TFlashPlayback::SetMovie(const AnsiString& fileName, double nowMs) {
    movie_ = fileName;
    startMs_ = nowMs;
    cache_.Clear();
    loaded_.LoadFromFile(ExistingFileName(fileName));
}

int TFlashPlayback::FrameAt(double nowMs) const { return loaded_.FrameAtTime(nowMs - startMs_); }

double TFlashPlayback::MsToNextFrame(double nowMs) const {
    // Counted the way the movie counts frames, so that at the moment given
    // FrameAt has moved on.
    const double rate = loaded_.FrameRate();
    const double elapsed = std::max(0.0, nowMs - startMs_);
    const double untilNext = (std::floor(elapsed * rate / 1000.0) + 1) * 1000.0 / rate - elapsed;
    return std::max(untilNext, 1e-3);
}

TColor TFlashPlayback::Background() const {
    // The control reports colours as 0xRRGGBB; bitmaps take 0x00BBGGRR.
    if (backgroundColor_ < 0) return loaded_.BackgroundColor();
    return RGB(std::uint8_t(backgroundColor_ >> 16), std::uint8_t(backgroundColor_ >> 8), std::uint8_t(backgroundColor_));
}

bool TFlashPlayback::Render(double nowMs, TBitmap& target) {
    const int mode = scaleMode_ >= fsmShowAll && scaleMode_ <= fsmNoScale ? scaleMode_ : fsmShowAll;
    return loaded_.RenderFrame(FrameAt(nowMs), target, static_cast<TFlashScaleMode>(mode), Background(), &cache_);
}

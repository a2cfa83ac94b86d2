#include "TFlashMovie.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <system_error>

#include "FlashRenderer.h"
#include "Streams.h"
#include "SwfBitReader.h"

namespace {

enum SwfTagCode : int {
    tagShowFrame = 1,
    tagDefineShape = 2,
    tagPlaceObject = 4,
    tagRemoveObject = 5,
    tagDefineBits = 6,
    tagJPEGTables = 8,
    tagSetBackgroundColor = 9,
    tagDefineBitsLossless = 20,
    tagDefineBitsJPEG2 = 21,
    tagDefineShape2 = 22,
    tagPlaceObject2 = 26,
    tagRemoveObject2 = 28,
    tagDefineShape3 = 32,
    tagDefineBitsJPEG3 = 35,
    tagDefineBitsLossless2 = 36,
    tagPlaceObject3 = 70,
    tagDefineShape4 = 83,
};

constexpr double kDefaultFrameRate = 12;

int ShapeVersion(int code) {
    switch (code) {
        case tagDefineShape: return 1;
        case tagDefineShape2: return 2;
        case tagDefineShape3: return 3;
        default: return 4;
    }
}

// PlaceObject2 and PlaceObject3 share their first flags and their fields
// after the character id.
FlashDisplayOp ReadPlaceObject2(SwfBitReader& reader, bool version3) {
    FlashDisplayOp op;
    const std::uint8_t flags = reader.U8();
    const std::uint8_t flags3 = version3 ? reader.U8() : 0;
    op.Depth = reader.U16();
    op.Move = (flags & 0x01) != 0;
    op.HasCharacter = (flags & 0x02) != 0;
    op.HasMatrix = (flags & 0x04) != 0;
    op.HasColorTransform = (flags & 0x08) != 0;
    const bool hasRatio = (flags & 0x10) != 0;
    const bool hasName = (flags & 0x20) != 0;
    const bool hasClipDepth = (flags & 0x40) != 0;
    if (version3) {
        const bool hasClassName = (flags3 & 0x08) != 0;
        const bool hasImage = (flags3 & 0x10) != 0;
        if (hasClassName || (hasImage && op.HasCharacter)) reader.CString();
    }
    if (op.HasCharacter) op.CharacterId = reader.U16();
    if (op.HasMatrix) op.Matrix = reader.Matrix();
    if (op.HasColorTransform) op.ColorTransform = reader.ColorTransform(true);
    if (hasRatio) reader.U16();
    if (hasName) reader.CString();
    if (hasClipDepth) op.ClipDepth = reader.U16();
    // Filters, blend modes and clip actions that may follow change nothing drawn here.
    return op;
}

// Applies one change to a display list; true when the list changed.
bool ApplyDisplayOp(std::map<int, FlashDisplayObject>& list, const FlashDisplayOp& op) {
    if (op.Remove) return list.erase(op.Depth) != 0;
    const auto existing = list.find(op.Depth);
    if (!op.Move || existing == list.end()) {
        // A new placement; moving an empty depth counts as one when it names
        // a character, and is ignored otherwise.
        if (!op.HasCharacter) return false;
        FlashDisplayObject object;
        object.CharacterId = op.CharacterId;
        if (op.HasMatrix) object.Matrix = op.Matrix;
        if (op.HasColorTransform) object.ColorTransform = op.ColorTransform;
        object.ClipDepth = op.ClipDepth;
        if (existing != list.end() && existing->second == object) return false;
        list[op.Depth] = object;
        return true;
    }
    FlashDisplayObject& object = existing->second;
    const FlashDisplayObject before = object;
    if (op.HasCharacter) object.CharacterId = op.CharacterId;
    if (op.HasMatrix) object.Matrix = op.Matrix;
    if (op.HasColorTransform) object.ColorTransform = op.ColorTransform;
    if (op.ClipDepth != 0) object.ClipDepth = op.ClipDepth;
    return !(object == before);
}

}  // namespace

void TFlashMovie::Clear() { *this = TFlashMovie(); }

void TFlashMovie::LoadFromBytes(std::span<const std::uint8_t> bytes) {
    Clear();
    const SwfFile file = ReadSwfFile(bytes);
    if (!file.Valid) return;
    valid_ = true;
    version_ = file.Version;
    frameRect_ = file.FrameRect;
    frameRate_ = file.FrameRate > 0 ? file.FrameRate : kDefaultFrameRate;
    ReadTags(file);
    NumberPictures();
}

void TFlashMovie::LoadFromFile(const AnsiString& fileName) {
    // Opening a pipe blocks until a writer comes and a device may never end:
    // only regular files of a size a movie can have are read, so no name
    // handed to the banner can hang its window.
    const std::filesystem::path path(fileName);
    std::error_code error;
    const bool regular = std::filesystem::is_regular_file(path, error);
    const std::uintmax_t size = regular ? std::filesystem::file_size(path, error) : 0;
    if (!regular || error || size > kMaxMovieFileBytes) {
        Clear();
        return;
    }
    TMemoryStream data;
    try {
        data.LoadFromFile(fileName);
    } catch (const Exception&) {
        Clear();
        return;
    }
    LoadFromBytes({reinterpret_cast<const std::uint8_t*>(data.Memory()), static_cast<std::size_t>(data.Size())});
}

void TFlashMovie::ReadTags(const SwfFile& file) {
    std::vector<std::uint8_t> jpegTables;
    // What the movie's definitions may take once decoded, all together.
    std::int64_t bitmapPixelsLeft = kMaxMovieBitmapPixels;
    std::int64_t shapeItemsLeft = kMaxMovieShapeItems;
    std::vector<FlashDisplayOp> pending;
    for (const SwfTag& tag : file.Tags) {
        SwfBitReader reader(tag.Body);
        try {
            switch (tag.Code) {
                case tagShowFrame:
                    frames_.push_back(std::move(pending));
                    pending.clear();
                    break;
                case tagSetBackgroundColor: {
                    const SwfRGBA c = reader.RGB();
                    backgroundColor_ = RGB(c.R, c.G, c.B);
                    break;
                }
                case tagDefineShape:
                case tagDefineShape2:
                case tagDefineShape3:
                case tagDefineShape4: {
                    const std::uint16_t id = reader.U16();
                    if (shapeItemsLeft <= 0) break;
                    // A shape that would pass the limit is dropped as soon as
                    // it does (ReadFlashShape raises), before it costs more.
                    FlashShape shape =
                        ReadFlashShape(tag.Body.subspan(2), ShapeVersion(tag.Code), std::size_t(shapeItemsLeft));
                    for (const FlashShapeLayer& layer : shape.Layers)
                        shapeItemsLeft -= std::int64_t(layer.Edges.size() + layer.Fills.size() + layer.Lines.size());
                    shapes_[id] = std::move(shape);
                    break;
                }
                case tagJPEGTables:
                    jpegTables.assign(tag.Body.begin(), tag.Body.end());
                    break;
                case tagDefineBits:
                case tagDefineBitsJPEG2:
                case tagDefineBitsJPEG3:
                case tagDefineBitsLossless:
                case tagDefineBitsLossless2: {
                    const std::uint16_t id = reader.U16();
                    const auto rest = tag.Body.subspan(2);
                    std::optional<FlashBitmap> bitmap;
                    // Each bitmap is refused from its header once it would
                    // take the movie past its limit, before any pixel is decoded.
                    const std::int64_t allowed = bitmapPixelsLeft;
                    if (tag.Code == tagDefineBits) bitmap = DecodeJpegBitmap(jpegTables, rest, allowed);
                    if (tag.Code == tagDefineBitsJPEG2) bitmap = DecodeJpegBitmap({}, rest, allowed);
                    if (tag.Code == tagDefineBitsJPEG3) bitmap = DecodeJpegWithAlpha(rest, allowed);
                    if (tag.Code == tagDefineBitsLossless) bitmap = DecodeLosslessBitmap(rest, false, allowed);
                    if (tag.Code == tagDefineBitsLossless2) bitmap = DecodeLosslessBitmap(rest, true, allowed);
                    if (bitmap) {
                        bitmapPixelsLeft -= std::int64_t(bitmap->Pixels.size());
                        bitmaps_[id] = std::move(*bitmap);
                    }
                    break;
                }
                case tagPlaceObject: {
                    FlashDisplayOp op;
                    op.CharacterId = reader.U16();
                    op.Depth = reader.U16();
                    op.HasCharacter = true;
                    op.HasMatrix = true;
                    op.Matrix = reader.Matrix();
                    if (!reader.AtEnd()) {
                        op.HasColorTransform = true;
                        op.ColorTransform = reader.ColorTransform(false);
                    }
                    pending.push_back(op);
                    break;
                }
                case tagPlaceObject2:
                case tagPlaceObject3:
                    pending.push_back(ReadPlaceObject2(reader, tag.Code == tagPlaceObject3));
                    break;
                case tagRemoveObject:
                case tagRemoveObject2: {
                    FlashDisplayOp op;
                    op.Remove = true;
                    if (tag.Code == tagRemoveObject) reader.U16();  // the character id
                    op.Depth = reader.U16();
                    pending.push_back(op);
                    break;
                }
                default:
                    break;  // a tag this player does not need
            }
        } catch (const ESwfFormatError&) {
            // A damaged tag is dropped; the rest of the movie still plays.
        }
    }
}

int TFlashMovie::FrameWidth() const { return static_cast<int>(std::lround(frameRect_.Width() / 20)); }
int TFlashMovie::FrameHeight() const { return static_cast<int>(std::lround(frameRect_.Height() / 20)); }

int TFlashMovie::FrameAtTime(double elapsedMs) const {
    if (frames_.empty() || !std::isfinite(elapsedMs) || elapsedMs < 0) return 0;
    const double frame = std::floor(elapsedMs * frameRate_ / 1000.0);
    return static_cast<int>(std::fmod(frame, static_cast<double>(frames_.size())));
}

std::map<int, FlashDisplayObject> TFlashMovie::DisplayListAt(int frame) const {
    std::map<int, FlashDisplayObject> list;
    if (frames_.empty()) return list;
    const int count = static_cast<int>(frames_.size());
    const int last = ((frame % count) + count) % count;
    for (int f = 0; f <= last; ++f) {
        for (const FlashDisplayOp& op : frames_[std::size_t(f)]) ApplyDisplayOp(list, op);
    }
    return list;
}

void TFlashMovie::NumberPictures() {
    // One pass over all changes: a frame whose changes leave the list as it
    // was shows the picture of the frame before.
    pictures_.clear();
    std::map<int, FlashDisplayObject> list, first;
    for (std::size_t f = 0; f < frames_.size(); ++f) {
        bool changed = f == 0;
        for (const FlashDisplayOp& op : frames_[f]) changed = ApplyDisplayOp(list, op) || changed;
        pictures_.push_back(changed ? int(f) : pictures_.back());
        if (f == 0) first = list;
    }
    // Looping from the last frame to the first changes nothing when their
    // lists are alike: the last run of frames then shows the first picture.
    if (!pictures_.empty() && list == first) {
        const int lastPicture = pictures_.back();
        for (auto it = pictures_.rbegin(); it != pictures_.rend() && *it == lastPicture; ++it) *it = pictures_.front();
    }
}

int TFlashMovie::PictureAt(int frame) const {
    if (pictures_.empty()) return 0;
    const int count = static_cast<int>(pictures_.size());
    return pictures_[std::size_t(((frame % count) + count) % count)];
}

bool TFlashMovie::RenderFrame(int frame, TBitmap& target, TFlashScaleMode scaleMode, TColor background,
                              FlashRenderCache* cache, std::uint64_t* workDone) const {
    if (workDone != nullptr) *workDone = 0;
    target.Fill(background);
    if (!valid_ || frames_.empty() || target.Empty()) return true;
    const std::uint64_t pixels = std::uint64_t(target.Width()) * std::uint64_t(target.Height());
    const std::uint64_t units = kFrameWorkPerPixel * std::max(pixels, kFrameWorkMinPixels);
    FlashWorkBudget budget(units);
    struct ReportWork {
        const FlashWorkBudget& budget;
        const std::uint64_t units;
        std::uint64_t* done;
        ~ReportWork() {
            if (done != nullptr) *done = units - budget.Remaining();
        }
    } report{budget, units, workDone};

    // Building the display list replays every change up to the frame.
    const int count = static_cast<int>(frames_.size());
    const int last = ((frame % count) + count) % count;
    std::uint64_t changes = 0;
    for (int f = 0; f <= last; ++f) changes += frames_[std::size_t(f)].size();
    if (!budget.Spend(changes)) return false;

    // Twips of the frame to pixels of the target.
    const double stageWidth = frameRect_.Width() / 20, stageHeight = frameRect_.Height() / 20;
    double scaleX = target.Width() / stageWidth, scaleY = target.Height() / stageHeight;
    switch (scaleMode) {
        case fsmExactFit: break;
        case fsmShowAll: scaleX = scaleY = std::min(scaleX, scaleY); break;
        case fsmNoBorder: scaleX = scaleY = std::max(scaleX, scaleY); break;
        default: scaleX = scaleY = 1; break;
    }
    const double offsetX = (target.Width() - stageWidth * scaleX) / 2;
    const double offsetY = (target.Height() - stageHeight * scaleY) / 2;
    const SwfMatrix toDevice{scaleX / 20, 0, 0, scaleY / 20, offsetX - frameRect_.XMin * scaleX / 20,
                             offsetY - frameRect_.YMin * scaleY / 20};

    bool complete = true;
    for (const auto& [depth, object] : DisplayListAt(frame)) {
        if (object.ClipDepth != 0) continue;  // masks are not drawn
        const auto shape = shapes_.find(object.CharacterId);
        if (shape == shapes_.end()) continue;
        const SwfMatrix shapeToDevice = toDevice * object.Matrix;
        FlashShapeCoverage* kept =
            cache != nullptr ? &cache->Coverage(object.CharacterId, shapeToDevice, target.BoundsRect()) : nullptr;
        complete = DrawFlashShape(shape->second, shapeToDevice, object.ColorTransform, bitmaps_, target, budget, kept);
        if (!complete) break;
    }
    if (cache != nullptr) cache->EndFrame();
    return complete;
}

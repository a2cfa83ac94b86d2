#include "CompressedSkin.h"

#include "Exceptions.h"
#include "FileUtils.h"
#include "IniFiles.h"
#include "SkinIniValues.h"
#include "SkinLoadLimits.h"
#include "SkinPictureFiles.h"
#include "SysUtils.h"

namespace {

// Reads the payload front to back, every read checked against its end.
class PayloadReader {
public:
    PayloadReader(std::span<const char> data, SkinPictureBudget& budget) : data_(data), budget_(budget) {}

    std::int32_t Int32() {
        const auto* p = reinterpret_cast<const unsigned char*>(Take(4));
        return static_cast<std::int32_t>(std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) |
                                         (std::uint32_t(p[2]) << 16) | (std::uint32_t(p[3]) << 24));
    }
    std::uint8_t Byte() { return static_cast<std::uint8_t>(*Take(1)); }

    // Decodes the BMP image at the current position and moves past exactly
    // its bytes, so that the next image or the description follows directly.
    void Bitmap(TBitmap& bitmap) {
        const auto rest = std::span<const std::uint8_t>(
            reinterpret_cast<const std::uint8_t*>(data_.data()) + position_, data_.size() - position_);
        std::size_t consumed = 0;
        budget_.LoadBytes(bitmap, rest, &consumed);
        position_ += consumed;
    }

    // A flag byte, then the image only when the flag is 0.
    void PictureEntry(TBitmap& bitmap) {
        if (Byte() == 0) {
            Bitmap(bitmap);
        } else {
            bitmap.SetSize(0, 0);
        }
    }

    std::string_view Rest() const { return std::string_view(data_.data() + position_, data_.size() - position_); }

private:
    const char* Take(std::size_t count) {
        if (data_.size() - position_ < count) throw EReadError("Stream read error");
        const char* p = data_.data() + position_;
        position_ += count;
        return p;
    }

    std::span<const char> data_;
    SkinPictureBudget& budget_;
    std::size_t position_ = 0;
};

void WriteInt32(TStream& out, std::int32_t value) {
    const auto v = static_cast<std::uint32_t>(value);
    const unsigned char bytes[4] = {static_cast<unsigned char>(v), static_cast<unsigned char>(v >> 8),
                                    static_cast<unsigned char>(v >> 16), static_cast<unsigned char>(v >> 24)};
    out.WriteBuffer(bytes, 4);
}

void WriteBitmap(TStream& out, const TBitmap& bitmap) {
    const std::vector<std::uint8_t> bytes = bitmap.SaveToBytes();
    out.WriteBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
}

void WritePictureEntry(TStream& out, const TBitmap& bitmap) {
    const std::uint8_t empty = bitmap.Empty() ? 1 : 0;
    out.WriteBuffer(&empty, 1);
    if (!empty) WriteBitmap(out, bitmap);
}

}  // namespace

void ReadSkinPayload(std::span<const char> payload, TbsSkinPayload& out, const AnsiString& skinName) {
    SkinPictureBudget budget(skinName);
    PayloadReader reader(payload, budget);
    out.Format = reader.Int32();
    if (out.Format > kSkinPayloadFormat) {
        throw EReadError(Format("Skin data format %d is not supported (at most %d)", int(out.Format),
                                int(kSkinPayloadFormat)));
    }
    reader.PictureEntry(out.Picture);
    reader.PictureEntry(out.InactivePicture);
    reader.PictureEntry(out.Mask);
    if (out.Format == 2) {
        // Format 2 carried two more frame pictures that skins no longer use.
        TBitmap discarded;
        reader.PictureEntry(discarded);
        reader.PictureEntry(discarded);
    }
    const std::int32_t count = reader.Int32();
    out.ActivePictures.clear();
    for (std::int32_t i = 0; i < count; ++i) {
        auto bitmap = std::make_unique<TBitmap>();
        reader.Bitmap(*bitmap);
        out.ActivePictures.push_back(std::move(bitmap));
    }
    out.Description.SetText(reader.Rest());
}

void WriteSkinPayload(const TbsSkinPayload& payload, TStream& out) {
    WriteInt32(out, kSkinPayloadFormat);
    WritePictureEntry(out, payload.Picture);
    WritePictureEntry(out, payload.InactivePicture);
    WritePictureEntry(out, payload.Mask);
    WriteInt32(out, static_cast<std::int32_t>(payload.ActivePictures.size()));
    for (const auto& bitmap : payload.ActivePictures) WriteBitmap(out, *bitmap);
    const AnsiString text = payload.Description.Text();
    out.WriteBuffer(text.data(), static_cast<std::int64_t>(text.size()));
}

bool HasRequiredSkinSections(const TMemIniFile& ini) {
    for (const char* section : kRequiredSkinSections) {
        if (!ini.SectionExists(section)) return false;
    }
    return true;
}

SkinPictureNames ReadSkinPictureNames(const TMemIniFile& ini) {
    SkinPictureNames names;
    names.picture = ini.ReadString("PICTURES", "picture", "");
    names.inactivepicture = ini.ReadString("PICTURES", "inactivepicture", "");
    names.mask = ini.ReadString("PICTURES", "mask", "");
    TStringList list;
    IniReadList(ini, "PICTURES", "activepictures", list);
    for (int i = 0; i < list.Count(); ++i) names.activepictures.push_back(list.Strings(i));
    return names;
}

bool BuildSkinPayload(const AnsiString& path, TbsSkinPayload& out) {
    TStringList lines;
    lines.LoadFromFile(path);
    const TMemIniFile ini(lines);
    if (!HasRequiredSkinSections(ini)) return false;

    const SkinPictureNames names = ReadSkinPictureNames(ini);
    // Everything is loaded before `out` changes, so a missing picture leaves it as it was.
    TbsSkinPayload built;
    SkinPictureFiles pictures(path, ini);
    pictures.LoadFramePicture(built.Picture, "picture", names.picture);
    pictures.LoadFramePicture(built.InactivePicture, "inactivepicture", names.inactivepicture);
    pictures.LoadFramePicture(built.Mask, "mask", names.mask);
    for (std::size_t i = 0; i < names.activepictures.size(); ++i) {
        auto bitmap = std::make_unique<TBitmap>();
        pictures.LoadListPicture(*bitmap, static_cast<int>(i), names.activepictures[i]);
        built.ActivePictures.push_back(std::move(bitmap));
    }

    out.Format = kSkinPayloadFormat;
    out.Picture.Assign(built.Picture);
    out.InactivePicture.Assign(built.InactivePicture);
    out.Mask.Assign(built.Mask);
    out.ActivePictures = std::move(built.ActivePictures);
    out.Description.Assign(lines);
    return true;
}

#include "SkinLoadLimits.h"

#include <algorithm>
#include <string>

#include "Exceptions.h"

template <class Load>
void SkinPictureBudget::Spend(TBitmap& bitmap, const AnsiString& pictureName, Load load) {
    const std::uint64_t allowed = std::min(remaining_, kMaxBmpPixels);
    try {
        load(allowed);
    } catch (const EBmpFormatError& e) {
        // A picture within the limit of one picture that does not fit what
        // the skin has left: the skin as a whole is too large.
        const std::uint64_t declared = e.DeclaredPixels();
        if (declared == 0 || declared > kMaxBmpPixels) throw;
        AnsiString where = pictureName.empty() ? AnsiString() : " (\"" + pictureName + "\" passes the limit)";
        throw EInvalidGraphic("Skin \"" + skinName_ + "\" is too large: its pictures hold more than " +
                              std::to_string(kMaxSkinPixels) + " pixels together" + where);
    }
    const std::uint64_t used = std::uint64_t(std::max(bitmap.Width(), 0)) * std::uint64_t(std::max(bitmap.Height(), 0));
    remaining_ -= std::min(used, remaining_);
}

void SkinPictureBudget::LoadFile(TBitmap& bitmap, const AnsiString& fileName) {
    Spend(bitmap, fileName, [&](std::uint64_t allowed) { bitmap.LoadFromFile(fileName, allowed); });
}

void SkinPictureBudget::LoadBytes(TBitmap& bitmap, std::span<const std::uint8_t> data, std::size_t* consumed) {
    Spend(bitmap, AnsiString(), [&](std::uint64_t allowed) { bitmap.LoadFromBytes(data, consumed, allowed); });
}

// Fuzzes the payload reader past the zlib checksum: the input is an inflated
// payload (format number, picture entries, pictures, description), deflated
// here and loaded as a stored skin.

#include <cstdint>

#include "FuzzSkinSupport.h"
#include "ZlibStreams.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    TMemoryStream raw, packed;
    raw.WriteBuffer(data, std::int64_t(size));
    CompressStream(raw, packed, TCompressionLevel::Fastest);
    packed.SetPosition(0);
    const auto stored = CreateUnowned<TbsCompressedStoredSkin>();
    stored->LoadCompressedData(packed);
    TbsSkinData& skin = fuzzskin::SkinData();
    fuzzskin::LoadIgnoringErrors([&] { skin.LoadStoredSkin(*stored); });
    fuzzskin::CheckSettled(skin);
    return 0;
}

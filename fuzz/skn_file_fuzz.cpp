// Fuzzes the .skn loader end to end: container, zlib block, payload and the
// description inside it, as LoadPackedSkinFile reads them (from memory here).

#include <cstdint>

#include "Exceptions.h"
#include "FuzzSkinSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    TMemoryStream file;
    file.WriteBuffer(data, std::int64_t(size));
    const auto stored = CreateUnowned<TbsCompressedStoredSkin>();
    try {
        stored->ReadPacked(file);
    } catch (const EReadError&) {
        return 0;  // a cut file: refused before anything changes
    }
    TbsSkinData& skin = fuzzskin::SkinData();
    fuzzskin::LoadIgnoringErrors([&] { skin.LoadStoredSkin(*stored); });
    fuzzskin::CheckSettled(skin);
    return 0;
}

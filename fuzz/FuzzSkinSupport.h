#pragma once
// What the skin fuzz targets share: a skin data component with its error
// report silenced, and a check that a load always ends in a settled state.

#include <cstdlib>

#include "TbsSkinData.h"

namespace fuzzskin {

inline TbsSkinData& SkinData() {
    static TbsSkinData* data = [] {
        SetSkinErrorReport([](const Exception&) {});
        return new TbsSkinData();  // lives for the whole run
    }();
    return *data;
}

// After any load the component is either loaded or empty, never left loading,
// and an empty skin holds no records and no pictures.
inline void CheckSettled(const TbsSkinData& data) {
    if (data.IsChanging()) std::abort();
    if (data.IsEmpty() && (!data.SkinControls().empty() || !data.SkinObjects().empty() || !data.ActiveBitmaps().empty()))
        std::abort();
    // Every lookup must stay within the lists.
    for (const auto& control : data.SkinControls()) {
        const int index = data.FindControlIndex(control->EntryName);
        if (index < 0 || index >= int(data.SkinControls().size())) std::abort();
    }
}

}  // namespace fuzzskin

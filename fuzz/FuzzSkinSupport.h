#pragma once
// What the skin fuzz targets share: a skin data component, a load that
// takes the error a failed load raises (there is no application to report
// it), and a check that a load always ends in a settled state.

#include <cstdlib>
#include <exception>

#include "TbsSkinData.h"

namespace fuzzskin {

inline TbsSkinData& SkinData() {
    static TbsSkinData* data = CreateUnowned<TbsSkinData>().release();  // lives for the whole run
    return *data;
}

// Runs a load. Without an application a failed load completes as an empty
// skin and then raises its error; any error type is a refusal of the input,
// not a defect (crashes and memory errors are).
template <class Load>
void LoadIgnoringErrors(Load load) {
    try {
        load();
    } catch (const std::exception&) {
    }
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

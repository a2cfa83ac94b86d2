#pragma once
// Packing a skin directory into a .skn file.

#include <string>

#include "AnsiString.h"

struct SkinPackResult {
    bool ok = false;
    std::string message;  // what was written, or why nothing was
};

// Packs the skin at `skinPath` (a directory or its description) into the
// container file `outPath`. The file is written under a temporary name and
// renamed at the end, so a failure never leaves a half-written or emptied
// .skn behind.
SkinPackResult PackSkin(const AnsiString& skinPath, const AnsiString& outPath);

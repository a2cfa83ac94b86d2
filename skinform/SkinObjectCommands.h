#pragma once
// The commands of caption buttons and animated frame objects: which border
// icon enables each, and the hint it shows (a key of the skin's text table,
// and the built-in text used without one).

#include "SkinFormTypes.h"
#include "SkinIniValues.h"

struct SkinCommandInfo {
    SkinCommand command;
    TbsBorderIcons enabledBy;  // 0: always enabled (close) or decided elsewhere
    const char* hintKey;       // null: the object's own hint
    const char* fallbackHint;
};

const SkinCommandInfo& CommandInfo(SkinCommand command);

#pragma once
// The texts of the skinned dialogs: each has a key in the skin's resource
// strings and a built-in text used when the skin has none for it.

#include "AnsiString.h"

class TbsSkinData;

// The skin's text for `key`, or `fallback` when there is no skin, no text
// table, or no text under that key.
AnsiString SkinResourceText(const TbsSkinData* skinData, const char* key, const AnsiString& fallback);

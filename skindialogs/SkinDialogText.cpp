#include "SkinDialogText.h"

#include "TbsResourceStrData.h"
#include "TbsSkinData.h"

AnsiString SkinResourceText(const TbsSkinData* skinData, const char* key, const AnsiString& fallback) {
    if (!skinData || !key || !*key || !skinData->ResourceStrData()) return fallback;
    AnsiString text = skinData->ResourceStrData()->LookupString(key);
    return text.empty() ? fallback : text;
}

#pragma once
// The kind tables of the directory sections: which record class each kind
// word of SKINOBJECTS and SKINCONTROLS creates, and the reading of a whole
// directory into records.

#include <memory>
#include <span>
#include <string_view>
#include <vector>

#include "SkinControlRecords.h"
#include "SkinExtraControlRecords.h"
#include "SkinObjectRecords.h"

struct SkinObjectKind {
    const char* kind;       // the word after the colon, compared case-sensitively
    const char* className;  // for tools that describe a skin
    std::unique_ptr<TbsDataSkinObject> (*create)(const AnsiString& name);
    std::vector<SkinKeyInfo> (*keys)();
};

struct SkinControlKind {
    const char* kind;
    const char* className;
    std::unique_ptr<TbsDataSkinControl> (*create)(const AnsiString& name);
    std::vector<SkinKeyInfo> (*keys)();
};

std::span<const SkinObjectKind> SkinObjectKinds();
std::span<const SkinControlKind> SkinControlKinds();

// A new, unread record of the kind's class with the given name; null when the
// kind is not in the table.
std::unique_ptr<TbsDataSkinObject> CreateSkinObjectRecord(std::string_view kind, const AnsiString& name);
std::unique_ptr<TbsDataSkinControl> CreateSkinControlRecord(std::string_view kind, const AnsiString& name);

// Walks SKINOBJECTS (SKINCONTROLS) in entry order: each entry whose kind is in
// the table creates its record, which is appended to `records` and then reads
// its own section; other entries are skipped. A malformed value raises
// EConvertError; the records appended up to then, the failing one included,
// stay in `records`.
void ReadSkinObjects(const TMemIniFile& ini, std::vector<std::unique_ptr<TbsDataSkinObject>>& records);
void ReadSkinControls(const TMemIniFile& ini, std::vector<std::unique_ptr<TbsDataSkinControl>>& records);

// Whether two records are of the same class, carry the same name and hold the
// same values (compared in their written form, which covers every key).
bool SameSkinRecord(const TbsDataSkinObject& a, const TbsDataSkinObject& b);
bool SameSkinRecord(const TbsDataSkinControl& a, const TbsDataSkinControl& b);

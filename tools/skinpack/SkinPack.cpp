#include "SkinPack.h"

#include "CompressedSkin.h"
#include "Exceptions.h"
#include "FileUtils.h"
#include "IniFiles.h"
#include "SkinCheck.h"
#include "SysUtils.h"
#include "TbsCompressedStoredSkin.h"

SkinPackResult PackSkin(const AnsiString& skinPath, const AnsiString& outPath) {
    const AnsiString iniPath = SkinDescriptionPath(skinPath);
    if (!FileExists(iniPath)) return {false, "no skin description at " + AnsiToUtf8(iniPath)};
    {
        const TMemIniFile ini(iniPath);
        std::string missing;
        for (const char* section : kRequiredSkinSections)
            if (!ini.SectionExists(section)) missing += std::string(missing.empty() ? "" : ", ") + "[" + section + "]";
        if (!missing.empty()) return {false, "not a skin: " + missing + " missing in " + AnsiToUtf8(iniPath)};
    }
    const AnsiString tempPath = outPath + ".part";
    try {
        const auto skin = CreateUnowned<TbsCompressedStoredSkin>();
        skin->CompressIniSkin(iniPath);
        {
            TFileStream out(tempPath, fmCreate);
            skin->WritePacked(out);
        }
        if (!MoveFileReplace(tempPath, outPath)) {
            DeleteFile(tempPath);
            return {false, "cannot replace " + AnsiToUtf8(outPath)};
        }
        return {true, Format("packed %s into %s: %d bytes of compressed skin", AnsiToUtf8(iniPath).c_str(),
                             AnsiToUtf8(outPath).c_str(), int(skin->CompressedData().size()))};
    } catch (const Exception& e) {
        DeleteFile(tempPath);
        return {false, AnsiToUtf8(e.Message())};
    }
}

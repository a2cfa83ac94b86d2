#include "SkinPictureFiles.h"

#include <filesystem>
#include <system_error>

#include "Exceptions.h"
#include "FileUtils.h"
#include "IniFiles.h"
#include "SysUtils.h"

namespace {

// Why a picture file could not be opened, in words a skin author acts on.
AnsiString OpenFailureReason(const AnsiString& path) {
    std::error_code error;
    const auto status = std::filesystem::status(path, error);
    if (!std::filesystem::exists(status)) return "不存在";
    if (std::filesystem::is_directory(status)) return "是一个文件夹，不是图片文件";
    if (!std::filesystem::is_regular_file(status)) return "不是普通文件";
    return "无法打开（没有读取权限？）";
}

}  // namespace

SkinPictureFiles::SkinPictureFiles(const AnsiString& descriptionFile, const TMemIniFile& ini)
    : descriptionFile_(descriptionFile),
      dir_(ExtractFilePath(descriptionFile)),
      declaredListCount_(ini.ReadInteger("PICTURES", "activepicturescount", 0)),
      budget_(descriptionFile) {}

void SkinPictureFiles::LoadFramePicture(TBitmap& bitmap, std::string_view key, const AnsiString& name) {
    if (name.empty()) {
        bitmap.SetSize(0, 0);
        return;
    }
    Load(bitmap, key, name);
}

void SkinPictureFiles::LoadListPicture(TBitmap& bitmap, int index, const AnsiString& name) {
    if (name.empty()) {
        throw EFOpenError("皮肤 " + descriptionFile_ + " 的图片列表有误：[PICTURES] 的 activepicturescount 为 " +
                          IntToStr(declaredListCount_) + "，但键 " + IntToStr(index) + " 没有图片文件名。");
    }
    Load(bitmap, IntToStr(index), name);
}

void SkinPictureFiles::Load(TBitmap& bitmap, std::string_view key, const AnsiString& name) {
    const AnsiString path = dir_ + name;
    try {
        budget_.LoadFile(bitmap, path);
    } catch (const EFOpenError&) {
        throw EFOpenError("皮肤 " + descriptionFile_ + " 的图片打不开：[PICTURES] 的 " + AnsiString(key) + "=" + name +
                          " 指向的文件 " + path + " " + OpenFailureReason(path) + "。");
    }
}

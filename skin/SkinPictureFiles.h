#pragma once
// Loading the pictures a skin description names: from the description's
// directory, within the skin's pixel budget (SkinPictureBudget). A picture
// that cannot be opened, and an entry of the picture list without a file
// name (a list count far above the entries listed, say), raise EFOpenError
// with a message in the program's language that names the description file,
// the key and the picture file, so a skin author knows what to mend.

#include <string_view>

#include "AnsiString.h"
#include "SkinLoadLimits.h"
#include "TBitmap.h"

class TMemIniFile;

class SkinPictureFiles {
public:
    // `descriptionFile` is the skin.ini whose [PICTURES] section is `ini`'s.
    SkinPictureFiles(const AnsiString& descriptionFile, const TMemIniFile& ini);

    // A frame picture: `key` is "picture", "inactivepicture" or "mask". An
    // empty name gives an empty bitmap.
    void LoadFramePicture(TBitmap& bitmap, std::string_view key, const AnsiString& name);
    // Entry `index` of the picture list ("activepictures").
    void LoadListPicture(TBitmap& bitmap, int index, const AnsiString& name);

private:
    void Load(TBitmap& bitmap, std::string_view key, const AnsiString& name);

    AnsiString descriptionFile_;
    AnsiString dir_;
    int declaredListCount_;
    SkinPictureBudget budget_;
};

#pragma once
// The skinned open-file dialog as a component: its settings, kept between
// calls, and ShowOpenDialog, which builds a TbsOpenDlgForm for one modal
// call. The file list's view style and the window's size are kept from one
// call to the next; after a confirmed call FileName holds the chosen file
// and Files every file selected in the list. FileName keeps the name's real
// bytes on disk, whatever the display shows.
//
// Execute, Options (ofFileMustExist, ofForceShowHidden), Title, Filter,
// FilterIndex, FileName and InitialDir let code written for the platform's
// plain open dialog use this one unchanged.

#include <vector>

#include "Classes.h"
#include "TFont.h"
#include "TListView.h"
#include "TOpenDialog.h"

class TbsSkinData;
class TbsOpenDlgForm;

class TbsSkinOpenDialog : public TComponent {
public:
    explicit TbsSkinOpenDialog(TComponent* AOwner);
    ~TbsSkinOpenDialog() override;

    AnsiString Title = "Open file";
    AnsiString InitialDir;
    AnsiString FileName;
    AnsiString Filter = "All files|*.*";
    int FilterIndex = 1;
    AnsiString DefaultExt;
    bool CheckFileExists = true;
    bool MultiSelection = false;
    bool ShowHiddenFiles = false;
    bool ToolButtonsTransparent = false;
    bool OverwritePromt = false;  // no effect on an open dialog
    // The plain dialog's options: ofFileMustExist and ofForceShowHidden add
    // to CheckFileExists and ShowHiddenFiles.
    TOpenOptions Options = 0;
    int DialogWidth = 0;
    int DialogHeight = 0;
    int DialogMinWidth = 0;
    int DialogMinHeight = 0;
    AnsiString LVHeaderSkinDataName = "resizebutton";
    bool AlphaBlend = false;
    bool AlphaBlendAnimation = false;
    int AlphaBlendValue = 225;
    bool CtrlAlphaBlend = false;
    bool CtrlAlphaBlendAnimation = false;
    int CtrlAlphaBlendValue = 225;
    TNotifyEvent OnFolderChange;

    TbsSkinData* SkinData() const { return skinData_; }
    void SetSkinData(TbsSkinData* value);
    TbsSkinData* CtrlSkinData() const { return ctrlSkinData_; }
    void SetCtrlSkinData(TbsSkinData* value);
    const TFont& DefaultFont() const { return defaultFont_; }
    void SetDefaultFont(const TFont& value) { defaultFont_.Assign(value); }

    // The view style the next call starts with.
    TViewStyle ViewStyle() const { return viewStyle_; }
    void SetViewStyle(TViewStyle value) { viewStyle_ = value; }
    // The files selected in the last confirmed call (full paths).
    const std::vector<AnsiString>& Files() const { return files_; }

    // Runs the dialog; true when a file was chosen.
    bool ShowOpenDialog();
    bool Execute() { return ShowOpenDialog(); }
    // The window while a call runs (else null).
    TbsOpenDlgForm* Form() const { return form_; }

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    std::string FirstFolder() const;

    TbsSkinData* skinData_ = nullptr;
    TbsSkinData* ctrlSkinData_ = nullptr;
    TFont defaultFont_;
    TViewStyle viewStyle_ = vsList;
    std::vector<AnsiString> files_;
    TbsOpenDlgForm* form_ = nullptr;
};

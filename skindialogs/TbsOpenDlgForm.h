#pragma once
// The window of one open-file call: the skinned frame; a tool bar with the
// "look in" label, the folder box, the Back, Up and New folder buttons and
// the view menu button; the file list with its two skinned scroll bars; and
// below, the file name box, the file type box and the Open and Cancel
// buttons. It is built for one call and freed after it; the controls follow
// the window's size through their anchors and alignment.

#include <memory>
#include <string>
#include <vector>

#include "Forms.h"
#include "TFont.h"
#include "TbsShellFolder.h"
#include "TListView.h"

class TbsSkinData;
class TbsSkinForm;
class TbsSkinPanel;
class TbsSkinStdLabel;
class TbsSkinShellComboBox;
class TbsSkinSpeedButton;
class TbsSkinMenuSpeedButton;
class TbsSkinFileListView;
class TbsSkinScrollBar;
class TbsSkinEdit;
class TbsSkinFilterComboBox;
class TbsSkinButton;
class TbsSkinPopupMenu;
class TMenuItem;

// Everything the window is built from.
struct TbsOpenDlgSettings {
    TbsSkinData* SkinData = nullptr;
    TbsSkinData* CtrlSkinData = nullptr;
    AnsiString Caption = "Open file";
    AnsiString Filter = "All files|*.*";
    int FilterIndex = 1;
    AnsiString DefaultExt;
    bool CheckFileExists = true;
    bool MultiSelection = false;
    bool ShowHiddenFiles = false;
    bool ToolButtonsTransparent = false;
    int DialogMinWidth = 0;
    int DialogMinHeight = 0;
    AnsiString LVHeaderSkinDataName = "resizebutton";
    const TFont* DefaultFont = nullptr;
    bool AlphaBlend = false;
    bool AlphaBlendAnimation = false;
    int AlphaBlendValue = 225;
    bool CtrlAlphaBlend = false;
    bool CtrlAlphaBlendAnimation = false;
    int CtrlAlphaBlendValue = 225;
    TViewStyle ViewStyle = vsList;
    std::string FirstFolder;  // bytes
    AnsiString FileName;      // the name part shown in the name box
    TNotifyEvent OnFolderChange;
};

class TbsOpenDlgForm : public TForm {
public:
    TbsOpenDlgForm(TComponent* AOwner, const TbsOpenDlgSettings& settings);
    ~TbsOpenDlgForm() override;

    // The file chosen (bytes), valid after the OK result.
    const std::string& ChosenFile() const { return chosen_; }
    TViewStyle ViewStyle() const;
    void SetViewStyle(TViewStyle style);
    int FileTypeIndex() const;

    // The rule of the Open button: ends the dialog with OK when the entry
    // names a file that may be chosen; otherwise the dialog stays.
    void ChooseFile();
    // Enter in the file name box: a mask, a path to go to, or a name.
    void NameBoxEnter();
    void GoBack();
    void GoUp();
    void NewFolder();
    const std::vector<TbsShellFolder::Ptr>& History() const { return history_; }

    TbsSkinForm* SkinFrame() const { return frame_; }
    TbsSkinShellComboBox* FolderBox() const { return folderBox_; }
    TbsSkinFileListView* FileList() const { return fileList_; }
    TbsSkinEdit* NameEdit() const { return nameEdit_; }
    TbsSkinFilterComboBox* FilterBox() const { return filterBox_; }
    TbsSkinButton* OpenButton() const { return openButton_; }
    TbsSkinButton* CancelButton() const { return cancelButton_; }
    TbsSkinSpeedButton* BackButton() const { return backButton_; }
    TbsSkinSpeedButton* UpButton() const { return upButton_; }
    TbsSkinSpeedButton* NewFolderButton() const { return newFolderButton_; }
    TbsSkinMenuSpeedButton* ViewMenuButton() const { return viewButton_; }
    TbsSkinPopupMenu* ViewMenu() const { return viewMenu_; }

protected:
    void KeyDown(WORD& Key, TShiftState Shift) override;

private:
    void BuildToolBar(const TbsOpenDlgSettings& s);
    void BuildBottom(const TbsOpenDlgSettings& s);
    void BuildMiddle(const TbsOpenDlgSettings& s);
    void FolderChanged();
    void SelectionChanged(TListItem* item, bool selected);
    void ViewItemClick(TObject* sender);
    void EndWith(const std::string& file);

    TbsSkinData* ctrlSkinData_ = nullptr;
    TbsSkinForm* frame_ = nullptr;
    TbsSkinPanel* toolBar_ = nullptr;
    TbsSkinStdLabel* lookInLabel_ = nullptr;
    TbsSkinShellComboBox* folderBox_ = nullptr;
    TbsSkinSpeedButton* backButton_ = nullptr;
    TbsSkinSpeedButton* upButton_ = nullptr;
    TbsSkinSpeedButton* newFolderButton_ = nullptr;
    TbsSkinMenuSpeedButton* viewButton_ = nullptr;
    TbsSkinPopupMenu* viewMenu_ = nullptr;
    std::vector<TMenuItem*> viewItems_;
    TbsSkinPanel* middle_ = nullptr;
    TbsSkinScrollBar* hScroll_ = nullptr;
    TbsSkinScrollBar* vScroll_ = nullptr;
    TbsSkinFileListView* fileList_ = nullptr;
    TbsSkinPanel* bottom_ = nullptr;
    TbsSkinEdit* nameEdit_ = nullptr;
    TbsSkinFilterComboBox* filterBox_ = nullptr;
    TbsSkinButton* openButton_ = nullptr;
    TbsSkinButton* cancelButton_ = nullptr;

    AnsiString defaultExt_;
    bool checkFileExists_ = true;
    TNotifyEvent onFolderChange_;
    std::vector<TbsShellFolder::Ptr> history_;
    bool goingBack_ = false;
    int newFolderCount_ = 0;
    AnsiString newFolderName_;
    std::string chosen_;
};

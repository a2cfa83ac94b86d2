#include "TbsSkinOpenDialog.h"

#include <algorithm>

#include "FileUtils.h"
#include "ShellFolderEntries.h"
#include "ShellNamespace.h"
#include "TbsOpenDlgForm.h"
#include "TbsSkinData.h"
#include "TbsSkinFileListView.h"
#include "TbsSkinForm.h"

namespace {
constexpr int kDefaultWidth = 450;
constexpr int kDefaultHeight = 290;
}  // namespace

TbsSkinOpenDialog::TbsSkinOpenDialog(TComponent* AOwner) : TComponent(AOwner) {
    defaultFont_.SetName("Arial");
    defaultFont_.SetHeight(14);
}

TbsSkinOpenDialog::~TbsSkinOpenDialog() = default;

void TbsSkinOpenDialog::SetSkinData(TbsSkinData* value) {
    if (skinData_) skinData_->RemoveFreeNotification(this);
    skinData_ = value;
    if (skinData_) skinData_->FreeNotification(this);
}

void TbsSkinOpenDialog::SetCtrlSkinData(TbsSkinData* value) {
    if (ctrlSkinData_) ctrlSkinData_->RemoveFreeNotification(this);
    ctrlSkinData_ = value;
    if (ctrlSkinData_) ctrlSkinData_->FreeNotification(this);
}

void TbsSkinOpenDialog::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == skinData_) skinData_ = nullptr;
    if (AComponent == ctrlSkinData_) ctrlSkinData_ = nullptr;
}

std::string TbsSkinOpenDialog::FirstFolder() const {
    const AnsiString folder = ExtractFileDir(FileName);
    if (!folder.empty()) return ResolvePathText(folder, {});
    if (!InitialDir.empty()) {
        const std::string dir = ResolvePathText(InitialDir, {});
        if (FolderExists(dir)) return dir;
    }
    return ExtractFileDir(ExecutableFileName());
}

bool TbsSkinOpenDialog::ShowOpenDialog() {
    TbsOpenDlgSettings s;
    s.SkinData = skinData_;
    s.CtrlSkinData = ctrlSkinData_;
    s.Caption = Title;
    s.Filter = Filter;
    s.FilterIndex = FilterIndex;
    s.DefaultExt = DefaultExt;
    s.CheckFileExists = CheckFileExists || (Options & ofFileMustExist);
    s.MultiSelection = MultiSelection;
    s.ShowHiddenFiles = ShowHiddenFiles || (Options & ofForceShowHidden);
    s.ToolButtonsTransparent = ToolButtonsTransparent;
    s.DialogMinWidth = DialogMinWidth;
    s.DialogMinHeight = DialogMinHeight;
    s.LVHeaderSkinDataName = LVHeaderSkinDataName;
    s.DefaultFont = &defaultFont_;
    s.AlphaBlend = AlphaBlend;
    s.AlphaBlendAnimation = AlphaBlendAnimation;
    s.AlphaBlendValue = AlphaBlendValue;
    s.CtrlAlphaBlend = CtrlAlphaBlend;
    s.CtrlAlphaBlendAnimation = CtrlAlphaBlendAnimation;
    s.CtrlAlphaBlendValue = CtrlAlphaBlendValue;
    s.ViewStyle = viewStyle_;
    s.FirstFolder = FirstFolder();
    s.FileName = ExtractFileName(FileName);
    s.OnFolderChange = OnFolderChange;

    auto form = CreateUnowned<TbsOpenDlgForm>(s);
    form_ = form.get();
    int width = DialogWidth > 0 ? DialogWidth : kDefaultWidth;
    int height = DialogHeight > 0 ? DialogHeight : kDefaultHeight;
    if (skinData_ && !skinData_->IsEmpty()) {
        width = std::max(width, form->SkinFrame()->MinFrameWidth());
        height = std::max(height, form->SkinFrame()->MinFrameHeight());
    }
    form->SetClientWidth(width);
    form->SetClientHeight(height);

    const int result = form->ShowModal();
    form_ = nullptr;
    FilterIndex = form->FileTypeIndex() + 1;
    DialogWidth = form->ClientWidth();
    DialogHeight = form->ClientHeight();
    viewStyle_ = form->ViewStyle();
    if (result != mrOk) return false;
    FileName = form->ChosenFile();
    files_.clear();
    for (const std::string& f : form->FileList()->SelectedFiles()) files_.push_back(f);
    return true;
}

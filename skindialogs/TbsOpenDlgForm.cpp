#include "TbsOpenDlgForm.h"

#include <algorithm>

#include <cerrno>
#include <sys/stat.h>

#include "Exceptions.h"
#include "FileUtils.h"
#include "OpenDialogChoice.h"
#include "ProgramResources.h"
#include "ShellNamespace.h"
#include "SkinDialogText.h"
#include "SysUtils.h"
#include "TbsSkinButton.h"
#include "TbsSkinData.h"
#include "TbsSkinEdit.h"
#include "TbsSkinFileListView.h"
#include "TbsSkinFilterComboBox.h"
#include "TbsSkinForm.h"
#include "TbsSkinPanel.h"
#include "TbsSkinPopupMenu.h"
#include "TbsSkinScrollBar.h"
#include "TbsSkinMenuSpeedButton.h"
#include "TbsSkinShellComboBox.h"
#include "TbsSkinSpeedButton.h"
#include "TbsSkinStdLabel.h"

namespace {

constexpr int kToolBarHeight = 25;
constexpr int kToolButtonWidth = 27;
constexpr int kViewButtonWidth = 37;
constexpr int kSpacer = 10;
constexpr int kBottomHeight = 80;
constexpr int kBoxLeft = 74;
constexpr int kBarSize = 19;

struct ViewEntry {
    const char* key;
    const char* caption;
    TViewStyle style;
};
constexpr ViewEntry kViews[] = {
    {"MSG_LV_ICON", "大图标", vsIcon},
    {"MSG_LV_SMALLICON", "小图标", vsSmallIcon},
    {"MSG_LV_LIST", "列表", vsList},
    {"MSG_LV_DETAILS", "详细信息", vsReport},
};

// A tool button's picture: the program's bitmap of that name (drawn in the
// delivered skin's colours). A program built without it shows no picture.
void LoadProgramGlyph(TBitmap& glyph, const char* name) {
    const std::string_view bytes = FindProgramResource("BITMAP", name);
    if (bytes.data()) glyph.LoadFromBytes({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()});
}

}  // namespace

TbsOpenDlgForm::TbsOpenDlgForm(TComponent* AOwner, const TbsOpenDlgSettings& s)
    : TForm(AOwner),
      ctrlSkinData_(s.CtrlSkinData),
      defaultExt_(s.DefaultExt),
      checkFileExists_(s.CheckFileExists),
      onFolderChange_(s.OnFolderChange) {
    SetBorderStyle(bsSizeable);
    SetPosition(poScreenCenter);
    KeyPreview = true;
    SetCaption(s.Caption);

    frame_ = CreateComponent<TbsSkinForm>(this);
    frame_->SetBorderIcons(0);
    frame_->MinWidth = s.DialogMinWidth;
    frame_->MinHeight = s.DialogMinHeight;
    frame_->AlphaBlend = s.AlphaBlend;
    frame_->AlphaBlendAnimation = s.AlphaBlendAnimation;
    frame_->AlphaBlendValue = BYTE(std::clamp(s.AlphaBlendValue, 0, 255));
    frame_->MenusAlphaBlend = s.CtrlAlphaBlend;
    frame_->MenusAlphaBlendAnimation = s.CtrlAlphaBlendAnimation;
    frame_->MenusAlphaBlendValue = BYTE(std::clamp(s.CtrlAlphaBlendValue, 0, 255));
    frame_->SetSkinData(s.SkinData);
    frame_->SetMenusSkinData(s.CtrlSkinData);

    // The client size first, so that alignment and anchors start from it.
    HandleNeeded();
    SetClientWidth(450);
    SetClientHeight(290);

    BuildToolBar(s);
    BuildBottom(s);
    BuildMiddle(s);

    fileList_->SetShellComboBox(folderBox_);
    fileList_->OnFolderChanged = [this](TObject*) { FolderChanged(); };
    fileList_->OnSelectItem = [this](TObject*, TListItem* item, bool selected) { SelectionChanged(item, selected); };
    fileList_->OnDblClick = [this](TObject*) {
        TbsShellFolder::Ptr item = fileList_->SelectedFolder();
        if (item && !item->IsFolder() && !item->Path().empty()) EndWith(item->Path());
    };
    filterBox_->OnChange = [this](TObject*) { fileList_->SetMask(filterBox_->Mask()); };
    filterBox_->OnClick = [this](TObject*) { fileList_->SetMask(filterBox_->Mask()); };

    SetViewStyle(s.ViewStyle);
    filterBox_->SetFilter(s.Filter);
    if (s.FilterIndex - 1 >= 0 && s.FilterIndex - 1 < filterBox_->Items().Count()) filterBox_->SetItemIndex(s.FilterIndex - 1);
    fileList_->SetMask(filterBox_->Mask());

    const std::string first = s.FirstFolder.empty() ? HomeFolder() : s.FirstFolder;
    fileList_->SetPathFromID(TbsShellFolder::ForPath(NearestExistingFolder(first)));
    if (fileList_->FolderCount() > 0) fileList_->Items().SetFocusedIndex(0);
    nameEdit_->SetText(s.FileName);
    history_.clear();
    history_.push_back(fileList_->CurrentFolder());
    SetActiveControl(nameEdit_);
}

TbsOpenDlgForm::~TbsOpenDlgForm() = default;

// ---- building -------------------------------------------------------------------------------------

void TbsOpenDlgForm::BuildToolBar(const TbsOpenDlgSettings& s) {
    toolBar_ = CreateComponent<TbsSkinPanel>(this);
    toolBar_->SetName("ToolBar");
    toolBar_->SetSkinDataName("toolpanel");
    toolBar_->SetBorderStyle(bvNone);
    toolBar_->SetParent(this);
    toolBar_->SetAlign(alTop);
    toolBar_->SetHeight(kToolBarHeight);
    const int width = ClientWidth();

    lookInLabel_ = CreateComponent<TbsSkinStdLabel>(this);
    lookInLabel_->SetParent(toolBar_);
    lookInLabel_->SetAutoSize(true);
    lookInLabel_->SetCaption(SkinResourceText(s.CtrlSkinData, "FLV_LOOKIN", "查找范围:"));
    lookInLabel_->SetLeft(kSpacer);
    lookInLabel_->SetTop((kToolBarHeight - lookInLabel_->Height()) / 2);

    // From the right edge: the view button, a spacer, New folder, Up, Back.
    int x = width - kViewButtonWidth;
    const auto makeButton = [&]<class Button = TbsSkinSpeedButton>(int left, int w, const char* record,
                                                                  const char* glyph, const char* hintKey,
                                                                  const char* hint) {
        auto* b = CreateComponent<Button>(this);
        b->SetSkinDataName(record);
        b->SetParent(toolBar_);
        b->SetBounds(left, 0, w, kToolBarHeight);
        b->SetAnchors(akTop | akRight);
        TBitmap picture;
        LoadProgramGlyph(picture, glyph);
        b->SetGlyph(picture);
        b->SetHint(SkinResourceText(s.CtrlSkinData, hintKey, hint));
        b->SetShowHint(true);
        if (s.ToolButtonsTransparent) b->SetFlat(true);
        if (s.DefaultFont) b->SetDefaultFont(*s.DefaultFont);
        return b;
    };
    viewButton_ = makeButton.operator()<TbsSkinMenuSpeedButton>(x, kViewButtonWidth, "toolmenubutton", "BS_LVSTYLE",
                                                                "MSG_BTN_VIEWMENU_HINT", "显示菜单");
    x -= kSpacer + kToolButtonWidth;
    newFolderButton_ =
        makeButton(x, kToolButtonWidth, "toolbutton", "BS_NEWFOLDER", "MSG_BTN_NEWFOLDER_HINT", "创建新文件夹");
    x -= kToolButtonWidth;
    upButton_ = makeButton(x, kToolButtonWidth, "toolbutton", "BS_UP", "MSG_BTN_UP_HINT", "向上一级");
    x -= kToolButtonWidth;
    backButton_ =
        makeButton(x, kToolButtonWidth, "toolbutton", "BS_BACK", "MSG_BTN_BACK_HINT", "转到访问的上一个文件夹");
    backButton_->OnClick = [this](TObject*) { GoBack(); };
    upButton_->OnClick = [this](TObject*) { GoUp(); };
    newFolderButton_->OnClick = [this](TObject*) { NewFolder(); };

    folderBox_ = CreateComponent<TbsSkinShellComboBox>(this);
    folderBox_->SetName("FolderBox");
    folderBox_->SetParent(toolBar_);
    const int boxLeft = lookInLabel_->Left() + lookInLabel_->Width() + 4;
    folderBox_->SetBounds(boxLeft, 2, std::max(40, x - 4 - boxLeft), kToolBarHeight - 4);
    folderBox_->SetAnchors(akLeft | akTop | akRight);
    folderBox_->SetDropDownCount(10);
    folderBox_->SetAlphaBlend(s.CtrlAlphaBlend);
    folderBox_->SetAlphaBlendValue(s.CtrlAlphaBlendValue);
    folderBox_->SetAlphaBlendAnimation(s.CtrlAlphaBlendAnimation);
    if (s.DefaultFont) folderBox_->SetDefaultFont(*s.DefaultFont);

    viewMenu_ = CreateComponent<TbsSkinPopupMenu>(this);
    viewMenu_->SetSkinData(s.CtrlSkinData);
    for (const ViewEntry& v : kViews) {
        auto* item = CreateComponent<TMenuItem>(this);
        item->SetCaption(SkinResourceText(s.CtrlSkinData, v.key, v.caption));
        item->RadioItem = true;
        item->GroupIndex = 1;
        item->OnClick = [this](TObject* sender) { ViewItemClick(sender); };
        viewMenu_->Items()->Add(item);
        viewItems_.push_back(item);
    }
    // The button has no click of its own: a press anywhere on it opens the menu.
    viewButton_->SetSkinPopupMenu(viewMenu_);
}

void TbsOpenDlgForm::BuildBottom(const TbsOpenDlgSettings& s) {
    bottom_ = CreateComponent<TbsSkinPanel>(this);
    bottom_->SetName("BottomPanel");
    bottom_->SetBorderStyle(bvNone);
    bottom_->SetParent(this);
    bottom_->SetAlign(alBottom);
    bottom_->SetHeight(kBottomHeight);
    const int width = ClientWidth();

    const auto makeLabel = [&](int top, const char* key, const char* text) {
        auto* l = CreateComponent<TbsSkinStdLabel>(this);
        l->SetParent(bottom_);
        l->SetAutoSize(true);
        l->SetCaption(SkinResourceText(s.CtrlSkinData, key, text));
        l->SetLeft(kSpacer);
        l->SetTop(top);
        return l;
    };
    makeLabel(12, "MSG_FILENAME", "文件名称:");
    makeLabel(47, "MSG_FILETYPE", "文件类型:");

    nameEdit_ = CreateComponent<TbsSkinEdit>(this);
    nameEdit_->SetName("FileNameEdit");
    nameEdit_->SetParent(bottom_);
    nameEdit_->SetBounds(kBoxLeft, 10, width - 160, 21);
    nameEdit_->SetAnchors(akLeft | akTop | akRight);

    filterBox_ = CreateComponent<TbsSkinFilterComboBox>(this);
    filterBox_->SetName("FilterBox");
    filterBox_->SetParent(bottom_);
    filterBox_->SetBounds(kBoxLeft, 45, width - 160, 21);
    filterBox_->SetAnchors(akLeft | akTop | akRight);
    filterBox_->SetAlphaBlend(s.CtrlAlphaBlend);
    filterBox_->SetAlphaBlendValue(s.CtrlAlphaBlendValue);
    filterBox_->SetAlphaBlendAnimation(s.CtrlAlphaBlendAnimation);

    const auto makeButton = [&](int top, const char* key, const char* caption) {
        auto* b = CreateComponent<TbsSkinButton>(this);
        b->SetParent(bottom_);
        b->SetCanFocused(true);
        b->SetBounds(width - 80, top, 70, 25);
        b->SetAnchors(akTop | akRight);
        b->SetCaption(SkinResourceText(s.CtrlSkinData, key, caption));
        if (s.DefaultFont) b->SetDefaultFont(*s.DefaultFont);
        return b;
    };
    openButton_ = makeButton(10, "MSG_BTN_OPEN", "打开");
    openButton_->SetName("OpenButton");
    openButton_->OnClick = [this](TObject*) { ChooseFile(); };
    cancelButton_ = makeButton(45, "MSG_BTN_CANCEL", "取消");
    cancelButton_->SetName("CancelButton");
    cancelButton_->SetModalResult(mrCancel);
    cancelButton_->SetCancel(true);
}

void TbsOpenDlgForm::BuildMiddle(const TbsOpenDlgSettings& s) {
    middle_ = CreateComponent<TbsSkinPanel>(this);
    middle_->SetName("ListPanel");
    middle_->SetParent(this);
    middle_->SetAlign(alClient);

    hScroll_ = CreateComponent<TbsSkinScrollBar>(this);
    hScroll_->SetParent(middle_);
    hScroll_->SetKind(sbHorizontal);
    hScroll_->SetSkinDataName("hscrollbar");
    hScroll_->SetBoth(true);
    hScroll_->SetBothMarkerWidth(kBarSize);
    hScroll_->SetHeight(kBarSize);
    hScroll_->SetAlign(alBottom);
    hScroll_->SetEnabled(false);

    vScroll_ = CreateComponent<TbsSkinScrollBar>(this);
    vScroll_->SetParent(middle_);
    vScroll_->SetKind(sbVertical);
    vScroll_->SetSkinDataName("vscrollbar");
    vScroll_->SetWidth(kBarSize);
    vScroll_->SetAlign(alRight);
    vScroll_->SetEnabled(false);

    fileList_ = CreateComponent<TbsSkinFileListView>(this);
    fileList_->SetName("FileList");
    fileList_->SetParent(middle_);
    fileList_->SetAlign(alClient);
    fileList_->SetShowColumnHeaders(true);
    fileList_->SetHideSelection(false);
    fileList_->SetHeaderSkinDataName(s.LVHeaderSkinDataName);
    fileList_->SetMultiSelect(s.MultiSelection);
    if (s.ShowHiddenFiles) fileList_->SetObjectTypes(fileList_->ObjectTypes() | otHidden);
    if (s.DefaultFont) fileList_->SetDefaultFont(*s.DefaultFont);
    fileList_->SetHScrollBar(hScroll_);
    fileList_->SetVScrollBar(vScroll_);

    // The controls' skin last, once every control exists.
    if (s.CtrlSkinData) {
        fileList_->SetSkinData(s.CtrlSkinData);
        const auto skin = [&](auto*... controls) { (controls->SetSkinData(s.CtrlSkinData), ...); };
        skin(toolBar_, middle_, bottom_, hScroll_, vScroll_, nameEdit_, folderBox_, filterBox_, openButton_,
             cancelButton_, backButton_, upButton_, newFolderButton_, viewButton_);
        for (int i = 0; i < bottom_->ControlCount(); ++i)
            if (auto* l = dynamic_cast<TbsSkinStdLabel*>(bottom_->Controls(i))) l->SetSkinData(s.CtrlSkinData);
        lookInLabel_->SetSkinData(s.CtrlSkinData);
        folderBox_->SetSkinDataName("combobox");
    }
}

// ---- state ---------------------------------------------------------------------------------------

TViewStyle TbsOpenDlgForm::ViewStyle() const { return fileList_->ViewStyle(); }

void TbsOpenDlgForm::SetViewStyle(TViewStyle style) {
    for (std::size_t i = 0; i < viewItems_.size(); ++i) viewItems_[i]->Checked = kViews[i].style == style;
    fileList_->SetViewStyle(style);
    if (style == vsReport) fileList_->RebuildColumns();
}

int TbsOpenDlgForm::FileTypeIndex() const { return filterBox_->ItemIndex(); }

void TbsOpenDlgForm::ViewItemClick(TObject* sender) {
    for (std::size_t i = 0; i < viewItems_.size(); ++i)
        if (viewItems_[i] == sender) SetViewStyle(kViews[i].style);
}

// ---- the list's reports --------------------------------------------------------------------------

void TbsOpenDlgForm::FolderChanged() {
    const TbsShellFolder::Ptr& folder = fileList_->CurrentFolder();
    if (!goingBack_ && (history_.empty() || history_.back()->AbsoluteId() != folder->AbsoluteId()))
        history_.push_back(folder);
    if (fileList_->FolderCount() > 0) {
        fileList_->Items().SetFocusedIndex(0);
        fileList_->MakeVisible(0);
    }
    if (onFolderChange_) onFolderChange_(this);
}

void TbsOpenDlgForm::SelectionChanged(TListItem* item, bool selected) {
    if (selected && item) {
        const int index = item->Index();
        if (index >= 0 && index < fileList_->FolderCount()) {
            const TbsShellFolder::Ptr& entry = fileList_->Folders(index);
            if (!entry->IsFolder()) nameEdit_->SetText(entry->DisplayName());
        }
    }
    if (onFolderChange_) onFolderChange_(this);
}

// ---- choosing ------------------------------------------------------------------------------------

void TbsOpenDlgForm::EndWith(const std::string& file) {
    chosen_ = file;
    SetModalResult(mrOk);
}

void TbsOpenDlgForm::ChooseFile() {
    OpenChoiceState state;
    if (TbsShellFolder::Ptr item = fileList_->SelectedFolder())
        if (!item->IsFolder()) state.Selected = item->Path();
    state.Typed = nameEdit_->Text();
    state.Folder = fileList_->Path();
    state.DefaultExt = defaultExt_;
    state.Pattern = filterBox_->Mask();
    state.CheckFileExists = checkFileExists_;
    // A name that is a folder opens it: a folder is never the chosen file.
    if (state.Selected.empty() && !state.Typed.empty()) {
        const std::string typed = state.Folder.empty() && state.Typed.front() != '/' && state.Typed.front() != '~'
                                      ? std::string()
                                      : ResolvePathText(state.Typed, state.Folder);
        if (!typed.empty() && FolderExists(typed)) {
            fileList_->SetPathFromID(TbsShellFolder::ForPath(typed));
            nameEdit_->SetText("");
            return;
        }
    }
    if (std::optional<std::string> file = ChooseOpenFile(state)) EndWith(*file);
    else chosen_.clear();
}

void TbsOpenDlgForm::NameBoxEnter() {
    const AnsiString typed = nameEdit_->Text();
    if (typed.empty()) return;
    if (typed.find('*') != AnsiString::npos) {
        fileList_->SetMask(typed);
        return;
    }
    if (typed.find('/') != AnsiString::npos || typed.front() == '~') {
        const std::string path = ResolvePathText(typed, fileList_->Path());
        if (FolderExists(path)) {
            fileList_->SetPathFromID(TbsShellFolder::ForPath(path));
            nameEdit_->SetText("");
            return;
        }
        // A file in an existing folder is chosen by the usual rule; a path
        // whose folder does not exist is the list's error.
        if (!FolderExists(ExtractFileDir(path).empty() ? std::string("/") : std::string(ExtractFileDir(path))))
            fileList_->SetPath(typed);
    }
    ChooseFile();
}

void TbsOpenDlgForm::KeyDown(WORD& Key, TShiftState Shift) {
    TForm::KeyDown(Key, Shift);
    if (Key != VK_RETURN || Shift) return;
    TWinControl* active = ActiveControl();
    if (active == nameEdit_) {
        NameBoxEnter();
        Key = 0;
    } else if (active == fileList_ && !fileList_->IsEditing()) {
        TbsShellFolder::Ptr item = fileList_->SelectedFolder();
        if (item && !item->IsFolder()) {
            ChooseFile();
            Key = 0;
        }
    }
}

// ---- navigation ----------------------------------------------------------------------------------

void TbsOpenDlgForm::GoBack() {
    if (history_.size() < 2) return;
    const std::size_t target = history_.size() - 2;
    goingBack_ = true;
    try {
        fileList_->SetPathFromID(history_[target]);
    } catch (...) {
        goingBack_ = false;
        throw;
    }
    goingBack_ = false;
    history_.erase(history_.begin() + std::ptrdiff_t(target));
}

void TbsOpenDlgForm::GoUp() { fileList_->Back(); }

void TbsOpenDlgForm::NewFolder() {
    const std::string folder = fileList_->Path();
    if (folder.empty()) return;
    ++newFolderCount_;
    AnsiString name = SkinResourceText(ctrlSkinData_, "MSG_NEWFOLDER", "新文件夹");
    if (newFolderCount_ > 1) name += "(" + IntToStr(newFolderCount_) + ")";
    const std::string path = ResolvePathText(name, folder);
    struct stat st{};
    if (::stat(path.c_str(), &st) == 0) return;
    if (::mkdir(path.c_str(), 0777) != 0)
        throw EInOutError(Format("I/O error %d", errno));
    fileList_->Refresh();
    Application->ProcessMessages();
    const std::string relative = path.substr(path.find_last_of('/') + 1);
    const int index = fileList_->IndexOfName(relative);
    if (index < 0) return;
    fileList_->SetItemIndex(index);
    fileList_->Items().SetFocusedIndex(index);
    fileList_->MakeVisible(index);
    fileList_->SetFocus();
    fileList_->EditCaption(index);
}

#include "TOpenDialog.h"

#include "FileDialogModel.h"
#include "FileUtils.h"
#include "Forms.h"
#include "MessageBox.h"
#include "SysUtils.h"
#include "TButton.h"
#include "TComboBox.h"
#include "TCustomEdit.h"
#include "TLabel.h"
#include "TListView.h"

namespace {

AnsiString SizeText(long long bytes) {
    const long long kb = (bytes + 1023) / 1024;
    return IntToStr(kb) + " KB";
}

AnsiString TypeText(const TFolderEntry& e) {
    if (e.IsFolder) return "File folder";
    const AnsiString ext = ExtractFileExt(e.Name);
    return ext.size() > 1 ? UpperCase(ext.substr(1)) + " File" : AnsiString("File");
}

}  // namespace

// The dialog's window, made for one Execute.
class TOpenDialog::Window : public TForm {
public:
    Window(TComponent* AOwner, TOpenDialog& dialog) : TForm(AOwner), dialog_(dialog) {}

    void Build(const AnsiString& startFolder) {
        SetBorderStyle(bsDialog);
        SetBorderIcons(biSystemMenu);
        SetCaption(dialog_.Title.empty() ? AnsiString("Open") : dialog_.Title);
        SetPosition(poScreenCenter);
        SetClientWidth(430);
        SetClientHeight(290);
        SetColor(clBtnFace);

        Label("Look &in:", 8, 12);
        lookIn_ = Add<TComboBox>(80, 8, 250, 21);
        lookIn_->SetDropDownCount(12);
        lookIn_->OnClick = [this](TObject*) {
            if (lookIn_->ItemIndex() >= 0) Navigate(lookIn_->Items()[lookIn_->ItemIndex()]);
        };
        up_ = Add<TButton>(338, 7, 40, 23);
        up_->SetCaption("Up");
        up_->OnClick = [this](TObject*) { Navigate(ParentFolder(folder_)); };

        list_ = Add<TListView>(8, 38, 414, 168);
        list_->SetViewStyle(vsReport);
        list_->SetRowSelect(true);
        list_->SetReadOnly(true);
        list_->SetHideSelection(false);
        for (auto [caption, width] : {std::pair{"Name", 224}, std::pair{"Size", 70}, std::pair{"Type", 96}}) {
            TListColumn* c = list_->Columns().Add();
            c->SetCaption(caption);
            c->SetWidth(width);
        }
        list_->Columns()[1]->SetAlignment(taRightJustify);
        list_->OnSelectItem = [this](TObject*, TListItem* item, bool selected) {
            if (!selected || !item) return;
            const TFolderEntry& e = entries_[std::size_t(item->Index())];
            if (!e.IsFolder) name_->SetText(e.Name);
        };
        list_->OnDblClick = [this](TObject*) {
            if (list_->ItemIndex() >= 0) OpenEntry(entries_[std::size_t(list_->ItemIndex())]);
        };

        Label("File &name:", 8, 220);
        name_ = Add<TEdit>(90, 216, 240, 21);
        open_ = Add<TButton>(346, 214, 76, 25);
        open_->SetCaption("&Open");
        open_->SetDefault(true);
        open_->OnClick = [this](TObject*) { OpenPressed(); };

        Label("Files of &type:", 8, 251);
        types_ = Add<TComboBox>(90, 247, 240, 21);
        filters_ = ParseFileFilter(dialog_.Filter);
        for (const auto& f : filters_) types_->Items().Add(f.Description);
        types_->OnChange = [this](TObject*) {
            const int i = types_->ItemIndex();
            if (i >= 0 && i < int(filters_.size())) masks_ = filters_[std::size_t(i)].Masks;
            Refresh();
        };
        cancel_ = Add<TButton>(346, 245, 76, 25);
        cancel_->SetCaption("Cancel");
        cancel_->SetCancel(true);
        cancel_->SetModalResult(mrCancel);

        const int first = std::clamp(dialog_.FilterIndex - 1, 0, std::max(0, int(filters_.size()) - 1));
        if (!filters_.empty()) {
            masks_ = filters_[std::size_t(first)].Masks;
            types_->SetItemIndex(first);
        }
        if (!dialog_.FileName.empty()) name_->SetText(ExtractFileName(dialog_.FileName));
        Navigate(startFolder);
        SetActiveControl(name_);
    }

    const AnsiString& Folder() const { return folder_; }
    const AnsiString& Chosen() const { return chosen_; }
    int FilterChosen() const { return types_->ItemIndex(); }
    TListView* List() const { return list_; }

private:
    template <class T>
    T* Add(int x, int y, int w, int h) {
        T* c = CreateComponent<T>(this);
        c->SetParent(this);
        c->SetBounds(x, y, w, h);
        return c;
    }

    void Label(const char* caption, int x, int y) {
        TLabel* l = CreateComponent<TLabel>(this);
        l->SetParent(this);
        l->SetLeft(x);
        l->SetTop(y);
        l->SetCaption(caption);
    }

    void Navigate(const AnsiString& folder) {
        if (!DirectoryExists(folder)) return;
        folder_ = IncludeTrailingPathDelimiter(folder);
        // The folder and each of its parents, the root first.
        lookIn_->Items().BeginUpdate();
        lookIn_->Items().Clear();
        std::vector<AnsiString> chain;
        for (AnsiString f = folder_;; f = ParentFolder(f)) {
            chain.insert(chain.begin(), f);
            if (f == "/" || ParentFolder(f) == f) break;
        }
        for (const auto& f : chain) lookIn_->Items().Add(f);
        lookIn_->Items().EndUpdate();
        lookIn_->SetItemIndex(lookIn_->Items().Count() - 1);
        Refresh();
    }

    void Refresh() {
        entries_ = ListFolder(folder_, masks_, (dialog_.Options & ofForceShowHidden) != 0);
        TListItems& items = list_->Items();
        items.BeginUpdate();
        items.Clear();
        for (const TFolderEntry& e : entries_) {
            TListItem* item = items.Add();
            item->SetCaption(e.IsFolder ? "[" + e.Name + "]" : e.Name);
            item->SubItems().Add(e.IsFolder ? AnsiString() : SizeText(e.Size));
            item->SubItems().Add(TypeText(e));
        }
        items.EndUpdate();
    }

    void OpenEntry(const TFolderEntry& e) {
        if (e.IsFolder) {
            Navigate(folder_ + e.Name);
            return;
        }
        name_->SetText(e.Name);
        OpenPressed();
    }

    void OpenPressed() {
        const int sel = list_->ItemIndex();
        if (list_->Focused() && sel >= 0 && entries_[std::size_t(sel)].IsFolder) {
            Navigate(folder_ + entries_[std::size_t(sel)].Name);
            return;
        }
        const bool mustExist = (dialog_.Options & ofFileMustExist) != 0;
        const TTypedName r = ResolveTypedName(folder_, name_->Text(), mustExist);
        switch (r.Kind) {
        case TTypedNameKind::Empty:
            if (sel >= 0 && entries_[std::size_t(sel)].IsFolder) Navigate(folder_ + entries_[std::size_t(sel)].Name);
            break;
        case TTypedNameKind::Folder:
            name_->SetText("");
            Navigate(r.Path);
            break;
        case TTypedNameKind::Mask:
            masks_ = {r.Path};
            Refresh();
            break;
        case TTypedNameKind::File:
            chosen_ = r.Path;
            SetModalResult(mrOk);
            break;
        case TTypedNameKind::Missing:
            MessageBox(Handle(), r.Path + "\r\nFile not found.\r\nPlease verify the correct file name was given.",
                       Caption(), MB_OK | MB_ICONWARNING);
            name_->SetFocus();
            name_->SelectAll();
            break;
        }
    }

    TOpenDialog& dialog_;
    TComboBox* lookIn_ = nullptr;
    TButton* up_ = nullptr;
    TListView* list_ = nullptr;
    TEdit* name_ = nullptr;
    TComboBox* types_ = nullptr;
    TButton* open_ = nullptr;
    TButton* cancel_ = nullptr;
    std::vector<TFileFilterItem> filters_;
    std::vector<AnsiString> masks_;
    std::vector<TFolderEntry> entries_;
    AnsiString folder_;
    AnsiString chosen_;
};

TOpenDialog::TOpenDialog(TComponent* AOwner) : TComponent(AOwner) {}

TOpenDialog::~TOpenDialog() = default;

TListView* TOpenDialog::FileList() const { return window_ ? window_->List() : nullptr; }

const AnsiString& TOpenDialog::CurrentFolder() const {
    static const AnsiString none;
    return window_ ? window_->Folder() : none;
}

bool TOpenDialog::Execute() {
    AnsiString start;
    if (!InitialDir.empty() && DirectoryExists(InitialDir)) start = InitialDir;
    else if (!FileName.empty() && DirectoryExists(ExtractFilePath(FileName))) start = ExtractFilePath(FileName);
    else if (!lastFolder_.empty() && DirectoryExists(lastFolder_)) start = lastFolder_;
    else start = GetCurrentDir();

    auto window = CreateUnowned<Window>(*this);
    window_ = window.get();
    struct Reset {
        Window*& w;
        ~Reset() { w = nullptr; }
    } reset{window_};
    window->Build(start);
    const bool ok = window->ShowModal() == mrOk;
    lastFolder_ = window->Folder();
    if (ok) {
        FileName = window->Chosen();
        if (window->FilterChosen() >= 0) FilterIndex = window->FilterChosen() + 1;
    }
    return ok;
}

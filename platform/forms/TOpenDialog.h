#pragma once
// The platform's plain open-file dialog: a modal window with the folder
// being looked in (and its parents to go back to), the folder's sub-folders
// and the files matching the chosen "description|pattern" filter, a file
// name box and the Open and Cancel buttons. A typed folder name opens that
// folder, a typed mask filters with it, and a typed file name is chosen;
// with ofFileMustExist a name that names no file is refused with a message.

#include <memory>

#include "Classes.h"

class TListView;

enum TOpenOption : unsigned {
    ofReadOnly = 0x1,
    ofHideReadOnly = 0x4,
    ofNoChangeDir = 0x8,
    ofPathMustExist = 0x800,
    ofFileMustExist = 0x1000,
    ofForceShowHidden = 0x10000000,  // hidden files and folders are listed
};
using TOpenOptions = unsigned;

class TOpenDialog : public TComponent {
public:
    explicit TOpenDialog(TComponent* AOwner);
    ~TOpenDialog() override;

    AnsiString Title;
    // Pairs of a description and a pattern ("All files|*.*|Text|*.txt;*.log").
    AnsiString Filter;
    // 1-based; the pair shown first, and after Execute the pair last chosen.
    int FilterIndex = 1;
    // The chosen file's full name after Execute; before it, a name to offer
    // (its folder is opened when InitialDir is empty).
    AnsiString FileName;
    AnsiString InitialDir;
    TOpenOptions Options = ofHideReadOnly;

    // Runs the dialog modally; true when the user chose a file.
    bool Execute();

    // The list of folders and files while the dialog runs (else null).
    TListView* FileList() const;
    // The folder the dialog shows while it runs.
    const AnsiString& CurrentFolder() const;

private:
    class Window;
    Window* window_ = nullptr;
    AnsiString lastFolder_;
};

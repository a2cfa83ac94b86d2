#pragma once
// The open dialog's own pictures for folders, files, drives and the home
// folder, at 16 pixels (small: lists, the folder box) and 32 pixels (large),
// in the order of TbsShellIconIndex. They are drawn by tools/icongen and
// delivered as icon files in dat/icons/ beside the program.

#include "AnsiString.h"
#include "TColor.h"
#include "TIcon.h"
#include "TbsShellFolder.h"

class TCanvas;
class TImageList;

class TbsShellImages {
public:
    // Reads shell-folder.ico, shell-file.ico, shell-drive.ico and
    // shell-home.ico from `folder` (ending in '/'); false when one of them is
    // missing or unreadable (that picture stays empty).
    bool LoadFromFolder(const AnsiString& folder);
    bool Loaded() const { return loaded_; }

    const TIcon& Icon(TbsShellIconIndex index) const { return icons_[Clamp(index)]; }
    // The picture at `size` pixels (16 or 32), blended by its opacity.
    void Draw(TCanvas& canvas, int x, int y, TbsShellIconIndex index, int size) const;
    // Fills `list` (cleared and set to size x size) with the four pictures.
    // An image list keeps one bit of opacity, so the soft edges are blended
    // with `background`, the colour the list draws them on.
    void FillImageList(TImageList& list, int size, TColor background) const;

private:
    static int Clamp(int index) { return index < 0 || index >= siShellIconCount ? siFile : index; }

    TIcon icons_[siShellIconCount];
    bool loaded_ = false;
};

// The pictures beside the running program (its folder's dat/icons/), read
// on first use.
const TbsShellImages& ShellImages();
// Reads the shared pictures from another folder (a tool run from the build
// tree); lists made afterwards use them.
bool LoadShellImagesFrom(const AnsiString& folder);

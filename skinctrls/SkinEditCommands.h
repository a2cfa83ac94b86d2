#pragma once
// The commands of the skinned edit's and memo's context menu, apart from
// any menu: their order (with the separators), their captions (from a
// skin's text table under their keys, else the built-in Chinese texts),
// when each is enabled, and what each does to the edit. The skinned popup
// menu builds its items from this list and calls RunEditCommand.

#include <span>

#include "AnsiString.h"

class TCustomEdit;
class TbsResourceStrData;

enum class EditCommand { Separator, Undo, Cut, Copy, Paste, Delete, SelectAll };

struct EditMenuEntry {
    EditCommand Command;
    const char* CaptionKey;      // key in the skin's text table; null for a separator
    const char* BuiltInCaption;  // used when the table has no text for the key
};

// Undo, -, Cut, Copy, Paste, Delete, -, Select all.
std::span<const EditMenuEntry> EditMenuEntries();

// The caption of `entry`: the text table's string for its key when there is
// one, else the built-in caption.
AnsiString EditCommandCaption(const EditMenuEntry& entry, const TbsResourceStrData* strings);

// Cut and Delete need a selection and a writable edit, Copy a selection,
// Paste clipboard text and a writable edit, Select all a selection short of
// the whole text, Undo something to undo.
bool EditCommandEnabled(const TCustomEdit& edit, EditCommand command);

// Performs the command on the edit (through its messages, so a read-only
// edit refuses the changing ones itself).
void RunEditCommand(TCustomEdit& edit, EditCommand command);

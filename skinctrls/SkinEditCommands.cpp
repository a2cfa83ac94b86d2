#include "SkinEditCommands.h"

#include "TCustomEdit.h"
#include "TbsResourceStrData.h"

namespace {
constexpr EditMenuEntry kEntries[] = {
    {EditCommand::Undo, "EDIT_UNDO", "撤消"},
    {EditCommand::Separator, nullptr, "-"},
    {EditCommand::Cut, "EDIT_CUT", "剪切"},
    {EditCommand::Copy, "EDIT_COPY", "复制"},
    {EditCommand::Paste, "EDIT_PASTE", "粘贴"},
    {EditCommand::Delete, "EDIT_DELETE", "删除"},
    {EditCommand::Separator, nullptr, "-"},
    {EditCommand::SelectAll, "EDIT_SELECTALL", "选择所有"},
};
}  // namespace

std::span<const EditMenuEntry> EditMenuEntries() { return kEntries; }

AnsiString EditCommandCaption(const EditMenuEntry& entry, const TbsResourceStrData* strings) {
    if (entry.CaptionKey && strings) {
        AnsiString s = strings->LookupString(entry.CaptionKey);
        if (!s.empty()) return s;
    }
    return entry.BuiltInCaption;
}

bool EditCommandEnabled(const TCustomEdit& edit, EditCommand command) {
    const bool selected = edit.SelLength() > 0;
    const bool writable = !edit.ReadOnly();
    switch (command) {
    case EditCommand::Undo: return edit.CanUndo();
    case EditCommand::Cut:
    case EditCommand::Delete: return selected && writable;
    case EditCommand::Copy: return selected;
    case EditCommand::Paste: return writable && IsClipboardFormatAvailable(CF_TEXT);
    case EditCommand::SelectAll: return std::size_t(edit.SelLength()) != edit.Text().size();
    case EditCommand::Separator: return false;
    }
    return false;
}

void RunEditCommand(TCustomEdit& edit, EditCommand command) {
    switch (command) {
    case EditCommand::Undo: edit.Undo(); break;
    case EditCommand::Cut: edit.CutToClipboard(); break;
    case EditCommand::Copy: edit.CopyToClipboard(); break;
    case EditCommand::Paste: edit.PasteFromClipboard(); break;
    case EditCommand::Delete: edit.ClearSelection(); break;
    case EditCommand::SelectAll: edit.SelectAll(); break;
    case EditCommand::Separator: break;
    }
}

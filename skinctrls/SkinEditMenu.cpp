#include "SkinEditMenu.h"

#include "SkinEditCommands.h"
#include "TCustomEdit.h"
#include "TbsSkinData.h"
#include "TbsSkinForm.h"
#include "TbsSkinPopupMenu.h"

const TbsResourceStrData* FormSkinStrings(const TCustomEdit& edit) {
    TbsSkinForm* frame = FindSkinFormOf(GetParentForm(&edit));
    return frame && frame->SkinData() ? frame->SkinData()->ResourceStrData() : nullptr;
}

TbsSkinPopupMenu* PopupSkinEditMenu(TCustomEdit& edit, TPoint screen, const TbsResourceStrData* strings,
                                    TbsSkinPopupMenu* previous) {
    if (previous) FreeComponent(previous);
    auto* menu = CreateComponent<TbsSkinPopupMenu>(&edit);
    TCustomForm* form = GetParentForm(&edit);
    if (form && form->FormStyle() == fsMDIChild && Application && Application->MainForm())
        form = Application->MainForm();
    menu->SetMenuForm(form);
    for (const EditMenuEntry& entry : EditMenuEntries()) {
        TMenuItem* item = CreateComponent<TMenuItem>(menu);
        if (entry.Command == EditCommand::Separator) {
            item->SetCaption(cLineCaption);
        } else {
            item->SetCaption(EditCommandCaption(entry, strings));
            item->Enabled = EditCommandEnabled(edit, entry.Command);
            item->OnClick = [&edit, command = entry.Command](TObject*) { RunEditCommand(edit, command); };
        }
        menu->Items()->Add(item);
    }
    if (screen.X < 0 || screen.Y < 0) {
        screen = {edit.Width() / 2, edit.Height() / 2};
        screen = edit.ClientToScreen(screen);
    }
    if (!menu->PopupForEdit(&edit, screen.X, screen.Y)) {
        FreeComponent(menu);
        return nullptr;
    }
    return menu;
}

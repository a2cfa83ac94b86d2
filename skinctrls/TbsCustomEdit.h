#pragma once
// The platform edit prepared for skinning: no border of its own (the skinned
// edit paints its frame), margins of 2 and 0 pixels whatever the font, text
// drawn over the painted background when TransparentEdit is set, and a
// keyboard filter: Enter and Escape are never edited into the text (they
// reach the form's default and cancel buttons), and a read-only edit drops
// typing, Delete, cut, paste, clear and undo before the edit sees them, while
// selecting and copying still work.

#include <functional>

#include "TCustomEdit.h"

class TbsSkinPopupMenu;

class TbsCustomEdit : public TCustomEdit {
public:
    explicit TbsCustomEdit(TComponent* AOwner);
    ~TbsCustomEdit() override;

    bool TransparentEdit() const { return TransparentText(); }
    void SetTransparentEdit(bool value) { SetTransparentText(value); }

    // Told when the edit is asked to cancel a mode (a drop-down list it
    // belongs to closes then).
    std::function<void()> CancelModeHook;

    void WndProc(TMessage& Message) override;
    void DefaultHandler(TMessage& Message) override;
    // The skinned context menu while it exists.
    TbsSkinPopupMenu* EditMenu() const { return editMenu_; }

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    void SetMargins();
    TbsSkinPopupMenu* editMenu_ = nullptr;
};

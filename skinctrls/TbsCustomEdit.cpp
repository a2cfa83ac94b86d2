#include "TbsCustomEdit.h"

#include "SkinEditMenu.h"
#include "SkinMessages.h"
#include "TbsSkinPopupMenu.h"

TbsCustomEdit::TbsCustomEdit(TComponent* AOwner) : TCustomEdit(AOwner) {
    SetBorderStyle(bsNone);
    SetMargins();
}

TbsCustomEdit::~TbsCustomEdit() = default;

void TbsCustomEdit::SetMargins() { Perform(EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(2, 0)); }

void TbsCustomEdit::WndProc(TMessage& m) {
    switch (m.Msg) {
    case WM_KEYDOWN:
        if (ReadOnly() && m.WParam == VK_DELETE) return;
        break;
    case WM_CUT:
    case WM_PASTE:
    case WM_CLEAR:
    case WM_UNDO:
    case EM_UNDO:
        if (ReadOnly()) {
            m.Result = 0;
            return;
        }
        break;
    case WM_CANCELMODE:
    case CM_CANCELMODE:
        if (CancelModeHook) CancelModeHook();
        break;
    case CM_FONTCHANGED:
        TCustomEdit::WndProc(m);
        SetMargins();
        return;
    case WM_CONTEXTMENU:
        // A menu of the control's own goes first; without a skin on the
        // form the platform's plain menu still serves.
        if (!PopupMenu()) {
            TbsSkinPopupMenu* previous = editMenu_;
            editMenu_ = nullptr;
            editMenu_ = PopupSkinEditMenu(*this, LParamToPoint(m.LParam), FormSkinStrings(*this), previous);
            if (editMenu_) return;
        }
        break;
    case SKINMSG_MENUCOMMANDDONE:
        if (editMenu_) {
            TbsSkinPopupMenu* menu = editMenu_;
            editMenu_ = nullptr;
            FreeComponent(menu);
        }
        return;
    default:
        break;
    }
    TCustomEdit::WndProc(m);
}

void TbsCustomEdit::Notification(TComponent* AComponent, TOperation Operation) {
    TCustomEdit::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == editMenu_) editMenu_ = nullptr;
}

void TbsCustomEdit::DefaultHandler(TMessage& m) {
    if (m.Msg == WM_CHAR) {
        // OnKeyPress has seen the character by now. Enter and Escape went to
        // the form as dialog keys when they were pressed; a read-only edit
        // takes no typing at all.
        const auto ch = static_cast<unsigned char>(m.WParam);
        if (ch == '\r' || ch == 27 || ReadOnly()) return;
    }
    TCustomEdit::DefaultHandler(m);
}

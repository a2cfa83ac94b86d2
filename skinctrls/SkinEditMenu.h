#pragma once
// The skinned context menu of an edit box or memo: a skinned popup menu
// owned by the control, filled with the edit commands (captions from the
// skin's text table), shown by the menu engine of the control's form. The
// control frees it when the engine reports the command done
// (SKINMSG_MENUCOMMANDDONE), or frees it with itself.

#include "Geometry.h"

class TCustomEdit;
class TbsResourceStrData;
class TbsSkinPopupMenu;

// Frees `previous` (the control's earlier menu, may be null), builds a new
// menu and pops it at `screen` (the control's centre for a keyboard request,
// given as negative coordinates). Returns the menu, or null when no skinned
// menu could be shown (no frame component or no skin on the form); the
// caller then shows the platform's plain menu.
TbsSkinPopupMenu* PopupSkinEditMenu(TCustomEdit& edit, TPoint screen, const TbsResourceStrData* strings,
                                    TbsSkinPopupMenu* previous);
// The text table of the skin of the frame component on the control's form, or null.
const TbsResourceStrData* FormSkinStrings(const TCustomEdit& edit);

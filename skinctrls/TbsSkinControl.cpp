#include "TbsSkinControl.h"

#include "SkinMessages.h"

void SendParentBackgroundChanged(TWinControl& parent) {
    for (int i = 0; i < parent.ControlCount(); ++i) {
        TControl* child = parent.Controls(i);
        if (auto* w = dynamic_cast<TWinControl*>(child); w && w->HandleAllocated())
            SendMessage(w->Handle(), SKINMSG_PARENTBGCHANGED, 0, 0);
        else
            child->Perform(SKINMSG_PARENTBGCHANGED, 0, 0);
    }
}

TbsSkinControl::TbsSkinControl(TComponent* AOwner) : SkinBoundControl(AOwner) {}

TbsSkinControl::~TbsSkinControl() = default;

void TbsSkinControl::NotifyChildrenOfBackground() { SendParentBackgroundChanged(*this); }

void TbsSkinControl::WndProc(TMessage& m) {
    if (m.Msg != WM_PAINT) {
        SkinBoundControl::WndProc(m);
        return;
    }
    IsPaintingFromWmPaint = true;
    try {
        SkinBoundControl::WndProc(m);
    } catch (...) {
        IsPaintingFromWmPaint = false;
        throw;
    }
    IsPaintingFromWmPaint = false;
}

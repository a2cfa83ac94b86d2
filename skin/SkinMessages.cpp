#include "SkinMessages.h"

#include <algorithm>

void TbsSkinMessageScreen::AddForm(TbsSkinMessageReceiver& form) {
    if (!HasForm(&form)) forms_.push_back(&form);
}

void TbsSkinMessageScreen::RemoveForm(const TbsSkinMessageReceiver& form) {
    std::erase(forms_, &form);
}

bool TbsSkinMessageScreen::HasForm(const TbsSkinMessageReceiver* form) const {
    return std::find(forms_.begin(), forms_.end(), form) != forms_.end();
}

void TbsSkinMessageScreen::Broadcast(TbsSkinMessageReceiver* owner, unsigned msg, std::uintptr_t wParam,
                                     std::intptr_t lParam) const {
    if (owner) owner->ReceiveSkinMessage(msg, wParam, lParam);
    // A receiver may close forms while it handles the message, so the list is
    // copied and each form is checked again just before it is sent to.
    const std::vector<TbsSkinMessageReceiver*> snapshot = forms_;
    for (TbsSkinMessageReceiver* form : snapshot) {
        if (form == owner || !HasForm(form)) continue;
        form->ReceiveSkinMessage(msg, wParam, lParam);
    }
}

TbsSkinMessageScreen& SkinMessageScreen() {
    static TbsSkinMessageScreen screen;
    return screen;
}

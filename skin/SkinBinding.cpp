#include "SkinBinding.h"

#include "TbsSkinData.h"

SkinBinding* SkinBindingOf(TControl* control) { return dynamic_cast<SkinBinding*>(control); }

SkinHintSource* SkinHintSourceOf(TControl* control) { return dynamic_cast<SkinHintSource*>(control); }

bool ReferToSkinData(TComponent& control, TbsSkinData*& reference, TbsSkinData* value) {
    if (reference && reference != value) reference->RemoveFreeNotification(&control);
    reference = value;
    if (value) value->FreeNotification(&control);
    return value && !value->IsEmpty();
}

void ForEachSkinnedControl(TWinControl* root, const std::function<void(TControl&, SkinBinding&)>& visit) {
    if (!root) return;
    // By index and re-checked each round: a handler may add or free controls.
    for (int i = 0; i < root->ControlCount(); ++i) {
        TControl* child = root->Controls(i);
        if (SkinBinding* binding = SkinBindingOf(child)) visit(*child, *binding);
        if (i < root->ControlCount() && root->Controls(i) == child)
            if (auto* container = dynamic_cast<TWinControl*>(child)) ForEachSkinnedControl(container, visit);
    }
}

void ForgetSkinRecords(TWinControl* root, const TbsSkinData* skin) {
    ForEachSkinnedControl(root, [skin](TControl&, SkinBinding& binding) {
        if (binding.SkinData() == skin) binding.ForgetSkinRecord();
    });
}

void ApplySkinToControls(TWinControl* root, const TbsSkinData* skin) {
    ForEachSkinnedControl(root, [skin](TControl&, SkinBinding& binding) {
        if (!skin || binding.SkinData() == skin) binding.ApplySkin();
    });
}

namespace {

void ForEachListener(TComponent* owner, const std::function<void(SkinChangeListener&)>& call) {
    if (!owner) return;
    for (int i = 0; i < owner->ComponentCount(); ++i)
        if (auto* listener = dynamic_cast<SkinChangeListener*>(owner->Components(i))) call(*listener);
}

}  // namespace

void NotifySkinListenersBefore(TComponent* owner, TbsSkinData* skin) {
    ForEachListener(owner, [skin](SkinChangeListener& l) { l.BeforeChangeSkinData(skin); });
}

void NotifySkinListenersAfter(TComponent* owner, TbsSkinData* skin) {
    ForEachListener(owner, [skin](SkinChangeListener& l) { l.AfterChangeSkinData(skin); });
}

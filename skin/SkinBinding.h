#pragma once
// What every skinned control carries, whatever platform class it derives
// from (the control bases, or the platform's edit, memo, list view and
// labels), so that the skinned form can reach the controls of its form and
// the skinned hint can read a control's hint title and image, although both
// live in a layer below the controls. The form finds them with dynamic_cast;
// no layer includes one above it.

#include <functional>

#include "Controls.h"
#include "AnsiString.h"

class TbsSkinData;
class TImageList;

// The binding to a skin data component. A skin change reaches a control only
// through these calls, made by its form's skinned frame component.
class SkinBinding {
public:
    // The skin data component the control draws from; none: default look.
    virtual TbsSkinData* SkinData() const = 0;
    // The skin is about to be cleared: drop the record (default look until
    // ApplySkin).
    virtual void ForgetSkinRecord() = 0;
    // A new or changed skin: bind again by record name, fit, repaint.
    virtual void ApplySkin() = 0;

protected:
    ~SkinBinding() = default;
};

// The extras a skinned control offers to a skinned hint window.
class SkinHintSource {
public:
    virtual AnsiString HintTitle() const = 0;
    virtual int HintImageIndex() const = 0;
    virtual TImageList* HintImageList() const = 0;

protected:
    ~SkinHintSource() = default;
};

// A non-visual component of a form that wants to hear of a skin change of the
// form's skin data (before the records are freed, after the new ones exist).
class SkinChangeListener {
public:
    virtual void BeforeChangeSkinData(TbsSkinData* skin) = 0;
    virtual void AfterChangeSkinData(TbsSkinData* skin) = 0;

protected:
    ~SkinChangeListener() = default;
};

SkinBinding* SkinBindingOf(TControl* control);

// Points a control's skin-data reference at `value`, moving the free
// notification with it so the reference is cleared when the skin data goes.
// True when `value` holds a loaded skin.
bool ReferToSkinData(TComponent& control, TbsSkinData*& reference, TbsSkinData* value);
SkinHintSource* SkinHintSourceOf(TControl* control);

// Calls `visit` for every skinned control below `root` (children first in
// their parent's order, then their own children), not for `root` itself.
void ForEachSkinnedControl(TWinControl* root, const std::function<void(TControl&, SkinBinding&)>& visit);

// Before a change of `skin`: every skinned control below `root` bound to it
// forgets its record.
void ForgetSkinRecords(TWinControl* root, const TbsSkinData* skin);
// After a change: every skinned control below `root` bound to `skin` applies
// it; with no skin named, every skinned control does.
void ApplySkinToControls(TWinControl* root, const TbsSkinData* skin);
// The form's own components that listen for skin changes (owned by `owner`).
void NotifySkinListenersBefore(TComponent* owner, TbsSkinData* skin);
void NotifySkinListenersAfter(TComponent* owner, TbsSkinData* skin);

#pragma once
// The skinned hint component. Dropped on the main form, it makes the
// application show every control hint in a skinned hint window
// (TbsSkinHintWindow), and it shows the hints of a skinned frame's caption
// buttons when the frame component names it as its SkinHint.
//
// Only one component serves at a time: the first active one among the main
// form's components. Making one active deactivates the others, so the one
// set active last serves.

#include <memory>

#include "Forms.h"
#include "TFont.h"

class TbsSkinData;
class TbsSkinHintWindow;
class TTimer;
class TImageList;

// What a skinned control adds to its hint: a title line and an image.
struct SkinHintExtras {
    AnsiString Title;
    int ImageIndex = -1;
    TImageList* Images = nullptr;

    bool HasImage() const;
    bool Empty() const { return Title.empty() && !HasImage(); }
};

class TbsSkinHint : public TComponent {
public:
    explicit TbsSkinHint(TComponent* AOwner);
    ~TbsSkinHint() override;

    // ---- published properties ----
    bool Active() const { return active_; }
    // True deactivates every other active skinned hint of the main form and
    // takes the application's hint hook over.
    void SetActive(bool value);
    TbsSkinData* SkinData() const { return skinData_; }
    void SetSkinData(TbsSkinData* value);
    AnsiString LineSeparator = "@";
    bool AlphaBlend = false;
    BYTE AlphaBlendValue = 200;
    bool AlphaBlendAnimation = false;
    TFont DefaultFont;
    bool UseSkinFont = true;
    TShowHintEvent OnShowHint;

    // ---- the frame component's calls ----
    // Shows `text` below the pointer after the application's hint pause and
    // hides it after its hide pause; a pending hint is dropped.
    void ShowHintText(const AnsiString& text);
    // Hides the hint at once and drops a pending one.
    void HideHintNow();

    // The title and image of the control whose hint is shown (none for plain
    // controls and for frame-object hints).
    const SkinHintExtras& Extras() const { return extras_; }
    TbsSkinHintWindow* HintWindow() const { return hintWindow_; }
    bool HintPending() const;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    void HookApplication();
    void ShowHintHook(AnsiString& hintStr, bool& canShow, THintInfo& info);
    void TimerExpired();

    bool active_ = true;
    TbsSkinData* skinData_ = nullptr;
    TbsSkinHintWindow* hintWindow_ = nullptr;
    TTimer* timer_ = nullptr;
    bool timerHides_ = false;
    AnsiString pendingText_;
    SkinHintExtras extras_;
    // The application's hook calls through this slot, which the destructor
    // empties: a freed component is never called.
    std::shared_ptr<TbsSkinHint*> hookTarget_;
};

// The skinned hint that serves the hints of the application: the first active
// one among the components of the main form, or none.
TbsSkinHint* ServingSkinHint();

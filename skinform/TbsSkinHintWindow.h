#pragma once
// The skinned hint window: the application's hint window once a skinned hint
// component (TbsSkinHint) exists, and that component's own window for frame
// object hints. It takes its settings from the skinned hint it serves: the
// line separator (each one starts a new line), the font, the skin's
// HINTWINDOW picture and mask, and the opacity with its fade-in. With a
// usable skin it is drawn from the skin's hint picture, grown to the text;
// otherwise in a built-in look (info colours, a one-pixel shadow frame).
//
// A hint of a skinned control with a hint title or image is laid out so:
// the image at the left, centred on the block's height; to its right the
// title in bold on the first line and the hint's lines below it, all
// left-aligned; the block sits centred in the skin's text area (at the
// built-in look's text origin without a skin).

#include "HintWindow.h"
#include "SkinObjectRecords.h"
#include "TbsSkinHint.h"

class TbsSkinData;

// Where the parts of a hint lie, in window coordinates.
struct SkinHintLayout {
    TSize Size;
    TRect TextRect;   // the hint's lines
    TRect TitleRect;  // empty without a title
    TPoint ImageAt;   // used with an image
    bool HasImage = false;
};

// `text` with every occurrence of `separator` replaced by a line break
// (carriage return and line feed); an empty separator changes nothing.
AnsiString SplitHintLines(const AnsiString& text, const AnsiString& separator);

class TbsSkinHintWindow : public THintWindow {
public:
    explicit TbsSkinHintWindow(TComponent* AOwner);
    ~TbsSkinHintWindow() override;

    TRect CalcHintRect(int maxWidth, const AnsiString& hint) override;
    // Shows `hint` with its top-left corner at `rect`'s, sized to the text;
    // a hint that would pass the right or bottom edge of the work area
    // opens to the left of or above that point.
    void ActivateHint(const TRect& rect, const AnsiString& hint) override;
    void ReleaseHint() override;

    // The skinned hint whose settings apply: the owning component, else the
    // one serving the application (ServingSkinHint); none: the platform look.
    TbsSkinHint* Served() const;
    // The skin drawing the current hint, or none (built-in or platform look).
    TbsSkinData* Skin() const { return skin_; }
    const SkinHintLayout& Layout() const { return layout_; }
    // The opacity the window has now, while it is layered.
    BYTE Alpha() const { return alpha_; }
    bool Layered() const { return layered_; }
    bool Fading() const { return fading_; }

protected:
    void CreateParams(TCreateParams& Params) override;
    void Paint() override;
    void WndProc(TMessage& Message) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    // True when the skinned or built-in look applies (else the platform's).
    bool Prepare(const AnsiString& hint);
    const TbsDataSkinHintWindow* Record() const;
    void SetUpFont(TFont& font) const;
    SkinHintLayout ComputeLayout(const AnsiString& text);
    TRect PlaceOnWorkArea(TPoint at, TSize size) const;
    // Adds or removes the layered style; with `animate` the opacity starts at 0.
    void ApplyAlpha(bool blend, BYTE value, bool animate);
    void ApplyRegion();
    void FadeStep();
    void SetSkin(TbsSkinData* skin);

    TbsSkinData* skin_ = nullptr;
    SkinHintExtras extras_;
    SkinHintLayout layout_;
    bool ownLook_ = false;
    bool layered_ = false;
    bool fading_ = false;
    BYTE alpha_ = 255;
    BYTE targetAlpha_ = 255;
};

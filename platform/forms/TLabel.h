#pragma once
// The label: windowless text on its parent. AutoSize fits the bounds to the
// text, Transparent lets the parent show through, Alignment and Layout place
// the text, WordWrap breaks it at the width, and "&" marks an accelerator
// (ShowAccelChar) that focuses FocusControl.

#include "Controls.h"
#include "TextAlignment.h"

class TCustomLabel : public TGraphicControl {
public:
    explicit TCustomLabel(TComponent* AOwner);

    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool value);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool value);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment value);
    TTextLayout Layout() const { return layout_; }
    void SetLayout(TTextLayout value);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool value);
    bool ShowAccelChar() const { return showAccelChar_; }
    void SetShowAccelChar(bool value);
    TWinControl* FocusControl() const { return focusControl_; }
    void SetFocusControl(TWinControl* value);

    void WndProc(TMessage& Message) override;

protected:
    void Paint() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    // Fits the bounds to the text when AutoSize is on (the left edge stays,
    // or the right one for right-aligned text).
    virtual void AdjustBounds();
    // DrawText flags for the current settings.
    unsigned TextFlags() const;
    // Draws the caption into `rect` (DT_CALCRECT measures only).
    virtual void DoDrawText(TRect& rect, unsigned flags);

private:
    bool autoSize_ = true;
    bool transparent_ = false;
    TAlignment alignment_ = taLeftJustify;
    TTextLayout layout_ = tlTop;
    bool wordWrap_ = false;
    bool showAccelChar_ = true;
    TWinControl* focusControl_ = nullptr;
};

class TLabel : public TCustomLabel {
public:
    explicit TLabel(TComponent* AOwner) : TCustomLabel(AOwner) {}
};

#pragma once
// THintWindow: the small window that shows a control's hint, in the
// platform's look (info colours, a one-pixel frame), above every window and
// never taking the focus. The application makes one from its hint window
// class; a skinned hint replaces that class.

#include "Controls.h"

class THintWindow : public TCustomControl {
public:
    explicit THintWindow(TComponent* AOwner);

    // The window rectangle (at 0, 0) that holds `hint` wrapped at `maxWidth`.
    virtual TRect CalcHintRect(int maxWidth, const AnsiString& hint);
    // Shows `hint` in the window rectangle `rect` (screen coordinates).
    virtual void ActivateHint(const TRect& rect, const AnsiString& hint);
    // Hides the window.
    virtual void ReleaseHint();
    bool HintShowing() { return HandleAllocated() && Showing(); }

protected:
    void CreateParams(TCreateParams& Params) override;
    void Paint() override;
    void WndProc(TMessage& Message) override;
};

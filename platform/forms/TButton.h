#pragma once
// The push button: pressed by the pointer (released over it) or by Space,
// and by Enter or Escape from anywhere on its form when it is the Default or
// the Cancel button. A button with a ModalResult closes a modal form with it.

#include "Controls.h"
#include "Forms.h"

class TButton : public TWinControl {
public:
    explicit TButton(TComponent* AOwner);

    bool Default() const { return default_; }
    void SetDefault(bool value);
    bool Cancel() const { return cancel_; }
    void SetCancel(bool value) { cancel_ = value; }
    TModalResult ModalResult() const { return modalResult_; }
    void SetModalResult(TModalResult value) { modalResult_ = value; }

    // Sets the form's ModalResult (when the button has one), then OnClick.
    void Click() override;
    // Shown pushed in (pointer held over it, or Space held).
    bool Pressed() const { return pressed_; }

    void WndProc(TMessage& Message) override;

protected:
    void CreateParams(TCreateParams& Params) override;
    void PaintWindow(HDC DC) override;
    void EraseBackground(HDC) override {}

private:
    // Enter presses this button: it has the focus, or it is the default
    // button and no other button has the focus.
    bool ActiveForEnter();
    void SetPressed(bool value);

    bool default_ = false;
    bool cancel_ = false;
    TModalResult modalResult_ = mrNone;
    bool pressed_ = false;
    bool tracking_ = false;  // left button went down on us
    bool spaceDown_ = false;
};

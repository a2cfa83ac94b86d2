// Push buttons: pointer and Space presses, Default and Cancel, ModalResult.

#include "FormsFixture.h"
#include "TButton.h"
#include "StdCtrlsTestSupport.h"
#include "TCustomEdit.h"

namespace {

class ButtonTest : public FormsTest {
protected:
    TButton* AddButton(TWinControl* parent, int x, const char* caption) {
        auto* b = CreateComponent<TButton>(parent);
        b->SetParent(parent);
        b->SetBounds(x, 10, 75, 25);
        b->SetCaption(caption);
        return b;
    }
};

TEST_F(ButtonTest, AClickCountsOnlyWhenReleasedOverTheButton) {
    TForm* form = ShowPlainForm({100, 100, 400, 200});
    TButton* b = AddButton(form, 10, "OK");
    int clicks = 0;
    b->OnClick = [&](TObject*) { ++clicks; };
    Pump();
    const TPoint in = b->ClientToScreen({30, 12});
    Click(in.X, in.Y);
    EXPECT_EQ(clicks, 1);
    // Pressed, dragged off, released outside: no click.
    screen().MouseDown(in.X, in.Y);
    screen().MouseMove(in.X + 200, in.Y);
    Pump();
    EXPECT_FALSE(b->Pressed());
    screen().MouseUp(in.X + 200, in.Y);
    Pump();
    EXPECT_EQ(clicks, 1);
    // Space on the focused button.
    Key(VK_SPACE);
    EXPECT_EQ(clicks, 2);
}

TEST_F(ButtonTest, EnterAndEscapeReachTheDefaultAndCancelButtons) {
    TForm* form = ShowPlainForm({100, 100, 400, 200});
    TButton* ok = AddButton(form, 10, "OK");
    TButton* cancel = AddButton(form, 100, "Cancel");
    auto* edit = CreateComponent<TEdit>(form);
    edit->SetParent(form);
    edit->SetBounds(10, 50, 100, 21);
    ok->SetDefault(true);
    cancel->SetCancel(true);
    std::vector<std::string> pressed;
    ok->OnClick = [&](TObject*) { pressed.push_back("ok"); };
    cancel->OnClick = [&](TObject*) { pressed.push_back("cancel"); };
    edit->SetFocus();
    Pump();
    Key(VK_RETURN);
    Key(VK_ESCAPE);
    // With another button focused, Enter presses that one.
    cancel->SetFocus();
    Pump();
    Key(VK_RETURN);
    EXPECT_EQ(pressed, (std::vector<std::string>{"ok", "cancel", "cancel"}));
}

TEST_F(ButtonTest, AButtonWithAModalResultEndsShowModalWithIt) {
    auto* dialog = Application->CreateForm<TForm>();
    dialog->SetBorderStyle(bsNone);
    dialog->SetBounds(200, 200, 200, 100);
    TButton* yes = AddButton(dialog, 10, "Yes");
    yes->SetModalResult(mrYes);
    stdctrls_test::OnceIdle(screen(), [&] {
        const TPoint p = yes->ClientToScreen({20, 10});
        screen().Click(p.X, p.Y);
    });
    EXPECT_EQ(dialog->ShowModal(), mrYes);
}

}  // namespace

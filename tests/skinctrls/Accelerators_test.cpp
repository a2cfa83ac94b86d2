// Accelerators of skinned buttons and labels: a character no focused control
// takes, or Alt with a letter, reaches the control whose caption marks that
// letter with '&'.

#include "SkinCtrlsTestSupport.h"

#include "TbsSkinButton.h"
#include "TbsSkinEdit.h"
#include "TbsSkinSpeedButton.h"
#include "TbsSkinStdLabel.h"

using namespace ctrltest;

namespace {

class AcceleratorTest : public SkinCtrlsTest {
protected:
    template <class T>
    T* Put(TForm* form, int x, int y, int w, int h, const AnsiString& caption = "") {
        auto* c = CreateComponent<T>(form);
        c->SetBounds(x, y, w, h);
        if (!caption.empty()) c->SetCaption(caption);
        c->SetParent(form);
        return c;
    }
    void Type(const char* text, bool alt) {
        if (alt) {
            screen().KeyDown(VK_MENU);
            screen().KeyPress(std::toupper(static_cast<unsigned char>(text[0])));
            screen().KeyUp(VK_MENU);
        } else {
            screen().Text(text);
        }
        Pump();
    }
};

TEST_F(AcceleratorTest, TheMarkedLetterPressesTheButtonOrFocusesTheLabelsPartner) {
    TForm* form = ShowForm();
    auto* other = Put<TbsSkinButton>(form, 10, 10, 75, 25, "Other");
    auto* open = Put<TbsSkinButton>(form, 10, 40, 75, 25, "&Open");
    auto* play = Put<TbsSkinSpeedButton>(form, 10, 70, 25, 25, "&Play");
    auto* label = Put<TbsSkinStdLabel>(form, 10, 100, 60, 16, "&Name:");
    auto* edit = Put<TbsSkinEdit>(form, 80, 100, 120, 21);
    label->SetFocusControl(edit);
    int opened = 0, played = 0;
    open->OnClick = [&](TObject*) { ++opened; };
    play->OnClick = [&](TObject*) { ++played; };
    Pump();

    const struct {
        const char* what;
        TWinControl* focus;
        const char* typed;
        bool alt;
        int opened, played;
        TWinControl* focusAfter;
        const char* editText;
    } cases[] = {
        {"button accelerator", other, "o", false, 1, 0, open, ""},
        {"capital letter", other, "O", false, 1, 0, open, ""},
        {"speed button", other, "p", false, 0, 1, other, ""},
        {"label focuses its partner", other, "n", false, 0, 0, edit, ""},
        {"no accelerator", other, "x", false, 0, 0, other, ""},
        {"an edit takes its characters", edit, "o", false, 0, 0, edit, "o"},
        {"Alt+letter from an edit", edit, "o", true, 1, 0, open, ""},
        {"Alt+letter of the label from a button", open, "n", true, 0, 0, edit, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        edit->SetText("");
        c.focus->SetFocus();
        Pump();
        opened = played = 0;
        Type(c.typed, c.alt);
        EXPECT_EQ(opened, c.opened);
        EXPECT_EQ(played, c.played);
        EXPECT_EQ(form->ActiveControl(), c.focusAfter);
        EXPECT_EQ(edit->Text(), c.editText);
    }

    // Disabled or hidden controls, and a label whose partner cannot take the
    // focus, do not answer.
    const struct {
        const char* what;
        std::function<void(bool)> set;
        const char* typed;
    } silent[] = {
        {"disabled button", [&](bool off) { open->SetEnabled(!off); }, "o"},
        {"hidden button", [&](bool off) { open->SetVisible(!off); }, "o"},
        {"disabled speed button", [&](bool off) { play->SetEnabled(!off); }, "p"},
        {"hidden speed button", [&](bool off) { play->SetVisible(!off); }, "p"},
        {"disabled label", [&](bool off) { label->SetEnabled(!off); }, "n"},
        {"hidden label", [&](bool off) { label->SetVisible(!off); }, "n"},
        {"disabled partner", [&](bool off) { edit->SetEnabled(!off); }, "n"},
    };
    for (const auto& s : silent) {
        SCOPED_TRACE(s.what);
        s.set(true);
        other->SetFocus();
        Pump();
        opened = played = 0;
        Type(s.typed, false);
        Type(s.typed, true);
        EXPECT_EQ(opened + played, 0);
        EXPECT_EQ(form->ActiveControl(), other);
        s.set(false);
    }
}

}  // namespace

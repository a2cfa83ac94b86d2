// The framework's notices to controls: pointer enter and leave (also while a
// control holds the pointer), focus changes announced through the form,
// characters offered as accelerators, and the end of a mode by a press
// elsewhere.

#include <algorithm>
#include <string>
#include <vector>

#include "FormsFixture.h"
#include "TButton.h"
#include "TCustomEdit.h"
#include "TPanel.h"

namespace {

using Log = std::vector<std::string>;

// Records what it hears, under a short name.
template <class Base>
class Probe : public Base {
public:
    Probe(TComponent* owner, std::string tag, Log& log) : Base(owner), tag_(std::move(tag)), log_(log) {}

    void WndProc(TMessage& m) override {
        switch (m.Msg) {
        case CM_MOUSEENTER: log_.push_back(tag_ + "+"); break;
        case CM_MOUSELEAVE: log_.push_back(tag_ + "-"); break;
        case CM_FOCUSCHANGED: log_.push_back(tag_ + " focus " + Name(FromLParam<TControl>(m.LParam))); break;
        case CM_CANCELMODE: log_.push_back(tag_ + " cancel " + Name(FromLParam<TControl>(m.LParam))); break;
        case WM_CHAR: log_.push_back(tag_ + " char " + std::string(1, char(m.WParam))); break;
        default: break;
        }
        Base::WndProc(m);
    }

    static std::string Name(TControl* c) { return c ? c->Name() : "none"; }

private:
    std::string tag_;
    Log& log_;
};

class WindowedProbe : public Probe<TCustomControl> {
public:
    WindowedProbe(TComponent* owner, std::string tag, Log& log) : Probe(owner, std::move(tag), log) {
        SetTabStop(true);
    }
};
using WindowlessProbe = Probe<TGraphicControl>;

template <class T>
T* Place(TWinControl* parent, const char* name, const TRect& r, Log& log) {
    auto* c = CreateComponent<T>(parent, name, log);
    c->SetName(name);
    c->SetBoundsRect(r);
    c->SetParent(parent);
    return c;
}

TEST_F(FormsTest, AControlHoldingThePointerHearsLeaveAndEnterAsThePointerCrossesIt) {
    for (const bool windowed : {true, false}) {
        SCOPED_TRACE(windowed ? "windowed" : "windowless");
        Log log;
        TForm* form = ShowPlainForm({0, 0, 300, 200});
        TControl* a = windowed ? static_cast<TControl*>(Place<WindowedProbe>(form, "A", {10, 10, 60, 40}, log))
                               : Place<WindowlessProbe>(form, "A", {10, 10, 60, 40}, log);
        TControl* b = windowed ? static_cast<TControl*>(Place<WindowedProbe>(form, "B", {100, 10, 150, 40}, log))
                               : Place<WindowlessProbe>(form, "B", {100, 10, 150, 40}, log);
        int clicks = 0;
        a->OnClick = [&](TObject*) { ++clicks; };
        Pump();
        screen().MouseMove(30, 20);
        Pump();
        EXPECT_EQ(log, (Log{"A+"}));

        // Pressed, dragged off over B, back, off again and released over B:
        // only A hears the crossings while it holds the pointer; B is entered
        // once A lets go; no click.
        log.clear();
        screen().MouseDown(30, 20);
        for (const TPoint p : {TPoint{120, 20}, TPoint{125, 25}, TPoint{30, 20}, TPoint{120, 20}}) {
            screen().MouseMove(p.X, p.Y);
            Pump();
        }
        screen().MouseUp(120, 20);
        Pump();
        EXPECT_EQ(log, (Log{"A-", "A+", "A-", "B+"}));
        EXPECT_EQ(clicks, 0);
        EXPECT_EQ(Application->MouseControl(), b);

        // Pressed and released inside: a click, and no crossing at all.
        screen().MouseMove(30, 20);
        Pump();
        log.clear();
        screen().Click(30, 20);
        Pump();
        EXPECT_TRUE(log.empty());
        EXPECT_EQ(clicks, 1);
        FreeComponent(form);
        Pump();
    }
}

TEST_F(FormsTest, EveryFocusChangeIsAnnouncedThroughTheFormToAllItsControls) {
    Log log;
    TForm* form = ShowPlainForm({0, 0, 300, 200});
    form->SetName("Form");
    auto* panel = CreateComponent<TPanel>(form);
    panel->SetBounds(0, 100, 300, 100);
    panel->SetParent(form);
    auto* first = Place<WindowedProbe>(form, "First", {10, 10, 60, 40}, log);
    auto* second = Place<WindowedProbe>(form, "Second", {100, 10, 150, 40}, log);
    // Deep inside a container and without a window: it hears it too.
    Place<WindowlessProbe>(panel, "Deep", {10, 10, 40, 40}, log);
    // A component that replaced the form's WindowProc sees it pass.
    int seenByFrame = 0;
    form->WindowProc = [&seenByFrame, old = form->WindowProc](TMessage& m) {
        if (m.Msg == CM_FOCUSCHANGED) ++seenByFrame;
        old(m);
    };
    first->SetFocus();
    Pump();
    log.clear();
    seenByFrame = 0;

    Key(VK_TAB);
    EXPECT_EQ(log, (Log{"Deep focus Second", "First focus Second", "Second focus Second"}));
    EXPECT_EQ(seenByFrame, 1);
    log.clear();
    second->SetFocus();  // no change, no notice
    Pump();
    EXPECT_TRUE(log.empty());
    first->SetFocus();
    Pump();
    EXPECT_EQ(log, (Log{"Deep focus First", "First focus First", "Second focus First"}));
}

TEST_F(FormsTest, ACharacterNoFocusedControlTakesGoesToTheAcceleratorOfAButton) {
    Log log;
    TForm* form = ShowPlainForm({0, 0, 300, 200});
    auto* pad = Place<WindowedProbe>(form, "Pad", {10, 10, 60, 40}, log);
    auto* edit = CreateComponent<TEdit>(form);
    edit->SetBounds(10, 50, 150, 24);
    edit->SetParent(form);
    auto* button = CreateComponent<TButton>(form);
    button->SetBounds(10, 100, 75, 25);
    button->SetCaption("&Open");
    button->SetParent(form);
    int clicks = 0;
    button->OnClick = [&](TObject*) { ++clicks; };
    Pump();

    struct Case {
        const char* what;
        TWinControl* focus;
        bool alt;
        const char* typed;
        int clicks;
        Log padHeard;
        AnsiString editText;
    };
    const Case cases[] = {
        {"accelerator on a control that takes no characters", pad, false, "o", 1, {}, ""},
        {"capital accelerator", pad, false, "O", 1, {}, ""},
        {"no accelerator: the control gets it", pad, false, "x", 0, {"Pad char x"}, ""},
        {"an edit takes its characters", edit, false, "o", 0, {}, "o"},
        {"Alt+accelerator from an edit", edit, true, "O", 1, {}, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        edit->SetText("");
        c.focus->SetFocus();
        Pump();
        log.clear();
        clicks = 0;
        if (c.alt) KeyWith(VK_MENU, c.typed[0]);
        else {
            screen().Text(c.typed);
            Pump();
        }
        EXPECT_EQ(clicks, c.clicks);
        EXPECT_EQ(log, c.padHeard);
        EXPECT_EQ(edit->Text(), c.editText);
    }
    // A disabled button's accelerator does nothing; the character goes on.
    button->SetEnabled(false);
    pad->SetFocus();
    Pump();
    log.clear();
    clicks = 0;
    screen().Text("o");
    Pump();
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(log, (Log{"Pad char o"}));
}

TEST_F(FormsTest, APressElsewhereEndsTheModeOfTheDeclaredModeControl) {
    Log log;
    TForm* form = ShowPlainForm({0, 0, 300, 200});
    form->SetName("Form");
    auto* holder = Place<WindowedProbe>(form, "Holder", {10, 10, 60, 40}, log);
    Place<WindowedProbe>(form, "Pad", {100, 10, 150, 40}, log);
    Place<WindowlessProbe>(form, "Glyph", {200, 10, 250, 40}, log);
    auto* other = Application->CreateForm<TForm>();
    other->SetName("Other");
    other->SetBorderStyle(bsSingle);
    other->SetBounds(400, 0, 200, 150);
    other->Show();
    form->BringToFront();
    Pump();
    ASSERT_EQ(form->ActiveControl(), nullptr);  // only the declaration counts here
    Application->SetModeControl(holder);
    log.clear();

    struct Case {
        const char* what;
        TPoint at;
        MouseButton button;
        Log heard;
    };
    const Case cases[] = {
        {"press on the holder itself", {30, 20}, MouseButton::Left, {}},
        {"press on another control", {120, 20}, MouseButton::Left, {"Holder cancel Pad"}},
        {"right press on a windowless control", {220, 20}, MouseButton::Right, {"Holder cancel Glyph"}},
        {"press on the form", {150, 150}, MouseButton::Middle, {"Holder cancel Form"}},
        {"press on another form's caption", {450, 8}, MouseButton::Right, {"Holder cancel Other"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        log.clear();
        Click(c.at.X, c.at.Y, c.button);
        Log cancels;
        for (const auto& line : log)
            if (line.rfind("Holder cancel", 0) == 0) cancels.push_back(line);
        EXPECT_EQ(cancels, c.heard);
    }

    // A holder that ends its mode clears the declaration; later presses are quiet.
    holder->WindowProc = [holder, old = holder->WindowProc](TMessage& m) {
        old(m);
        if (m.Msg == CM_CANCELMODE && Application->ModeControl() == holder) Application->SetModeControl(nullptr);
    };
    Click(120, 20);
    Click(120, 20);
    EXPECT_EQ(std::count(log.begin(), log.end(), "Holder cancel Pad"), 1);
    EXPECT_EQ(Application->ModeControl(), nullptr);

    // Declaring another holder ends the first one's mode; freeing it forgets it.
    Application->SetModeControl(holder);
    auto* next = Place<WindowedProbe>(form, "Next", {10, 60, 60, 90}, log);
    log.clear();
    Application->SetModeControl(next);
    EXPECT_EQ(log, (Log{"Holder cancel Next"}));
    FreeComponent(next);
    EXPECT_EQ(Application->ModeControl(), nullptr);
}

TEST_F(FormsTest, TheActiveControlHearsOfPressesOutsideItOnce) {
    Log log;
    TForm* form = ShowPlainForm({0, 0, 300, 200});
    form->SetName("Form");
    auto* focused = Place<WindowedProbe>(form, "Focused", {10, 10, 60, 40}, log);
    Place<WindowedProbe>(form, "Pad", {100, 10, 150, 40}, log);
    focused->SetFocus();
    Pump();
    auto cancels = [&] {
        Log out;
        for (const auto& line : log)
            if (line.find(" cancel ") != std::string::npos) out.push_back(line);
        log.clear();
        return out;
    };
    log.clear();
    Click(30, 20);
    EXPECT_TRUE(cancels().empty());  // a press on itself
    Click(250, 150);
    EXPECT_EQ(cancels(), (Log{"Focused cancel Form"}));
    // Also the declared holder: still one notice.
    Application->SetModeControl(focused);
    Click(120, 20);
    EXPECT_EQ(cancels(), (Log{"Focused cancel Pad"}));
}

}  // namespace

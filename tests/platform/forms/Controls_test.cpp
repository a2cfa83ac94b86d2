// Controls on a live form: the replaceable WindowProc, painting of windowed
// and windowless controls, pointer events, focus and Tab order, keys.

#include <string>
#include <vector>

#include "Controls.h"
#include "FormsFixture.h"

namespace {

class Swatch : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
    TColor fill = clRed;
    int paints = 0;

protected:
    void Paint() override {
        ++paints;
        Canvas().Brush.Color = fill;
        Canvas().FillRect(ClientRect());
    }
};

class Dot : public TGraphicControl {
public:
    using TGraphicControl::TGraphicControl;

protected:
    void Paint() override {
        Canvas().Brush.Color = clBlue;
        Canvas().FillRect(ClientRect());
    }
};

class Focusable : public TCustomControl {
public:
    explicit Focusable(TComponent* owner) : TCustomControl(owner) { SetTabStop(true); }
};

TEST_F(FormsTest, AReplacedWindowProcSeesWindowAndPerformedMessagesFirst) {
    TForm* form = ShowPlainForm({100, 100, 300, 250});
    std::vector<UINT> seen;
    TWndMethod saved = form->WindowProc;
    form->WindowProc = [&](TMessage& m) {
        seen.push_back(m.Msg);
        if (m.Msg == WM_USER + 7) {
            m.Result = 99;  // consumed here
            return;
        }
        saved(m);
    };
    EXPECT_EQ(form->Perform(WM_USER + 7), 99);
    EXPECT_EQ(SendMessage(form->Handle(), WM_USER + 7), 99);
    SetWindowPos(form->Handle(), nullptr, 0, 0, 220, 160, SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED);
    Pump();
    for (UINT m : {WM_NCCALCSIZE, WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED, WM_SIZE})
        EXPECT_NE(std::find(seen.begin(), seen.end(), m), seen.end()) << m;
    // Passed on: the form still learnt its new size.
    EXPECT_EQ(form->Width(), 220);
    form->WindowProc = saved;
    seen.clear();
    form->Perform(WM_USER + 7);
    EXPECT_TRUE(seen.empty());
}

TEST_F(FormsTest, WindowedAndWindowlessControlsPaintWhereTheyAre) {
    TForm* form = ShowPlainForm({100, 100, 300, 250});
    auto* swatch = CreateComponent<Swatch>(form);
    swatch->SetBounds(10, 10, 40, 30);
    swatch->SetParent(form);
    auto* dot = CreateComponent<Dot>(form);
    dot->SetBounds(60, 10, 20, 20);
    dot->SetParent(form);
    EXPECT_EQ(Pixel(100 + 10, 100 + 10), ColorToRGB(clRed));
    EXPECT_EQ(Pixel(100 + 49, 100 + 39), ColorToRGB(clRed));
    EXPECT_EQ(Pixel(100 + 50, 100 + 40), ColorToRGB(clBtnFace));  // the form's own colour
    EXPECT_EQ(Pixel(100 + 70, 100 + 15), ColorToRGB(clBlue));
    swatch->fill = clLime;
    swatch->Repaint();
    EXPECT_EQ(Pixel(120, 120), ColorToRGB(clLime));
    dot->Hide();
    EXPECT_EQ(Pixel(170, 115), ColorToRGB(clBtnFace));
}

TEST_F(FormsTest, PointerEventsReachWindowedAndWindowlessControlsInTheirCoordinates) {
    TForm* form = ShowPlainForm({100, 100, 300, 250});
    auto* swatch = CreateComponent<Swatch>(form);
    swatch->SetBounds(10, 10, 40, 30);
    swatch->SetParent(form);
    auto* dot = CreateComponent<Dot>(form);
    dot->SetBounds(60, 10, 20, 20);
    dot->SetParent(form);
    std::vector<std::string> log;
    swatch->OnMouseDown = [&](TObject*, TMouseButton b, TShiftState s, int x, int y) {
        log.push_back("swatch down " + std::to_string(int(b)) + " " + std::to_string(x) + "," + std::to_string(y) +
                      ((s & ssLeft) ? " L" : ""));
    };
    swatch->OnClick = [&](TObject*) { log.push_back("swatch click"); };
    dot->OnClick = [&](TObject*) { log.push_back("dot click"); };
    dot->OnMouseUp = [&](TObject*, TMouseButton, TShiftState, int x, int y) {
        log.push_back("dot up " + std::to_string(x) + "," + std::to_string(y));
    };
    form->OnDblClick = [&](TObject*) { log.push_back("form dblclick"); };
    Click(115, 117);
    Click(165, 112);
    Click(250, 200, MouseButton::Right);  // no handler: nothing logged
    Click(250, 200);
    Click(250, 200);
    // Click comes before MouseUp, as on the platform.
    const std::vector<std::string> expected{"swatch down 0 5,7 L", "swatch click", "dot click", "dot up 5,2",
                                            "form dblclick"};
    EXPECT_EQ(log, expected);
    // A press that leaves the control before release is no click.
    log.clear();
    screen().MouseDown(115, 117);
    screen().MouseMove(250, 200);
    screen().MouseUp(250, 200);
    Pump();
    EXPECT_EQ(log, (std::vector<std::string>{"swatch down 0 5,7 L"}));
}

TEST_F(FormsTest, TabMovesTheFocusInTabOrderAndRaisesEnterAndExit) {
    TForm* form = Application->CreateForm<TForm>();
    form->SetBorderStyle(bsNone);
    form->SetBounds(100, 100, 300, 200);
    std::vector<Focusable*> c;
    for (int i = 0; i < 4; ++i) {
        c.push_back(CreateComponent<Focusable>(form));
        c[i]->SetBounds(10 + i * 50, 10, 40, 20);
        c[i]->SetParent(form);
        c[i]->SetName("c" + std::to_string(i));
    }
    c[2]->SetTabOrder(0);     // order now: c2, c0, c1, c3
    c[1]->SetTabStop(false);  // skipped by Tab
    std::vector<std::string> log;
    for (auto* f : c) {
        f->OnEnter = [&log, f](TObject*) { log.push_back("enter " + f->Name()); };
        f->OnExit = [&log, f](TObject*) { log.push_back("exit " + f->Name()); };
    }
    form->Show();
    Pump();
    EXPECT_TRUE(c[2]->Focused());  // the first in Tab order starts with the focus
    EXPECT_EQ(form->ActiveControl(), c[2]);
    Key(VK_TAB);
    EXPECT_TRUE(c[0]->Focused());
    Key(VK_TAB);
    EXPECT_TRUE(c[3]->Focused());
    Key(VK_TAB);
    EXPECT_TRUE(c[2]->Focused());  // wraps
    KeyWith(VK_SHIFT, VK_TAB);
    EXPECT_TRUE(c[3]->Focused());
    const std::vector<std::string> expected{"enter c2", "exit c2", "enter c0", "exit c0", "enter c3",
                                            "exit c3", "enter c2", "exit c2", "enter c3"};
    EXPECT_EQ(log, expected);
    // A hidden or disabled control is passed over.
    c[0]->SetEnabled(false);
    Key(VK_TAB);
    EXPECT_TRUE(c[2]->Focused());
    Key(VK_TAB);
    EXPECT_TRUE(c[3]->Focused());
    EXPECT_EQ(Screen->ActiveControl(), c[3]);
}

TEST_F(FormsTest, KeyPreviewLetsTheFormSeeAndSwallowKeysBeforeTheControl) {
    TForm* form = Application->CreateForm<TForm>();
    form->SetBorderStyle(bsNone);
    form->SetBounds(100, 100, 300, 200);
    auto* box = CreateComponent<Focusable>(form);
    box->SetBounds(10, 10, 40, 20);
    box->SetParent(form);
    std::string log;
    box->OnKeyDown = [&](TObject*, WORD& k, TShiftState) { log += "box:" + std::to_string(k) + " "; };
    box->OnKeyPress = [&](TObject*, char& ch) { log += std::string("press:") + ch + " "; };
    box->OnKeyUp = [&](TObject*, WORD& k, TShiftState) { log += "up:" + std::to_string(k) + " "; };
    form->OnKeyDown = [&](TObject*, WORD& k, TShiftState s) {
        log += "form:" + std::to_string(k) + ((s & ssCtrl) ? "+ctrl " : " ");
        if (k == 'Q') k = 0;  // swallowed
    };
    form->Show();
    Pump();
    Key('A');
    EXPECT_EQ(log, "box:65 up:65 ");  // without KeyPreview the form hears nothing
    form->KeyPreview = true;
    log.clear();
    Key('Q');
    screen().Text("x");
    Pump();
    KeyWith(VK_CONTROL, 'B');
    EXPECT_EQ(log, "form:81 up:81 press:x form:17+ctrl box:17 form:66+ctrl box:66 press:\x02 up:66 up:17 ");
}

TEST_F(FormsTest, TheOnMessageFilterSeesKeysFirstAndCanKeepThem) {
    TForm* form = Application->CreateForm<TForm>();
    form->SetBorderStyle(bsNone);
    form->SetBounds(100, 100, 300, 200);
    auto* box = CreateComponent<Focusable>(form);
    box->SetBounds(10, 10, 40, 20);
    box->SetParent(form);
    std::string log;
    box->OnKeyDown = [&](TObject*, WORD& k, TShiftState) { log += "box:" + std::to_string(k) + " "; };
    Application->OnMessage = [&](MSG& msg, bool& handled) {
        if (msg.message != WM_KEYDOWN) return;
        log += "filter:" + std::to_string(msg.wParam) + " ";
        handled = msg.wParam == 'Z';
    };
    form->Show();
    Pump();
    Key('Y');
    Key('Z');
    EXPECT_EQ(log, "filter:89 box:89 filter:90 ");
}

TEST_F(FormsTest, AlignedChildrenFollowTheirParentsClientArea) {
    TForm* form = ShowPlainForm({0, 0, 300, 200});
    auto* top = CreateComponent<Swatch>(form);
    top->SetHeight(30);
    top->SetAlign(alTop);
    top->SetParent(form);
    auto* rest = CreateComponent<Swatch>(form);
    rest->SetAlign(alClient);
    rest->SetParent(form);
    EXPECT_EQ(top->BoundsRect(), Rect(0, 0, 300, 30));
    EXPECT_EQ(rest->BoundsRect(), Rect(0, 30, 300, 200));
    form->SetBounds(0, 0, 200, 100);
    Pump();
    EXPECT_EQ(rest->BoundsRect(), Rect(0, 30, 200, 100));
}

TEST_F(FormsTest, FreeingAFocusedControlLeavesTheFormWithoutDanglingReferences) {
    TForm* form = Application->CreateForm<TForm>();
    form->SetBorderStyle(bsNone);
    form->SetBounds(100, 100, 300, 200);
    auto* a = CreateComponent<Focusable>(form);
    a->SetBounds(10, 10, 40, 20);
    a->SetParent(form);
    auto* b = CreateComponent<Focusable>(form);
    b->SetBounds(60, 10, 40, 20);
    b->SetParent(form);
    form->Show();
    Pump();
    ASSERT_EQ(form->ActiveControl(), a);
    FreeComponent(a);
    Pump();
    EXPECT_EQ(form->ActiveControl(), nullptr);
    Key(VK_TAB);
    EXPECT_TRUE(b->Focused());
}

}  // namespace

// Forms and the application: showing, closing, modal runs, the default
// error report, the message loop, minimising, the screen's form list.

#include <string>
#include <vector>

#include "FormsFixture.h"
#include "MessageBox.h"

namespace {

class Pad : public TCustomControl {
public:
    explicit Pad(TComponent* owner) : TCustomControl(owner) { SetTabStop(true); }
};

TEST_F(FormsTest, ShowModalRunsUntilModalResultAndGivesItBack) {
    TForm* main = ShowPlainForm({0, 0, 400, 300});
    auto* dialog = Application->CreateForm<TForm>();
    dialog->SetBorderStyle(bsDialog);
    dialog->SetPosition(poScreenCenter);
    dialog->SetClientWidth(200);
    dialog->SetClientHeight(100);
    auto* ok = CreateComponent<Pad>(dialog);
    ok->SetBounds(10, 10, 50, 20);
    ok->SetParent(dialog);
    ok->OnClick = [dialog](TObject*) { dialog->SetModalResult(mrOk); };
    bool mainWasDisabled = false;
    WhenIdle([&] {
        mainWasDisabled = !IsWindowEnabled(main->Handle());
        EXPECT_TRUE(dialog->Active());
        const TPoint p = ok->ClientToScreen({5, 5});
        screen().Click(p.X, p.Y);
    });
    EXPECT_EQ(dialog->ShowModal(), mrOk);
    EXPECT_TRUE(mainWasDisabled);
    EXPECT_TRUE(IsWindowEnabled(main->Handle()));
    EXPECT_FALSE(dialog->Visible());
    EXPECT_EQ(dialog->ClientRect(), Rect(0, 0, 200, 100));
    // Centred on the 800 x 600 screen.
    EXPECT_EQ(dialog->Left(), (800 - dialog->Width()) / 2);
    EXPECT_EQ(dialog->Top(), (600 - dialog->Height()) / 2);
    // Closing a modal form answers mrCancel; OnCloseQuery may refuse once.
    int asked = 0;
    dialog->OnCloseQuery = [&](TObject*, bool& can) { can = ++asked > 1; };
    WhenIdle([&] {
        PostMessage(dialog->Handle(), WM_CLOSE);
        WhenIdle([&] {
            screen().KeyDown(VK_MENU);
            screen().KeyPress(VK_F4);
            screen().KeyUp(VK_MENU);
        });
    });
    EXPECT_EQ(dialog->ShowModal(), mrCancel);
    EXPECT_EQ(asked, 2);
    EXPECT_THROW(main->ShowModal(), EInvalidOperation);  // already visible
}

TEST_F(FormsTest, AnErrorInAClickHandlerIsReportedWithTheTitleAndTheLoopGoesOn) {
    Application->SetTitle("Mirvo\xD3\xA2\xD3\xEF\xD0\xA1\xB4\xCA\xB5\xE4");  // GBK
    TForm* form = ShowPlainForm({0, 0, 300, 200});
    auto* pad = CreateComponent<Pad>(form);
    pad->SetBounds(10, 10, 50, 20);
    pad->SetParent(form);
    int clicks = 0;
    pad->OnClick = [&](TObject*) {
        ++clicks;
        throw EConvertError("'abc' is not a valid integer value");
    };
    AnsiString caption, shownText;
    bool boxSeen = false;
    WhenIdle([&] {
        TCustomForm* box = Screen->ActiveForm();
        ASSERT_NE(box, nullptr);
        ASSERT_NE(box, form);
        boxSeen = true;
        caption = box->Caption();
        screen().KeyPress(VK_RETURN);
    });
    Click(20, 20);
    EXPECT_TRUE(boxSeen);
    EXPECT_EQ(caption, Application->Title());
    EXPECT_EQ(Screen->ActiveForm(), form);
    // The loop goes on: the next click is handled again.
    std::string reported;
    Application->OnException = [&](TObject* sender, const Exception& e) {
        EXPECT_EQ(sender, pad);
        reported = e.Message();
    };
    Click(20, 20);
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(reported, "'abc' is not a valid integer value");
}

TEST_F(FormsTest, CloseAsksOnCloseQueryThenOnCloseDecides) {
    ShowPlainForm({0, 0, 100, 100});  // the main form
    auto* other = Application->CreateForm<TForm>();
    other->Show();
    Pump();
    bool allow = false;
    other->OnCloseQuery = [&](TObject*, bool& can) { can = allow; };
    TCloseAction choice = caNone;
    other->OnClose = [&](TObject*, TCloseAction& a) { a = choice; };
    other->Close();
    EXPECT_TRUE(other->Visible());  // refused by OnCloseQuery
    allow = true;
    other->Close();
    EXPECT_TRUE(other->Visible());  // caNone keeps it
    choice = caHide;
    other->Close();
    EXPECT_FALSE(other->Visible());
    other->Show();
    choice = caFree;
    other->Close();
    const int before = Screen->FormCount();
    Pump();
    EXPECT_EQ(Screen->FormCount(), before - 1);  // freed after the message that asked
}

TEST_F(FormsTest, ClosingTheMainFormEndsRunAfterOnShowAndOnClose) {
    auto* main = Application->CreateForm<TForm>();
    main->SetBorderStyle(bsNone);
    main->SetBounds(10, 10, 200, 100);
    std::vector<std::string> log;
    main->OnShow = [&](TObject*) {
        log.push_back(IsWindowVisible(main->Handle()) ? "show (visible)" : "show (not yet visible)");
    };
    main->OnClose = [&](TObject*, TCloseAction&) { log.push_back("close"); };
    main->OnActivate = [&](TObject*) { log.push_back("activate"); };
    WhenIdle([&] { PostMessage(main->Handle(), WM_CLOSE); });
    Application->Run();
    EXPECT_TRUE(Application->Terminated());
    EXPECT_EQ(log, (std::vector<std::string>{"show (not yet visible)", "activate", "close"}));
}

TEST_F(FormsTest, FormsAreListedInZOrderAndReceiveBroadcastsOwnerFirst) {
    TForm* a = ShowPlainForm({0, 0, 100, 100});
    TForm* b = ShowPlainForm({50, 50, 150, 150});
    TForm* c = ShowPlainForm({100, 100, 200, 200});
    EXPECT_EQ(Screen->FormsInZOrder(), (std::vector<TCustomForm*>{c, b, a}));
    a->BringToFront();
    Pump();
    EXPECT_EQ(Screen->Forms(0), a);
    EXPECT_EQ(Screen->ActiveForm(), a);
    std::vector<TCustomForm*> order;
    for (TForm* f : {a, b, c}) {
        TWndMethod old = f->WindowProc;
        f->WindowProc = [&order, f, old](TMessage& m) {
            if (m.Msg == WM_USER + 201) order.push_back(f);
            old(m);
        };
    }
    Screen->SendToForms(b, WM_USER + 201, 0, 1000);
    EXPECT_EQ(order, (std::vector<TCustomForm*>{b, a, c}));
}

TEST_F(FormsTest, MinimizeHidesTheProgramAndRestoreBringsItBack) {
    TForm* main = ShowPlainForm({0, 0, 100, 100});
    TForm* other = ShowPlainForm({200, 0, 300, 100});
    int events = 0;
    Application->OnMinimize = [&](TObject*) { ++events; };
    Application->OnRestore = [&](TObject*) { events += 10; };
    SendMessage(main->Handle(), WM_SYSCOMMAND, SC_MINIMIZE);
    Pump();
    EXPECT_TRUE(Application->Minimized());
    EXPECT_TRUE(IsIconic(main->Handle()));
    EXPECT_FALSE(IsWindowVisible(other->Handle()));
    EXPECT_EQ(Pixel(250, 50), Pixel(790, 590));  // nothing left on the desktop
    Application->Restore();
    Pump();
    EXPECT_FALSE(IsIconic(main->Handle()));
    EXPECT_TRUE(IsWindowVisible(other->Handle()));
    EXPECT_TRUE(other->Visible());
    EXPECT_EQ(events, 11);
}

TEST_F(FormsTest, BorderStylesChooseTheFrameAndBsNoneHasNone) {
    struct Case {
        TFormBorderStyle style;
        bool framed;
        bool toolCaption;
    };
    for (const Case& k : {Case{bsNone, false, false}, Case{bsSizeable, true, false}, Case{bsSingle, true, false},
                          Case{bsToolWindow, true, true}, Case{bsSizeToolWin, true, true}}) {
        auto* f = Application->CreateForm<TForm>();
        f->SetBorderStyle(k.style);
        f->SetBounds(10, 10, 200, 150);
        f->Show();
        Pump();
        const DWORD ex = DWORD(GetWindowLong(f->Handle(), GWL_EXSTYLE));
        EXPECT_EQ((ex & WS_EX_TOOLWINDOW) != 0, k.toolCaption) << k.style;
        const TRect client = f->ClientRect();
        EXPECT_EQ(client.Width() < 200, k.framed) << k.style;
        f->SetClientWidth(120);
        EXPECT_EQ(f->ClientWidth(), 120) << k.style;
        FreeComponent(f);
    }
    auto* top = Application->CreateForm<TForm>();
    top->SetFormStyle(fsStayOnTop);
    top->Show();
    EXPECT_NE(GetWindowLong(top->Handle(), GWL_EXSTYLE) & LONG(WS_EX_TOPMOST), 0);
}

TEST_F(FormsTest, OnShortCutSeesAltSpaceBeforeTheFocusedControl) {
    TForm* form = Application->CreateForm<TForm>();
    form->SetBorderStyle(bsNone);
    form->SetBounds(0, 0, 200, 100);
    auto* pad = CreateComponent<Pad>(form);
    pad->SetBounds(10, 10, 50, 20);
    pad->SetParent(form);
    std::string log;
    pad->OnKeyDown = [&](TObject*, WORD& k, TShiftState) { log += "pad:" + std::to_string(k) + " "; };
    pad->OnKeyPress = [&](TObject*, char& c) { log += std::string("char:") + c + " "; };
    form->OnShortCut = [&](TWMKey& key, bool& handled) {
        if (key.CharCode == VK_SPACE && (key.KeyData & KF_ALTDOWN_BIT)) {
            log += "shortcut ";
            handled = true;
        }
    };
    form->Show();
    Pump();
    KeyWith(VK_MENU, VK_SPACE);
    Key(VK_SPACE);
    EXPECT_EQ(log, "pad:18 shortcut pad:32 ");
}

TEST_F(FormsTest, MessageBoxButtonsAnswerWithTheirIds) {
    ShowPlainForm({0, 0, 100, 100});
    struct Case {
        UINT type;
        std::vector<int> keys;
        int expected;
    };
    const std::vector<Case> cases = {
        {MB_OK, {VK_RETURN}, IDOK},
        {MB_OK, {VK_ESCAPE}, IDOK},
        {MB_OKCANCEL, {VK_ESCAPE}, IDCANCEL},
        {MB_YESNO, {'N'}, IDNO},
        {MB_YESNOCANCEL | MB_DEFBUTTON2, {VK_RETURN}, IDNO},
        {MB_YESNO, {VK_TAB, VK_SPACE}, IDNO},
        // Escape does nothing without a Cancel button; Yes then answers.
        {MB_YESNO | MB_ICONQUESTION, {VK_ESCAPE, 'Y'}, IDYES},
        {MB_ABORTRETRYIGNORE, {VK_RIGHT, VK_RETURN}, IDRETRY},
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        WhenIdle([&, i] {
            for (int vk : cases[i].keys) screen().KeyPress(vk);
        });
        EXPECT_EQ(Application->MessageBox("Text \xD6\xD0\xCE\xC4", "", cases[i].type), cases[i].expected) << i;
    }
    // A click on the button works too, and the box is gone afterwards.
    WhenIdle([&] {
        TCustomForm* box = Screen->ActiveForm();
        TWinControl* button = box->ActiveControl();
        const TPoint p = button->ClientToScreen({5, 5});
        screen().Click(p.X, p.Y);
    });
    EXPECT_EQ(Application->MessageBox("Click me", "Caption", MB_OK), IDOK);
    EXPECT_EQ(Screen->FormCount(), 1);
}

}  // namespace

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

// What the application's window hears, and how the main form stands then.
struct AppWindowWatch {
    static inline WNDPROC previous = nullptr;
    static inline std::vector<WPARAM> sizes;
    static inline std::vector<bool> mainIconicAtSize;
    static inline HWND mainWindow = nullptr;
    static inline bool hideMainOnMinimize = false;
    static LRESULT Proc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
        if (msg == WM_SIZE) {
            sizes.push_back(wp);
            mainIconicAtSize.push_back(IsIconic(mainWindow) != FALSE);
            // A component going to the tray takes the main form off the desktop.
            if (wp == SIZE_MINIMIZED && hideMainOnMinimize) ShowWindow(mainWindow, SW_HIDE);
        }
        return CallWindowProc(previous, h, msg, wp, lp);
    }
};

TEST_F(FormsTest, MinimizeReachesTheApplicationsWindowAndADesktopRestoreRepaints) {
    TForm* main = ShowPlainForm({0, 0, 200, 150});
    main->SetColor(clLime);
    TForm* other = ShowPlainForm({300, 0, 400, 100});
    std::vector<WPARAM> mainSizes;
    int restoreCommands = 0;
    main->WindowProc = [&, old = main->WindowProc](TMessage& m) {
        if (m.Msg == WM_SIZE) mainSizes.push_back(m.WParam);
        if (m.Msg == WM_SYSCOMMAND && (m.WParam & 0xFFF0) == SC_RESTORE) ++restoreCommands;
        old(m);
    };
    AppWindowWatch::sizes.clear();
    AppWindowWatch::mainIconicAtSize.clear();
    AppWindowWatch::mainWindow = main->Handle();
    AppWindowWatch::hideMainOnMinimize = false;
    AppWindowWatch::previous = SubclassWindow(Application->Handle(), &AppWindowWatch::Proc);
    Pump();
    EXPECT_EQ(Pixel(100, 75), clLime);

    Application->Minimize();
    Pump();
    EXPECT_EQ(AppWindowWatch::sizes, std::vector<WPARAM>{SIZE_MINIMIZED});
    EXPECT_EQ(AppWindowWatch::mainIconicAtSize, std::vector<bool>{true});  // the forms went first
    EXPECT_TRUE(IsIconic(main->Handle()));
    EXPECT_TRUE(IsWindowVisible(main->Handle()));  // still on the desktop's task bar
    EXPECT_FALSE(IsWindowVisible(other->Handle()));
    EXPECT_FALSE(screen().IsShownNatively(Application->Handle()));
    EXPECT_NE(Pixel(100, 75), clLime);

    // The desktop restores the main form as a click on its task bar entry would.
    mainSizes.clear();
    SendMessage(main->Handle(), WM_SYSCOMMAND, SC_RESTORE, 0);
    Pump();
    EXPECT_FALSE(Application->Minimized());
    EXPECT_EQ(restoreCommands, 1);
    EXPECT_EQ(AppWindowWatch::sizes, (std::vector<WPARAM>{SIZE_MINIMIZED, SIZE_RESTORED}));
    EXPECT_FALSE(IsWindowVisible(Application->Handle()));  // never on the desktop
    EXPECT_FALSE(IsIconic(main->Handle()));
    EXPECT_EQ(mainSizes, std::vector<WPARAM>{SIZE_RESTORED});
    EXPECT_EQ(GetActiveWindow(), main->Handle());
    EXPECT_TRUE(IsWindowVisible(other->Handle()));
    EXPECT_EQ(Pixel(100, 75), clLime);  // painted again

    // A hook that hides the main form when the application is minimised
    // (as the tray does) is not undone by the minimising itself; restoring
    // brings the main form back.
    AppWindowWatch::hideMainOnMinimize = true;
    SendMessage(Application->Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    Pump();
    EXPECT_TRUE(Application->Minimized());
    EXPECT_FALSE(IsWindowVisible(main->Handle()));
    SendMessage(Application->Handle(), WM_SYSCOMMAND, SC_RESTORE, 0);
    Pump();
    EXPECT_TRUE(IsWindowVisible(main->Handle()));
    EXPECT_FALSE(IsIconic(main->Handle()));
    EXPECT_EQ(Pixel(100, 75), clLime);
    SubclassWindow(Application->Handle(), AppWindowWatch::previous);
}

// A frame component's answer to WM_NCCALCSIZE: its own frame widths.
void UseOwnFrame(TForm* form, const TRect& insets) {
    form->WindowProc = [insets, old = form->WindowProc](TMessage& m) {
        if (m.Msg == WM_NCCALCSIZE && m.WParam) {
            TRect& r = FromLParam<NCCALCSIZE_PARAMS>(m.LParam)->rgrc[0];
            r = {r.Left + insets.Left, r.Top + insets.Top, r.Right - insets.Right, r.Bottom - insets.Bottom};
            m.Result = 0;
            return;
        }
        old(m);
    };
}

TEST_F(FormsTest, RecreatingAShownFormKeepsItsPlaceSizeStateAndStacking) {
    auto* a = Application->CreateForm<TForm>();
    a->SetBounds(50, 60, 300, 200);
    a->Show();
    TForm* b = ShowPlainForm({420, 60, 600, 200});
    const TRect place{50, 60, 350, 260};
    const HWND before = a->Handle();

    // The frame is asked again: a frame component's own widths now count.
    UseOwnFrame(a, {5, 30, 5, 5});
    a->RecreateWnd();
    Pump();
    EXPECT_NE(a->Handle(), before);
    EXPECT_TRUE(IsWindowVisible(a->Handle()));
    EXPECT_TRUE(screen().IsShownNatively(a->Handle()));
    EXPECT_EQ(a->BoundsRect(), place);
    EXPECT_EQ(a->ClientRect(), Rect(0, 0, 290, 165));
    EXPECT_EQ(GetActiveWindow(), b->Handle());  // it did not take the activation
    EXPECT_EQ(Screen->FormsInZOrder(), (std::vector<TCustomForm*>{b, a}));

    // The active form stays active and on top; show states and the normal
    // place survive too.
    b->RecreateWnd();
    Pump();
    EXPECT_EQ(GetActiveWindow(), b->Handle());
    EXPECT_EQ(Screen->FormsInZOrder(), (std::vector<TCustomForm*>{b, a}));
    a->SetWindowState(wsMaximized);
    a->RecreateWnd();
    EXPECT_TRUE(IsZoomed(a->Handle()));
    a->SetWindowState(wsNormal);
    EXPECT_EQ(a->BoundsRect(), place);
    a->SetWindowState(wsMinimized);
    a->RecreateWnd();
    EXPECT_TRUE(IsIconic(a->Handle()));
    a->SetWindowState(wsNormal);
    EXPECT_EQ(a->BoundsRect(), place);
    // A hidden form stays hidden.
    a->Hide();
    a->RecreateWnd();
    EXPECT_FALSE(IsWindowVisible(a->Handle()));
}

TEST_F(FormsTest, AClientSizeSetBeforeTheWindowExistsUsesTheFrameTheWindowAsksFor) {
    struct Case {
        const char* what;
        bool ownFrame;
        int laterWidth;  // an explicit width set after the client size (0: none)
        TRect expectedClient;
    };
    const Case cases[] = {
        {"default frame", false, 0, {0, 0, 200, 100}},
        {"a frame component's frame", true, 0, {0, 0, 200, 100}},
        {"a later width wins", true, 260, {0, 0, 260 - 3 - 4, 100}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto* form = Application->CreateForm<TForm>();
        form->SetBorderStyle(bsSizeable);
        if (c.ownFrame) UseOwnFrame(form, {3, 25, 4, 6});
        form->SetClientWidth(200);
        form->SetClientHeight(100);
        if (c.laterWidth) form->SetWidth(c.laterWidth);
        form->Show();
        Pump();
        EXPECT_EQ(form->ClientRect(), c.expectedClient);
        if (c.ownFrame) {
            EXPECT_EQ(form->Height(), 100 + 25 + 6);
        }
        FreeComponent(form);
    }
}

TEST_F(FormsTest, MessageHooksRunNewestFirstAndComeOffInAnyOrder) {
    constexpr UINT kProbe = WM_USER + 7;
    std::string log;
    auto logger = [&log](const char* name, bool keep = false) {
        return [&log, name, keep](MSG& msg, bool& handled) {
            if (msg.message != kProbe) return;
            log += name;
            handled = keep;
        };
    };
    auto send = [&] {
        log.clear();
        PostMessage(Application->Handle(), kProbe);
        Pump();
        return log;
    };
    Application->OnMessage = logger("o");
    const int a = Application->AddMessageHook(logger("a"));
    const int b = Application->AddMessageHook(logger("b"));
    EXPECT_EQ(send(), "bao");
    Application->RemoveMessageHook(a);  // not the newest
    EXPECT_EQ(send(), "bo");
    {
        TMessageHook menu(logger("m", true));  // a menu keeps the messages while open
        EXPECT_EQ(send(), "m");
    }
    EXPECT_EQ(send(), "bo");
    // A hook that takes itself off while it runs.
    int self = 0;
    self = Application->AddMessageHook([&](MSG& msg, bool&) {
        if (msg.message != kProbe) return;
        log += "s";
        Application->RemoveMessageHook(self);
    });
    EXPECT_EQ(send(), "sbo");
    EXPECT_EQ(send(), "bo");
    Application->RemoveMessageHook(b);
    Application->RemoveMessageHook(b);  // twice is harmless
    EXPECT_EQ(send(), "o");
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

// The tray icon against a tray stand-in on the headless screen: the record it
// hands the shell, the pointer on the icon, its skinned menu, minimising the
// application into the tray and back, a restarted tray, and no tray at all.

#include "SkinFormTestSupport.h"

#include <map>

#include "ShellApi.h"
#include "TbsSkinMenu.h"
#include "TbsSkinPopupMenu.h"
#include "TbsSkinPopupWindow.h"
#include "TbsTrayIcon.h"
#include "TrayHost.h"

using namespace frametest;

namespace {

// A tray in memory: what it shows, pointer input and new trays on demand.
class StandInTray : public TrayHost {
public:
    bool available = true;
    std::map<int, std::string> shown;  // icon -> tip

    bool Add(int icon, const IconPixels&, const std::string& tip) override {
        if (!available) return false;
        shown[icon] = tip;
        return true;
    }
    void Update(int icon, const IconPixels&, const std::string& tip) override { shown[icon] = tip; }
    void Remove(int icon) override { shown.erase(icon); }
    void Poll() override {}
    void Press(TrayButton button, std::uint32_t time, TrayPointer kind) {
        ASSERT_EQ(shown.size(), 1u);
        OnPointer({shown.begin()->first, kind, button, time});
    }
    void Click(TrayButton button, std::uint32_t time) {
        Press(button, time, TrayPointer::Down);
        Press(button, time + 20, TrayPointer::Up);
    }
    void NewTray() {
        shown.clear();
        OnTrayCreated();
    }
};

class TrayIconTest : public FrameTest {
protected:
    TrayIconTest() {
        auto tray = std::make_unique<StandInTray>();
        tray_ = tray.get();
        SetTrayHost(std::move(tray));
    }
    ~TrayIconTest() override { SetTrayHost(nullptr); }

    // The main form with a frame and a tray icon the frame minimises into.
    void MakeMainForm() {
        MakeForm(400, 300, "");
        Application->SetMainForm(form);
        ShowAndPump();
        icon = CreateComponent<TbsTrayIcon>(form);
        icon->SetHint("Mirvo");
        frame->SetTrayIcon(icon);
        PumpMessages();
    }
    void Pump() {
        Application->ProcessMessages();
        PumpMessages();
    }

    StandInTray* tray_ = nullptr;
    TbsTrayIcon* icon = nullptr;
};

TEST_F(TrayIconTest, RecordAndPointerTable) {
    MakeForm(400, 300, "");
    ShowAndPump();
    icon = CreateComponent<TbsTrayIcon>(form);
    icon->SetHint("Mirvo \xD0\xA1\xB4\xCA\xB5\xE4");  // GBK for 小词典
    const NOTIFYICONDATA& d = icon->IconData();
    EXPECT_EQ(d.cbSize, 488u);
    EXPECT_EQ(d.uID, 1u);
    EXPECT_EQ(d.uFlags, 7u);
    EXPECT_EQ(d.uCallbackMessage, 2048u);
    EXPECT_EQ(d.hWnd, icon->Handle());
    ASSERT_TRUE(icon->IconShown());  // IconVisible by default
    EXPECT_EQ(tray_->shown.begin()->second, "Mirvo \xE5\xB0\x8F\xE8\xAF\x8D\xE5\x85\xB8");  // UTF-8

    std::vector<std::string> events;
    icon->OnClick = [&](TObject*) { events.push_back("click"); };
    icon->OnDblClick = [&](TObject*) { events.push_back("dblclick"); };
    icon->OnMouseDown = [&](TObject*, TMouseButton b, TShiftState, int, int) {
        events.push_back("down" + std::to_string(int(b)));
    };
    icon->OnMouseUp = [&](TObject*, TMouseButton b, TShiftState, int, int) {
        events.push_back("up" + std::to_string(int(b)));
    };
    const UINT dbl = GetDoubleClickTime();
    const struct {
        const char* what;
        std::function<void()> act;
        std::vector<std::string> expected;
    } cases[] = {
        {"single left click: the click once the double-click time ran out",
         [&] {
             tray_->Click(TrayButton::Left, 1000);
             Pump();
             screen().Advance(dbl + 10);
         },
         {"down0", "up0", "click"}},
        {"double click: no single click",
         [&] {
             tray_->Click(TrayButton::Left, 5000);
             tray_->Click(TrayButton::Left, 5100);
             Pump();
             screen().Advance(dbl + 10);
         },
         {"down0", "up0", "dblclick", "up0"}},
        {"middle button", [&] { tray_->Click(TrayButton::Middle, 9000); }, {"down2", "up2"}},
        {"disabled icon: nothing",
         [&] {
             icon->Enabled = false;
             tray_->Click(TrayButton::Left, 12000);
             Pump();
             screen().Advance(dbl + 10);
             icon->Enabled = true;
         },
         {}},
    };
    for (const auto& c : cases) {
        events.clear();
        c.act();
        Pump();
        EXPECT_EQ(events, c.expected) << c.what;
    }
}

TEST_F(TrayIconTest, RightClickShowsTheSkinnedTrayMenuWhoseRestoreBringsTheWindowBack) {
    MakeMainForm();
    frame->MinimizeToTray();
    Pump();
    ASSERT_TRUE(icon->IconShown());
    EXPECT_TRUE(icon->ApplicationHidden());
    EXPECT_FALSE(IsWindowVisible(form->Handle()));
    EXPECT_FALSE(screen().IsShownNatively(form->Handle()));

    screen().MouseMove(700, 500);
    Pump();
    tray_->Click(TrayButton::Right, 1000);
    Pump();
    TbsSkinMenu& engine = frame->SkinMenu();
    ASSERT_EQ(engine.PopupCount(), 1);
    TbsSkinPopupWindow& p = *engine.PopupAt(0);
    EXPECT_TRUE(screen().IsShownNatively(p.Handle()));
    ASSERT_EQ(p.Items().size(), 3u);
    EXPECT_EQ(p.Items()[0]->MenuItem()->Name(), "TRAY_BSF_RESTORE");
    EXPECT_EQ(p.Items()[2]->MenuItem()->Name(), "TRAY_BSF_CLOSE");
    EXPECT_EQ(p.Left(), 700);  // at the pointer
    const TRect r = p.Items()[0]->ItemRect;
    screen().Click(p.Left() + r.Left + 20, p.Top() + r.Top + 5);
    Pump();
    EXPECT_EQ(engine.PopupCount(), 0);
    EXPECT_TRUE(IsWindowVisible(form->Handle()));
    EXPECT_FALSE(IsIconic(form->Handle()));
    EXPECT_FALSE(icon->IconShown());  // hidden again after the restore
    EXPECT_FALSE(Application->Minimized());
}

TEST_F(TrayIconTest, DoubleClickRestoresAndANewTrayGetsTheIconAgain) {
    MakeMainForm();
    frame->MinimizeToTray();
    Pump();
    ASSERT_TRUE(icon->IconShown());
    tray_->NewTray();  // the desktop's panel restarted
    Pump();
    EXPECT_EQ(tray_->shown.size(), 1u);
    tray_->Click(TrayButton::Left, 1000);
    tray_->Click(TrayButton::Left, 1100);
    Pump();
    EXPECT_TRUE(IsWindowVisible(form->Handle()));
    EXPECT_TRUE(screen().IsShownNatively(form->Handle()));
    EXPECT_TRUE(tray_->shown.empty());
}

TEST_F(TrayIconTest, WithoutATrayMinimisingToTheTrayMinimisesNormally) {
    tray_->available = false;
    MakeMainForm();
    frame->MinimizeToTray();
    Pump();
    EXPECT_FALSE(icon->IconShown());
    EXPECT_FALSE(icon->ApplicationHidden());
    // Still on the desktop's window list, minimised, and back with a restore.
    EXPECT_TRUE(IsIconic(form->Handle()));
    EXPECT_TRUE(screen().IsMinimizedNatively(form->Handle()));
    screen().DesktopRestore(form->Handle());
    Pump();
    EXPECT_FALSE(IsIconic(form->Handle()));
}

}  // namespace

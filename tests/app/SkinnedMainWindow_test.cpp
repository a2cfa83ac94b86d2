// The main and about windows drawn by the skin: which controls follow the
// skin and which keep the default look, the system menu, the buttons of the
// frame, and the about window over a disabled main window.

#include <fstream>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "About.h"
#include "MainWindowFixture.h"
#include "TbsSkinMenu.h"
#include "TbsSkinPopupWindow.h"

namespace {

class SkinnedMainWindowTest : public MainWindowTest {
protected:
    TFrmMain& StartWithAbout() {
        TFrmMain& form = Start();
        FrmAbout = Application->CreateForm<TFrmAbout>();
        return form;
    }
    // The captions of the system menu, top to bottom.
    static std::string MenuCaptions(const TMenuItem* items) {
        std::string list;
        for (int i = 0; i < items->Count(); ++i) list += std::string(items->Items(i)->Caption()) + "|";
        return list;
    }
    void ShowAbout(TFrmMain& form) {
        form.LoadAbout->Click();
        Pump();
    }
};

TEST_F(SkinnedMainWindowTest, BoundControlsFollowTheSkinTheGlossPaneWordBoxAndStoreKeepTheDefaultLook) {
    TFrmMain& form = StartWithAbout();
    ASSERT_FALSE(form.bsSkinData1->IsEmpty());
    EXPECT_TRUE(form.bsSkinForm1->UsesSkin());
    for (const SkinBinding* bound : std::initializer_list<const SkinBinding*>{
             form.BtTran, form.bsSkinPanel2, form.LVWord, form.EdTbPath, form.BtOpenTbDatPath, form.BtImportTbDat,
             form.btShareWdMail, form.btMail})
        EXPECT_EQ(bound->SkinData(), form.bsSkinData1);
    for (const SkinBinding* unbound :
         std::initializer_list<const SkinBinding*>{form.MemDetail, form.EdWord, form.CmbBxWord})
        EXPECT_EQ(unbound->SkinData(), nullptr);
    EXPECT_GE(form.BtTran->RecordIndex(), 0);
    EXPECT_EQ(form.MemDetail->RecordIndex(), -1);
}

TEST_F(SkinnedMainWindowTest, NeitherTheListNorTheGlossPaneShowsAScrollBarWhateverTheirContent) {
    TFrmMain& form = StartWithAbout();
    Translate("a");  // more hits than rows
    for (int i = 0; i < 200; ++i) form.MemDetail->Lines().Add("line of the gloss pane");
    Pump();
    for (TWinControl* control : std::initializer_list<TWinControl*>{form.LVWord, form.MemDetail}) {
        const LONG style = GetWindowLong(control->Handle(), GWL_STYLE);
        EXPECT_EQ(style & (WS_VSCROLL | WS_HSCROLL), 0) << control->Name();
    }
}

TEST_F(SkinnedMainWindowTest, TheSystemMenuHoldsTheWindowCommandsAndTheAboutEntry) {
    TFrmMain& form = StartWithAbout();
    const std::string captions = MenuCaptions(form.bsSkinForm1->GetSystemMenuItems());
    // Minimise, roll-up, minimise to tray, a line, about, a line, close.
    EXPECT_EQ(captions, "最小化(&n)|向上卷拢(&l)|最小化到图标(&T)|-|关于...|-|关闭(&C)|");
}

TEST_F(SkinnedMainWindowTest, TheMinimiseToTrayButtonDoesNothingWithoutATrayIcon) {
    TFrmMain& form = StartWithAbout();
    const TRect before = form.BoundsRect();
    form.bsSkinForm1->RunObjectCommand(SkinCommand::MinimizeToTray);
    Pump();
    EXPECT_TRUE(form.IsVisibleOnScreen());
    EXPECT_EQ(form.BoundsRect(), before);
}

TEST_F(SkinnedMainWindowTest, TheAboutWindowDisablesTheMainWindowUntilItIsHiddenAndComesBackInPlace) {
    TFrmMain& form = StartWithAbout();
    ShowAbout(form);
    ASSERT_TRUE(FrmAbout->IsVisibleOnScreen());
    EXPECT_FALSE(form.Enabled());
    // It took the main window's skin, and sits over the main window's middle.
    EXPECT_EQ(FrmAbout->bsSkinForm1->SkinData(), form.bsSkinData1);
    EXPECT_EQ(FrmAbout->Label1->SkinData(), form.bsSkinData1);
    EXPECT_EQ(FrmAbout->BtnOk->SkinData(), form.bsSkinData1);
    // The program runs on Linux and says so.
    ASSERT_EQ(FrmAbout->Label1->Lines().Count(), 1);
    EXPECT_EQ(FrmAbout->Label1->Lines().Strings(0), "Mirvo Mini Dictionary v1.20 for Linux");
    const TRect first = FrmAbout->BoundsRect();
    const TRect main = form.BoundsRect();
    EXPECT_NEAR(first.Left + first.Width() / 2, main.Left + main.Width() / 2, 1);
    EXPECT_NEAR(first.Top + first.Height() / 2, main.Top + main.Height() / 2, 1);

    // Clicks on the main window do nothing meanwhile.
    Type(*form.EdWord, "apple");
    ClickCentre(*form.BtTran);
    EXPECT_EQ(form.LVWord->Items().Count(), 0);

    ClickCentre(*FrmAbout->BtnOk);
    EXPECT_FALSE(FrmAbout->Visible());
    EXPECT_TRUE(form.Enabled());
    form.EdWord->SetText("apple");
    ClickCentre(*form.BtTran);
    EXPECT_GT(form.LVWord->Items().Count(), 0);

    // A second showing gives the same window in the same place; closing it
    // another way than OK enables the main window too.
    ShowAbout(form);
    EXPECT_EQ(FrmAbout->BoundsRect(), first);
    EXPECT_FALSE(form.Enabled());
    FrmAbout->Close();
    Pump();
    EXPECT_FALSE(FrmAbout->Visible());
    EXPECT_TRUE(form.Enabled());
}

TEST_F(SkinnedMainWindowTest, WithoutItsSkinTheProgramStartsWithTheBuiltInLookReportsOnceAndWorks) {
    const fs::path skin = SkinDir();
    const fs::path delivered = fs::path(MIRVO_SOURCE_DIR) / "dat" / "skin1";
    const std::vector<std::pair<const char*, std::function<void()>>> cases = {
        {"no skin folder", [] {}},
        {"a description without its sections",
         [&] {
             fs::create_directories(skin);
             std::ofstream(skin / "skin.ini") << "[VERSION]\nskinname=broken\n";
         }},
        {"a picture missing",
         [&] {
             fs::copy(delivered, skin);
             fs::remove(skin / "frame.bmp");
         }},
    };
    WithDatabase();
    for (const auto& [name, prepare] : cases) {
        SCOPED_TRACE(name);
        WithoutSkin();
        errors_.clear();
        prepare();
        TFrmMain& form = Start();
        EXPECT_EQ(errors_.size(), 1u);
        EXPECT_FALSE(form.bsSkinForm1->UsesSkin());
        EXPECT_TRUE(form.IsVisibleOnScreen());
        Translate("apple");
        ASSERT_FALSE(ListRows().empty());
        EXPECT_EQ(ListRows().front(), "apple");
        EXPECT_FALSE(Pane().empty());
        delete form_;
        form_ = nullptr;
        WordTable.Clear();
    }
}

}  // namespace

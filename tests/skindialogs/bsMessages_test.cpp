// The message contract as a box carries it out: which buttons appear with
// which captions, what Enter, Escape and closing the box answer, and the
// caption of each kind.

#include "bsMessages.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "HeadlessBackend.h"
#include "TButton.h"
#include "TbsResourceStrData.h"
#include "TbsSkinData.h"
#include "WindowSystem.h"

namespace {

TEST(MessageContract, EnterAndEscapeButtonsFollowThePrecedence) {
    struct Case {
        int buttons;
        std::optional<int> enter;
        std::optional<int> escape;
    };
    const Case cases[] = {
        {mbYes, mbYes, std::nullopt},
        {mbYesNo, mbYes, mbNo},
        {mbOK, mbOK, mbOK},
        {mbOK | mbCancel, mbOK, mbCancel},
        {mbYes | mbNo | mbCancel, mbYes, mbCancel},
        {mbAbort | mbRetry | mbIgnore, mbRetry, std::nullopt},
        {mbHelp, std::nullopt, std::nullopt},
        {0, std::nullopt, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.buttons);
        EXPECT_EQ(DefaultButtonBit(c.buttons), c.enter);
        EXPECT_EQ(CancelButtonBit(c.buttons), c.escape);
    }
}

TEST(MessageContract, ButtonsKeepTableOrderWithTheirCaptionsAndResults) {
    const TbsMessageBoxPlan plan = PlanMessageBox("t", mtWarning, mbHelp | mbCancel | mbYes | mbYesToAll, nullptr);
    ASSERT_EQ(plan.Buttons.size(), 4u);
    const char* captions[] = {"是", "取消", "全部是", "帮助"};
    const int results[] = {mrYes, mrCancel, mrYesToAll, mrNone};
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(plan.Buttons[i].Caption, captions[i]);
        EXPECT_EQ(plan.Buttons[i].Result, results[i]);
    }
    EXPECT_TRUE(plan.Buttons[0].IsDefault);
    EXPECT_TRUE(plan.Buttons[1].IsCancel);
    EXPECT_EQ(plan.Caption, "警告");
}

TEST(MessageContract, ASkinTextTableReplacesCaptionsItHolds) {
    auto skin = CreateUnowned<TbsSkinData>();
    auto strings = CreateUnowned<TbsResourceStrData>();
    TStringList lines;
    lines.Add("MSG_BTN_YES=Oui");
    lines.Add("MSG_CAP_ERROR=Erreur");
    strings->SetResStrings(lines);
    skin->SetResourceStrData(strings.get());
    const TbsMessageBoxPlan plan = PlanMessageBox("t", mtError, mbYesNo, skin.get());
    EXPECT_EQ(plan.Caption, "Erreur");
    EXPECT_EQ(plan.Buttons[0].Caption, "Oui");
    EXPECT_EQ(plan.Buttons[1].Caption, "否");
}

// A real box on the headless screen, answered by keys while it waits.
class MessageBoxTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto backend = std::make_unique<HeadlessBackend>(800, 600);
        screen_ = backend.get();
        session_ = std::make_unique<WindowSystemSession>(std::move(backend));
        app_ = std::make_unique<ApplicationSession>();
        Application->SetTitle("Mirvo英语小词典");
        message_ = CreateUnowned<TbsSkinMessage>();
    }
    void TearDown() override {
        screen_->SetIdleHandler(nullptr);
        message_.reset();
        app_.reset();
        session_.reset();
    }
    // Shows the box; when it first waits, `answer` runs; if it still waits
    // after that, the box is closed through the system.
    int Show(int kind, int buttons, std::function<void()> answer) {
        answer_ = std::move(answer);
        waits_ = 0;
        stillOpen_ = false;
        buttons_.clear();
        screen_->SetIdleHandler([this] { OnIdle(); });
        const int result = message_->ShowSkinMessage("text", kind, buttons, 0);
        screen_->SetIdleHandler(nullptr);
        return result;
    }
    void OnIdle() {
        TCustomForm* box = Screen->ActiveForm();
        ASSERT_NE(box, nullptr);
        if (waits_++ > 0) {
            stillOpen_ = true;
            PostMessage(box->Handle(), WM_CLOSE, 0, 0);
            return;
        }
        caption_ = box->Caption();
        for (int i = 0; i < box->ControlCount(); ++i)
            if (auto* b = dynamic_cast<TButton*>(box->Controls(i))) buttons_.push_back(b->Caption());
        answer_();
    }
    void Press(int vk) { screen_->KeyPress(vk); }

    HeadlessBackend* screen_ = nullptr;
    std::unique_ptr<WindowSystemSession> session_;
    std::unique_ptr<ApplicationSession> app_;
    TComponentPtr<TbsSkinMessage> message_;
    std::function<void()> answer_;
    int waits_ = 0;
    AnsiString caption_;
    std::vector<AnsiString> buttons_;
    bool stillOpen_ = false;
};

TEST_F(MessageBoxTest, YesAloneAnswersEnterIgnoresEscapeAndClosingReturnsCancel) {
    EXPECT_EQ(Show(mtInformation, mbYes, [this] { Press(VK_RETURN); }), mrYes);
    EXPECT_EQ(buttons_, (std::vector<AnsiString>{"是"}));
    EXPECT_EQ(caption_, "信息");
    EXPECT_FALSE(stillOpen_);

    EXPECT_EQ(Show(mtInformation, mbYes, [this] { Press(VK_ESCAPE); }), mrCancel);
    EXPECT_TRUE(stillOpen_);  // Escape did nothing; the box was closed afterwards
}

TEST_F(MessageBoxTest, YesNoAnswersEscapeWithNo) {
    EXPECT_EQ(Show(mtCustom, mbYesNo, [this] { Press(VK_ESCAPE); }), mrNo);
    EXPECT_EQ(caption_, "Mirvo英语小词典");
    EXPECT_EQ(buttons_, (std::vector<AnsiString>{"是", "否"}));
}

}  // namespace

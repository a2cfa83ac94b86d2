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
#include "TbsMessageForm.h"
#include "TImage.h"
#include "TbsSkinButton.h"
#include "TbsSkinStdLabel.h"
#include "TbsSkinCheckRadioBox.h"
#include "TbsResourceStrData.h"
#include "TbsSkinData.h"
#include "SkinExtraControlRecords.h"
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
            if (auto* b = dynamic_cast<TbsSkinButton*>(box->Controls(i))) buttons_.push_back(b->Caption());
        box_ = dynamic_cast<TbsMessageForm*>(box);
        ASSERT_NE(box_, nullptr);
        answer_();
    }
    void Press(int vk) { screen_->KeyPress(vk); }
    // A click in the middle of the box's button `index`.
    void ClickButton(std::size_t index) {
        ASSERT_LT(index, box_->Buttons().size());
        const TControl* b = box_->Buttons()[index];
        const TPoint p = b->ClientToScreen({b->Width() / 2, b->Height() / 2});
        screen_->Click(p.X, p.Y);
    }

    HeadlessBackend* screen_ = nullptr;
    std::unique_ptr<WindowSystemSession> session_;
    std::unique_ptr<ApplicationSession> app_;
    TComponentPtr<TbsSkinMessage> message_;
    std::function<void()> answer_;
    int waits_ = 0;
    AnsiString caption_;
    std::vector<AnsiString> buttons_;
    bool stillOpen_ = false;
    TbsMessageForm* box_ = nullptr;
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

TEST_F(MessageBoxTest, AClickAnswersWithThatButton) {
    EXPECT_EQ(Show(mtConfirmation, mbYes | mbNo | mbCancel, [this] { ClickButton(1); }), mrNo);
    EXPECT_EQ(caption_, "确认");
    EXPECT_EQ(Show(mtWarning, mbAbort | mbRetry | mbIgnore, [this] { ClickButton(2); }), mrIgnore);
    // Help answers nothing and leaves the box to be closed otherwise.
    EXPECT_EQ(Show(mtError, mbOK | mbHelp, [this] { ClickButton(1); }), mrCancel);
    EXPECT_TRUE(stillOpen_);
}

TEST_F(MessageBoxTest, TheShowAgainBoxStartsFromTheFlagAndGivesItsAnswerBack) {
    message_->ShowAgainFlag = true;
    message_->ShowAgainFlagValue = false;
    bool startedChecked = false;
    const int result = Show(mtInformation, mbOK, [this, &startedChecked] {
        TbsSkinCheckRadioBox* box = box_->CheckBox();
        ASSERT_NE(box, nullptr);
        startedChecked = box->Checked();
        EXPECT_EQ(box->Caption(), "下次不再显示这个消息");
        const TPoint p = box->ClientToScreen({8, box->Height() / 2});
        screen_->Click(p.X, p.Y);  // unchecks it
        ClickButton(0);
    });
    EXPECT_EQ(result, mrOk);
    EXPECT_TRUE(startedChecked);
    EXPECT_TRUE(message_->ShowAgainFlagValue);
}

// ---- the layout arithmetic ----

TEST(MessageFormLayout, SizesFollowTextAndButtons) {
    struct Case {
        const char* what;
        int buttons;
        int buttonHeight;
        TSize label;
        int clientWidth, clientHeight, buttonsLeft, iconTop;
    };
    const Case cases[] = {
        // One button: row 70 wide, the text decides the width (50 + 60 + 40).
        {"short text, Yes", 1, 25, {60, 16}, 150, 91, 40, 10},
        // Two buttons 10 apart: the row (150) is wider than the text.
        {"short text, Yes No", 2, 25, {20, 16}, 190, 91, 20, 10},
        {"long text", 2, 25, {500, 16}, 590, 91, 220, 10},
        // Two lines: taller, and the icon moves down to the text's middle.
        {"two lines", 1, 25, {60, 64}, 150, 139, 40, 31},
        {"skinned button height", 3, 21, {60, 16}, 270, 87, 20, 10},
        {"no buttons", 0, 25, {60, 16}, 150, 91, 75, 10},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const MessageFormLayout l = LayOutMessageForm(c.buttons, c.buttonHeight, c.label, std::nullopt);
        EXPECT_EQ(l.ClientWidth, c.clientWidth);
        EXPECT_EQ(l.ClientHeight, c.clientHeight);
        EXPECT_EQ(l.ButtonsLeft, c.buttonsLeft);
        EXPECT_EQ(l.ButtonsTop, c.clientHeight - c.buttonHeight - 10);
        EXPECT_EQ(l.Icon, (TRect{5, c.iconTop, 37, c.iconTop + 32}));
        EXPECT_FALSE(l.CheckBox.has_value());
    }
}

TEST(MessageFormLayout, TheShowAgainBoxAddsRoomAndCanWidenTheWindow) {
    const MessageFormLayout l = LayOutMessageForm(1, 25, {60, 16}, 200);
    EXPECT_EQ(l.ClientHeight, 131);
    EXPECT_EQ(l.ClientWidth, 260);  // the caption (200 + 60) is wider than the text
    EXPECT_EQ(l.ButtonsLeft, 95);
    ASSERT_TRUE(l.CheckBox.has_value());
    EXPECT_EQ(*l.CheckBox, (TRect{5, 56, 260, 86}));
}

// The real window: the label's own size drives the layout, and the parts
// land where the arithmetic puts them.
class MessageFormTest : public ::testing::Test {
protected:
    MessageFormTest() {
        auto backend = std::make_unique<HeadlessBackend>(1024, 768);
        screen_ = backend.get();
        session_ = std::make_unique<WindowSystemSession>(std::move(backend));
        app_ = std::make_unique<ApplicationSession>();
        font_.SetName("Arial");
        font_.SetHeight(14);
    }
    TComponentPtr<TbsMessageForm> Build(const AnsiString& text, int buttons, TbsSkinData* ctrlSkin = nullptr) {
        const TbsMessageBoxPlan plan = PlanMessageBox(text, mtInformation, buttons, ctrlSkin);
        TbsMessageFormSettings s;
        s.CtrlSkinData = ctrlSkin;
        s.DefaultFont = &font_;
        s.DefaultButtonFont = &font_;
        s.Text = text;
        s.IconId = IDI_ASTERISK;
        for (const auto& b : plan.Buttons) s.Buttons.push_back({b.Name, b.Caption, b.Result, b.IsDefault, b.IsCancel});
        return CreateUnowned<TbsMessageForm>(s);
    }
    HeadlessBackend* screen_ = nullptr;
    std::unique_ptr<WindowSystemSession> session_;
    std::unique_ptr<ApplicationSession> app_;
    TFont font_;
};

TEST_F(MessageFormTest, PartsStandWhereTheLayoutPutsThem) {
    auto one = Build("Short", mbYesNo);
    auto two = Build("Short\r\nAnd a second, longer line of text", mbYesNo);
    for (TbsMessageForm* f : {one.get(), two.get()}) {
        const MessageFormLayout& l = f->Layout();
        const TControl* label = f->MessageLabel();
        EXPECT_EQ(label->Left(), 50);
        EXPECT_EQ(label->Top(), 15);
        EXPECT_EQ(l.ClientWidth, std::max(150, 50 + label->Width()) + 40);
        EXPECT_EQ(f->ClientWidth(), l.ClientWidth);
        EXPECT_EQ(f->ClientHeight(), 25 + 50 + label->Height());
        ASSERT_EQ(f->Buttons().size(), 2u);
        EXPECT_EQ(f->Buttons()[0]->Name(), "Yes");
        EXPECT_EQ(f->Buttons()[0]->Left(), (l.ClientWidth - 150) / 2);
        EXPECT_EQ(f->Buttons()[1]->Left(), f->Buttons()[0]->Left() + 80);
        EXPECT_EQ(f->Buttons()[1]->Top(), f->ClientHeight() - 35);
        EXPECT_EQ(f->IconImage()->Top(), std::max(10, 15 + label->Height() / 2 - 16));
        EXPECT_FALSE(f->IconImage()->Picture().Empty());
    }
    EXPECT_EQ(two->MessageLabel()->Height(), 2 * one->MessageLabel()->Height());
    EXPECT_GT(two->IconImage()->Top(), one->IconImage()->Top());
}

TEST_F(MessageFormTest, ButtonHeightComesFromTheSkinsButtonRecord) {
    EXPECT_EQ(MessageButtonHeight(nullptr, "button"), 25);
    auto empty = CreateUnowned<TbsSkinData>();
    EXPECT_EQ(MessageButtonHeight(empty.get(), "button"), 25);
    auto skin = CreateUnowned<TbsSkinData>();
    skin->LoadIniSkin((std::string(MIRVO_SOURCE_DIR) + "/dat/skin1/skin.ini").c_str());
    ASSERT_FALSE(skin->IsEmpty());
    const int h = MessageButtonHeight(skin.get(), "button");
    EXPECT_EQ(MessageButtonHeight(skin.get(), "nosuchrecord"), 25);
    // The label record is not a button record.
    EXPECT_EQ(MessageButtonHeight(skin.get(), "stdlabel"), 25);
    auto f = Build("Skinned", mbOK, skin.get());
    EXPECT_EQ(f->Buttons()[0]->Height(), h);
    EXPECT_EQ(f->ClientHeight(), h + 50 + f->MessageLabel()->Height());
}

// The show-again box of a skinned dialog is drawn from the delivered skin's
// check box record: its checked picture while checked.
TEST_F(MessageFormTest, TheShowAgainBoxIsDrawnFromTheDeliveredSkinsCheckBoxRecord) {
    auto skin = CreateUnowned<TbsSkinData>();
    skin->LoadIniSkin((std::string(MIRVO_SOURCE_DIR) + "/dat/skin1/skin.ini").c_str());
    ASSERT_FALSE(skin->IsEmpty());
    const TbsMessageBoxPlan plan = PlanMessageBox("Skinned", mtInformation, mbOK, skin.get());
    TbsMessageFormSettings s;
    s.CtrlSkinData = skin.get();
    s.DefaultFont = &font_;
    s.DefaultButtonFont = &font_;
    s.Text = "Skinned";
    s.ShowAgainFlag = true;
    s.ShowAgainFlagValue = false;
    for (const auto& b : plan.Buttons) s.Buttons.push_back({b.Name, b.Caption, b.Result, b.IsDefault, b.IsCancel});
    auto f = CreateUnowned<TbsMessageForm>(s);
    TbsSkinCheckRadioBox* box = f->CheckBox();
    ASSERT_NE(box, nullptr);
    const int index = skin->FindControlIndex("checkradio");
    ASSERT_GE(index, 0);
    EXPECT_EQ(box->RecordIndex(), index);
    ASSERT_TRUE(box->Checked());
    const auto& rec =
        dynamic_cast<const TbsDataSkinCheckRadioControl&>(*skin->SkinControls()[std::size_t(index)]);
    // The checked picture, centred across checkimagearea, on screen.
    f->Show();
    Application->ProcessMessages();
    TBitmap image;
    const TPoint origin = box->ClientToScreen({0, 0});
    screen_->ReadScreenRect(Bounds(origin.X, origin.Y, box->Width(), box->Height()), image);
    const TBitmap& picture = *skin->ActiveBitmaps()[std::size_t(rec.pictureindex)];
    const TRect mark = rec.checkimagerect, area = rec.checkimagearea;
    const int left = area.Left + (area.Width() - mark.Width()) / 2;
    int same = 0;
    for (int top = 0; top + mark.Height() <= box->Height(); ++top) {
        int here = 0;
        for (int y = 0; y < mark.Height(); ++y)
            for (int x = 0; x < mark.Width(); ++x)
                here += image.Pixels(left + x, top + y) == picture.Pixels(mark.Left + x, mark.Top + y);
        same = std::max(same, here);
    }
    EXPECT_GT(same, mark.Width() * mark.Height() * 3 / 4);
}

}  // namespace

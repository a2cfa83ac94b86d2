// Showing a skinned form: the first show centres it on its monitor, and with
// alpha blending it fades in through the window's opacity as the desktop
// sees it.

#include "SkinFormTestSupport.h"

#include "WinStyles.h"

using namespace frametest;

namespace {

// A virtual screen that keeps every opacity the desktop was given for a
// layered window.
class OpacityRecorder : public HeadlessBackend {
public:
    OpacityRecorder() : HeadlessBackend(1024, 768) {}
    void SyncWindow(const NativeWindowState& state) override {
        if (state.layered && (opacities.empty() || opacities.back() != state.alpha)) opacities.push_back(state.alpha);
        HeadlessBackend::SyncWindow(state);
    }
    std::vector<int> opacities;
};

class ShowAndFade : public ::testing::Test {
protected:
    ShowAndFade() {
        auto backend = std::make_unique<OpacityRecorder>();
        screen_ = backend.get();
        session_ = std::make_unique<WindowSystemSession>(std::move(backend));
        app_ = std::make_unique<ApplicationSession>();
        form = Application->CreateForm<TForm>();
        form->SetBounds(100, 80, 401, 301);
        frame = CreateComponent<TbsSkinForm>(form);
        skin = CreateComponent<TbsSkinData>(form);
        skin->LoadIniSkin(ProgramSkinDir() + "skin.ini");
        frame->SetSkinData(skin);
    }
    ~ShowAndFade() override {
        app_.reset();
        session_.reset();
    }
    bool Layered() { return (GetWindowLong(form->Handle(), GWL_EXSTYLE) & WS_EX_LAYERED) != 0; }

    OpacityRecorder* screen_ = nullptr;
    TForm* form = nullptr;
    TbsSkinForm* frame = nullptr;
    TbsSkinData* skin = nullptr;

private:
    std::unique_ptr<WindowSystemSession> session_;
    std::unique_ptr<ApplicationSession> app_;
};

TEST_F(ShowAndFade, AnimationAloneFadesFromZeroToFullInStepsOfTenAndDropsTheLayeredStyle) {
    frame->AlphaBlendAnimation = true;
    form->Show();
    screen_->Advance(20);
    std::vector<int> expected;
    for (int a = 0; a < 255; a += 10) expected.push_back(a);
    expected.push_back(255);
    EXPECT_EQ(expected.size(), 27u);  // the start at 0 and 26 steps
    EXPECT_EQ(screen_->opacities, expected);
    EXPECT_FALSE(Layered());
    EXPECT_EQ(screen_->NativeState(form->Handle())->alpha, 255);
}

TEST_F(ShowAndFade, AlphaBlendStopsAtItsValueAndKeepsTheStyleUntilHidden) {
    frame->AlphaBlend = true;
    frame->AlphaBlendAnimation = true;
    frame->AlphaBlendValue = 95;
    form->Show();
    screen_->Advance(20);
    EXPECT_EQ(screen_->opacities.back(), 95);
    EXPECT_EQ(screen_->opacities.size(), 11u);  // 0, 10 ... 90, 95
    EXPECT_TRUE(Layered());
    form->Hide();
    PumpMessages();
    EXPECT_FALSE(Layered());
    // Without the animation the value is applied at once; at run time the
    // property changes the opacity straight away.
    frame->AlphaBlendAnimation = false;
    screen_->opacities.clear();
    form->Show();
    screen_->Advance(20);
    EXPECT_EQ(screen_->opacities, (std::vector<int>{0, 95}));
    frame->SetAlphaBlendValue(180);
    PumpMessages();
    EXPECT_EQ(screen_->NativeState(form->Handle())->alpha, 180);
    frame->SetAlphaBlend(false);
    EXPECT_FALSE(Layered());
}

TEST_F(ShowAndFade, TheFirstShowCentresOnTheMonitorOrItsWorkArea) {
    screen_->SetWorkArea({0, 0, 1024, 740});
    const struct {
        TbsPositionInMonitor where;
        TPoint expected;
    } cases[] = {{bspDefault, {100, 80}}, {bspScreenCenter, {312, 234}}, {bspDesktopCenter, {312, 220}}};
    for (const auto& c : cases) {
        form->Hide();
        form->SetBounds(100, 80, 401, 301);
        frame->FirstPlacementPending = true;
        frame->PositionInMonitor = c.where;
        form->Show();
        PumpMessages();
        EXPECT_EQ(form->BoundsRect().TopLeft(), c.expected) << int(c.where);
        EXPECT_FALSE(frame->FirstPlacementPending);
        // Only the first show places it.
        form->Hide();
        form->SetBounds(10, 10, 401, 301);
        form->Show();
        PumpMessages();
        EXPECT_EQ(form->BoundsRect().TopLeft(), (TPoint{10, 10}));
    }
}

}  // namespace

// A skin change reaches exactly the skinned controls bound to the changing
// skin, at any depth, whatever platform class they derive from.

#include "SkinBinding.h"

#include <gtest/gtest.h>

#include <string>

#include "SkinFormsTestSupport.h"
#include "TbsSkinData.h"

using namespace skintest;

namespace {

// Records every call into one shared log as "<name>:forget" / "<name>:apply".
template <class Base>
class Bound : public Base, public SkinBinding {
public:
    Bound(TComponent* owner, std::string name, TbsSkinData* skin, std::string* log)
        : Base(owner), name_(std::move(name)), skin_(skin), log_(log) {}
    TbsSkinData* SkinData() const override { return skin_; }
    void ForgetSkinRecord() override { *log_ += name_ + ":forget "; }
    void ApplySkin() override { *log_ += name_ + ":apply "; }

private:
    std::string name_;
    TbsSkinData* skin_;
    std::string* log_;
};

class Listener : public TComponent, public SkinChangeListener {
public:
    Listener(TComponent* owner, std::string* log) : TComponent(owner), log_(log) {}
    void BeforeChangeSkinData(TbsSkinData*) override { *log_ += "listener:before "; }
    void AfterChangeSkinData(TbsSkinData*) override { *log_ += "listener:after "; }

private:
    std::string* log_;
};

class SkinBindingTest : public SkinFormsTest {
protected:
    template <class T>
    T* Add(TWinControl* parent, std::string name, TbsSkinData* skin) {
        T* control = CreateComponent<T>(form, std::move(name), skin, &log);
        control->SetParent(parent);
        return control;
    }

    TForm* form = CreateComponent<TForm>(Application);
    TbsSkinData* mine = CreateComponent<TbsSkinData>(form);
    TbsSkinData* other = CreateComponent<TbsSkinData>(form);
    std::string log;
};

TEST_F(SkinBindingTest, ChangeReachesBoundControlsAtEveryDepthAndNoOthers) {
    auto* panel = Add<Bound<TCustomControl>>(form, "panel", mine);
    Add<Bound<TGraphicControl>>(panel, "label", mine);
    Add<Bound<TCustomControl>>(panel, "foreign", other);
    auto* plain = CreateComponent<TCustomControl>(form);
    plain->SetParent(panel);
    Add<Bound<TCustomControl>>(plain, "deep", mine);
    CreateComponent<Listener>(form, &log);

    ForgetSkinRecords(form, mine);
    NotifySkinListenersBefore(form, mine);
    EXPECT_EQ(log, "panel:forget label:forget deep:forget listener:before ");

    log.clear();
    ApplySkinToControls(form, mine);
    NotifySkinListenersAfter(form, mine);
    EXPECT_EQ(log, "panel:apply label:apply deep:apply listener:after ");

    // A change that names no skin reaches every skinned control.
    log.clear();
    ApplySkinToControls(form, nullptr);
    EXPECT_EQ(log, "panel:apply label:apply foreign:apply deep:apply ");
}

// A control may free its siblings while it applies a skin; the walk goes on
// without touching a freed control.
class Remover : public Bound<TCustomControl> {
public:
    using Bound::Bound;
    TControl* victim = nullptr;
    void ApplySkin() override {
        Bound::ApplySkin();
        FreeComponent(std::exchange(victim, nullptr));
    }
};

TEST_F(SkinBindingTest, WalkSurvivesAControlFreedOnTheWay) {
    auto* remover = Add<Remover>(form, "remover", mine);
    remover->victim = Add<Bound<TCustomControl>>(form, "victim", mine);
    Add<Bound<TCustomControl>>(form, "last", mine);
    ApplySkinToControls(form, mine);
    EXPECT_EQ(log, "remover:apply last:apply ");
}

TEST_F(SkinBindingTest, HintSourceIsFoundOnlyOnControlsThatOfferIt) {
    class WithHint : public TCustomControl, public SkinHintSource {
    public:
        using TCustomControl::TCustomControl;
        AnsiString HintTitle() const override { return "title"; }
        int HintImageIndex() const override { return 5; }
        TImageList* HintImageList() const override { return nullptr; }
    };
    auto* hinted = CreateComponent<WithHint>(form);
    auto* plain = CreateComponent<TCustomControl>(form);
    ASSERT_NE(SkinHintSourceOf(hinted), nullptr);
    EXPECT_EQ(SkinHintSourceOf(hinted)->HintImageIndex(), 5);
    EXPECT_EQ(SkinHintSourceOf(plain), nullptr);
    EXPECT_EQ(SkinBindingOf(plain), nullptr);
}

}  // namespace

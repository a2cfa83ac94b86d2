// Labels and panels: sizing to the text, alignment, transparency, bevels.

#include "FormsFixture.h"
#include "TLabel.h"
#include "TPanel.h"

namespace {

TEST_F(FormsTest, LabelAutoSizeFollowsTheTextAndKeepsTheRightEdgeWhenRightAligned) {
    TForm* form = ShowPlainForm({100, 100, 400, 300});
    auto* label = CreateComponent<TLabel>(form);
    label->SetParent(form);
    label->SetBounds(10, 10, 200, 50);
    label->SetCaption("Hi");
    const int shortWidth = label->Width();
    EXPECT_LT(shortWidth, 40);
    EXPECT_GT(label->Height(), 5);
    EXPECT_LT(label->Height(), 30);
    label->SetCaption(Utf8ToAnsi("英语小词典 dictionary"));
    EXPECT_GT(label->Width(), shortWidth * 3);
    label->SetAlignment(taRightJustify);
    const int right = label->Left() + label->Width();
    label->SetCaption("x");
    EXPECT_EQ(label->Left() + label->Width(), right);
    // Without AutoSize the bounds stay as set.
    label->SetAutoSize(false);
    label->SetBounds(10, 10, 150, 40);
    label->SetCaption("a much longer caption than before");
    EXPECT_EQ(label->Width(), 150);
    // Word wrap keeps the width and grows the height.
    label->SetAutoSize(true);
    label->SetWordWrap(true);
    label->SetWidth(60);
    label->SetCaption("one two three four five six");
    EXPECT_EQ(label->Width(), 60);
    EXPECT_GT(label->Height(), 30);
}

TEST_F(FormsTest, LabelPaintsItsBackgroundUnlessTransparent) {
    TForm* form = ShowPlainForm({100, 100, 400, 300});
    form->SetColor(clBtnFace);
    auto* label = CreateComponent<TLabel>(form);
    label->SetParent(form);
    label->SetAutoSize(false);
    label->SetBounds(10, 10, 100, 20);
    label->SetParentColor(false);
    label->SetColor(clYellow);
    label->SetCaption("");
    EXPECT_EQ(Pixel(100 + 50, 100 + 15), clYellow);
    label->SetTransparent(true);
    EXPECT_EQ(Pixel(100 + 50, 100 + 15), ColorToRGB(clBtnFace));
}

TEST_F(FormsTest, PanelAlignsChildrenInsideItsBevelsAndDrawsThem) {
    TForm* form = ShowPlainForm({100, 100, 400, 300});
    auto* panel = CreateComponent<TPanel>(form);
    panel->SetParent(form);
    panel->SetBounds(10, 10, 200, 100);
    panel->SetBevelInner(bvLowered);
    panel->SetBorderStyle(bsSingle);
    auto* inner = CreateComponent<TPanel>(panel);
    inner->SetParent(panel);
    inner->SetBevelOuter(bvNone);
    inner->SetAlign(alClient);
    // Frame 1 + outer bevel 1 + inner bevel 1.
    EXPECT_EQ(inner->BoundsRect(), (TRect{3, 3, 197, 97}));
    EXPECT_EQ(Pixel(110, 110), ColorToRGB(cl3DDkShadow));       // the frame
    EXPECT_EQ(Pixel(111, 111), ColorToRGB(clBtnHighlight));     // raised outer bevel
    EXPECT_EQ(Pixel(112, 112), ColorToRGB(clBtnShadow));        // lowered inner bevel
}

}  // namespace

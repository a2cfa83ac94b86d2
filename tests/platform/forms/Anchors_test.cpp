// Anchors: controls that follow a resize of their parent, windowed and
// windowless, directly on a form and inside an aligned panel.

#include "FormsFixture.h"
#include "TPanel.h"

namespace {

class Block : public TGraphicControl {
public:
    using TGraphicControl::TGraphicControl;
};

TRect Rect(const TControl* c) { return c->BoundsRect(); }

TEST_F(FormsTest, AnchoredControlsKeepTheirDistancesWhenTheParentIsResized) {
    struct Case {
        TAnchors anchors;
        TRect before;  // in a 400 x 300 client
        TRect after;   // in a 500 x 250 client
    };
    const Case cases[] = {
        {akLeft | akTop, {10, 10, 60, 30}, {10, 10, 60, 30}},
        {akRight | akTop, {320, 10, 390, 35}, {420, 10, 490, 35}},  // keeps 10 to the right edge
        {akLeft | akRight | akTop, {74, 10, 240, 31}, {74, 10, 340, 31}},  // stretches
        {akLeft | akBottom, {10, 250, 80, 290}, {10, 200, 80, 240}},
        {akLeft | akTop | akRight | akBottom, {20, 40, 380, 240}, {20, 40, 480, 190}},
        {akRight | akBottom, {320, 265, 390, 290}, {420, 215, 490, 240}},
        {akTop, {180, 10, 220, 20}, {230, 10, 270, 20}},  // centre stays in proportion
    };
    TForm* form = ShowPlainForm({100, 100, 500, 400});
    std::vector<TControl*> controls;
    for (const Case& k : cases) {
        // Every case twice: as a window and as a windowless control.
        for (int windowed = 0; windowed < 2; ++windowed) {
            TControl* c = windowed ? static_cast<TControl*>(CreateComponent<TPanel>(form))
                                   : CreateComponent<Block>(form);
            c->SetParent(form);
            c->SetBoundsRect(k.before);
            c->SetAnchors(k.anchors);
            controls.push_back(c);
        }
    }
    Pump();
    form->SetBounds(100, 100, 500, 250);
    Pump();
    for (std::size_t i = 0; i < controls.size(); ++i) EXPECT_EQ(Rect(controls[i]), cases[i / 2].after) << i;
    // Too small for the stretched ones: they shrink to nothing and come back whole.
    form->SetBounds(100, 100, 100, 100);
    form->SetBounds(100, 100, 400, 300);
    Pump();
    for (std::size_t i = 0; i < controls.size(); ++i) EXPECT_EQ(Rect(controls[i]), cases[i / 2].before) << i;
}

TEST_F(FormsTest, AnchorsMeasureFromWhenTheyOrTheBoundsWereLastSet) {
    TForm* form = ShowPlainForm({100, 100, 400, 300});
    // The bottom panel of a dialog: aligned, holding a button kept at the right.
    auto* panel = CreateComponent<TPanel>(form);
    panel->SetParent(form);
    panel->SetAlign(alBottom);
    panel->SetHeight(80);
    auto* button = CreateComponent<TPanel>(form);
    button->SetParent(panel);
    button->SetBounds(panel->ClientWidth() - 80, 10, 70, 25);
    button->SetAnchors(akRight | akTop);
    auto* late = CreateComponent<Block>(form);
    late->SetParent(form);
    late->SetBounds(300, 10, 50, 20);
    Pump();
    form->SetBounds(100, 100, 600, 300);  // `late` has no anchors yet: it stays
    Pump();
    EXPECT_EQ(button->Left(), panel->ClientWidth() - 80);
    EXPECT_EQ(late->Left(), 300);
    late->SetAnchors(akRight | akTop);  // from now on 250 from the right edge
    form->SetBounds(100, 100, 700, 300);
    EXPECT_EQ(late->Left(), 400);
    late->SetLeft(100);  // moving it sets a new distance
    form->SetBounds(100, 100, 650, 300);
    EXPECT_EQ(late->Left(), 50);
    EXPECT_EQ(button->Left(), panel->ClientWidth() - 80);
}

}  // namespace

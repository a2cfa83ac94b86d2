// What a transparent control shows of its parent: the parent's background
// and own painting and the windowless siblings beneath it, nothing above it.

#include "SkinParentBackground.h"

#include <gtest/gtest.h>

#include "SkinFormsTestSupport.h"

using namespace skintest;

namespace {

// A windowed parent that erases in its colour and paints a blue square at
// (10, 10)-(30, 30); it notes whether it was marked as painting a copy.
class Backdrop : public TCustomControl {
public:
    explicit Backdrop(TComponent* owner) : TCustomControl(owner) { SetColor(clRed); }
    bool sawPaintCopy = false;
    int paints = 0;

protected:
    void Paint() override {
        ++paints;
        sawPaintCopy = (ControlState & csPaintCopy) != 0;
        Canvas().Brush.Color = clBlue;
        Canvas().FillRect({10, 10, 30, 30});
    }
};

// A windowless control filled with its colour.
class Patch : public TGraphicControl {
public:
    Patch(TComponent* owner, TColor color) : TGraphicControl(owner) { SetColor(color); }

protected:
    void Paint() override {
        Canvas().Brush.Color = Color();
        Canvas().FillRect(ClientRect());
    }
};

// A windowed control filled with its colour.
class Pane : public TCustomControl {
public:
    Pane(TComponent* owner, TColor color) : TCustomControl(owner) { SetColor(color); }

protected:
    void Paint() override {
        Canvas().Brush.Color = Color();
        Canvas().FillRect(ClientRect());
    }
};

template <class T, class... Args>
T* Place(TWinControl* parent, int left, int top, int width, int height, Args... args) {
    T* control = CreateComponent<T>(parent, args...);
    control->SetBounds(left, top, width, height);
    control->SetParent(parent);
    return control;
}

class ParentBackground : public SkinFormsTest {
protected:
    TForm* form = Application->CreateForm<TForm>();
};

TEST_F(ParentBackground, ShowsTheParentAndTheWindowlessSiblingsBelowOnly) {
    auto* backdrop = Place<Backdrop>(form, 0, 0, 100, 80);
    Place<Patch>(backdrop, 50, 25, 20, 20, clLime);                     // below, overlapping
    Place<Patch>(backdrop, 22, 22, 5, 5, clYellow)->SetVisible(false);  // below, hidden
    Place<Pane>(backdrop, 25, 40, 5, 5, clFuchsia);                     // below, windowed
    auto* glass = Place<Patch>(backdrop, 20, 20, 40, 30, clWhite);
    Place<Patch>(backdrop, 21, 21, 5, 5, clAqua);  // above

    TBitmap target(40, 30);
    target.Fill(clWhite);
    const int savedLevel = target.Canvas().SaveDC();
    PaintParentBackground(*glass, target.Canvas());

    // In the glass's coordinates the blue square lies at (-10, -10)-(10, 10)
    // and the lime patch at (30, 5)-(50, 25).
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 40; ++x) {
            TColor expected = clRed;
            if (x < 10 && y < 10) expected = clBlue;
            else if (x >= 30 && y >= 5 && y < 25) expected = clLime;
            ASSERT_EQ(target.Pixels(x, y), expected) << x << "," << y;
        }
    }
    EXPECT_EQ(backdrop->paints, 1);
    EXPECT_TRUE(backdrop->sawPaintCopy);
    EXPECT_EQ(backdrop->ControlState & csPaintCopy, 0u) << "the mark is cleared afterwards";
    // The canvas is handed back as it came.
    EXPECT_EQ(target.Canvas().Origin(), TPoint(0, 0));
    EXPECT_EQ(target.Canvas().ClipRect(), TRect(0, 0, 40, 30));
    EXPECT_TRUE(target.Canvas().RestoreDC(savedLevel)) << "the caller's saved state is still there";
}

TEST_F(ParentBackground, AFormParentOnlyErasesAndAControlWithoutParentPaintsNothing) {
    form->SetColor(clYellow);
    int formPaints = 0;
    form->OnPaint = [&](TObject*) { ++formPaints; };
    auto* glass = Place<Patch>(form, 5, 5, 10, 10, clWhite);
    TBitmap target(10, 10);
    target.Fill(clWhite);
    PaintParentBackground(*glass, target.Canvas());
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x) ASSERT_EQ(target.Pixels(x, y), clYellow) << x << "," << y;
    EXPECT_EQ(formPaints, 0);

    auto* loose = CreateComponent<Patch>(form, clLime);
    loose->SetBounds(0, 0, 10, 10);
    target.Fill(clWhite);
    PaintParentBackground(*loose, target.Canvas());
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x) ASSERT_EQ(target.Pixels(x, y), clWhite) << x << "," << y;
}

}  // namespace

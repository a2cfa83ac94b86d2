// The skinned panel and labels, checked through what they put on screen.

#include "SkinCtrlsTestSupport.h"
#include "SkinFrameParts.h"
#include "SkinGeometry.h"
#include "TbsSkinPanel.h"
#include "TbsSkinStdLabel.h"
#include "TbsSkinTextLabel.h"

using namespace ctrltest;

namespace {

class SkinPanelTest : public SkinCtrlsTest {
protected:
    TbsSkinPanel* AddGroupBox(TWinControl* parent, TbsSkinData* skin) {
        auto* p = CreateComponent<TbsSkinPanel>(parent);
        p->SetParent(parent);
        p->SetSkinDataName("groupbox");
        p->SetCaptionMode(true);
        p->SetCaption("Words");
        p->SetBounds(10, 10, 180, 200);
        p->SetSkinData(skin);
        return p;
    }
    TbsSkinPanel* AddFiller(TbsSkinPanel* box) {
        auto* inside = CreateComponent<TbsSkinPanel>(box);
        inside->SetParent(box);
        inside->SetAlign(alClient);
        return inside;
    }
};

TEST_F(SkinPanelTest, TheGroupBoxPlacesItsContentsInsideItsFrameAndCaption) {
    TForm* form = ShowForm();
    TbsSkinPanel* plain = AddGroupBox(form, nullptr);
    TbsSkinPanel* inside = AddFiller(plain);
    EXPECT_EQ(inside->BoundsRect(), (TRect{1, 23, 179, 199}));

    TbsSkinData* skin = LoadSkin(form, DeliveredSkinIni());
    TbsSkinPanel* skinned = AddGroupBox(form, skin);
    skinned->SetLeft(200);
    TbsSkinPanel* filled = AddFiller(skinned);
    EXPECT_EQ(filled->BoundsRect(), skinned->SizedClientRect());
    EXPECT_EQ(filled->BoundsRect(), (TRect{1, 23, 179, 199}));

    // The frame's sides are the skin's, composed at the box's size.
    const auto& rec = *static_cast<const TbsDataSkinPanelControl*>(
        skin->SkinControls()[std::size_t(skin->FindControlIndex("groupbox"))].get());
    SkinFramePartBitmaps parts;
    const SkinCornerPoints pts = CornerPointsOf(rec);
    ComposeFrameParts(pts, rec.skinrect, *skin->ActiveBitmaps()[std::size_t(rec.pictureindex)], 180, 200,
                      SizedCornerPoints(pts, {60, 60}, {180, 200}), StretchFlagsOf(rec), parts);
    TBitmap shot;
    Shot(*skinned, shot);
    for (int y = 0; y < parts.Left.Height(); y += 7)
        for (int x = 0; x < parts.Left.Width(); ++x)
            ASSERT_EQ(shot.Pixels(x, parts.Top.Height() + y), parts.Left.Pixels(x, y)) << x << "," << y;
    // The caption is written in the record's colour inside its rectangle.
    int captionPixels = 0;
    for (int y = rec.captionrect.Top; y < rec.captionrect.Bottom; ++y)
        for (int x = rec.captionrect.Left; x < 180 - 1; ++x) captionPixels += shot.Pixels(x, y) == rec.fontcolor;
    EXPECT_GT(captionPixels, 10);
}

TEST_F(SkinPanelTest, ClickingTheCheckInTheCaptionDisablesTheChildren) {
    TForm* form = ShowForm();
    TbsSkinPanel* box = AddGroupBox(form, nullptr);
    box->SetCheckedMode(true);
    box->SetChecked(true);
    TbsSkinPanel* inside = AddFiller(box);
    int told = 0;
    box->OnChecked = [&](TObject*) { ++told; };
    const TColor checkedLook = PixelOf(*box, 9, 12);
    const TPoint p = ScreenPoint(*box, 10, 10);
    screen().Click(p.X, p.Y);
    Pump();
    EXPECT_FALSE(box->Checked());
    EXPECT_FALSE(inside->Enabled());
    EXPECT_EQ(told, 1);
    EXPECT_NE(PixelOf(*box, 9, 12), checkedLook);
    screen().Click(p.X, p.Y);
    Pump();
    EXPECT_TRUE(inside->Enabled());
}

TEST_F(SkinPanelTest, RollingUpLeavesTheFrameWithoutItsClientPartAndRollingDownRestoresIt) {
    TForm* form = ShowForm();
    TbsSkinData* skin = LoadSkin(form, DeliveredSkinIni());
    TbsSkinPanel* box = AddGroupBox(form, skin);
    TbsSkinPanel* inside = AddFiller(box);
    box->SetRollUpMode(true);
    box->SetRollUpState(true);
    // Groupbox: 23 pixels above the client part, 1 below it.
    EXPECT_EQ(box->Height(), 24);
    EXPECT_EQ(box->RealHeight(), 200);
    EXPECT_FALSE(inside->Visible());
    box->SetRollUpState(false);
    EXPECT_EQ(box->Height(), 200);
    EXPECT_EQ(box->RealHeight(), -1);
    EXPECT_TRUE(inside->Visible());

    // Unskinned, the caption bar and one line remain.
    TbsSkinPanel* plain = AddGroupBox(form, nullptr);
    plain->SetRollUpMode(true);
    plain->SetRollUpState(true);
    EXPECT_EQ(plain->Height(), 23);
}

TEST_F(SkinPanelTest, ATransparentPanelShowsItsParentsBackground) {
    TForm* form = ShowForm();
    TbsSkinData* skin = LoadSkin(form, DeliveredSkinIni());
    auto* back = CreateComponent<TbsSkinPanel>(form);
    back->SetParent(form);
    back->SetBorderStyle(bvNone);
    back->SetBounds(0, 0, 300, 200);
    back->SetSkinData(skin);  // "panel": a stretched frame skin
    TBitmap before;
    Shot(*back, before);
    auto* glass = CreateComponent<TbsSkinPanel>(back);
    glass->SetParent(back);
    glass->SetBorderStyle(bvNone);
    glass->SetTransparentMode(true);
    glass->SetBounds(40, 30, 120, 80);
    glass->SetSkinData(skin);
    TBitmap shot;
    Shot(*glass, shot);
    for (int y = 0; y < 80; y += 9)
        for (int x = 0; x < 120; x += 9) ASSERT_EQ(shot.Pixels(x, y), before.Pixels(40 + x, 30 + y)) << x << "," << y;
}

TEST_F(SkinPanelTest, ADisabledLabelShowsEmbossedText) {
    TForm* form = ShowForm();
    form->SetColor(clBlack);
    auto* label = CreateComponent<TbsSkinStdLabel>(form);
    label->SetParent(form);
    label->SetLeft(10);
    label->SetTop(10);
    TFont big = label->DefaultFont();
    big.SetHeight(48);
    label->SetDefaultFont(big);
    label->SetCaption("I");
    label->SetEnabled(false);
    TBitmap shot;
    Shot(*label, shot);
    // The highlight copy reaches one pixel further right and down than the
    // shadow copy drawn over it.
    TPoint shadowMax{-1, -1}, highlightMax{-1, -1};
    for (int y = 0; y < shot.Height(); ++y)
        for (int x = 0; x < shot.Width(); ++x) {
            const TColor p = shot.Pixels(x, y);
            TPoint* m = p == ColorToRGB(clBtnShadow) ? &shadowMax : p == ColorToRGB(clBtnHighlight) ? &highlightMax : nullptr;
            if (m) *m = {std::max(m->X, x), std::max(m->Y, y)};
        }
    ASSERT_GE(shadowMax.X, 0);
    EXPECT_EQ(highlightMax.X, shadowMax.X + 1);
    EXPECT_EQ(highlightMax.Y, shadowMax.Y + 1);
}

TEST_F(SkinPanelTest, LabelsSizeThemselvesWithTheirOwnFonts) {
    TForm* form = ShowForm();
    auto* text = CreateComponent<TbsSkinTextLabel>(form);
    text->SetParent(form);
    text->Lines().Add("one");
    text->Lines().Add("two");
    text->Lines().Add("three");
    TCanvas measure;
    measure.Font.Assign(text->DefaultFont());
    EXPECT_EQ(text->Height(), 3 * measure.TextHeight("A"));

    // Without skin, UseSkinFont means DefaultFont, not Font.
    auto* label = CreateComponent<TbsSkinStdLabel>(form);
    label->SetParent(form);
    label->Font().SetHeight(40);
    label->SetCaption("Width");
    EXPECT_EQ(label->Width(), measure.TextWidth("Width"));
    label->SetUseSkinFont(false);
    measure.Font.Assign(label->Font());
    EXPECT_EQ(label->Width(), measure.TextWidth("Width"));
}

}  // namespace

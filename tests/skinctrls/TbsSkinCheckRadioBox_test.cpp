// The skinned check box: the record it binds to by default, and which of the
// record's mark pictures it shows for each state, under the pointer and
// disabled.

#include "SkinCtrlsTestSupport.h"
#include "SkinGeometry.h"
#include "TbsSkinCheckRadioBox.h"

using namespace ctrltest;

namespace {

// Every mark picture 14 x 14 at its own place in the pattern picture, so the
// pixels on screen tell which one was drawn.
const char* const kRecord =
    "[checkradio]\npictureindex=0\nskinrect=0,0,60,20\nactiveskinrect=0,50,60,70\nlefttoppoint=20,0\n"
    "righttoppoint=58,0\nclientrect=22,0,58,20\ncheckimagearea=0,0,20,20\ntextarea=22,0,58,20\n"
    "fontcolor=0\nactivefontcolor=255\nunenabledfontcolor=65280\n"
    "checkimagerect=0,20,14,34\nuncheckimagerect=14,20,28,34\nactivecheckimagerect=28,20,42,34\n"
    "activeuncheckimagerect=42,20,56,34\nunenabledcheckimagerect=56,20,70,34\n"
    "unenableduncheckimagerect=70,20,84,34\ngrayedcheckimagerect=84,20,98,34\n"
    "activegrayedcheckimagerect=98,20,112,34\n";

class SkinCheckBoxTest : public SkinCtrlsTest {};

TEST_F(SkinCheckBoxTest, EachStateShowsItsMarkPictureFromTheCheckRadioRecord) {
    ScratchSkin scratch;
    TForm* form = ShowForm();
    TbsSkinData* skin = LoadSkin(form, scratch.Write("0=checkradio:checkradio", 1, kRecord));
    auto* box = CreateComponent<TbsSkinCheckRadioBox>(form);
    box->SetParent(form);
    box->SetBounds(20, 20, 120, 20);
    box->SetCaption("Again");
    box->SetSkinData(skin);
    Pump();
    ASSERT_GE(box->RecordIndex(), 0) << "bound to the record named checkradio";
    ASSERT_EQ(box->Height(), 20);

    const TPoint away = {5, 5};
    const TPoint over = ScreenPoint(*box, 40, 10);
    const struct {
        const char* what;
        TCheckBoxState state;
        bool hot, enabled;
        TRect picture;
    } cases[] = {
        {"unchecked", cbUnchecked, false, true, {14, 20, 28, 34}},
        {"checked", cbChecked, false, true, {0, 20, 14, 34}},
        {"grayed", cbGrayed, false, true, {84, 20, 98, 34}},
        {"unchecked, pointer over it", cbUnchecked, true, true, {42, 20, 56, 34}},
        {"checked, pointer over it", cbChecked, true, true, {28, 20, 42, 34}},
        {"grayed, pointer over it", cbGrayed, true, true, {98, 20, 112, 34}},
        {"unchecked, disabled", cbUnchecked, false, false, {70, 20, 84, 34}},
        {"checked, disabled", cbChecked, false, false, {56, 20, 70, 34}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        box->SetEnabled(c.enabled);
        box->SetState(c.state);
        EXPECT_EQ(box->Checked(), c.state == cbChecked);
        const TPoint to = c.hot ? over : away;
        screen().MouseMove(to.X, to.Y);
        Pump();
        box->Invalidate();
        TBitmap shot;
        Shot(*box, shot);
        // The mark is centred in checkimagearea: (20 - 14) / 2 = 3. Its
        // bottom-left pixel is its transparent colour.
        int differing = 0;
        for (int y = 0; y < 14; ++y)
            for (int x = 0; x < 14; ++x) {
                if (x == 0 && y == 13) continue;
                differing += shot.Pixels(3 + x, 3 + y) != scratch.Picture().Pixels(c.picture.Left + x, c.picture.Top + y);
            }
        EXPECT_EQ(differing, 0);
        // The body: activeskinrect under the pointer, else skinrect (a pixel
        // of the fixed left piece, clear of the mark).
        const TPoint body = c.hot && c.enabled ? TPoint{19, 60} : TPoint{19, 10};
        EXPECT_EQ(shot.Pixels(19, 10), scratch.Picture().Pixels(body.X, body.Y));
    }
}

}  // namespace

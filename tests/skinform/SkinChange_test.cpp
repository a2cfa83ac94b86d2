// A skin change reaching a shown skinned form: the frame is rebuilt, the
// form's skinned controls forget and re-apply their records, and the events
// come in order; the cursor follows the frame's hit codes.

#include "SkinFormTestSupport.h"

#include "SkinBinding.h"

using namespace frametest;

namespace {

// A control bound to a skin data component, counting what the frame tells it.
class BoundPanel : public TCustomControl, public SkinBinding {
public:
    BoundPanel(TComponent* owner, TbsSkinData* skin) : TCustomControl(owner), skin_(skin) {}
    TbsSkinData* SkinData() const override { return skin_; }
    void ForgetSkinRecord() override { calls += "forget;"; }
    void ApplySkin() override { calls += "apply;"; }
    std::string calls;

private:
    TbsSkinData* skin_;
};

class SkinChange : public FrameTest {};

TEST_F(SkinChange, ReloadingRebuildsTheFrameAndTellsTheControls) {
    MakeForm(551, 391);
    auto* panel = CreateComponent<BoundPanel>(form, skin);
    panel->SetParent(form);
    ShowAndPump();
    std::string events;
    frame->OnBeforeChangeSkinData = [&](TObject*) { events += "before;"; };
    frame->OnChangeSkinData = [&](TObject*) { events += "change;"; };
    frame->OnAfterChangeSkinData = [&](TObject*) { events += "after;"; };

    skin->LoadIniSkin(ProgramSkinDir() + "skin.ini");
    PumpMessages();
    EXPECT_EQ(events, "before;change;after;");
    EXPECT_EQ(panel->calls, "forget;apply;");
    EXPECT_TRUE(frame->UsesSkin());
    ASSERT_NE(frame->FindObject("closebutton"), nullptr);
    EXPECT_EQ(frame->FindObject("closebutton")->ObjectRect.Right, 547);

    // A skin that fails to load leaves an empty skin: the built-in frame, a
    // rectangular window.
    ScratchDir dir;
    Application->OnException = [](TObject*, const Exception&) {};
    skin->LoadIniSkin(dir.CopyProgramSkin([](std::string& ini) { Replace(ini, "mask=framemask.bmp", "mask=gone.bmp"); }));
    PumpMessages();
    EXPECT_FALSE(frame->UsesSkin());
    TRegion region;
    ASSERT_NE(GetWindowRgn(form->Handle(), region), RGN_ERROR);
    EXPECT_EQ(region, TRegion(TRect{0, 0, form->Width(), form->Height()}));
    EXPECT_EQ(HitAt(100, 10), HTCAPTION);
}

TEST_F(SkinChange, TheCursorFollowsTheBorders) {
    MakeForm(551, 391);
    ShowAndPump();
    const struct {
        int x, y, cursor;
    } cases[] = {{1, 200, IDC_SIZEWE}, {200, 389, IDC_SIZENS}, {549, 389, IDC_SIZENWSE}, {300, 15, IDC_ARROW}};
    for (const auto& c : cases) {
        screen().MouseMove(form->Left() + c.x, form->Top() + c.y);
        PumpMessages();
        EXPECT_EQ(screen().PointerShape(), c.cursor) << c.x << "," << c.y;
    }
}

}  // namespace

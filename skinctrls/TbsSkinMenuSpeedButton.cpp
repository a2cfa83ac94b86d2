#include "TbsSkinMenuSpeedButton.h"

#include <algorithm>

#include "SkinGeometry.h"
#include "SkinGlyphs.h"
#include "SkinMessages.h"
#include "SkinPieceCopy.h"
#include "TbsSkinData.h"
#include "TbsSkinForm.h"
#include "TbsSkinPopupMenu.h"

namespace {
// Without a track image, the marker gets this much room on each side.
constexpr int kMarkerPadding = 4;
// The drop-down part without skin: a separating line and an arrow.
constexpr int kDefaultTrackWidth = 14;
}  // namespace

TbsSkinMenuSpeedButton::TbsSkinMenuSpeedButton(TComponent* AOwner) : TbsSkinSpeedButton(AOwner) {
    SetSkinDataName("toolmenubutton");
}

TbsSkinMenuSpeedButton::~TbsSkinMenuSpeedButton() = default;

void TbsSkinMenuSpeedButton::SetSkinPopupMenu(TbsSkinPopupMenu* value) {
    if (value == skinPopupMenu_) return;
    if (skinPopupMenu_) skinPopupMenu_->RemoveFreeNotification(this);
    skinPopupMenu_ = value;
    if (value) value->FreeNotification(this);
}

void TbsSkinMenuSpeedButton::Notification(TComponent* AComponent, TOperation Operation) {
    TbsSkinSpeedButton::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == skinPopupMenu_) skinPopupMenu_ = nullptr;
}

// ---- geometry ------------------------------------------------------------------------------------

int TbsSkinMenuSpeedButton::TrackWidth() const {
    int w = kDefaultTrackWidth;
    if (HasButtonRecord()) {
        if (!RectIsEmpty(trackbuttonrect_)) w = WidthOf(trackbuttonrect_);
        else if (!RectIsEmpty(ButtonRecord().menumarkerrect))
            w = WidthOf(ButtonRecord().menumarkerrect) + 2 * kMarkerPadding;
    }
    return std::clamp(w, 0, Width());
}

TRect TbsSkinMenuSpeedButton::TrackButtonRect() const {
    return {Width() - TrackWidth(), 0, Width(), Height()};
}

TRect TbsSkinMenuSpeedButton::ContentRect(const TRect& rect) const {
    TRect r = rect;
    r.Right = std::max(r.Left, std::min(r.Right, TrackButtonRect().Left));
    return r;
}

void TbsSkinMenuSpeedButton::BindSkinRecord() {
    TbsSkinSpeedButton::BindSkinRecord();
    const auto* menuRecord =
        recordIndex_ != -1 ? dynamic_cast<const TbsDataSkinMenuButtonControl*>(BoundRecord()) : nullptr;
    trackbuttonrect_ = menuRecord ? menuRecord->trackbuttonrect : TRect{};
}

// ---- drawing -------------------------------------------------------------------------------------

void TbsSkinMenuSpeedButton::PaintSkinImage(TBitmap& bitmap) {
    TbsSkinSpeedButton::PaintSkinImage(bitmap);
    if (HasButtonRecord()) DrawSkinnedTrack(bitmap);
    else DrawDefaultTrack(bitmap);
}

void TbsSkinMenuSpeedButton::PaintDefaultImage(TBitmap& bitmap) {
    TbsSkinSpeedButton::PaintDefaultImage(bitmap);
    DrawDefaultTrack(bitmap);
}

void TbsSkinMenuSpeedButton::DrawSkinnedTrack(TBitmap& bitmap) {
    const TRect track = TrackButtonRect();
    const TBitmap* picture = geometry_.SkinPicture;
    if (!picture || RectIsEmpty(track)) return;
    const bool down = Down() || menuOpen_;
    const bool idle = !down && !MouseIn();
    if (!RectIsEmpty(trackbuttonrect_) && !(Transparent() && idle))
        StretchSkinPiece(bitmap, track, *picture, trackbuttonrect_);
    const TbsDataSkinButtonControl& r = ButtonRecord();
    TRect marker = down ? r.menumarkerdownrect : MouseIn() ? r.menumarkeractiverect : r.menumarkerrect;
    if (Transparent() && idle && !RectIsEmpty(r.menumarkerflatrect)) marker = r.menumarkerflatrect;
    if (RectIsEmpty(marker)) marker = r.menumarkerrect;
    if (RectIsEmpty(marker)) {
        DrawDirectionArrow(bitmap.Canvas(), track, SkinArrowKind::Down,
                           Enabled() ? r.fontcolor : r.disabledfontcolor);
        return;
    }
    TBitmap image(WidthOf(marker), HeightOf(marker));
    CopySkinPiece(image, 0, 0, *picture, marker);
    image.SetTransparentColor(r.menumarkertransparentcolor);
    image.SetTransparent(true);
    bitmap.Canvas().Draw(track.Left + (WidthOf(track) - image.Width()) / 2,
                         track.Top + (HeightOf(track) - image.Height()) / 2, image);
}

void TbsSkinMenuSpeedButton::DrawDefaultTrack(TBitmap& bitmap) {
    const TRect track = TrackButtonRect();
    if (RectIsEmpty(track)) return;
    TCanvas& c = bitmap.Canvas();
    const bool down = Down() || menuOpen_;
    if (down || MouseIn() || !Transparent()) {
        // The line that sets the drop-down part off, inside the button's frame.
        c.Brush.Style = bsSolid;
        c.Brush.Color = down || MouseIn() ? TColor(0x800000) : clBtnShadow;
        c.FillRect({track.Left, 3, track.Left + 1, std::max(3, Height() - 3)});
    }
    DrawDirectionArrow(c, {track.Left + 1, 0, track.Right, track.Bottom}, SkinArrowKind::Down,
                       Enabled() ? clBtnText : clBtnShadow);
}

// ---- the menu ------------------------------------------------------------------------------------

void TbsSkinMenuSpeedButton::ShowMenu() {
    if (!skinPopupMenu_ || menuOpen_) return;
    menuOpen_ = true;
    if (!Down()) SetDown(true);
    else Invalidate();
    const TPoint tl = ClientToScreen({0, 0});
    const TRect under{tl.X, tl.Y, tl.X + Width(), tl.Y + Height()};
    if (skinPopupMenu_->FindSkinForm()) {
        // The form's menu engine runs the menu in the message loop and tells
        // the button when it closed (SKINMSG_MENUCLOSED).
        skinPopupMenu_->PopupForControl(this, under, false);
    } else {
        // No frame component to show it skinned: the plain popup, which
        // returns once the menu has closed.
        skinPopupMenu_->TPopupMenu::Popup(under.Left, under.Bottom);
        if (skinPopupMenu_ && skinPopupMenu_->OnMenuClose) skinPopupMenu_->OnMenuClose(skinPopupMenu_);
        MenuClosed();
    }
}

void TbsSkinMenuSpeedButton::MenuClosed() {
    if (!menuOpen_) return;
    menuOpen_ = false;
    // The press that closed the menu lands on this button next: it only
    // closes the menu, it does not open it again.
    if ((GetKeyState(VK_LBUTTON) & 0x8000) && Parent()) {
        const TPoint at = ScreenToClient(GetMessagePos());
        pressClosedMenu_ = PtInRect(ClientRect(), at);
        closingPressTime_ = GetMessageTime();
    }
    SetDown(false);
    if (OnMenuClose) OnMenuClose(this);
}

void TbsSkinMenuSpeedButton::DoButtonClick() {
    // The accelerator of a button without a click of its own opens its menu.
    if (!HasClickOfItsOwn() && skinPopupMenu_) ShowMenu();
    else TbsSkinSpeedButton::DoButtonClick();
}

void TbsSkinMenuSpeedButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (Button == mbLeft) {
        const bool closedByThisPress = pressClosedMenu_ && GetMessageTime() == closingPressTime_;
        pressClosedMenu_ = false;
        if (closedByThisPress) {
            pressOpenedMenu_ = true;  // its release must not click either
            TbsGraphicSkinCustomControl::MouseDown(Button, Shift, X, Y);
            return;
        }
        if (skinPopupMenu_ && (X >= TrackButtonRect().Left || !HasClickOfItsOwn())) {
            pressOpenedMenu_ = true;
            TbsGraphicSkinCustomControl::MouseDown(Button, Shift, X, Y);
            ShowMenu();
            return;
        }
    }
    TbsSkinSpeedButton::MouseDown(Button, Shift, X, Y);
}

void TbsSkinMenuSpeedButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (Button == mbLeft && pressOpenedMenu_) {
        pressOpenedMenu_ = false;
        if (Visible()) TbsGraphicSkinCustomControl::MouseUp(Button, Shift, X, Y);
        return;
    }
    TbsSkinSpeedButton::MouseUp(Button, Shift, X, Y);
}

void TbsSkinMenuSpeedButton::WndProc(TMessage& m) {
    if (m.Msg == SKINMSG_MENUCLOSED) {
        MenuClosed();
        return;
    }
    TbsSkinSpeedButton::WndProc(m);
}

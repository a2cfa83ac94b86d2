#pragma once
// The caption of a skinned frame: the form's text, cut with an ellipsis to its
// text area, in the record's font and colours (active or inactive), with an
// optional text frame, shadow and light; its background can show an active
// image, morph between the inactive and active images, or play an animation
// when the form is activated.

#include "TbsActiveSkinObject.h"

class TbsSkinCaptionObject : public TbsActiveSkinObject {
public:
    TbsSkinCaptionObject(TbsSkinForm& form, const TbsDataSkinCaption* record);

    void Draw(TCanvas& Canvas, bool Direct) override;
    void MouseDown(int X, int Y, TMouseButton Button) override;
    void MouseUp(int X, int Y, TMouseButton Button) override;
    void MouseEnter() override;
    void MouseLeave() override;

    bool CanAnimate() const;
    // Frame k (1-based) of the activation animation.
    TRect AnimationFrameRect(int k) const;
    // The form's activity changed; `painted` when the change is shown.
    void SetActive(bool active, bool painted);
    // One animation tick of 25 ms; false when the caption did not move.
    bool AnimationStep();
    // The text area in window coordinates.
    TRect TextArea() const;

    TRect textrect;
    AnsiString fontname;
    int fontheight = 14;
    TFontStyles fontstyle = 0;
    TColor fontcolor = 0;
    TColor activefontcolor = 0;
    SkinAlignment alignment = SkinAlignment::Center;
    bool light = false;
    TColor lightcolor = 0;
    TColor activelightcolor = 0;
    bool shadow = false;
    TColor shadowcolor = 0;
    TColor activeshadowcolor = 0;
    TRect framerect;
    TRect activeframerect;
    TRect frametextrect;
    int frameleftoffset = 0;
    int framerightoffset = 0;
    bool stretcheffect = false;
    TRect animateskinrect;
    int framecount = 0;
    int animateinterval = 25;
    bool inactiveanimation = false;
    bool fullframe = false;

    int AnimationFrame = 0;
    int FrameElapsed = 0;

private:
    // The caption background: `piece` of `picture` at object size with fixed
    // ends taken from the frame corners.
    void CaptionImage(const TBitmap& picture, const TRect& piece, TBitmap& out) const;
    // Writes the caption text (and its frame, shadow and light) in the active
    // or inactive colours onto `canvas`, with the object's top-left corner at
    // `origin` of the canvas.
    void DrawText(TCanvas& canvas, TPoint origin, bool activeColors) const;
    void ApplyInactiveEffect(TBitmap& image) const;
};

#pragma once
// A live part of a skinned window frame, built from one skin object record:
// where it sits on the window, whether it is enabled, visible, under the
// pointer, showing its active look, and how far a morph between its normal
// and active images has gone. Derived classes are the caption buttons, the
// animated pictures, the caption text and user-drawn objects.
//
// The object copies what it needs from its record and keeps no reference to
// it: records go with the next skin change, objects go with them.

#include "Controls.h"
#include "SkinIniValues.h"
#include "SkinObjectRecords.h"
#include "TBitmap.h"
#include "TCanvas.h"

class TbsSkinForm;
class TbsSkinData;
class TMenuItem;

class TbsActiveSkinObject {
public:
    // `record` may be null for an object the frame makes without a skin.
    TbsActiveSkinObject(TbsSkinForm& form, const TbsDataSkinObject* record);
    virtual ~TbsActiveSkinObject() = default;
    TbsActiveSkinObject(const TbsActiveSkinObject&) = delete;
    TbsActiveSkinObject& operator=(const TbsActiveSkinObject&) = delete;

    virtual bool IsMorphPending() const;
    // Draws the object at ObjectRect. `Direct` is true when it goes straight
    // onto the window, false when into the frame strips that already show
    // the frame picture.
    virtual void Draw(TCanvas& Canvas, bool Direct);
    virtual void DblClick() {}
    virtual void MouseDown(int X, int Y, TMouseButton Button);
    virtual void MouseUp(int X, int Y, TMouseButton Button);
    virtual void MouseMove(int X, int Y);
    virtual void MouseEnter();
    virtual void MouseLeave();

    // The record morphs, the object has its active image, effects are on.
    bool CanMorph() const;
    // Starts the morph timer when the object can morph, else repaints it.
    void StateChanged();
    // One morph tick: moves MorphFactor 0.2 towards its target and repaints.
    // False when the object did not move.
    bool MorphStep();

    AnsiString IDName;
    AnsiString HintText;
    TRect skinrect;
    TRect activeskinrect;
    TRect inactiveskinrect;
    bool skinrectinapicture = false;
    bool morphing = false;
    SkinMorphKind morphkind = SkinMorphKind::Default;
    // The picture of the object's own images; null when the record names none.
    const TBitmap* ObjectPicture = nullptr;
    TRect ObjectRect;
    bool IsEnabled = true;
    bool IsVisible = true;
    bool MouseIn = false;
    bool ActiveLook = false;
    double MorphFactor = 0;

    TbsSkinForm& Form() const { return form_; }

protected:
    // The skin data with a loaded skin, or null.
    const TbsSkinData* LoadedSkin() const;
    // The frame picture.
    const TBitmap* MainPicture() const;
    // The picture the normal image lies in.
    const TBitmap* NormalPicture() const;
    // The base drawing of the inactive, morphing, active and normal images,
    // with `normal` and `active` the rectangles of the two ends.
    void DrawImages(TCanvas& canvas, bool direct, const TRect& normal, const TRect& active, const TRect& inactive,
                    const TBitmap* normalPicture);
    // Copies `piece` of `picture` to ObjectRect.
    void DrawPiece(TCanvas& canvas, const TBitmap* picture, const TRect& piece) const;
    // The morph blend between two rectangles at MorphFactor.
    void DrawMorph(TCanvas& canvas, const TBitmap& normalPicture, const TRect& normal, const TRect& active) const;
    // The morph is not at the end its direction leads to.
    bool MorphBetweenEnds() const;
    void FireMouseDown(int X, int Y, TMouseButton Button);
    void FireMouseUp(int X, int Y, TMouseButton Button);
    void FireMouseEnter();
    void FireMouseLeave();

    TbsSkinForm& form_;
};

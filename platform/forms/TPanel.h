#pragma once
// The panel: a container with raised or lowered bevels, an optional border
// and a caption in its middle. Its children are aligned inside the bevels.

#include "Controls.h"
#include "TCustomEdit.h"
#include "TextAlignment.h"

enum TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };

class TCustomPanel : public TCustomControl {
public:
    explicit TCustomPanel(TComponent* AOwner);

    TBevelCut BevelOuter() const { return bevelOuter_; }
    void SetBevelOuter(TBevelCut value);
    TBevelCut BevelInner() const { return bevelInner_; }
    void SetBevelInner(TBevelCut value);
    int BevelWidth() const { return bevelWidth_; }
    void SetBevelWidth(int value);
    // Space between the outer and the inner bevel.
    int BorderWidth() const { return borderWidth_; }
    void SetBorderWidth(int value);
    // bsSingle adds a one-pixel dark frame around everything.
    TBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle value);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment value);

    // The area inside frame and bevels: where aligned children go.
    TRect ClientRect() const override;

    void WndProc(TMessage& Message) override;

protected:
    void Paint() override;

private:
    int EdgeWidth() const;
    void Changed();

    TBevelCut bevelOuter_ = bvRaised;
    TBevelCut bevelInner_ = bvNone;
    int bevelWidth_ = 1;
    int borderWidth_ = 0;
    TBorderStyle borderStyle_ = bsNone;
    TAlignment alignment_ = taCenter;
};

class TPanel : public TCustomPanel {
public:
    explicit TPanel(TComponent* AOwner) : TCustomPanel(AOwner) {}
};

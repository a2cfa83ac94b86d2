#pragma once
// The free-standing skinned scroll bar: two arrow buttons, a track and a
// thumb, horizontal or vertical, drawn from a scroll bar record ("hscrollbar",
// "vscrollbar", or "bothhscrollbar" while it shares a corner with a vertical
// bar) or in the default look. Buttons step by SmallChange and repeat while
// held (after 500 ms, then every 50 ms, paused while the pointer is off the
// button); a press in the track pages towards the pointer and repeats while
// the pointer stays on that side of the thumb; the thumb can be dragged.
// The skinned memo and list view drive such bars instead of their own.

#include "ExtCtrls.h"
#include "SkinScrollBarLayout.h"
#include "TScrollBar.h"
#include "TbsSkinCustomControl.h"

class TbsSkinScrollBar : public TbsSkinCustomControl {
public:
    explicit TbsSkinScrollBar(TComponent* AOwner);
    ~TbsSkinScrollBar() override;

    TScrollBarKind Kind() const { return kind_; }
    void SetKind(TScrollBarKind value);
    int Min() const { return range_.Min; }
    void SetMin(int value);
    int Max() const { return range_.Max; }
    void SetMax(int value);
    int Position() const { return range_.Position; }
    // Clamped to the range (with a page, to Max - PageSize + 1); raises
    // OnChange when the value changed.
    void SetPosition(int value);
    int PageSize() const { return range_.PageSize; }
    // Refused silently when the page does not fit the range from Position.
    void SetPageSize(int value);
    // All four at once, without OnChange.
    void SetRangeAndPosition(int min, int max, int page, int position);
    int SmallChange() const { return smallChange_; }
    void SetSmallChange(int value);
    int LargeChange() const { return largeChange_; }
    void SetLargeChange(int value);
    bool Both() const { return both_; }
    // Switches to BothSkinDataName while set, and back when cleared.
    void SetBoth(bool value);
    const AnsiString& BothSkinDataName() const { return bothSkinDataName_; }
    void SetBothSkinDataName(const AnsiString& value) { bothSkinDataName_ = value; }
    int BothMarkerWidth() const { return bothMarkerWidth_; }
    // Negative values are ignored.
    void SetBothMarkerWidth(int value);
    bool CanFocused() const { return canFocused_; }
    // Also sets TabStop.
    void SetCanFocused(bool value);

    TNotifyEvent OnChange;
    TNotifyEvent OnLastChange;
    // Replace the default step of the increment and decrement buttons.
    TNotifyEvent OnUpButtonClick;
    TNotifyEvent OnDownButtonClick;
    TNotifyEvent OnPageUp;
    TNotifyEvent OnPageDown;

    // ---- state, for the look and for tests ----
    // The parts for the current size, range and skin.
    ScrollBarLayout Layout();
    // Part under the pointer and part held by a press (-1 none; 0 thumb,
    // 1 increment button, 2 decrement button).
    int HotButton() const;
    int CapturedButton() const { return capturedButton_; }
    bool Dragging() const { return dragging_; }
    bool Repeating() const { return repeatTimer_->Enabled(); }

    void WndProc(TMessage& Message) override;

protected:
    void BindSkinRecord() override;
    void PaintSkinImage(TBitmap& bitmap) override;
    void PaintDefaultImage(TBitmap& bitmap) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override;
    void MouseLeft() override;

    // Puts a part (0 thumb, 1 increment, 2 decrement) into a state without
    // input, and the thumb into its dragged look, for showing a state alone.
    void SetPartState(int part, bool hot, bool pressed);
    void SetDraggingLook(bool value);

private:
    enum PartIndex { kThumb = 0, kIncrement = 1, kDecrement = 2 };
    // Repeat kinds: what a tick of the repeat timer does.
    enum RepeatKind { kNoRepeat = 0, kStepBack = 1, kStepForward = 2, kPageBack = 3, kPageForward = 4 };
    struct Part {
        TRect rect;
        bool hot = false;
        bool pressed = false;
    };

    bool Vertical() const { return kind_ == sbVertical; }
    bool Skinned() const { return recordIndex_ != -1 && hasRecord_; }
    void CalcLayout();
    int PartAt(TPoint p) const;
    int Along(TPoint p) const { return Vertical() ? p.Y : p.X; }
    bool BeforeThumb(TPoint p) const;
    void RefreshHot(TPoint p);
    void StartRepeat(unsigned ms);
    void RepeatTick();
    void StepButton(int part);
    void PageBack();
    void PageForward();
    void Changed();

    void PaintSkinnedButton(TBitmap& bitmap, int part);
    void PaintSkinnedThumb(TBitmap& bitmap);
    void PaintDefaultPart(TCanvas& canvas, int part);

    TScrollBarKind kind_ = sbHorizontal;
    ScrollBarRange range_;
    int smallChange_ = 1;
    int largeChange_ = 1;
    bool both_ = false;
    AnsiString bothSkinDataName_ = "bothhscrollbar";
    AnsiString nameBeforeBoth_;
    int bothMarkerWidth_ = 19;
    bool canFocused_ = false;

    TbsDataSkinScrollBarControl record_{""};
    bool hasRecord_ = false;

    ScrollBarLayout layout_;
    Part parts_[3];
    int capturedButton_ = -1;
    RepeatKind repeatKind_ = kNoRepeat;
    bool firstDelayPending_ = false;
    bool dragging_ = false;
    int dragOrigin_ = 0;
    int dragStartShift_ = 0;
    TPoint lastPointer_{-1, -1};
    TComponentPtr<TTimer> repeatTimer_;
};

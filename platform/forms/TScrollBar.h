#pragma once
// The free-standing scroll bar: a range with a position that the arrows,
// the track (a page at a time, repeating while held) and the thumb change,
// and, when it has the focus, the arrow, page and Home/End keys.

#include "Controls.h"
#include "ScrollBarModel.h"

enum TScrollBarKind { sbHorizontal, sbVertical };
enum TScrollCode { scLineUp, scLineDown, scPageUp, scPageDown, scPosition, scTrack, scTop, scBottom, scEndScroll };
using TScrollEvent = std::function<void(TObject* Sender, TScrollCode ScrollCode, int& ScrollPos)>;

class TScrollBar : public TWinControl {
public:
    explicit TScrollBar(TComponent* AOwner);

    TScrollBarKind Kind() const { return kind_; }
    void SetKind(TScrollBarKind value);
    int Min() const { return min_; }
    int Max() const { return max_; }
    int Position() const { return position_; }
    int PageSize() const { return pageSize_; }
    void SetMin(int value) { SetParams(position_, value, max_); }
    void SetMax(int value) { SetParams(position_, min_, value); }
    // Clamped into the range; raises OnChange when it changes.
    void SetPosition(int value) { SetParams(value, min_, max_); }
    // Refused when larger than the range.
    void SetPageSize(int value);
    // Raises EInvalidOperation when max < min.
    void SetParams(int position, int min, int max);
    int SmallChange = 1;
    int LargeChange = 1;

    TNotifyEvent OnChange;
    TScrollEvent OnScroll;

    void WndProc(TMessage& Message) override;

protected:
    void CreateParams(TCreateParams& Params) override;
    void PaintWindow(HDC DC) override;
    void EraseBackground(HDC) override {}

private:
    TScrollInfo Info() const;
    TScrollBarGeometry Geometry() const;
    // Runs one scroll request the way the platform reports it: OnScroll may
    // change the new position, then Position changes.
    void Scroll(TScrollCode code, int pos);
    void StepFor(TScrollPart part);

    TScrollBarKind kind_ = sbHorizontal;
    int min_ = 0;
    int max_ = 100;
    int position_ = 0;
    int pageSize_ = 0;

    TScrollPart pressed_ = TScrollPart::None;
    bool onPressed_ = false;
    int dragOffset_ = 0;
    TPoint lastPoint_;
    bool firstRepeat_ = true;
};

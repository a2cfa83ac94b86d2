#pragma once
// The column header of a report list view: a child window of the platform's
// header class ("SysHeader32") showing one section per column. Sections push
// in while pressed and report a click; dragging a divider resizes a column.
// The header answers the platform's header messages (HDM_*), so code that
// takes over its window can find and measure sections.

#include "Controls.h"
#include "TextAlignment.h"

class TListColumns;

inline constexpr UINT HDM_FIRST = 0x1200;
inline constexpr UINT HDM_GETITEMCOUNT = HDM_FIRST + 0;
inline constexpr UINT HDM_HITTEST = HDM_FIRST + 6;
inline constexpr UINT HDM_GETITEMRECT = HDM_FIRST + 7;
inline constexpr UINT HDM_ORDERTOINDEX = HDM_FIRST + 15;

inline constexpr UINT HHT_NOWHERE = 0x1;
inline constexpr UINT HHT_ONHEADER = 0x2;
inline constexpr UINT HHT_ONDIVIDER = 0x4;

struct HDHITTESTINFO {
    TPoint pt;       // client coordinates of the header
    UINT flags = 0;  // HHT_*
    int iItem = -1;
};

class TListViewHeader : public TWinControl {
public:
    // `columns` belongs to the list view, which outlives its header.
    TListViewHeader(TComponent* AOwner, TListColumns& columns);

    // The header's own horizontal offset (it follows the list's scrolling).
    int ScrollX() const { return scrollX_; }
    void SetScrollX(int x);
    TRect SectionRect(int index) const;
    // The section under a client point and whether it is on a divider.
    HDHITTESTINFO HitTest(TPoint p) const;
    int PressedSection() const { return pressed_; }

    // Called with the column index when a section is clicked.
    std::function<void(int)> OnSectionClick;
    // Called after a divider drag changed a column's width.
    std::function<void()> OnSectionResize;

    void WndProc(TMessage& Message) override;
    void DefaultHandler(TMessage& Message) override;

protected:
    void CreateParams(TCreateParams& Params) override;
    void PaintWindow(HDC DC) override;
    void EraseBackground(HDC) override {}

private:
    TListColumns& columns_;
    int scrollX_ = 0;
    int pressed_ = -1;       // section held down
    bool pressedIn_ = false; // pointer still over it
    int sizing_ = -1;        // column whose divider is dragged
    int sizingStartX_ = 0;
    int sizingStartWidth_ = 0;
};

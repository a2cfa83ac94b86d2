#pragma once
// The platform's text editing control: TCustomEdit, published as TEdit (one
// line) and extended by TCustomMemo (many lines, TMemo.h).
//
// The text lives in a TEditBuffer (GBK bytes, caret and selection on
// character boundaries, byte limit, undo) and is laid out by TMemoLayout.
// The control adds what needs a window: drawing with its font, a caret,
// scrolling the caret into view, keyboard and mouse selection, the
// clipboard, typed double-byte characters arriving as two WM_CHAR bytes, a
// context menu, and the platform's edit messages (EM_*, WM_CUT ...) so that
// code replacing the WindowProc can watch or filter every operation.

#include <memory>
#include <optional>

#include "Controls.h"
#include "EditBuffer.h"
#include "Forms.h"
#include "MemoLayout.h"
#include "TextAlignment.h"
#include "WindowScrollBars.h"

// Edit messages, with the platform's numbers.
inline constexpr UINT EM_GETSEL = 0x00B0;
inline constexpr UINT EM_SETSEL = 0x00B1;
inline constexpr UINT EM_GETRECT = 0x00B2;
inline constexpr UINT EM_SETRECT = 0x00B3;
inline constexpr UINT EM_SCROLL = 0x00B5;
inline constexpr UINT EM_LINESCROLL = 0x00B6;
inline constexpr UINT EM_SCROLLCARET = 0x00B7;
inline constexpr UINT EM_GETMODIFY = 0x00B8;
inline constexpr UINT EM_SETMODIFY = 0x00B9;
inline constexpr UINT EM_GETLINECOUNT = 0x00BA;
inline constexpr UINT EM_LINEINDEX = 0x00BB;
inline constexpr UINT EM_LINEFROMCHAR = 0x00C9;
inline constexpr UINT EM_REPLACESEL = 0x00C2;
inline constexpr UINT EM_LIMITTEXT = 0x00C5;
inline constexpr UINT EM_CANUNDO = 0x00C6;
inline constexpr UINT EM_UNDO = 0x00C7;
inline constexpr UINT EM_GETFIRSTVISIBLELINE = 0x00CE;
inline constexpr UINT EM_SETREADONLY = 0x00CF;
inline constexpr UINT EM_EMPTYUNDOBUFFER = 0x00CD;
inline constexpr UINT EM_SETMARGINS = 0x00D3;
inline constexpr UINT EM_GETMARGINS = 0x00D4;
inline constexpr WPARAM EC_LEFTMARGIN = 0x1;
inline constexpr WPARAM EC_RIGHTMARGIN = 0x2;

// A control's border: none, or the sunken edge.
using TBorderStyle = TFormBorderStyle;

enum TEditCharCase { ecNormal, ecUpperCase, ecLowerCase };
enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

class TPopupMenu;

// What a paste may bring into a one-line edit that has no MaxLength of its
// own: the platform edit's default limit of 32,767 characters (bytes here).
// A clipboard of a megabyte then fills the box with its first part, cut at
// a character boundary, rather than with a line no one can read or use.
inline constexpr int kEditDefaultPasteLimit = 32767;

class TCustomEdit : public TWinControl {
public:
    explicit TCustomEdit(TComponent* AOwner) : TCustomEdit(AOwner, false) {}
    ~TCustomEdit() override;

    AnsiString GetText() const override { return buffer_.Text(); }

    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool value);
    // Bytes; 0 = no limit. Text set by the program is never cut.
    int MaxLength() const { return buffer_.MaxLength(); }
    void SetMaxLength(int value);
    TBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle value);
    TEditCharCase CharCase() const { return charCase_; }
    void SetCharCase(TEditCharCase value);
    bool AutoSelect = true;
    bool HideSelection() const { return hideSelection_; }
    void SetHideSelection(bool value);
    // Where each line sits in the text area when it is narrower than it.
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment value);
    // Draws text without filling the background, over whatever a frame
    // painted there (a control that draws its own frame and field).
    bool TransparentText() const { return transparentText_; }
    void SetTransparentText(bool value);

    // Byte offsets, as the platform's edit counts them.
    int SelStart() const { return int(buffer_.SelStart()); }
    void SetSelStart(int value);
    int SelLength() const { return int(buffer_.SelLength()); }
    void SetSelLength(int value);
    AnsiString SelText() const { return buffer_.SelText(); }
    void SetSelText(const AnsiString& value);
    void SelectAll();
    void ClearSelection() { Perform(WM_CLEAR); }
    void CopyToClipboard() { Perform(WM_COPY); }
    void CutToClipboard() { Perform(WM_CUT); }
    void PasteFromClipboard() { Perform(WM_PASTE); }
    void Undo() { Perform(WM_UNDO); }
    bool CanUndo() const { return buffer_.CanUndo(); }
    void ClearUndo() { buffer_.ClearUndo(); }
    void Clear() { SetText(""); }
    bool Modified() const { return modified_; }
    void SetModified(bool value) { modified_ = value; }

    // The left and right space between the border and the text, in pixels.
    int LeftMargin() const { return leftMargin_; }
    int RightMargin() const { return rightMargin_; }
    // Where the caret stands, in client coordinates.
    TPoint CaretPos() const;
    // The first line shown and the horizontal scroll, in pixels.
    int FirstVisibleLine() const { return topLine_; }
    int ScrollX() const { return scrollX_; }
    // The pane's scroll information as its scroll bars show it (SB_HORZ or
    // SB_VERT), kept also when a frame hides the bars.
    TScrollInfo GetScrollInfo(int bar) const { return bars_.Info(bar); }

    // The built-in context menu, while it is open (null otherwise).
    TPopupMenu* EditMenu() const { return editMenu_; }

    TNotifyEvent OnChange;

    void WndProc(TMessage& Message) override;
    void DefaultHandler(TMessage& Message) override;

protected:
    TCustomEdit(TComponent* AOwner, bool multiLine);

    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override;
    void PaintWindow(HDC DC) override;
    void EraseBackground(HDC DC) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    virtual void Change();

    // The area text is drawn in (client coordinates).
    TRect FormatRect() const;
    int LineHeight() const;
    int VisibleLineCount() const;
    // Rebuilds the layout, refreshes the scroll bars and repaints.
    void TextLayoutChanged();
    // Scrolls so that the caret is in view, then moves the window caret.
    void ScrollCaretIntoView();
    void SetTopLine(int line);
    void SetScrollX(int x);

    // Multi-line behaviour the memo switches on.
    bool wordWrap_ = false;
    bool wantReturns_ = true;
    bool wantTabs_ = false;

    TEditBuffer buffer_;
    TMemoLayout layout_;
    TWindowScrollBars bars_;

private:
    void PaintText(HDC dc);
    void UpdateCaret();
    void MeasureFont();
    int Measure(std::string_view text);
    std::size_t OffsetAtPoint(TPoint client) const;
    void MoveCaretTo(std::size_t pos, bool extend);
    // Replaces the selection with text typed or pasted; honours ReadOnly and CharCase.
    void InsertText(const AnsiString& text, bool typed = false);
    void AfterEdit();
    void HandleKeyDown(TMessage& m);
    void HandleChar(TMessage& m);
    void HandleScroll(UINT msg, int code, int pos);
    void ShowContextMenu(TPoint screen);
    void RefreshScrollInfo();
    // Pixels a line moves right by for the alignment.
    int LineIndent(int line) const;

    bool readOnly_ = false;
    bool hideSelection_ = true;
    bool transparentText_ = false;
    bool modified_ = false;
    TBorderStyle borderStyle_ = bsSingle;
    TEditCharCase charCase_ = ecNormal;
    TAlignment alignment_ = taLeftJustify;
    int leftMargin_ = 1;
    int rightMargin_ = 1;
    std::optional<TRect> fixedFormatRect_;

    TCanvas measureCanvas_;
    int lineHeight_ = 13;
    int topLine_ = 0;
    int scrollX_ = 0;
    int pendingLead_ = -1;   // first byte of a double-byte character typed
    bool selecting_ = false; // left button held in the text
    int preferredX_ = -1;    // column kept by up and down moves
    bool caretMade_ = false;
    TPopupMenu* editMenu_ = nullptr;
};

class TEdit : public TCustomEdit {
public:
    explicit TEdit(TComponent* AOwner) : TCustomEdit(AOwner) {}
};

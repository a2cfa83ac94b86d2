#pragma once
// The text model behind the edit and the memo: GBK bytes with a caret, a
// selection, a byte limit and one level of undo. It knows nothing of windows
// or fonts, so every rule about where the caret may stand lives here:
//
// - the caret and both selection ends always stand on a character boundary,
//   never between the two bytes of a double-byte character and never between
//   the CR and the LF of a line break;
// - MaxLength counts bytes; text that does not fit is cut at a character
//   boundary, so a limit never leaves half a character behind;
// - undo holds the state before the last change; undoing again redoes it, as
//   the platform's edit control does; a run of typed characters counts as
//   one change.

#include <cstddef>
#include <string_view>

#include "AnsiString.h"

class TEditBuffer {
public:
    // A multi-line buffer keeps line breaks (as CR LF); a single-line one keeps
    // only the text before the first line break of anything put into it.
    explicit TEditBuffer(bool multiLine = false) : multiLine_(multiLine) {}

    const AnsiString& Text() const { return text_; }
    // Replaces all text; the caret goes to the start, undo is forgotten. The
    // byte limit does not apply (the platform lets a program set any text).
    void SetText(std::string_view text);

    bool MultiLine() const { return multiLine_; }

    // 0 = no limit.
    int MaxLength() const { return maxLength_; }
    void SetMaxLength(int bytes) { maxLength_ = bytes < 0 ? 0 : bytes; }

    // --- caret and selection (byte offsets) ---------------------------------
    std::size_t Caret() const { return caret_; }
    std::size_t Anchor() const { return anchor_; }
    std::size_t SelStart() const { return caret_ < anchor_ ? caret_ : anchor_; }
    std::size_t SelEnd() const { return caret_ < anchor_ ? anchor_ : caret_; }
    std::size_t SelLength() const { return SelEnd() - SelStart(); }
    bool HasSelection() const { return caret_ != anchor_; }
    AnsiString SelText() const { return text_.substr(SelStart(), SelLength()); }

    // Moves the caret to `pos` (snapped back to a character boundary); with
    // `extend` the anchor stays, otherwise the selection collapses.
    void MoveCaret(std::size_t pos, bool extend);
    // Selects [start, start + length) with the caret at the end; both ends
    // are clamped and snapped to boundaries.
    void Select(std::size_t start, std::size_t length);
    void SelectAll() { Select(0, text_.size()); }

    // The boundary at or before `pos` (the start of the character holding it).
    std::size_t SnapBack(std::size_t pos) const;
    // One character back or forward from a boundary (CR LF is one character).
    std::size_t PrevChar(std::size_t pos) const;
    std::size_t NextChar(std::size_t pos) const;
    // Word moves as Ctrl+Left / Ctrl+Right make them: to the start of the
    // previous / next word. A word is a run of non-blank characters.
    std::size_t PrevWord(std::size_t pos) const;
    std::size_t NextWord(std::size_t pos) const;
    // The word around `pos` (for a double click); empty at a blank.
    void WordAt(std::size_t pos, std::size_t& start, std::size_t& end) const;

    // --- changes ------------------------------------------------------------
    // Replaces the selection with `text` (line breaks normalised; a single
    // line buffer keeps the part before the first break; control characters
    // other than tab and line breaks dropped). Returns false when the byte
    // limit cut the text short (the caller beeps). Undo remembers the state.
    // `typing` marks text typed at the keyboard: a run of typed characters,
    // each following the last, is undone as one step, as the platform does.
    bool ReplaceSelection(std::string_view text, bool typing = false);
    // Backspace / Delete: the selection, else the character before / after the
    // caret. Return whether anything changed.
    bool DeleteBack();
    bool DeleteForward();
    bool ClearSelection();

    bool CanUndo() const { return canUndo_; }
    bool Undo();
    void ClearUndo() { canUndo_ = false; }

    // Text as a buffer of this kind would hold it: CR LF breaks in a multi
    // line buffer, the first line only in a single line one, control
    // characters other than tab removed.
    AnsiString Normalize(std::string_view text) const;

private:
    void SaveUndo();
    void ReplaceRange(std::size_t start, std::size_t end, std::string_view text);

    AnsiString text_;
    bool multiLine_ = false;
    int maxLength_ = 0;
    std::size_t caret_ = 0;
    std::size_t anchor_ = 0;

    bool canUndo_ = false;
    bool typingRun_ = false;      // the last change was typing that ended at typingEnd_
    std::size_t typingEnd_ = 0;
    AnsiString undoText_;
    std::size_t undoCaret_ = 0;
    std::size_t undoAnchor_ = 0;
};

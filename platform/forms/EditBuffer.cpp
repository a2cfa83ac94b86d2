#include "EditBuffer.h"

#include <algorithm>

namespace {

bool IsTrailByte(unsigned char b) { return b >= 0x40 && b <= 0xFE && b != 0x7F; }

bool IsBlankAt(std::string_view t, std::size_t i) {
    const char c = t[i];
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

}  // namespace

void TEditBuffer::SetText(std::string_view text) {
    typingRun_ = false;
    text_ = Normalize(text);
    caret_ = anchor_ = 0;
    canUndo_ = false;
}

AnsiString TEditBuffer::Normalize(std::string_view in) const {
    AnsiString out;
    out.reserve(in.size());
    for (std::size_t i = 0; i < in.size(); ++i) {
        const auto b = static_cast<unsigned char>(in[i]);
        if (b == '\r' || b == '\n') {
            if (!multiLine_) break;
            if (b == '\r' && i + 1 < in.size() && in[i + 1] == '\n') ++i;
            out += "\r\n";
        } else if (IsLeadByte(b)) {
            // A lead byte without a proper trail byte is no character; keeping
            // it would let the next byte be read as its second half.
            if (i + 1 < in.size() && IsTrailByte(static_cast<unsigned char>(in[i + 1]))) {
                out += in[i];
                out += in[i + 1];
                ++i;
            }
        } else if (b >= 0x20 && b != 0x7F) {
            out += in[i];
        } else if (b == '\t') {
            out += '\t';
        }
    }
    return out;
}

std::size_t TEditBuffer::SnapBack(std::size_t pos) const {
    if (pos >= text_.size()) return text_.size();
    // Bytes below 0x40 are never the second half of a character, so the scan
    // may start right after the last one instead of at the beginning.
    std::size_t i = pos;
    while (i > 0 && static_cast<unsigned char>(text_[i - 1]) >= 0x40) --i;
    std::size_t boundary = i;
    while (i < pos) {
        boundary = i;
        i += CharLengthAt(text_, i);
    }
    if (i == pos) boundary = pos;
    if (boundary > 0 && text_[boundary] == '\n' && text_[boundary - 1] == '\r') --boundary;
    return boundary;
}

std::size_t TEditBuffer::PrevChar(std::size_t pos) const {
    pos = SnapBack(pos);
    return pos == 0 ? 0 : SnapBack(pos - 1);
}

std::size_t TEditBuffer::NextChar(std::size_t pos) const {
    pos = SnapBack(pos);
    if (pos >= text_.size()) return text_.size();
    if (text_[pos] == '\r' && pos + 1 < text_.size() && text_[pos + 1] == '\n') return pos + 2;
    return pos + CharLengthAt(text_, pos);
}

std::size_t TEditBuffer::NextWord(std::size_t pos) const {
    pos = SnapBack(pos);
    const std::size_t n = text_.size();
    while (pos < n && !IsBlankAt(text_, pos)) pos = NextChar(pos);
    while (pos < n && IsBlankAt(text_, pos)) pos = NextChar(pos);
    return pos;
}

std::size_t TEditBuffer::PrevWord(std::size_t pos) const {
    pos = SnapBack(pos);
    while (pos > 0 && IsBlankAt(text_, PrevChar(pos))) pos = PrevChar(pos);
    while (pos > 0 && !IsBlankAt(text_, PrevChar(pos))) pos = PrevChar(pos);
    return pos;
}

void TEditBuffer::WordAt(std::size_t pos, std::size_t& start, std::size_t& end) const {
    pos = SnapBack(pos);
    start = end = pos;
    if (pos < text_.size() && IsBlankAt(text_, pos)) return;
    while (start > 0 && !IsBlankAt(text_, PrevChar(start))) start = PrevChar(start);
    while (end < text_.size() && !IsBlankAt(text_, end)) end = NextChar(end);
}

void TEditBuffer::MoveCaret(std::size_t pos, bool extend) {
    typingRun_ = false;
    caret_ = SnapBack(std::min(pos, text_.size()));
    if (!extend) anchor_ = caret_;
}

void TEditBuffer::Select(std::size_t start, std::size_t length) {
    typingRun_ = false;
    start = std::min(start, text_.size());
    const std::size_t end = length > text_.size() - start ? text_.size() : start + length;
    anchor_ = SnapBack(start);
    // The end snaps forward so that a selection ending inside a character
    // still holds the whole character.
    const std::size_t back = SnapBack(end);
    caret_ = back == end ? end : NextChar(back);
}

void TEditBuffer::SaveUndo() {
    typingRun_ = false;
    undoText_ = text_;
    undoCaret_ = caret_;
    undoAnchor_ = anchor_;
    canUndo_ = true;
}

void TEditBuffer::ReplaceRange(std::size_t start, std::size_t end, std::string_view text) {
    text_.replace(start, end - start, text);
    caret_ = anchor_ = start + text.size();
}

bool TEditBuffer::ReplaceSelection(std::string_view text, bool typing) {
    AnsiString add = Normalize(text);
    bool fitted = true;
    if (maxLength_ > 0) {
        const std::size_t keep = text_.size() - SelLength();
        const std::size_t room = keep >= std::size_t(maxLength_) ? 0 : std::size_t(maxLength_) - keep;
        if (add.size() > room) {
            fitted = false;
            // Cut on a character boundary of the added text.
            std::size_t cut = 0;
            while (cut < add.size()) {
                std::size_t len = CharLengthAt(add, cut);
                if (add[cut] == '\r' && cut + 1 < add.size() && add[cut + 1] == '\n') len = 2;
                if (cut + len > room) break;
                cut += len;
            }
            add.resize(cut);
        }
    }
    if (add.empty() && !HasSelection()) return fitted;
    const bool continuesRun = typing && typingRun_ && !HasSelection() && caret_ == typingEnd_;
    if (!continuesRun) SaveUndo();
    ReplaceRange(SelStart(), SelEnd(), add);
    typingRun_ = typing;
    typingEnd_ = caret_;
    return fitted;
}

bool TEditBuffer::ClearSelection() {
    if (!HasSelection()) return false;
    SaveUndo();
    ReplaceRange(SelStart(), SelEnd(), {});
    return true;
}

bool TEditBuffer::DeleteBack() {
    if (HasSelection()) return ClearSelection();
    if (caret_ == 0) return false;
    SaveUndo();
    ReplaceRange(PrevChar(caret_), caret_, {});
    return true;
}

bool TEditBuffer::DeleteForward() {
    if (HasSelection()) return ClearSelection();
    if (caret_ >= text_.size()) return false;
    SaveUndo();
    ReplaceRange(caret_, NextChar(caret_), {});
    return true;
}

bool TEditBuffer::Undo() {
    if (!canUndo_) return false;
    typingRun_ = false;
    std::swap(text_, undoText_);
    std::swap(caret_, undoCaret_);
    std::swap(anchor_, undoAnchor_);
    return true;
}

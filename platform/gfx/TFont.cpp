#include "TFont.h"

#include <cmath>

TFont::TFont(const TFont& other)
    : name_(other.name_),
      height_(other.height_),
      style_(other.style_),
      color_(other.color_),
      charset_(other.charset_) {}

TFont& TFont::operator=(const TFont& other) {
    Assign(other);
    return *this;
}

void TFont::Assign(const TFont& other) {
    if (this == &other) return;
    name_ = other.name_;
    height_ = other.height_;
    style_ = other.style_;
    color_ = other.color_;
    charset_ = other.charset_;
    Changed();
}

void TFont::SetName(const AnsiString& name) {
    if (name == name_) return;
    name_ = name;
    Changed();
}

void TFont::SetHeight(int height) {
    if (height == height_) return;
    height_ = height;
    Changed();
}

int TFont::Size() const {
    return int(std::lround(-double(height_) * 72.0 / kScreenPixelsPerInch));
}

void TFont::SetSize(int points) {
    SetHeight(-int(std::lround(double(points) * kScreenPixelsPerInch / 72.0)));
}

void TFont::SetStyle(TFontStyles style) {
    if (style == style_) return;
    style_ = style;
    Changed();
}

void TFont::SetColor(TColor color) {
    if (color == color_) return;
    color_ = color;
    Changed();
}

void TFont::SetCharset(int charset) {
    if (charset == charset_) return;
    charset_ = charset;
    Changed();
}

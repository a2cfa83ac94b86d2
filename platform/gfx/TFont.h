#pragma once
// A font description: name, height, style and colour. The face behind it is
// found through fontconfig and drawn with FreeType when text is measured or
// drawn (FontEngine.h).

#include <cstdint>
#include <functional>

#include "AnsiString.h"
#include "TColor.h"

// Style bits, with the values skin files store (bold 1, italic 2, underline 4,
// strike-out 8).
enum TFontStyle : unsigned { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = unsigned;

// Screen resolution the point sizes refer to.
constexpr int kScreenPixelsPerInch = 96;

enum : int { DEFAULT_CHARSET = 1, ANSI_CHARSET = 0, GB2312_CHARSET = 134 };

class TFont {
public:
    TFont() = default;
    // Copies describe the same font; the change handler stays with its owner.
    TFont(const TFont& other);
    TFont& operator=(const TFont& other);

    // Copies name, height, style, colour and charset, then reports a change.
    void Assign(const TFont& other);

    const AnsiString& Name() const { return name_; }
    void SetName(const AnsiString& name);

    // Height in pixels: positive is the cell height (ascent + descent),
    // negative the character height (the em size).
    int Height() const { return height_; }
    void SetHeight(int height);

    // Size in points at 96 pixels per inch: Height = -Size * 96 / 72, rounded.
    // A font set by a positive height reports -Height * 72 / 96 rounded, as
    // the platform does.
    int Size() const;
    void SetSize(int points);

    TFontStyles Style() const { return style_; }
    void SetStyle(TFontStyles style);
    bool HasStyle(TFontStyle s) const { return (style_ & s) != 0; }

    TColor Color() const { return color_; }
    void SetColor(TColor color);

    // Kept but not used: faces are chosen by name and every character falls
    // back to a face that has it.
    int Charset() const { return charset_; }
    void SetCharset(int charset);

    // Called after every change of the font's attributes.
    std::function<void()> OnChange;

    friend bool operator==(const TFont& a, const TFont& b) {
        return a.name_ == b.name_ && a.height_ == b.height_ && a.style_ == b.style_ &&
               a.color_ == b.color_ && a.charset_ == b.charset_;
    }

private:
    void Changed() {
        if (OnChange) OnChange();
    }

    // The platform's default font: MS Sans Serif 8 points in window text colour.
    AnsiString name_ = "MS Sans Serif";
    int height_ = -11;
    TFontStyles style_ = 0;
    TColor color_ = clWindowText;
    int charset_ = DEFAULT_CHARSET;
};

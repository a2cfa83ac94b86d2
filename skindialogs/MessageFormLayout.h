#pragma once
// Where the parts of a message dialog go, in client pixels: the text at a
// fixed place, the kind's icon beside it centred on the text, a centred row
// of buttons at the bottom, and the optional "do not show again" box above
// the buttons. Kept apart from the window so the arithmetic can be checked
// on its own.

#include <optional>

#include "Geometry.h"

inline constexpr int kMessageButtonWidth = 70;
inline constexpr int kMessageButtonSpacing = 10;
inline constexpr int kMessageButtonDefaultHeight = 25;
inline constexpr int kMessageLabelLeft = 50;
inline constexpr int kMessageLabelTop = 15;

struct MessageFormLayout {
    int ClientWidth = 0;
    int ClientHeight = 0;
    TRect Icon;                      // 32 x 32
    int ButtonRowWidth = 0;          // 0 without buttons
    int ButtonsLeft = 0;             // left of the first button
    int ButtonsTop = 0;
    int ButtonHeight = kMessageButtonDefaultHeight;
    std::optional<TRect> CheckBox;   // only with the "show again" box
};

// `label` is the size of the text label after fitting itself to the text;
// `checkCaptionWidth` the width of the check box's caption when the box is
// shown.
MessageFormLayout LayOutMessageForm(int buttonCount, int buttonHeight, TSize label,
                                    std::optional<int> checkCaptionWidth);

// The left of the first button when the row is centred in `clientWidth`.
int CentredButtonRowLeft(int clientWidth, int rowWidth);

#include "MessageFormLayout.h"

#include <algorithm>

int CentredButtonRowLeft(int clientWidth, int rowWidth) { return (clientWidth - rowWidth) / 2; }

MessageFormLayout LayOutMessageForm(int buttonCount, int buttonHeight, TSize label,
                                    std::optional<int> checkCaptionWidth) {
    MessageFormLayout l;
    const int n = std::max(0, buttonCount);
    l.ButtonHeight = buttonHeight;
    l.ButtonRowWidth = n == 0 ? 0 : n * kMessageButtonWidth + (n - 1) * kMessageButtonSpacing;
    const int labelRight = kMessageLabelLeft + label.cx;
    // The icon stays centred on the text, but never rises above 10.
    const int iconTop = std::max(10, kMessageLabelTop + label.cy / 2 - 16);
    l.Icon = {5, iconTop, 5 + 32, iconTop + 32};
    l.ClientHeight = buttonHeight + 50 + label.cy;
    l.ClientWidth = std::max(l.ButtonRowWidth, labelRight) + 40;
    if (checkCaptionWidth) {
        const int t = *checkCaptionWidth;
        l.ClientHeight += 40;
        l.ClientWidth = std::max(l.ClientWidth, t + 60);
        const int top = l.ClientHeight - buttonHeight - 50;
        l.CheckBox = TRect{5, top, 5 + t + 55, top + 30};
    }
    l.ButtonsLeft = CentredButtonRowLeft(l.ClientWidth, l.ButtonRowWidth);
    l.ButtonsTop = l.ClientHeight - buttonHeight - 10;
    return l;
}

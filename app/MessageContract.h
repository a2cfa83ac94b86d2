#pragma once
// The one way the program shows a message or asks a question: the main
// window's ShowSkinMessage(text, kind, buttons, helpContext). The kinds, the
// button bits and the results live with the message component (bsMessages.h,
// results as the modal results of Forms.h); the dictionary's operations take
// the call in the shape below.

#include <functional>

#include "AnsiString.h"
#include "bsMessages.h"

// ShowSkinMessage with help context 0, as the dictionary's operations use it:
// shows `text` with the given kind and button set and returns the result.
using TShowSkinMessage = std::function<int(const AnsiString& text, int kind, int buttons)>;

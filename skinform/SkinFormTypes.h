#pragma once
// Names the skinned form and its frame objects share: the border icons the
// frame knows beyond the platform's, the frame-object event types, and the
// error a frame component raises when it is not dropped on a form.

#include <functional>

#include "Controls.h"
#include "Exceptions.h"
#include "Forms.h"

// The caption buttons and system-menu commands a skinned frame offers. The
// first three are the platform's own border icons (bits 0 to 2); the frame
// adds roll-up and minimise-to-tray as bits 3 and 4.
enum TbsBorderIcon : unsigned { biRollUp = 8, biMinimizeToTray = 16 };
using TbsBorderIcons = unsigned;

enum TbsPositionInMonitor { bspDefault, bspScreenCenter, bspDesktopCenter };

// Frame-object events; X and Y are window coordinates.
using TbsMouseDownEvent =
    std::function<void(const AnsiString& IDName, int X, int Y, const TRect& ObjectRect, TMouseButton Button)>;
using TbsMouseUpEvent = TbsMouseDownEvent;
using TbsMouseMoveEvent = std::function<void(const AnsiString& IDName, int X, int Y, const TRect& ObjectRect)>;
using TbsMouseEnterEvent = std::function<void(const AnsiString& IDName)>;
using TbsMouseLeaveEvent = TbsMouseEnterEvent;
using TbsPaintEvent = std::function<void(const AnsiString& IDName, TCanvas* Canvas, const TRect& ObjectRect)>;
using TbsActivateCustomObjectEvent = std::function<void(const AnsiString& IDName, bool& ObjectVisible)>;
using TbsCaptionPaintEvent = std::function<void(TCanvas* Cnvs, const TRect& R, bool AActive)>;

// The runtime's error for a cast to a class an object is not of.
class EInvalidCast : public Exception {
public:
    using Exception::Exception;
};

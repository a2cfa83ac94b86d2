// TbsSkinForm: showing the form (the first placement on its monitor) and
// fading it in through the window's opacity.

#include <algorithm>

#include "SkinPlatform.h"
#include "TbsSkinForm.h"
#include "WindowSystem.h"

namespace {
constexpr UINT_PTR kFadeTimerId = 1;

bool HasLayeredStyle(HWND h) { return (GetWindowLong(h, GWL_EXSTYLE) & WS_EX_LAYERED) != 0; }

void SetLayeredStyle(HWND h, bool on) {
    const LONG ex = GetWindowLong(h, GWL_EXSTYLE);
    const LONG wanted = on ? LONG(ex | WS_EX_LAYERED) : LONG(ex & ~LONG(WS_EX_LAYERED));
    if (wanted != ex) SetWindowLongPtr(h, GWL_EXSTYLE, wanted);
}
}  // namespace

void TbsSkinForm::ShowWindowMessage(bool shown) {
    const HWND h = form_->Handle();
    if (!shown) {
        // Hidden: the next show fades in again.
        if (skinnable_ && IsWindows2000OrLater() && AlphaBlend) SetLayeredStyle(h, false);
        return;
    }
    if (FirstPlacementPending) {
        if (PositionInMonitor == bspDefault) {
            FirstPlacementPending = false;
        } else if (skinWindowState_ == wsNormal) {
            FirstPlacementPending = false;
            PlaceInMonitor();
        }
    }
    if (IsWindows2000OrLater() && (AlphaBlend || AlphaBlendAnimation)) {
        SetLayeredStyle(h, true);
        SetWindowAlpha(h, 0);
        SetTimer(h, kFadeTimerId, 1);
    }
    if (skinnable_) Reframe();
}

void TbsSkinForm::FadeIn() {
    const HWND h = form_->Handle();
    KillTimer(h, kFadeTimerId);
    const BYTE target = (AlphaBlendAnimation && !AlphaBlend) ? 255 : AlphaBlendValue;
    if (AlphaBlendAnimation) {
        if (Application) Application->ProcessMessages();
        // The loop runs to its end inside this message: a step of 10 whenever
        // more than 5 ms have passed, each shown on the desktop at once.
        int alpha = 0;
        DWORD last = GetTickCount();
        while (alpha < target) {
            if (GetTickCount() - last > 5) {
                alpha = std::min(alpha + 10, int(target));
                SetWindowAlpha(h, BYTE(alpha));
                PresentChanges();
                last = GetTickCount();
            } else {
                Sleep(1);
            }
        }
    } else if (target != 255) {
        SetWindowAlpha(h, target);
    }
    if (target == 255) SetLayeredStyle(h, false);
}

void TbsSkinForm::SetAlphaBlend(bool value) {
    AlphaBlend = value;
    if (Designing() || Loading() || !IsWindows2000OrLater() || !form_->HandleAllocated()) return;
    const HWND h = form_->Handle();
    SetLayeredStyle(h, value);
    if (value) SetWindowAlpha(h, AlphaBlendValue);
}

void TbsSkinForm::SetAlphaBlendValue(BYTE value) {
    AlphaBlendValue = value;
    if (Designing() || Loading() || !IsWindows2000OrLater() || !form_->HandleAllocated() || !AlphaBlend) return;
    if (HasLayeredStyle(form_->Handle())) SetWindowAlpha(form_->Handle(), value);
}

// TScreen: the forms of the program in z-order, the active form and
// control, the screen-wide cursor, the monitors and their work areas.

#include <algorithm>

#include "Forms.h"

TScreen* Screen = nullptr;

namespace {
TMonitor Describe(HMONITOR h) {
    TMonitor m;
    m.Handle = h;
    MONITORINFO info;
    if (!h || !GetMonitorInfo(h, info)) return m;
    m.BoundsRect = info.rcMonitor;
    m.WorkareaRect = info.rcWork;
    m.Primary = (info.dwFlags & MONITORINFOF_PRIMARY) != 0;
    return m;
}

std::vector<HMONITOR> AllMonitors() {
    // Monitors are found by probing their corners: the window system names
    // each display by the monitor that holds a point.
    std::vector<HMONITOR> out;
    const int count = std::max(1, GetSystemMetrics(SM_CMONITORS));
    const TRect all{GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                    GetSystemMetrics(SM_XVIRTUALSCREEN) + GetSystemMetrics(SM_CXVIRTUALSCREEN),
                    GetSystemMetrics(SM_YVIRTUALSCREEN) + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
    if (HMONITOR primary = MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY)) out.push_back(primary);
    const int step = 64;
    for (int y = all.Top; y < all.Bottom && int(out.size()) < count; y += step)
        for (int x = all.Left; x < all.Right && int(out.size()) < count; x += step) {
            HMONITOR h = MonitorFromPoint({x, y}, MONITOR_DEFAULTTONULL);
            if (h && std::find(out.begin(), out.end(), h) == out.end()) out.push_back(h);
        }
    return out;
}
}  // namespace

TScreen::TScreen(TComponent* AOwner) : TComponent(AOwner) {
    HintFont.SetName("MS Sans Serif");
    HintFont.SetHeight(-11);
    HintFont.SetColor(clInfoText);
    MenuFont.SetName("MS Sans Serif");
    MenuFont.SetHeight(-11);
    MenuFont.SetColor(clMenuText);
}

TScreen::~TScreen() {
    if (Screen == this) Screen = nullptr;
}

void TScreen::AddForm(TCustomForm* form) {
    if (std::find(forms_.begin(), forms_.end(), form) == forms_.end()) forms_.push_back(form);
}

void TScreen::RemoveForm(TCustomForm* form) {
    std::erase(forms_, form);
    if (activeForm_ == form) SetActiveForm(nullptr);
    if (activeControl_ && GetParentForm(activeControl_) == form) activeControl_ = nullptr;
}

std::vector<TCustomForm*> TScreen::FormsInZOrder() const {
    std::vector<TCustomForm*> out;
    EnumWindows([&](HWND h) {
        auto* form = dynamic_cast<TCustomForm*>(TWinControl::FindControl(h));
        if (form && std::find(forms_.begin(), forms_.end(), form) != forms_.end()) out.push_back(form);
        return true;
    });
    for (TCustomForm* f : forms_)
        if (std::find(out.begin(), out.end(), f) == out.end()) out.push_back(f);
    return out;
}

int TScreen::FormCount() const { return int(forms_.size()); }

TCustomForm* TScreen::Forms(int index) const { return FormsInZOrder().at(std::size_t(index)); }

void TScreen::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == activeControl_) SetActiveControl(nullptr);
    if (AComponent == activeForm_) SetActiveForm(nullptr);
}

void TScreen::SetActiveForm(TCustomForm* form) {
    if (activeForm_ == form) return;
    activeForm_ = form;
    if (form) form->FreeNotification(this);
    if (OnActiveFormChange) OnActiveFormChange(this);
}

void TScreen::SetActiveControl(TWinControl* control) {
    if (activeControl_ == control) return;
    activeControl_ = control;
    if (control) control->FreeNotification(this);
    if (OnActiveControlChange) OnActiveControlChange(this);
}

void TScreen::SetCursor(TCursor value) {
    if (cursor_ == value) return;
    cursor_ = value;
    if (value != crDefault) {
        ::SetCursor(CursorHandle(value));
        return;
    }
    // Back to the controls' own cursors: ask the window under the pointer.
    TPoint p;
    GetCursorPos(p);
    if (HWND h = WindowFromPoint(p)) SendMessage(h, WM_SETCURSOR, reinterpret_cast<WPARAM>(h), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
}

int TScreen::Width() const { return GetSystemMetrics(SM_CXSCREEN); }
int TScreen::Height() const { return GetSystemMetrics(SM_CYSCREEN); }

TRect TScreen::DesktopRect() const {
    const int x = GetSystemMetrics(SM_XVIRTUALSCREEN), y = GetSystemMetrics(SM_YVIRTUALSCREEN);
    return Bounds(x, y, GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN));
}

TRect TScreen::WorkAreaRect() const {
    TRect r;
    SystemParametersInfo(SPI_GETWORKAREA, 0, &r);
    return r;
}

int TScreen::MonitorCount() const { return int(AllMonitors().size()); }

TMonitor TScreen::Monitors(int index) const {
    const auto all = AllMonitors();
    TMonitor m = Describe(all.at(std::size_t(index)));
    m.MonitorNum = index;
    return m;
}

TMonitor TScreen::MonitorFromWindow(HWND hwnd) const {
    return Describe(::MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST));
}

TMonitor TScreen::MonitorFromPoint(TPoint p) const {
    return Describe(::MonitorFromPoint(p, MONITOR_DEFAULTTONEAREST));
}

TMonitor TScreen::MonitorFromRect(const TRect& r) const {
    return Describe(::MonitorFromRect(r, MONITOR_DEFAULTTONEAREST));
}

void TScreen::SendToForms(TCustomForm* first, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (first) first->Perform(msg, wParam, lParam);
    // Handlers may free forms on the way: each one is checked just before.
    const std::vector<TCustomForm*> order = FormsInZOrder();
    for (TCustomForm* f : order) {
        if (f == first || std::find(forms_.begin(), forms_.end(), f) == forms_.end()) continue;
        f->Perform(msg, wParam, lParam);
    }
}

// The plain popup menu: one window per open level, drawn in the classic
// menu look, and a small loop that keeps keys and clicks for the menu until
// an item is chosen or the menu is dismissed.

#include <algorithm>
#include <memory>
#include <vector>

#include "Forms.h"
#include "ImgList.h"
#include "Menus.h"
#include "WindowSystem.h"

namespace {
constexpr int kBorder = 3;
constexpr int kSeparatorHeight = 9;
constexpr int kSubmenuDelayMs = 400;
constexpr UINT_PTR kSubmenuTimer = 1;

class TPopupMenuWindow;

// The open levels of one popup and the outcome.
struct MenuTrack {
    std::vector<TComponentPtr<TPopupMenuWindow>> levels;
    TImageList* images = nullptr;
    TMenuItem* chosen = nullptr;
    bool done = false;
    void Open(TMenuItem* parent, const TRect& anchor, bool beside);
    void CloseFrom(std::size_t level);
    int LevelOf(HWND hwnd) const;
};

class TPopupMenuWindow : public TCustomControl {
public:
    TPopupMenuWindow(TComponent* owner, MenuTrack& track, TMenuItem* parent, std::size_t level)
        : TCustomControl(owner), track_(track), parent_(parent), level_(level) {
        SetVisibleFlag(false);
        SetColor(clMenu);
        if (Screen) SetFont(Screen->MenuFont);
        for (int i = 0; i < parent->Count(); ++i)
            if (parent->Items(i)->Visible) items_.push_back(parent->Items(i));
        Measure();
    }

    int Selected() const { return selected_; }
    TMenuItem* SelectedItem() const { return selected_ >= 0 ? items_[std::size_t(selected_)] : nullptr; }

    void Select(int index) {
        if (index == selected_) return;
        selected_ = index;
        Invalidate();
    }

    // Moves the selection to the next selectable item, cycling once.
    void Step(int dir) {
        const int n = int(items_.size());
        int i = selected_;
        for (int k = 0; k < n; ++k) {
            i = (i < 0) ? (dir > 0 ? 0 : n - 1) : (i + dir + n) % n;
            if (!items_[std::size_t(i)]->IsLine()) {
                Select(i);
                return;
            }
        }
    }

    TRect ItemRect(int index) const {
        int y = kBorder;
        for (int i = 0; i < index; ++i) y += HeightOf(items_[std::size_t(i)]);
        return {kBorder, y, Width() - kBorder, y + HeightOf(items_[std::size_t(index)])};
    }

    // Opens the selected item's submenu, or chooses a leaf item.
    void Execute() {
        TMenuItem* item = SelectedItem();
        if (!item || item->IsLine() || !item->Enabled) return;
        if (item->Count() > 0) {
            OpenSubmenu(true);
            return;
        }
        track_.chosen = item;
        track_.done = true;
    }

    void OpenSubmenu(bool selectFirst) {
        TMenuItem* item = SelectedItem();
        if (!item || item->Count() == 0 || !item->Enabled) return;
        if (track_.levels.size() > level_ + 1 && track_.levels[level_ + 1]->parent_ == item) return;
        track_.CloseFrom(level_ + 1);
        const TRect r = ItemRect(selected_);
        const TPoint tl = ClientToScreen(r.TopLeft());
        track_.Open(item, Bounds(tl.X - kBorder, tl.Y - kBorder, Width(), r.Height() + 2 * kBorder), true);
        if (selectFirst && track_.levels.size() > level_ + 1) track_.levels[level_ + 1]->Step(1);
    }

    // The accelerator `ch` (a letter or digit); true when an item had it.
    bool Accelerate(char ch) {
        for (std::size_t i = 0; i < items_.size(); ++i)
            if (items_[i]->Enabled && IsAccel(WORD(static_cast<unsigned char>(ch)), items_[i]->Caption())) {
                Select(int(i));
                Execute();
                return true;
            }
        return false;
    }

protected:
    void CreateParams(TCreateParams& p) override {
        TCustomControl::CreateParams(p);
        p.Style = WS_POPUP;
        p.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE;
        p.WinClassName = "TPopupMenuWindow";
        p.WindowClassStyle = CS_SAVEBITS;
    }

    void WndProc(TMessage& m) override {
        switch (m.Msg) {
        case WM_MOUSEACTIVATE:
            m.Result = MA_NOACTIVATE;
            return;
        case WM_MOUSEMOVE: {
            const int hit = HitItem(LParamToPoint(m.LParam));
            if (hit >= 0 && hit != selected_) {
                Select(hit);
                // Deeper levels that belong to another item close; a submenu opens after a pause.
                if (track_.levels.size() > level_ + 1 && track_.levels[level_ + 1]->parent_ != SelectedItem())
                    track_.CloseFrom(level_ + 1);
                if (SelectedItem()->Count() > 0) SetTimer(Handle(), kSubmenuTimer, kSubmenuDelayMs);
            }
            return;
        }
        case WM_TIMER:
            if (m.WParam == kSubmenuTimer) {
                KillTimer(Handle(), kSubmenuTimer);
                OpenSubmenu(false);
            }
            return;
        case WM_LBUTTONUP:
        case WM_RBUTTONUP: {
            const int hit = HitItem(LParamToPoint(m.LParam));
            if (hit >= 0) {
                Select(hit);
                Execute();
            }
            return;
        }
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            return;
        default:
            break;
        }
        TCustomControl::WndProc(m);
    }

    void Paint() override {
        TCanvas& c = Canvas();
        const TRect all = ClientRect();
        c.Brush.Color = clMenu;
        c.FillRect(all);
        Bevel(c, all, cl3DLight, cl3DDkShadow);
        Bevel(c, InflateRect(all, -1, -1), clBtnHighlight, clBtnShadow);
        for (int i = 0; i < int(items_.size()); ++i) PaintItem(c, i);
    }

private:
    friend struct MenuTrack;

    int HeightOf(const TMenuItem* item) const { return item->IsLine() ? kSeparatorHeight : itemHeight_; }

    int HitItem(TPoint p) const {
        for (int i = 0; i < int(items_.size()); ++i)
            if (PtInRect(ItemRect(i), p)) return items_[std::size_t(i)]->IsLine() ? -1 : i;
        return -1;
    }

    void Measure() {
        TCanvas measure;
        measure.Font = Font();
        itemHeight_ = std::max(measure.TextHeight("Wg") + 6, track_.images ? track_.images->Height() + 3 : 0);
        glyphWidth_ = track_.images ? track_.images->Width() + 6 : 17;
        int textW = 0, shortcutW = 0;
        for (const TMenuItem* item : items_) {
            if (item->IsLine()) continue;
            TRect r{0, 0, 0, 0};
            measure.DrawText(item->Caption(), r, DT_CALCRECT | DT_SINGLELINE);
            textW = std::max(textW, r.Width());
            if (item->ShortCut) shortcutW = std::max(shortcutW, measure.TextWidth(ShortCutToText(item->ShortCut)));
        }
        int h = 2 * kBorder;
        for (const TMenuItem* item : items_) h += HeightOf(item);
        const int w = 2 * kBorder + glyphWidth_ + 2 + textW + (shortcutW ? 16 + shortcutW : 0) + 20;
        SetBounds(0, 0, w, h);
    }

    void PaintItem(TCanvas& c, int index) {
        const TMenuItem* item = items_[std::size_t(index)];
        const TRect r = ItemRect(index);
        if (item->IsLine()) {
            const int y = r.Top + r.Height() / 2 - 1;
            c.Pen.Color = clBtnShadow;
            c.MoveTo(r.Left + 1, y);
            c.LineTo(r.Right - 1, y);
            c.Pen.Color = clBtnHighlight;
            c.MoveTo(r.Left + 1, y + 1);
            c.LineTo(r.Right - 1, y + 1);
            return;
        }
        const bool selected = index == selected_;
        c.Brush.Style = bsSolid;
        c.Brush.Color = selected ? clHighlight : clMenu;
        c.FillRect(r);
        const int mid = r.Top + r.Height() / 2;
        // The glyph column: an image, or a check mark / radio dot.
        if (track_.images && item->ImageIndex >= 0) {
            track_.images->Draw(c, r.Left + 2, mid - track_.images->Height() / 2, item->ImageIndex, item->Enabled);
        } else if (item->Bitmap && !item->Bitmap->Empty()) {
            c.Draw(r.Left + 2, mid - item->Bitmap->Height() / 2, *item->Bitmap);
        } else if (item->Checked) {
            const TColor mark = selected ? clHighlightText : clMenuText;
            c.Pen.Color = mark;
            c.Brush.Color = mark;
            const int x = r.Left + glyphWidth_ / 2 - 3;
            if (item->RadioItem) {
                c.Ellipse(x, mid - 3, x + 6, mid + 3);
            } else {
                for (int k = 0; k < 3; ++k) {
                    c.MoveTo(x, mid - 1 + k);
                    c.LineTo(x + 2, mid + 1 + k);
                    c.LineTo(x + 7, mid - 4 + k);
                }
            }
        }
        c.Brush.Style = bsClear;
        TRect text{r.Left + glyphWidth_ + 2, r.Top, r.Right - 20, r.Bottom};
        const unsigned flags = DT_SINGLELINE | DT_VCENTER | DT_LEFT;
        auto drawTexts = [&](TColor color, int dx, int dy) {
            c.Font.SetColor(color);
            TRect t = OffsetRect(text, dx, dy);
            c.DrawText(item->Caption(), t, flags);
            if (item->ShortCut) {
                TRect s = t;
                c.DrawText(ShortCutToText(item->ShortCut), s, DT_SINGLELINE | DT_VCENTER | DT_RIGHT | DT_NOPREFIX);
            }
        };
        if (!item->Enabled && !selected) {
            drawTexts(clBtnHighlight, 1, 1);  // the engraved look of a disabled item
            drawTexts(clBtnShadow, 0, 0);
        } else {
            drawTexts(!item->Enabled ? clGrayText : selected ? clHighlightText : clMenuText, 0, 0);
        }
        c.Brush.Style = bsSolid;
        if (item->Count() > 0) {
            const TColor arrow = selected ? clHighlightText : clMenuText;
            c.Pen.Color = arrow;
            c.Brush.Color = arrow;
            const int x = r.Right - 12;
            const TPoint tri[] = {{x, mid - 4}, {x + 4, mid}, {x, mid + 4}};
            c.Polygon(tri);
        }
    }

    static void Bevel(TCanvas& c, const TRect& r, TColor topLeft, TColor bottomRight) {
        c.Pen.Color = topLeft;
        c.MoveTo(r.Left, r.Bottom - 1);
        c.LineTo(r.Left, r.Top);
        c.LineTo(r.Right - 1, r.Top);
        c.Pen.Color = bottomRight;
        c.LineTo(r.Right - 1, r.Bottom - 1);
        c.LineTo(r.Left - 1, r.Bottom - 1);
    }

    MenuTrack& track_;
    TMenuItem* parent_;
    std::size_t level_;
    std::vector<TMenuItem*> items_;
    int selected_ = -1;
    int itemHeight_ = 18;
    int glyphWidth_ = 17;
};

void MenuTrack::Open(TMenuItem* parent, const TRect& anchor, bool beside) {
    auto window = CreateUnowned<TPopupMenuWindow>(*this, parent, levels.size());
    const int w = window->Width(), h = window->Height();
    MONITORINFO info;
    TRect work{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (GetMonitorInfo(MonitorFromPoint(anchor.TopLeft(), MONITOR_DEFAULTTONEAREST), info)) work = info.rcWork;
    int x = beside ? anchor.Right : anchor.Left;
    int y = anchor.Top;
    if (x + w > work.Right) x = beside ? anchor.Left - w : work.Right - w;
    if (y + h > work.Bottom) y = beside ? work.Bottom - h : anchor.Top - h;
    x = std::max(x, work.Left);
    y = std::max(y, work.Top);
    window->SetBounds(x, y, w, h);
    window->HandleNeeded();
    SetWindowPos(window->Handle(), HWND_TOPMOST, x, y, w, h, SWP_SHOWWINDOW | SWP_NOACTIVATE);
    levels.push_back(std::move(window));
}

void MenuTrack::CloseFrom(std::size_t level) {
    while (levels.size() > level) levels.pop_back();
}

int MenuTrack::LevelOf(HWND hwnd) const {
    for (std::size_t i = 0; i < levels.size(); ++i)
        if (levels[i]->HandleAllocated() && levels[i]->Handle() == hwnd) return int(i);
    return -1;
}

bool IsPointerMessage(UINT msg) {
    return (msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST) || (msg >= WM_NCMOUSEMOVE && msg <= WM_NCMBUTTONDBLCLK);
}

bool IsPress(UINT msg) {
    return msg == WM_LBUTTONDOWN || msg == WM_RBUTTONDOWN || msg == WM_MBUTTONDOWN || msg == WM_NCLBUTTONDOWN ||
           msg == WM_NCRBUTTONDOWN || msg == WM_NCMBUTTONDOWN || msg == WM_LBUTTONDBLCLK;
}

void HandleMenuKey(MenuTrack& t, const MSG& msg) {
    TPopupMenuWindow& top = *t.levels.back();
    if (msg.message == WM_CHAR || msg.message == WM_SYSCHAR) {
        const char ch = char(msg.wParam);
        if (ch > ' ') top.Accelerate(ch);
        return;
    }
    if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN) return;
    switch (msg.wParam) {
    case VK_DOWN: top.Step(1); break;
    case VK_UP: top.Step(-1); break;
    case VK_RIGHT: top.OpenSubmenu(true); break;
    case VK_LEFT:
        if (t.levels.size() > 1) t.CloseFrom(t.levels.size() - 1);
        break;
    case VK_ESCAPE:
        if (t.levels.size() > 1) t.CloseFrom(t.levels.size() - 1);
        else t.done = true;
        break;
    case VK_RETURN:
    case VK_SPACE: top.Execute(); break;
    case VK_MENU:
    case VK_F10: t.done = true; break;
    default: break;
    }
}
}  // namespace

TMenuItem* TrackPopupMenu(TMenuItem* root, TPoint screenPos, TImageList* images) {
    if (!root || !WindowSystemRunning()) return nullptr;
    bool any = false;
    for (int i = 0; i < root->Count(); ++i) any = any || root->Items(i)->Visible;
    if (!any) return nullptr;
    if (Application) Application->CancelHint();
    MenuTrack track;
    track.images = images;
    track.Open(root, {screenPos.X, screenPos.Y, screenPos.X, screenPos.Y}, false);
    if (GetCapture()) ReleaseCapture();
    while (!track.done) {
        MSG msg;
        if (!PeekMessage(msg)) {
            WaitMessage();
            continue;
        }
        if (msg.message == WM_QUIT) {
            PostQuitMessage(int(msg.wParam));  // for the loop outside
            break;
        }
        if (msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST) {
            TranslateMessage(msg);
            HandleMenuKey(track, msg);
            continue;
        }
        if (IsPointerMessage(msg.message) && track.LevelOf(msg.hwnd) < 0) {
            // A press elsewhere dismisses the menu; the press itself is spent.
            if (IsPress(msg.message)) track.done = true;
            continue;
        }
        DispatchMessage(msg);
    }
    TMenuItem* chosen = track.chosen;
    track.CloseFrom(0);
    PresentChanges();
    return chosen;
}

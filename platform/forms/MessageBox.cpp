// The plain message box: a dialog form with the standard icon of its kind,
// the text wrapped to a readable width, and a centred row of push buttons;
// Tab, the arrows, Enter, Escape, Space and the buttons' letters work as on
// the platform.

#include "MessageBox.h"

#include <algorithm>
#include <vector>

#include "Forms.h"
#include "SysUtils.h"

namespace {
constexpr int kMargin = 12;
constexpr int kIconSize = 32;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 23;
constexpr int kButtonGap = 6;

struct ButtonSpec {
    const char* caption;
    int id;
};

std::vector<ButtonSpec> ButtonsFor(UINT type) {
    switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL: return {{"OK", IDOK}, {"Cancel", IDCANCEL}};
    case MB_ABORTRETRYIGNORE: return {{"&Abort", IDABORT}, {"&Retry", IDRETRY}, {"&Ignore", IDIGNORE}};
    case MB_YESNOCANCEL: return {{"&Yes", IDYES}, {"&No", IDNO}, {"Cancel", IDCANCEL}};
    case MB_YESNO: return {{"&Yes", IDYES}, {"&No", IDNO}};
    case MB_RETRYCANCEL: return {{"&Retry", IDRETRY}, {"Cancel", IDCANCEL}};
    default: return {{"OK", IDOK}};
    }
}

// What Escape or closing the window answers; 0 when they do nothing.
int EscapeResult(const std::vector<ButtonSpec>& buttons) {
    for (const auto& b : buttons)
        if (b.id == IDCANCEL) return IDCANCEL;
    return buttons.size() == 1 && buttons[0].id == IDOK ? IDOK : 0;
}

// A push button drawn in the classic raised look.
class TMessageButton : public TCustomControl {
public:
    TMessageButton(TComponent* owner, int result) : TCustomControl(owner), result_(result) {
        SetTabStop(true);
        SetColor(clBtnFace);
    }
    int Result() const { return result_; }
    void Press() {
        if (auto* form = GetParentForm(this)) form->SetModalResult(result_);
    }

protected:
    void WndProc(TMessage& m) override {
        switch (m.Msg) {
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            TCustomControl::WndProc(m);
            Invalidate();
            return;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            if (CanFocus()) SetFocus();
            down_ = true;
            Invalidate();
            break;
        case WM_MOUSEMOVE:
            if (MouseCapture()) {
                const bool inside = PtInRect(ClientRect(), LParamToPoint(m.LParam));
                if (inside != down_) {
                    down_ = inside;
                    Invalidate();
                }
            }
            break;
        case WM_LBUTTONUP:
            down_ = false;
            Invalidate();
            break;
        case WM_KEYDOWN:
            if (m.WParam == VK_SPACE) {
                down_ = true;
                Invalidate();
                return;
            }
            break;
        case WM_KEYUP:
            if (m.WParam == VK_SPACE && down_) {
                down_ = false;
                Invalidate();
                Press();
                return;
            }
            break;
        case CM_DIALOGKEY:
            if (m.WParam == VK_RETURN && Focused()) {
                Press();
                m.Result = 1;
            }
            return;
        default:
            break;
        }
        TCustomControl::WndProc(m);
    }

    void Click() override {
        TCustomControl::Click();
        Press();
    }

    void Paint() override {
        TCanvas& c = Canvas();
        const TRect r = ClientRect();
        c.Brush.Color = clBtnFace;
        c.FillRect(r);
        TRect face = r;
        if (Focused()) {
            c.Brush.Color = clWindowFrame;
            c.FrameRect(face);
            face = InflateRect(face, -1, -1);
        }
        if (down_) {
            c.Brush.Color = clBtnShadow;
            c.FrameRect(face);
        } else {
            Bevel(c, face, clBtnHighlight, cl3DDkShadow);
            Bevel(c, InflateRect(face, -1, -1), cl3DLight, clBtnShadow);
        }
        TRect text = r;
        if (down_) text = OffsetRect(text, 1, 1);
        c.Brush.Style = bsClear;
        c.Font.SetColor(Enabled() ? clBtnText : clGrayText);
        c.DrawText(Caption(), text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        if (Focused()) c.DrawFocusRect(InflateRect(r, -4, -4));
    }

private:
    static void Bevel(TCanvas& c, const TRect& r, TColor topLeft, TColor bottomRight) {
        c.Pen.Color = topLeft;
        c.MoveTo(r.Left, r.Bottom - 1);
        c.LineTo(r.Left, r.Top);
        c.LineTo(r.Right - 1, r.Top);
        c.Pen.Color = bottomRight;
        c.LineTo(r.Right - 1, r.Bottom - 1);
        c.LineTo(r.Left - 1, r.Bottom - 1);
    }

    int result_;
    bool down_ = false;
};

// The shared standard icon of a kind, or null for none.
HICON MessageIcon(UINT kind) {
    switch (kind) {
    case MB_ICONHAND: return LoadIcon(nullptr, IDI_HAND);
    case MB_ICONQUESTION: return LoadIcon(nullptr, IDI_QUESTION);
    case MB_ICONEXCLAMATION: return LoadIcon(nullptr, IDI_EXCLAMATION);
    case MB_ICONASTERISK: return LoadIcon(nullptr, IDI_ASTERISK);
    default: return nullptr;
    }
}

class TMessageBoxForm : public TForm {
public:
    TMessageBoxForm(TComponent* owner, const AnsiString& text, UINT type)
        : TForm(owner), text_(text), icon_(MessageIcon(type & MB_ICONMASK)) {
        SetBorderStyle(bsDialog);
        SetBorderIcons(biSystemMenu);
        SetPosition(poScreenCenter);
        KeyPreview = true;
        const auto specs = ButtonsFor(type);
        escape_ = EscapeResult(specs);
        for (const auto& s : specs) {
            auto* b = CreateComponent<TMessageButton>(this, s.id);
            b->SetCaption(s.caption);
            b->SetParent(this);
            buttons_.push_back(b);
        }
        const std::size_t def = std::min<std::size_t>((type & MB_DEFMASK) >> 8, buttons_.size() - 1);
        SetActiveControl(buttons_[def]);
        Layout();
        OnCloseQuery = [this](TObject*, bool& canClose) {
            if (ModalResult() != mrCancel) return;
            // Escape and the close command answer only where the box allows.
            if (escape_ == 0) canClose = false;
            else SetModalResult(escape_);
        };
        OnKeyDown = [this](TObject*, WORD& key, TShiftState shift) {
            if (key == VK_ESCAPE) {
                if (escape_) SetModalResult(escape_);
                key = 0;
                return;
            }
            // A button's letter presses it, with or without Alt.
            if ((shift & ssCtrl) || key < 'A' || key > 'Z') return;
            for (TMessageButton* b : buttons_) {
                const AnsiString& cap = b->Caption();
                const auto amp = cap.find('&');
                if (amp != AnsiString::npos && amp + 1 < cap.size() && AsciiUpper(cap[amp + 1]) == char(key)) {
                    key = 0;
                    b->Press();
                    return;
                }
            }
        };
    }

protected:
    void Paint() override {
        TCanvas& c = Canvas();
        if (icon_) DrawIconEx(&c, kMargin, kMargin, icon_, kIconSize, kIconSize, 0, nullptr, DI_NORMAL);
        c.Font = Font();
        c.Brush.Style = bsClear;
        TRect r = textRect_;
        c.DrawText(text_, r, DT_LEFT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
        c.Brush.Style = bsSolid;
    }

private:
    void Layout() {
        TCanvas measure;
        measure.Font = Font();
        const int maxText = std::max(200, GetSystemMetrics(SM_CXSCREEN) * 5 / 8);
        TRect t{0, 0, maxText, 0};
        measure.DrawText(text_.empty() ? AnsiString(" ") : text_, t,
                         DT_CALCRECT | DT_LEFT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
        const int textLeft = icon_ ? kMargin + kIconSize + kMargin : kMargin;
        int textTop = kMargin;
        if (icon_ && t.Height() < kIconSize) textTop += (kIconSize - t.Height()) / 2;
        textRect_ = Bounds(textLeft, textTop, t.Width(), t.Height());
        const int contentBottom = std::max(textRect_.Bottom, icon_ ? kMargin + kIconSize : 0);
        const int n = int(buttons_.size());
        const int rowWidth = n * kButtonWidth + (n - 1) * kButtonGap;
        const int clientW = std::max(textRect_.Right + kMargin, rowWidth + 2 * kMargin);
        const int rowTop = contentBottom + kMargin;
        const int clientH = rowTop + kButtonHeight + kMargin;
        int x = (clientW - rowWidth) / 2;
        for (TMessageButton* b : buttons_) {
            b->SetBounds(x, rowTop, kButtonWidth, kButtonHeight);
            x += kButtonWidth + kButtonGap;
        }
        SetClientWidth(clientW);
        SetClientHeight(clientH);
    }

    AnsiString text_;
    HICON icon_;
    int escape_ = 0;
    TRect textRect_;
    std::vector<TMessageButton*> buttons_;
};
}  // namespace

int MessageBox(HWND owner, const AnsiString& text, const AnsiString& caption, UINT type) {
    if (!Screen || !Application) return 0;
    auto box = CreateUnowned<TMessageBoxForm>(text, type);
    box->SetCaption(caption);
    if (owner && IsWindow(owner)) box->SetPopupParentWindow(owner);
    if (type & MB_ICONMASK) MessageBeep(type & MB_ICONMASK);
    return box->ShowModal();
}

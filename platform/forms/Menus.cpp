// Menu items, menus, popup menus and the shortcut texts.

#include "Menus.h"

#include <algorithm>

#include "Forms.h"
#include "ImgList.h"
#include "SysUtils.h"

// ---- shortcuts -----------------------------------------------------------------------------

TShortCut ShortCut(WORD key, TShiftState shift) {
    TShortCut s = TShortCut(key & 0xFF);
    if (shift & ssShift) s |= scShift;
    if (shift & ssCtrl) s |= scCtrl;
    if (shift & ssAlt) s |= scAlt;
    return s;
}

void ShortCutToKey(TShortCut shortCut, WORD& key, TShiftState& shift) {
    key = WORD(shortCut & 0xFF);
    shift = 0;
    if (shortCut & scShift) shift |= ssShift;
    if (shortCut & scCtrl) shift |= ssCtrl;
    if (shortCut & scAlt) shift |= ssAlt;
}

namespace {
struct KeyName {
    WORD key;
    const char* name;
};
constexpr KeyName kKeyNames[] = {
    {VK_BACK, "BkSp"},  {VK_TAB, "Tab"},    {VK_RETURN, "Enter"}, {VK_ESCAPE, "Esc"},   {VK_SPACE, "Space"},
    {VK_PRIOR, "PgUp"}, {VK_NEXT, "PgDn"},  {VK_END, "End"},      {VK_HOME, "Home"},    {VK_LEFT, "Left"},
    {VK_UP, "Up"},      {VK_RIGHT, "Right"}, {VK_DOWN, "Down"},   {VK_INSERT, "Ins"},   {VK_DELETE, "Del"},
};

AnsiString KeyText(WORD key) {
    if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9')) return AnsiString(1, char(key));
    if (key >= VK_F1 && key <= VK_F12) return "F" + IntToStr(key - VK_F1 + 1);
    for (const auto& k : kKeyNames)
        if (k.key == key) return k.name;
    return {};
}
}  // namespace

AnsiString ShortCutToText(TShortCut shortCut) {
    const AnsiString name = KeyText(WORD(shortCut & 0xFF));
    if (name.empty()) return {};
    AnsiString out;
    if (shortCut & scShift) out += "Shift+";
    if (shortCut & scCtrl) out += "Ctrl+";
    if (shortCut & scAlt) out += "Alt+";
    return out + name;
}

TShortCut TextToShortCut(const AnsiString& text) {
    TShortCut mods = 0;
    std::string_view rest = text;
    for (;;) {
        auto take = [&](std::string_view prefix, TShortCut bit) {
            if (rest.size() > prefix.size() && SameText(rest.substr(0, prefix.size()), prefix)) {
                rest.remove_prefix(prefix.size());
                mods |= bit;
                return true;
            }
            return false;
        };
        if (!take("Shift+", scShift) && !take("Ctrl+", scCtrl) && !take("Alt+", scAlt)) break;
    }
    for (int key = 1; key < 256; ++key) {
        const AnsiString name = KeyText(WORD(key));
        if (!name.empty() && SameText(name, rest)) return TShortCut(mods | key);
    }
    return 0;
}

AnsiString StripHotkey(const AnsiString& caption) {
    AnsiString out;
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&') {
            if (i + 1 < caption.size() && caption[i + 1] == '&') out += '&';
            ++i;
            if (i < caption.size() && caption[i] != '&') out += caption[i];
            continue;
        }
        // Double-byte characters pass whole: their trail byte may look like '&'.
        const std::size_t n = CharLengthAt(caption, i);
        out.append(caption, i, n);
        i += n - 1;
    }
    return out;
}

char GetHotkey(const AnsiString& caption) {
    for (std::size_t i = 0; i < caption.size(); i += CharLengthAt(caption, i)) {
        if (caption[i] != '&') continue;
        if (i + 1 >= caption.size()) return 0;
        if (caption[i + 1] == '&') {
            ++i;
            continue;
        }
        return AsciiUpper(caption[i + 1]);
    }
    return 0;
}

bool IsAccel(WORD key, const AnsiString& caption) {
    const char hot = GetHotkey(caption);
    return hot != 0 && hot == AsciiUpper(char(key));
}

// ---- TMenuItem -------------------------------------------------------------------------------

TMenuItem::TMenuItem(TComponent* AOwner) : TComponent(AOwner) {}

TMenuItem::~TMenuItem() {
    NotifyDestroying();
    // Children owned by the tree go with it; the others are only unlinked.
    while (!items_.empty()) {
        Child last = std::move(items_.back());
        items_.pop_back();
        last.item->parent_ = nullptr;
    }
    if (parent_) parent_->Unlink(std::size_t(parent_->IndexOf(this))).release();
}

int TMenuItem::IndexOf(const TMenuItem* item) const {
    for (std::size_t i = 0; i < items_.size(); ++i)
        if (items_[i].item == item) return int(i);
    return -1;
}

int TMenuItem::MenuIndex() const { return parent_ ? parent_->IndexOf(this) : -1; }

void TMenuItem::Link(int index, TMenuItem* item, std::unique_ptr<TMenuItem> owned) {
    if (!item) return;
    if (item == this) throw EMenuError("A menu item cannot hold itself");
    for (const TMenuItem* p = this; p; p = p->parent_)
        if (p == item) throw EMenuError("A menu item cannot hold its own parent");
    if (item->parent_) throw EMenuError("Menu item is already inserted");
    const std::size_t at = std::size_t(std::clamp(index, 0, Count()));
    item->parent_ = this;
    items_.insert(items_.begin() + std::ptrdiff_t(at), Child{item, std::move(owned)});
}

std::unique_ptr<TMenuItem> TMenuItem::Unlink(std::size_t index) {
    if (index >= items_.size()) return nullptr;
    Child c = std::move(items_[index]);
    items_.erase(items_.begin() + std::ptrdiff_t(index));
    c.item->parent_ = nullptr;
    return std::move(c.owned);
}

void TMenuItem::Add(TMenuItem* item) { Link(Count(), item, nullptr); }
void TMenuItem::Insert(int index, TMenuItem* item) { Link(index, item, nullptr); }

TMenuItem* TMenuItem::Add(std::unique_ptr<TMenuItem> item) { return Insert(Count(), std::move(item)); }

TMenuItem* TMenuItem::Insert(int index, std::unique_ptr<TMenuItem> item) {
    TMenuItem* raw = item.get();
    Link(index, raw, std::move(item));
    return raw;
}

std::unique_ptr<TMenuItem> TMenuItem::Delete(int index) {
    if (index < 0 || index >= Count()) throw EMenuError("Menu index out of range");
    return Unlink(std::size_t(index));
}

std::unique_ptr<TMenuItem> TMenuItem::Remove(TMenuItem* item) {
    const int i = IndexOf(item);
    if (i < 0) throw EMenuError("Menu item is not in this menu");
    return Unlink(std::size_t(i));
}

void TMenuItem::Clear() {
    while (!items_.empty()) {
        TMenuItem* item = items_.back().item;
        std::unique_ptr<TMenuItem> owned = Unlink(items_.size() - 1);
        if (!owned) FreeComponent(item);  // freed through its owner, when it has one
    }
}

TMenuItem* TMenuItem::Find(const AnsiString& caption) const {
    const AnsiString want = StripHotkey(caption);
    for (const auto& c : items_)
        if (SameText(StripHotkey(c.item->Caption()), want)) return c.item;
    return nullptr;
}

void TMenuItem::RethinkLines() {
    // A separator shows only between two visible ordinary items.
    TMenuItem* pending = nullptr;
    bool seenItem = false;
    for (const auto& c : items_) {
        TMenuItem* item = c.item;
        if (item->IsLine()) {
            item->Visible = false;
            if (seenItem && !pending) pending = item;
            continue;
        }
        if (!item->Visible) continue;
        if (pending) {
            pending->Visible = true;
            pending = nullptr;
        }
        seenItem = true;
    }
}

TMenu* TMenuItem::GetParentMenu() const {
    const TMenuItem* root = this;
    while (root->parent_) root = root->parent_;
    return root->menu_;
}

void TMenuItem::Click() {
    if (Enabled && OnClick) OnClick(this);
}

// ---- TMenu / TPopupMenu -------------------------------------------------------------------------------

TMenu::TMenu(TComponent* AOwner) : TComponent(AOwner), items_(std::make_unique<TMenuItem>(nullptr)) {
    items_->menu_ = this;
}

TMenu::~TMenu() {
    NotifyDestroying();
    items_.reset();
}

void TMenu::SetImages(TImageList* images) {
    if (images_ == images) return;
    images_ = images;
    if (images) images->FreeNotification(this);
}

void TMenu::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == images_) images_ = nullptr;
}

namespace {
TMenuItem* FindShortCut(TMenuItem* parent, TShortCut sc) {
    for (int i = 0; i < parent->Count(); ++i) {
        TMenuItem* item = parent->Items(i);
        if (!item->Visible || !item->Enabled) continue;
        if (item->ShortCut == sc) return item;
        if (TMenuItem* deeper = FindShortCut(item, sc)) return deeper;
    }
    return nullptr;
}
}  // namespace

bool TMenu::IsShortCut(TWMKey& m) {
    const TShortCut sc = ShortCut(m.CharCode, KeyDataToShiftState(m.KeyData));
    if ((sc & 0xFF) == 0) return false;
    TMenuItem* item = FindShortCut(items_.get(), sc);
    if (!item) return false;
    DispatchCommand(item);
    return true;
}

void TMenu::DispatchCommand(TMenuItem* item) {
    if (item) item->Click();
}

TPopupMenu::TPopupMenu(TComponent* AOwner) : TMenu(AOwner) {}

TPopupMenu::~TPopupMenu() { NotifyDestroying(); }

void TPopupMenu::SetPopupComponent(TComponent* component) {
    if (popupComponent_ == component) return;
    popupComponent_ = component;
    if (component) component->FreeNotification(this);
}

void TPopupMenu::Notification(TComponent* AComponent, TOperation Operation) {
    TMenu::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == popupComponent_) popupComponent_ = nullptr;
}

void TPopupMenu::Popup(int X, int Y) {
    popupPoint_ = {X, Y};
    if (OnPopup) OnPopup(this);
    if (AutoLineReduction == maAutomatic) Items()->RethinkLines();
    TMenuItem* chosen = TrackPopupMenu(Items(), {X, Y}, Images());
    if (chosen) DispatchCommand(chosen);
}

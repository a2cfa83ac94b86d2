#pragma once
// The messages a skin data component sends when its skin or its settings
// change, and the route they take: the owner form first, then every form of
// the screen in list order. Forms take part by implementing
// TbsSkinMessageReceiver; the screen's form list is a TbsSkinMessageScreen.
// The component framework's forms and Screen plug in here: a form's receiver
// passes the message to its window procedure with SendMessage semantics.

#include <cstdint>
#include <vector>

constexpr unsigned kSkinMessageBase = 0x400;  // WM_USER
constexpr unsigned SKINMSG_BEFORECHANGE = kSkinMessageBase + 201;
constexpr unsigned SKINMSG_CHANGE = kSkinMessageBase + 202;
constexpr unsigned SKINMSG_AFTERCHANGE = kSkinMessageBase + 203;
constexpr unsigned SKINMSG_STRINGSCHANGE = kSkinMessageBase + 250;
constexpr unsigned SKINMSG_SKINNABLECHANGE = kSkinMessageBase + 270;

// lParam of every message a skin data component sends.
constexpr std::intptr_t kSkinMessageLParam = 1000;

class TbsSkinMessageReceiver {
public:
    // Handles the message synchronously, before the sender goes on.
    virtual void ReceiveSkinMessage(unsigned msg, std::uintptr_t wParam, std::intptr_t lParam) = 0;

protected:
    ~TbsSkinMessageReceiver() = default;
};

// The forms of the application's screen, in list order. A form registers
// when it is created and unregisters before it is destroyed.
class TbsSkinMessageScreen {
public:
    void AddForm(TbsSkinMessageReceiver& form);
    void RemoveForm(const TbsSkinMessageReceiver& form);
    bool HasForm(const TbsSkinMessageReceiver* form) const;
    const std::vector<TbsSkinMessageReceiver*>& Forms() const { return forms_; }

    // Sends to `owner` (when not null) and then to every registered form
    // except the owner. A form that unregisters while the message is on its
    // way does not receive it; one that registers then does not either.
    void Broadcast(TbsSkinMessageReceiver* owner, unsigned msg, std::uintptr_t wParam,
                   std::intptr_t lParam) const;

private:
    std::vector<TbsSkinMessageReceiver*> forms_;
};

// The application's screen.
TbsSkinMessageScreen& SkinMessageScreen();

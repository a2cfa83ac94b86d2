#pragma once
// The root of the component framework: TObject, the event types shared by
// every unit, and TComponent with its ownership tree and free notification.
//
// Ownership. A component is owned by its owner, which holds it in a
// std::unique_ptr and frees it when the owner itself goes. Everything else
// that points at a component holds a plain pointer and clears it when the
// component tells it, through Notification(opRemove), that it is going.
// Components are made with CreateComponent (owned) or CreateUnowned (held by
// the caller); both run AfterConstruction once the object is complete.

#include <functional>
#include <memory>
#include <string_view>
#include <utility>
#include <vector>

#include "AnsiString.h"

class TObject {
public:
    TObject() = default;
    TObject(const TObject&) = delete;
    TObject& operator=(const TObject&) = delete;
    virtual ~TObject() = default;
};

using TNotifyEvent = std::function<void(TObject* Sender)>;

// Modifier keys and mouse buttons held during an input event.
enum TShiftStateFlag : unsigned {
    ssShift = 0x01,
    ssAlt = 0x02,
    ssCtrl = 0x04,
    ssLeft = 0x08,
    ssRight = 0x10,
    ssMiddle = 0x20,
    ssDouble = 0x40,
};
using TShiftState = unsigned;

enum TOperation { opInsert, opRemove };

enum TComponentStateFlag : unsigned {
    csLoading = 0x01,
    csReading = 0x02,
    csWriting = 0x04,
    csDestroying = 0x08,
    csDesigning = 0x10,
};
using TComponentState = unsigned;

class TComponent : public TObject {
public:
    // `AOwner` becomes the owner once construction has finished (see
    // CreateComponent); it is known to the constructor already.
    explicit TComponent(TComponent* AOwner);
    ~TComponent() override;

    TComponent* Owner() const { return owner_; }
    const AnsiString& Name() const { return name_; }
    virtual void SetName(const AnsiString& name) { name_ = name; }
    int Tag = 0;

    int ComponentCount() const { return int(components_.size()); }
    TComponent* Components(int index) const { return components_.at(std::size_t(index)).get(); }
    // Position in the owner's list; -1 without owner.
    int ComponentIndex() const;
    // The owned component with that name (compared case-insensitively), or null.
    TComponent* FindComponent(std::string_view name) const;

    // Takes ownership; the component's Owner becomes this one.
    void InsertComponent(std::unique_ptr<TComponent> component);
    // Gives an owned component back to the caller (its Owner becomes null).
    std::unique_ptr<TComponent> RemoveComponent(TComponent* component);
    // Frees every owned component, last created first.
    void DestroyComponents();

    // Both components are told (Notification with opRemove) when the other
    // one is destroyed. The owner is always told about its own components.
    void FreeNotification(TComponent* AComponent);
    void RemoveFreeNotification(TComponent* AComponent);

    TComponentState ComponentState() const { return state_; }
    bool Designing() const { return (state_ & csDesigning) != 0; }
    bool Loading() const { return (state_ & csLoading) != 0; }
    bool Destroying() const { return (state_ & csDestroying) != 0; }
    void SetDesigning(bool value);
    // Marks the component as being read from a window definition; ending the
    // read calls Loaded.
    void BeginLoading();
    void EndLoading();

    // Runs once the most derived constructor has finished.
    virtual void AfterConstruction() {}
    // Runs while the whole object still exists, just before it is freed by
    // its owner (or by FreeComponent); handlers that need the derived parts
    // (a form's OnDestroy) run here.
    virtual void BeforeDestruction() {}

protected:
    // `AComponent` is being inserted into or removed from this component's
    // view: an owned component, or one that asked for free notification.
    virtual void Notification(TComponent* AComponent, TOperation Operation);
    virtual void Loaded() {}
    // Marks the component as going and tells everyone who asked; safe to
    // call more than once. Derived destructors that still need their own
    // members while owned components go call it, then DestroyComponents.
    void NotifyDestroying();

private:
    TComponent* owner_ = nullptr;
    AnsiString name_;
    TComponentState state_ = 0;
    bool notifiedFree_ = false;
    std::vector<std::unique_ptr<TComponent>> components_;
    std::vector<TComponent*> freeNotifies_;
};

// Frees a component: through its owner when it has one. A component without
// owner belongs to whoever holds its unique_ptr, so nothing happens here.
void FreeComponent(TComponent* component);

// Makes a component owned by `owner` (which must not be null) and returns it.
template <class T, class... Args>
T* CreateComponent(TComponent* owner, Args&&... args) {
    auto made = std::make_unique<T>(owner, std::forward<Args>(args)...);
    T* raw = made.get();
    owner->InsertComponent(std::move(made));
    raw->AfterConstruction();
    return raw;
}

// Frees a component held without owner, BeforeDestruction first.
struct TComponentDeleter {
    void operator()(TComponent* component) const {
        component->BeforeDestruction();
        delete component;
    }
};
template <class T>
using TComponentPtr = std::unique_ptr<T, TComponentDeleter>;

// Makes a component without owner; the caller holds it.
template <class T, class... Args>
TComponentPtr<T> CreateUnowned(Args&&... args) {
    TComponentPtr<T> made(new T(nullptr, std::forward<Args>(args)...));
    made->AfterConstruction();
    return made;
}

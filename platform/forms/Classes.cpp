#include "Classes.h"

#include <algorithm>

#include "SysUtils.h"

TComponent::TComponent(TComponent* AOwner) : owner_(AOwner) {}

TComponent::~TComponent() {
    NotifyDestroying();
    DestroyComponents();
    // A component freed on its own (not through its owner) leaves the
    // owner's list; the owner's unique_ptr must not free it a second time.
    if (owner_) {
        auto& list = owner_->components_;
        auto it = std::find_if(list.begin(), list.end(), [this](const auto& p) { return p.get() == this; });
        if (it != list.end()) {
            it->release();
            list.erase(it);
        }
    }
}

void TComponent::NotifyDestroying() {
    state_ |= csDestroying;
    if (notifiedFree_) return;
    notifiedFree_ = true;
    // Everyone who asked is told once; they drop their pointers to us.
    const std::vector<TComponent*> listeners = std::move(freeNotifies_);
    freeNotifies_.clear();
    for (TComponent* c : listeners) {
        std::erase(c->freeNotifies_, this);
        c->Notification(this, opRemove);
    }
    if (owner_ && !owner_->notifiedFree_) owner_->Notification(this, opRemove);
}

int TComponent::ComponentIndex() const {
    if (!owner_) return -1;
    const auto& list = owner_->components_;
    for (std::size_t i = 0; i < list.size(); ++i)
        if (list[i].get() == this) return int(i);
    return -1;
}

TComponent* TComponent::FindComponent(std::string_view name) const {
    if (name.empty()) return nullptr;
    for (const auto& c : components_)
        if (SameText(c->Name(), name)) return c.get();
    return nullptr;
}

void TComponent::InsertComponent(std::unique_ptr<TComponent> component) {
    if (!component) return;
    TComponent* raw = component.get();
    if (raw->owner_ && raw->owner_ != this) {
        // Moving between owners: the old one lets go first.
        auto& old = raw->owner_->components_;
        auto it = std::find_if(old.begin(), old.end(), [raw](const auto& p) { return p.get() == raw; });
        if (it != old.end()) {
            it->release();
            old.erase(it);
            raw->owner_->Notification(raw, opRemove);
        }
    }
    raw->owner_ = this;
    components_.push_back(std::move(component));
    Notification(raw, opInsert);
}

std::unique_ptr<TComponent> TComponent::RemoveComponent(TComponent* component) {
    auto it = std::find_if(components_.begin(), components_.end(),
                           [component](const auto& p) { return p.get() == component; });
    if (it == components_.end()) return nullptr;
    std::unique_ptr<TComponent> out = std::move(*it);
    components_.erase(it);
    out->owner_ = nullptr;
    Notification(component, opRemove);
    return out;
}

void TComponent::DestroyComponents() {
    // Last made goes first; each one's destructor may free others we own,
    // so the list is re-read after every step.
    while (!components_.empty()) {
        std::unique_ptr<TComponent> last = std::move(components_.back());
        components_.pop_back();
        TComponent* raw = last.get();
        raw->BeforeDestruction();
        last->owner_ = nullptr;
        if (!Destroying()) Notification(raw, opRemove);
        last.reset();
    }
}

void TComponent::FreeNotification(TComponent* AComponent) {
    if (!AComponent || AComponent == this) return;
    if (std::find(freeNotifies_.begin(), freeNotifies_.end(), AComponent) == freeNotifies_.end())
        freeNotifies_.push_back(AComponent);
    if (std::find(AComponent->freeNotifies_.begin(), AComponent->freeNotifies_.end(), this) ==
        AComponent->freeNotifies_.end())
        AComponent->freeNotifies_.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent* AComponent) {
    if (!AComponent) return;
    std::erase(freeNotifies_, AComponent);
    std::erase(AComponent->freeNotifies_, this);
}

void TComponent::Notification(TComponent*, TOperation) {}

void TComponent::SetDesigning(bool value) {
    if (value) state_ |= csDesigning;
    else state_ &= ~unsigned(csDesigning);
    for (auto& c : components_) c->SetDesigning(value);
}

void TComponent::BeginLoading() { state_ |= csLoading | csReading; }

void TComponent::EndLoading() {
    if (!(state_ & csLoading)) return;
    state_ &= ~unsigned(csLoading | csReading);
    Loaded();
}

void FreeComponent(TComponent* component) {
    if (!component || !component->Owner()) return;
    component->BeforeDestruction();
    component->Owner()->RemoveComponent(component).reset();
}

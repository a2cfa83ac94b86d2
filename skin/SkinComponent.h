#pragma once
// What the skin components (skin data, text table, compressed skins, skin
// list) need of a component until the component framework provides it: free
// notification, so that references between them are cleared when the
// referenced one is destroyed, and the two states that make property setters
// only store their value (being designed, being read from a window
// definition). The framework's TComponent takes this role over later.

#include <functional>
#include <utility>
#include <vector>

class TbsSkinComponent {
public:
    TbsSkinComponent() = default;
    TbsSkinComponent(const TbsSkinComponent&) = delete;
    TbsSkinComponent& operator=(const TbsSkinComponent&) = delete;

    // Tells every listener, in the order they registered, that this object goes.
    virtual ~TbsSkinComponent() {
        auto listeners = std::move(listeners_);
        for (auto& listener : listeners) listener.onFree();
    }

    // Registers `onFree` to run when this component is destroyed. `key`
    // identifies the listener for RemoveFreeNotification; one key holds at
    // most one registration.
    void FreeNotification(const void* key, std::function<void()> onFree) {
        RemoveFreeNotification(key);
        listeners_.push_back({key, std::move(onFree)});
    }
    void RemoveFreeNotification(const void* key) {
        std::erase_if(listeners_, [key](const Listener& l) { return l.key == key; });
    }

    // Design time: setters that would load a skin only store the name.
    bool Designing() const { return designing_; }
    void SetDesigning(bool designing) { designing_ = designing; }
    // Set while the component's properties are read from a window definition.
    bool Loading() const { return loading_; }
    void SetLoading(bool loading) { loading_ = loading; }

private:
    struct Listener {
        const void* key;
        std::function<void()> onFree;
    };
    std::vector<Listener> listeners_;
    bool designing_ = false;
    bool loading_ = false;
};

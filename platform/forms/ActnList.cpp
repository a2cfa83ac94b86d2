#include "ActnList.h"

#include <algorithm>

#include "ImgList.h"

TBasicAction::TBasicAction(TComponent* AOwner) : TComponent(AOwner) {}

TBasicAction::~TBasicAction() {
    // The links hold plain pointers to the action: they forget it, so a
    // linked control reads no action from then on.
    const std::vector<TBasicActionLink*> links = std::move(clients_);
    clients_.clear();
    for (TBasicActionLink* link : links) link->action_ = nullptr;
}

bool TBasicAction::Execute() {
    if (!OnExecute) return false;
    OnExecute(this);
    return true;
}

void TBasicAction::RegisterChanges(TBasicActionLink* link) {
    if (std::find(clients_.begin(), clients_.end(), link) == clients_.end()) clients_.push_back(link);
}

void TBasicAction::UnRegisterChanges(TBasicActionLink* link) { std::erase(clients_, link); }

void TBasicAction::Change() {
    // A handler may unlink a control: walk a copy.
    const std::vector<TBasicActionLink*> links = clients_;
    for (TBasicActionLink* link : links)
        if (std::find(clients_.begin(), clients_.end(), link) != clients_.end() && link->OnChange) link->OnChange(this);
}

TCustomAction::TCustomAction(TComponent* AOwner) : TBasicAction(AOwner) {}

void TCustomAction::SetCaption(const AnsiString& value) {
    if (value == caption_) return;
    caption_ = value;
    Change();
}

void TCustomAction::SetEnabled(bool value) {
    if (value == enabled_) return;
    enabled_ = value;
    Change();
}

void TCustomAction::SetHint(const AnsiString& value) {
    if (value == hint_) return;
    hint_ = value;
    Change();
}

void TCustomAction::SetImageIndex(int value) {
    if (value == imageIndex_) return;
    imageIndex_ = value;
    Change();
}

void TCustomAction::SetImages(TImageList* value) {
    if (value == images_) return;
    if (images_) images_->RemoveFreeNotification(this);
    images_ = value;
    if (value) value->FreeNotification(this);
    Change();
}

bool TCustomAction::Execute() { return enabled_ && TBasicAction::Execute(); }

void TCustomAction::Notification(TComponent* AComponent, TOperation Operation) {
    TBasicAction::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == images_) images_ = nullptr;
}

TBasicActionLink::~TBasicActionLink() {
    if (action_) action_->UnRegisterChanges(this);
}

void TBasicActionLink::SetAction(TBasicAction* value) {
    if (value == action_) return;
    if (action_) action_->UnRegisterChanges(this);
    action_ = value;
    if (value) value->RegisterChanges(this);
}

bool TBasicActionLink::Execute() { return action_ && action_->Execute(); }

namespace {
struct CopiedExecuteHandler {
    const TBasicAction* source;
    TNotifyEvent handler;
    void operator()(TObject* sender) const {
        if (handler) handler(sender);
    }
};
}  // namespace

TNotifyEvent ActionExecuteHandler(const TBasicAction& action) {
    if (!action.OnExecute) return nullptr;
    return CopiedExecuteHandler{&action, action.OnExecute};
}

bool IsActionExecuteHandler(const TNotifyEvent& handler, const TBasicAction* action) {
    const auto* copied = handler.target<CopiedExecuteHandler>();
    return action && copied && copied->source == action;
}

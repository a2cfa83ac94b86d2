#pragma once
// Actions: a command with its own caption, enabled state and image, shared by
// the controls linked to it. A control links to an action through a
// TActionLink; the action tells its links when a property changes, and a
// link's Execute runs the action's OnExecute.

#include <vector>

#include "Classes.h"

class TBasicActionLink;
class TImageList;

class TBasicAction : public TComponent {
public:
    explicit TBasicAction(TComponent* AOwner);
    ~TBasicAction() override;

    // Runs OnExecute with the action as the sender; false when it has none.
    virtual bool Execute();
    TNotifyEvent OnExecute;

    // The links told about changes (a link registers itself).
    void RegisterChanges(TBasicActionLink* link);
    void UnRegisterChanges(TBasicActionLink* link);

protected:
    // Tells every link that a property changed.
    void Change();

private:
    std::vector<TBasicActionLink*> clients_;
};

class TCustomAction : public TBasicAction {
public:
    explicit TCustomAction(TComponent* AOwner);

    const AnsiString& Caption() const { return caption_; }
    void SetCaption(const AnsiString& value);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool value);
    const AnsiString& Hint() const { return hint_; }
    void SetHint(const AnsiString& value);
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int value);
    // The images ImageIndex counts in; cleared when the list goes.
    TImageList* Images() const { return images_; }
    void SetImages(TImageList* value);

    // A disabled action does not run.
    bool Execute() override;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    AnsiString caption_;
    bool enabled_ = true;
    AnsiString hint_;
    int imageIndex_ = -1;
    TImageList* images_ = nullptr;
};

class TAction : public TCustomAction {
public:
    using TCustomAction::TCustomAction;
};

class TBasicActionLink {
public:
    TBasicActionLink() = default;
    virtual ~TBasicActionLink();
    TBasicActionLink(const TBasicActionLink&) = delete;
    TBasicActionLink& operator=(const TBasicActionLink&) = delete;

    // Null once the action is destroyed.
    TBasicAction* Action() const { return action_; }
    void SetAction(TBasicAction* value);
    // Runs the action; false without one or when it did not run.
    virtual bool Execute();

    // Called when a property of the action changes (sender: the action).
    TNotifyEvent OnChange;

private:
    friend class TBasicAction;
    TBasicAction* action_ = nullptr;
};

class TActionLink : public TBasicActionLink {};

// A copy of an action's execute handler that remembers which action it came
// from, so a control can tell later whether its OnClick is still that
// handler (std::function values cannot be compared).
TNotifyEvent ActionExecuteHandler(const TBasicAction& action);
bool IsActionExecuteHandler(const TNotifyEvent& handler, const TBasicAction* action);

#pragma once
// Components with owners: an owner destroys what it owns, and components can ask to be
// told when another one goes away (free notification, both ways). Portable.
#include <functional>
#include <string>
#include <vector>

enum TOperation { opInsert, opRemove };

enum TComponentStateFlags : unsigned {
    csLoading = 0x1,     // being built from its description; Loaded() ends it
    csDestroying = 0x2,  // its destructor runs
};

// Root of every class whose objects are passed as the Sender of an event.
class TObject {
public:
    virtual ~TObject() = default;
};

// The plain event: who sent it.
using TNotifyEvent = std::function<void(TObject* Sender)>;

class TComponent : public TObject {
public:
    explicit TComponent(TComponent* owner);
    virtual ~TComponent();
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    TComponent* Owner() const { return owner_; }
    int ComponentCount() const { return static_cast<int>(components_.size()); }
    TComponent* Components(int index) const { return components_[static_cast<size_t>(index)]; }
    TComponent* FindComponent(const std::string& name) const;

    // Moves a component under this owner (or away from it).
    void InsertComponent(TComponent* component);
    void RemoveComponent(TComponent* component);
    // Frees every owned component, last created first.
    void DestroyComponents();

    // Asks to be told (Notification with opRemove) when component is destroyed; the
    // request is mutual, so whichever goes first tells the other.
    void FreeNotification(TComponent* component);
    void RemoveFreeNotification(TComponent* component);

    // Ends the loading state after the component's description has been applied.
    virtual void Loaded();
    // Runs before any destructor when a component is freed (a form raises its
    // OnDestroy here, while the whole object still exists).
    virtual void BeforeDestruction() {}
    // Frees a component: BeforeDestruction, then delete. Null is ignored.
    static void Free(TComponent* component);

    unsigned ComponentState = 0;
    std::string Name;
    int Tag = 0;

protected:
    // Called when a component is inserted into or removed from this owner, and for
    // free notifications.
    virtual void Notification(TComponent* component, TOperation operation);
    // Tells everyone that asked (FreeNotification) that this component goes, once. The
    // destructors of derived classes call it first, so that those told still find the
    // whole object of that class (a control's message handler, its children).
    void SendFreeNotifications();

private:
    void NotifyOwned(TComponent* component, TOperation operation);

    TComponent* owner_ = nullptr;              // not owned
    std::vector<TComponent*> components_;      // owned
    std::vector<TComponent*> freeNotifies_;    // not owned
};

// Gives a component's Tag a value for the length of the scope and restores the value it
// had, also when the scope is left by an exception (a change made by the program that
// a handler must tell from the user's).
class TagScope {
public:
    TagScope(TComponent& component, int value) : component_(component), saved_(component.Tag)
    {
        component_.Tag = value;
    }
    ~TagScope() { component_.Tag = saved_; }
    TagScope(const TagScope&) = delete;
    TagScope& operator=(const TagScope&) = delete;

private:
    TComponent& component_;
    int saved_;
};

// Frees a component when the scope ends, also by an exception: a form made for one
// modal showing.
class FreeScope {
public:
    explicit FreeScope(TComponent* component) : component_(component) {}
    ~FreeScope() { TComponent::Free(component_); }
    FreeScope(const FreeScope&) = delete;
    FreeScope& operator=(const FreeScope&) = delete;

private:
    TComponent* component_;
};

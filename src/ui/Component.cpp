#include "ui/Component.h"

#include <algorithm>

namespace {
void Erase(std::vector<TComponent*>& list, TComponent* c)
{
    list.erase(std::remove(list.begin(), list.end(), c), list.end());
}
} // namespace

TComponent::TComponent(TComponent* owner)
{
    if (owner)
        owner->InsertComponent(this);
}

TComponent::~TComponent()
{
    ComponentState |= csDestroying;
    SendFreeNotifications();
    DestroyComponents();
    if (owner_)
        owner_->RemoveComponent(this);
}

void TComponent::SendFreeNotifications()
{
    // Tell everyone that asked about us, and stop them telling us.
    while (!freeNotifies_.empty()) {
        TComponent* other = freeNotifies_.back();
        freeNotifies_.pop_back();
        Erase(other->freeNotifies_, this);
        other->Notification(this, opRemove);
    }
}

TComponent* TComponent::FindComponent(const std::string& name) const
{
    for (TComponent* c : components_)
        if (c->Name == name)
            return c;
    return nullptr;
}

void TComponent::InsertComponent(TComponent* component)
{
    if (component->owner_)
        component->owner_->RemoveComponent(component);
    components_.push_back(component);
    component->owner_ = this;
    NotifyOwned(component, opInsert);
}

void TComponent::RemoveComponent(TComponent* component)
{
    NotifyOwned(component, opRemove);
    Erase(components_, component);
    component->owner_ = nullptr;
}

void TComponent::NotifyOwned(TComponent* component, TOperation operation)
{
    Notification(component, operation);
    for (TComponent* c : components_)
        if (c != component)
            c->Notification(component, operation);
}

void TComponent::DestroyComponents()
{
    while (!components_.empty()) {
        TComponent* c = components_.back();
        RemoveComponent(c);
        Free(c);
    }
}

void TComponent::FreeNotification(TComponent* component)
{
    if (!component || component == this)
        return;
    if (std::find(freeNotifies_.begin(), freeNotifies_.end(), component) == freeNotifies_.end())
        freeNotifies_.push_back(component);
    if (std::find(component->freeNotifies_.begin(), component->freeNotifies_.end(), this) ==
        component->freeNotifies_.end())
        component->freeNotifies_.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent* component)
{
    Erase(freeNotifies_, component);
    Erase(component->freeNotifies_, this);
}

void TComponent::Free(TComponent* component)
{
    if (!component)
        return;
    component->ComponentState |= csDestroying;
    component->BeforeDestruction();
    delete component;
}

void TComponent::Loaded() { ComponentState &= ~static_cast<unsigned>(csLoading); }

void TComponent::Notification(TComponent*, TOperation) {}

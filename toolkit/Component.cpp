#include "toolkit/Component.h"

#include <algorithm>
#include <string.h>

const TClassInfo& TComponent::StaticClass()
{
    return MakeClassInfo<TComponent>("TComponent", &TPersistent::StaticClass(), [](TClassBuilder<TComponent>& b) {
        b.String("Name", TypeString(), &TComponent::Name, &TComponent::SetName);
    });
}

TComponent::TComponent(TComponent* owner)
{
    if (owner) {
        // Components made while their owner's layout is being built are
        // part of that layout and get their loaded step with it.
        if (owner->IsLoading())
            FState |= csLoading;
        owner->InsertComponent(this);
    }
}

TComponent::~TComponent()
{
    Destroying();
    // Tell everyone who asked about us, then forget them; they remove
    // themselves from our list as they react.
    while (!FFreeNotifies.empty()) {
        TComponent* other = FFreeNotifies.back();
        FFreeNotifies.pop_back();
        auto& theirs = other->FFreeNotifies;
        theirs.erase(std::remove(theirs.begin(), theirs.end(), this), theirs.end());
        other->Notification(this, TOperation::opRemove);
    }
    DestroyComponents();
    if (FOwner)
        FOwner->RemoveComponent(this);
}

void TComponent::SetName(const std::string& name)
{
    if (name == FName)
        return;
    if (FOwner && !name.empty()) {
        TComponent* other = FOwner->FindComponent(name);
        if (other && other != this)
            throw EInvalidOperation("A component named " + name + " already exists");
    }
    FName = name;
    NameChanged();
}

TComponent* TComponent::FindComponent(const std::string& name) const
{
    if (name.empty())
        return nullptr;
    for (TComponent* c : FComponents)
        if (_stricmp(c->FName.c_str(), name.c_str()) == 0)
            return c;
    return nullptr;
}

void TComponent::FreeNotification(TComponent* other)
{
    if (!other || other == this)
        return;
    if (std::find(FFreeNotifies.begin(), FFreeNotifies.end(), other) == FFreeNotifies.end())
        FFreeNotifies.push_back(other);
    if (std::find(other->FFreeNotifies.begin(), other->FFreeNotifies.end(), this) == other->FFreeNotifies.end())
        other->FFreeNotifies.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent* other)
{
    if (!other)
        return;
    FFreeNotifies.erase(std::remove(FFreeNotifies.begin(), FFreeNotifies.end(), other), FFreeNotifies.end());
    auto& theirs = other->FFreeNotifies;
    theirs.erase(std::remove(theirs.begin(), theirs.end(), this), theirs.end());
}

void TComponent::BeginLoading()
{
    FState |= csLoading;
    for (TComponent* c : FComponents)
        c->BeginLoading();
}

void TComponent::EndLoading()
{
    // Owned components first, in creation order, then the owner itself, so
    // the owner's loaded step sees finished children. Walked by index: a
    // component that a loaded step makes joins the layout too, at the end.
    for (size_t i = 0; i < FComponents.size(); ++i)
        FComponents[i]->EndLoading();
    if (FState & csLoading)
        Loaded();
}

void TComponent::Loaded()
{
    FState &= ~csLoading;
}

void TComponent::DestroyComponents()
{
    while (!FComponents.empty()) {
        TComponent* last = FComponents.back();
        Remove(last);
        delete last;
    }
}

void TComponent::InsertComponent(TComponent* component)
{
    if (TComponent* other = FindComponent(component->FName); other && other != component)
        throw EInvalidOperation("A component named " + component->FName + " already exists");
    if (component->FOwner)
        component->FOwner->RemoveComponent(component);
    Insert(component);
    Notification(component, TOperation::opInsert);
}

void TComponent::RemoveComponent(TComponent* component)
{
    Notification(component, TOperation::opRemove);
    Remove(component);
}

void TComponent::Insert(TComponent* component)
{
    FComponents.push_back(component);
    component->FOwner = this;
}

void TComponent::Remove(TComponent* component)
{
    FComponents.erase(std::remove(FComponents.begin(), FComponents.end(), component), FComponents.end());
    component->FOwner = nullptr;
}

void TComponent::Notification(TComponent* component, TOperation operation)
{
    if (operation == TOperation::opRemove && component) {
        for (size_t i = 0; i < FComponents.size(); ++i)
            if (FComponents[i] != component)
                FComponents[i]->Notification(component, operation);
    }
}

void TComponent::Destroying()
{
    if (FState & csDestroying)
        return;
    FState |= csDestroying;
    for (TComponent* c : FComponents)
        c->Destroying();
}

void TComponent::SetDesigning(bool value)
{
    if (value)
        FState |= csDesigning;
    else
        FState &= ~csDesigning;
}

#pragma once
// Components: named objects in an ownership tree. An owner frees what it
// owns, the last created first; a component that refers to another asks to
// be told when that one is freed (FreeNotification) and forgets it then.
#include "toolkit/Object.h"
#include <string>
#include <vector>

enum TComponentStateFlag : unsigned {
    csLoading = 1u << 0,    // being built from its layout; setters may defer work
    csDestroying = 1u << 1, // being freed; must not start anything new
    csDesigning = 1u << 2,  // never set in the running program; kept for rules that test it
};
using TComponentState = unsigned;

enum class TOperation { opInsert, opRemove };

class TComponent : public TPersistent {
public:
    QV_CLASS(TComponent, TPersistent)

    explicit TComponent(TComponent* owner);
    ~TComponent() override;

    const std::string& Name() const { return FName; }
    // Raises EInvalidOperation when another component of the same owner
    // already has the name (compared ignoring case).
    void SetName(const std::string& name);
    TComponent* Owner() const { return FOwner; }

    int ComponentCount() const { return static_cast<int>(FComponents.size()); }
    TComponent* Components(int index) const { return FComponents.at(static_cast<size_t>(index)); }
    // The owned component with that name, ignoring letter case; nullptr if none.
    TComponent* FindComponent(const std::string& name) const;

    TComponentState ComponentState() const { return FState; }
    bool IsLoading() const { return (FState & csLoading) != 0; }
    bool IsDestroying() const { return (FState & csDestroying) != 0; }
    bool IsDesigning() const { return (FState & csDesigning) != 0; }

    // Asks to be told through Notification(this component, opRemove) when
    // `other` is freed. Both sides forget each other when either is freed.
    void FreeNotification(TComponent* other);
    void RemoveFreeNotification(TComponent* other);

    // Marks this component and everything it owns as being built from a
    // layout; EndLoading then calls Loaded on each, in creation order.
    void BeginLoading();
    void EndLoading();

    // Frees every owned component, the last created first.
    void DestroyComponents();

    // Moves ownership (nullptr: no owner).
    void InsertComponent(TComponent* component);
    void RemoveComponent(TComponent* component);

protected:
    // Told of components that are inserted into or removed from the owner's
    // list, and of the freeing of components it asked about. The default
    // forwards removals to every owned component, so a sibling that refers
    // to a freed component hears of it.
    virtual void Notification(TComponent* component, TOperation operation);
    // Called once the whole layout has been built, in creation order.
    virtual void Loaded();
    // Called after SetName has given the component a new name.
    virtual void NameChanged() {}
    // Sets csDestroying on this component and on everything it owns. Derived
    // destructors that must stop work before their members go call it first.
    void Destroying();

    void SetDesigning(bool value);

private:
    void Insert(TComponent* component);
    void Remove(TComponent* component);

    std::string FName;
    TComponent* FOwner = nullptr;
    std::vector<TComponent*> FComponents; // owned, creation order
    std::vector<TComponent*> FFreeNotifies;
    TComponentState FState = 0;
};

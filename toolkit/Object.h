#pragma once
// The root of every class whose objects take part in events and published
// properties.
#include "toolkit/TypeInfo.h"
#include "toolkit/Exceptions.h"
#include <string>

class TObject {
public:
    TObject() = default;
    TObject(const TObject&) = delete;
    TObject& operator=(const TObject&) = delete;
    virtual ~TObject() = default;

    static const TClassInfo& StaticClass();
    virtual const TClassInfo& ClassType() const { return StaticClass(); }
    const std::string& ClassName() const { return ClassType().Name(); }
    bool InheritsFrom(const TClassInfo& cls) const { return ClassType().InheritsFrom(cls); }
};

// Something that can copy its state from another object of a kind it knows.
class TPersistent : public TObject {
public:
    QV_CLASS(TPersistent, TObject)
    // Raises EInvalidOperation when the source is of a kind it can't take.
    virtual void Assign(const TPersistent* source);
};

template <class C>
template <class T>
T* TClassBuilder<C>::CheckedCast(TObject* v)
{
    if (!v)
        return nullptr;
    T* t = dynamic_cast<T*>(v);
    if (!t)
        throw EPropertyError("Invalid property value");
    return t;
}

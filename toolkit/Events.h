#pragma once
// Events are method references: an object and one of its member functions.
// Two references compare equal when they name the same member of the same
// object, which is what lets a caller ask "is this still my handler?" before
// it puts another one in place.
#include <type_traits>

template <class... Args>
class TMethod {
public:
    using Thunk = void (*)(void*, Args...);

    TMethod() = default;
    TMethod(std::nullptr_t) {}

    // The thunk is one function per (class, member) pair, so its address
    // identifies the member; the data pointer identifies the object.
    template <auto Member, class C>
    static TMethod Of(C* object)
    {
        TMethod m;
        m.FData = static_cast<void*>(object);
        m.FCode = &Call<Member, C>;
        return m;
    }

    // A plain function with a context pointer, for code that is not a class
    // member (tests, adapters). Compares by function and context.
    static TMethod FromFunction(void (*fn)(void*, Args...), void* context)
    {
        TMethod m;
        m.FData = context;
        m.FCode = fn;
        return m;
    }

    explicit operator bool() const { return FCode != nullptr; }
    bool operator==(const TMethod& other) const = default;

    void operator()(Args... args) const
    {
        if (FCode)
            FCode(FData, args...);
    }

    void* Data() const { return FData; }

private:
    template <auto Member, class C>
    static void Call(void* data, Args... args)
    {
        (static_cast<C*>(data)->*Member)(args...);
    }

    void* FData = nullptr;
    Thunk FCode = nullptr;
};

namespace events_detail {
template <class T>
struct MemberTraits;
template <class C, class... Args>
struct MemberTraits<void (C::*)(Args...)> {
    using Class = C;
    using Method = TMethod<Args...>;
};
} // namespace events_detail

// MakeMethod<&TForm1::Page01Click>(this) gives the TMethod for that handler.
template <auto Member, class C>
auto MakeMethod(C* object)
{
    using Traits = events_detail::MemberTraits<decltype(Member)>;
    return Traits::Method::template Of<Member, typename Traits::Class>(object);
}

class TObject;
using TNotifyEvent = TMethod<TObject*>;

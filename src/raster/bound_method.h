#pragma once
// A method bound to its object: the code to run and the object to run it on,
// called with one indirect call.

#include <utility>

template <class Signature> class TBoundMethod;

template <class Result, class... Args> class TBoundMethod<Result(Args...)> {
public:
    TBoundMethod() = default;

    // Binds the member function Method of target (Method is a compile-time
    // constant, so the call inside the thunk is direct when T is final).
    template <auto Method, class T> static TBoundMethod To(T& target) {
        TBoundMethod bound;
        bound.FCode = &Thunk<Method, T>;
        bound.FTarget = &target;
        return bound;
    }

    Result operator()(Args... args) const { return FCode(FTarget, std::forward<Args>(args)...); }

    explicit operator bool() const { return FCode != nullptr; }
    // The object the method runs on.
    const void* Target() const { return FTarget; }

private:
    using TCode = Result (*)(void*, Args...);

    template <auto Method, class T> static Result Thunk(void* target, Args... args) {
        return (static_cast<T*>(target)->*Method)(std::forward<Args>(args)...);
    }

    TCode FCode = nullptr;
    void* FTarget = nullptr;
};

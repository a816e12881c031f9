#pragma once
// A variable that holds a value for a scope only (a re-entrancy flag, the object being
// worked on): the previous value comes back however the scope ends, so an exception
// caught further out leaves nothing stuck, and nested scopes unwind in order.
#include <type_traits>
#include <utility>

namespace platform {

template <class T>
class ScopedValue {
public:
    ScopedValue(T& variable, std::type_identity_t<T> value)
        : variable_(variable), previous_(std::exchange(variable, std::move(value))) {}
    ~ScopedValue() { variable_ = std::move(previous_); }
    ScopedValue(const ScopedValue&) = delete;
    ScopedValue& operator=(const ScopedValue&) = delete;

private:
    T& variable_;
    T previous_;
};

}  // namespace platform

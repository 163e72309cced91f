#pragma once

#include <utility>

namespace platform {

// The empty value of most handle kinds: a null pointer or 0.
template <typename T>
struct NullHandle {
    static constexpr T Value() noexcept { return T{}; }
};

// Move-only owner of one handle; copying is deleted because a copy would free the object twice.
// `Empty` names the value that stands for "no handle" where it is not the null value (the
// search handles of FindFirstFileA, for one, use INVALID_HANDLE_VALUE).
template <typename T, typename Deleter, typename Empty = NullHandle<T>>
class UniqueHandle {
public:
    UniqueHandle() noexcept = default;
    explicit UniqueHandle(T value) noexcept : value_(value) {}
    ~UniqueHandle() { Reset(); }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : value_(other.Release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) Reset(other.Release());
        return *this;
    }

    T Get() const noexcept { return value_; }
    explicit operator bool() const noexcept { return value_ != Empty::Value(); }
    T Release() noexcept { return std::exchange(value_, Empty::Value()); }
    void Reset(T value = Empty::Value()) noexcept {
        T old = std::exchange(value_, value);
        if (old != Empty::Value()) Deleter{}(old);
    }

private:
    T value_ = Empty::Value();
};

}  // namespace platform

#pragma once
// Arithmetic on numbers read from outside files: a value that does not fit is held at the limit
// of its type instead of overflowing (undefined behaviour for signed types).

#include <limits>
#include <type_traits>

namespace vantorel {

template <typename T>
constexpr T SaturatingAdd(T a, T b) {
  static_assert(std::is_integral_v<T>);
  T result{};
  if (!__builtin_add_overflow(a, b, &result)) return result;
  if constexpr (std::is_signed_v<T>) return b < 0 ? std::numeric_limits<T>::min() : std::numeric_limits<T>::max();
  return std::numeric_limits<T>::max();
}

template <typename T>
constexpr T SaturatingMul(T a, T b) {
  static_assert(std::is_integral_v<T>);
  T result{};
  if (!__builtin_mul_overflow(a, b, &result)) return result;
  if constexpr (std::is_signed_v<T>) {
    return (a < 0) != (b < 0) ? std::numeric_limits<T>::min() : std::numeric_limits<T>::max();
  }
  return std::numeric_limits<T>::max();
}

}  // namespace vantorel

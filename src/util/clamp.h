// Counts narrowed to int32_t, the width of the history's record keys, without wrapping.
#pragma once

#include <concepts>
#include <cstdint>
#include <utility>

namespace lvn {

// value, or the int32_t nearest to it where it does not fit.
template <std::integral T>
constexpr std::int32_t ClampToInt32(T value) {
  if (std::cmp_greater(value, INT32_MAX)) return INT32_MAX;
  if (std::cmp_less(value, INT32_MIN)) return INT32_MIN;
  return static_cast<std::int32_t>(value);
}

}  // namespace lvn

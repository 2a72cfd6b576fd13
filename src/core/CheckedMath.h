#pragma once
// Multiplication that reports overflow instead of wrapping, on every compiler
// the plugin is built with (GCC and Clang have a builtin, MSVC does not).
#include <cstdint>
#include <limits>

namespace TandorShop {

// The product of a and b in out; true (out untouched) when it does not fit.
constexpr bool MultiplyOverflowsPortable(int64_t a, int64_t b, int64_t& out) {
  constexpr int64_t max = std::numeric_limits<int64_t>::max();
  constexpr int64_t min = std::numeric_limits<int64_t>::min();
  if (a == 0 || b == 0) {
    out = 0;
    return false;
  }
  const bool overflows = a > 0 ? (b > 0 ? a > max / b : b < min / a)
                               : (b > 0 ? a < min / b : (a == min || b == min || -a > max / -b));
  if (overflows) return true;
  out = a * b;
  return false;
}

inline bool MultiplyOverflows(int64_t a, int64_t b, int64_t& out) {
#if defined(__GNUC__) || defined(__clang__)
  int64_t product = 0;
  if (__builtin_mul_overflow(a, b, &product)) return true;
  out = product;
  return false;
#else
  return MultiplyOverflowsPortable(a, b, out);
#endif
}

}  // namespace TandorShop

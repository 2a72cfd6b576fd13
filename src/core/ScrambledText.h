#pragma once
// Texts kept scrambled in the program's data: each byte XORed with one byte of a
// 64-bit key, chosen by the byte's position modulo 8 (position 0: the lowest byte).
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace TandorShop {

template <std::size_t N>
struct ScrambledText {
  std::array<unsigned char, N> Bytes{};  // the text and its terminating zero, scrambled
  uint64_t Key = 0;

  consteval ScrambledText(const char (&text)[N], uint64_t key) : Key(key) {
    for (std::size_t i = 0; i < N; ++i)
      Bytes[i] = static_cast<unsigned char>(static_cast<unsigned char>(text[i]) ^ KeyByte(key, i));
  }

  static constexpr unsigned char KeyByte(uint64_t key, std::size_t position) {
    return static_cast<unsigned char>(key >> (8 * (position % 8)));
  }
};

// A decoded copy, made once per holder and then read unchanged.
template <std::size_t N>
class DecodedText {
 public:
  explicit DecodedText(const ScrambledText<N>& scrambled) : bytes_(scrambled.Bytes) {
    for (std::size_t i = 0; i < N; ++i) bytes_[i] ^= ScrambledText<N>::KeyByte(scrambled.Key, i);
  }
  // Up to the first zero byte.
  const char* c_str() const { return reinterpret_cast<const char*>(bytes_.data()); }
  std::string str() const { return c_str(); }

 private:
  std::array<unsigned char, N> bytes_;
};

}  // namespace TandorShop

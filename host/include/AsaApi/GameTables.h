#pragma once
// The four name tables through which every game function, field, bit field and
// global is reached, and the typed descriptors that both the caller and the
// implementer use, so that a signature mismatch does not compile.
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>

namespace host {

// Raised for a name that nobody registered. Never a silent null.
class UnknownGameName : public std::runtime_error {
 public:
  explicit UnknownGameName(const std::string& what) : std::runtime_error(what) {}
};

struct BitFieldInfo {
  std::ptrdiff_t Offset = 0;
  int BitPosition = 0;
  int BitCount = 1;
};

// Function table: a stable slot per name. Hooks swap the slot's content.
void** FunctionSlot(std::string_view name);  // throws UnknownGameName
void RegisterFunctionAddress(std::string_view name, void* address);
bool HasFunction(std::string_view name);

std::ptrdiff_t FieldOffset(std::string_view name);  // throws UnknownGameName
void RegisterFieldOffset(std::string_view name, std::ptrdiff_t offset);

BitFieldInfo BitField(std::string_view name);  // throws UnknownGameName
void RegisterBitField(std::string_view name, BitFieldInfo info);

void* DataAddress(std::string_view name);  // throws UnknownGameName
void RegisterDataAddress(std::string_view name, void* address);

// Empties every table (slots stay allocated, their content becomes unknown).
void ClearTables();

}  // namespace host

template <typename Signature>
struct GameFunction;

template <typename R, typename... Args>
struct GameFunction<R(Args...)> {
  using Pointer = R (*)(Args...);

  explicit GameFunction(const char* name) : Name(name) {}
  GameFunction(const GameFunction&) = delete;
  GameFunction& operator=(const GameFunction&) = delete;

  const char* Name;

  void** Slot() const {
    void** slot = cached_.load(std::memory_order_acquire);
    if (slot == nullptr) {
      slot = host::FunctionSlot(Name);
      cached_.store(slot, std::memory_order_release);
    }
    return slot;
  }

  Pointer Address() const {
    void* address = *Slot();
    if (address == nullptr) throw host::UnknownGameName(std::string("game function not registered: ") + Name);
    return reinterpret_cast<Pointer>(address);
  }

  R operator()(Args... args) const { return Address()(std::forward<Args>(args)...); }

 private:
  mutable std::atomic<void**> cached_{nullptr};
};

template <typename T>
struct GameField {
  explicit constexpr GameField(const char* name) : Name(name) {}
  const char* Name;

  T& Of(const void* object) const {
    auto* base = const_cast<char*>(static_cast<const char*>(object));
    return *reinterpret_cast<T*>(base + host::FieldOffset(Name));
  }
};

struct GameBitField {
  explicit constexpr GameBitField(const char* name) : Name(name) {}
  const char* Name;

  bool Of(const void* object) const {
    const host::BitFieldInfo info = host::BitField(Name);
    const auto* word = reinterpret_cast<const uint32_t*>(static_cast<const char*>(object) + info.Offset);
    const uint32_t mask = (info.BitCount >= 32 ? ~0u : ((1u << info.BitCount) - 1u)) << info.BitPosition;
    return (*word & mask) != 0;
  }
  void Set(void* object, bool value) const {
    const host::BitFieldInfo info = host::BitField(Name);
    auto* word = reinterpret_cast<uint32_t*>(static_cast<char*>(object) + info.Offset);
    const uint32_t mask = (info.BitCount >= 32 ? ~0u : ((1u << info.BitCount) - 1u)) << info.BitPosition;
    *word = value ? (*word | mask) : (*word & ~mask);
  }
};

template <typename T>
struct GameData {
  explicit constexpr GameData(const char* name) : Name(name) {}
  const char* Name;
  T* Address() const { return static_cast<T*>(host::DataAddress(Name)); }
};

namespace host {
// The implementer's side: register through the same descriptor.
template <typename R, typename... Args>
void Register(const GameFunction<R(Args...)>& function, R (*implementation)(Args...)) {
  RegisterFunctionAddress(function.Name, reinterpret_cast<void*>(implementation));
}
template <typename T>
void Register(const GameField<T>& field, std::ptrdiff_t offset) {
  RegisterFieldOffset(field.Name, offset);
}
inline void Register(const GameBitField& field, BitFieldInfo info) { RegisterBitField(field.Name, info); }
template <typename T>
void Register(const GameData<T>& data, T* address) {
  RegisterDataAddress(data.Name, static_cast<void*>(address));
}
}  // namespace host

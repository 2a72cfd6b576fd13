#include "AsaApi/GameTables.h"

#include <map>
#include <memory>
#include <mutex>
#include <shared_mutex>

namespace host {
namespace {

template <typename Value>
class NameTable {
 public:
  void Set(std::string_view name, Value value) {
    std::unique_lock lock(mutex_);
    entries_[std::string(name)] = value;
  }
  bool Find(std::string_view name, Value& out) const {
    std::shared_lock lock(mutex_);
    auto it = entries_.find(name);
    if (it == entries_.end()) return false;
    out = it->second;
    return true;
  }
  void Clear() {
    std::unique_lock lock(mutex_);
    entries_.clear();
  }

 private:
  mutable std::shared_mutex mutex_;
  std::map<std::string, Value, std::less<>> entries_;
};

// Function slots are never freed: descriptors cache their address.
class FunctionTable {
 public:
  void** Slot(std::string_view name, bool create) {
    {
      std::shared_lock lock(mutex_);
      auto it = slots_.find(name);
      if (it != slots_.end() && (create || *it->second != nullptr)) return it->second.get();
    }
    if (!create) return nullptr;
    std::unique_lock lock(mutex_);
    auto& slot = slots_[std::string(name)];
    if (!slot) slot = std::make_unique<void*>(nullptr);
    return slot.get();
  }
  void ClearAll() {
    std::unique_lock lock(mutex_);
    for (auto& [name, slot] : slots_) *slot = nullptr;
  }

 private:
  std::shared_mutex mutex_;
  std::map<std::string, std::unique_ptr<void*>, std::less<>> slots_;
};

// Never destroyed: descriptors cache their slots, and objects destroyed at exit
// after the table would be (a plugin linked into the program, whose texts free
// through FMemory.Free) still call through them.
FunctionTable& Functions() {
  alignas(FunctionTable) static unsigned char storage[sizeof(FunctionTable)];
  static FunctionTable* table = std::construct_at(reinterpret_cast<FunctionTable*>(storage));
  return *table;
}
NameTable<std::ptrdiff_t>& Fields() {
  static NameTable<std::ptrdiff_t> table;
  return table;
}
NameTable<BitFieldInfo>& BitFields() {
  static NameTable<BitFieldInfo> table;
  return table;
}
NameTable<void*>& Data() {
  static NameTable<void*> table;
  return table;
}

[[noreturn]] void Unknown(const char* kind, std::string_view name) {
  throw UnknownGameName(std::string("unknown game ") + kind + ": " + std::string(name));
}

}  // namespace

void** FunctionSlot(std::string_view name) {
  void** slot = Functions().Slot(name, false);
  if (slot == nullptr) Unknown("function", name);
  return slot;
}
void RegisterFunctionAddress(std::string_view name, void* address) { *Functions().Slot(name, true) = address; }
bool HasFunction(std::string_view name) { return Functions().Slot(name, false) != nullptr; }

std::ptrdiff_t FieldOffset(std::string_view name) {
  std::ptrdiff_t offset = 0;
  if (!Fields().Find(name, offset)) Unknown("field", name);
  return offset;
}
void RegisterFieldOffset(std::string_view name, std::ptrdiff_t offset) { Fields().Set(name, offset); }

BitFieldInfo BitField(std::string_view name) {
  BitFieldInfo info;
  if (!BitFields().Find(name, info)) Unknown("bit field", name);
  return info;
}
void RegisterBitField(std::string_view name, BitFieldInfo info) { BitFields().Set(name, info); }

void* DataAddress(std::string_view name) {
  void* address = nullptr;
  if (!Data().Find(name, address)) Unknown("data", name);
  return address;
}
void RegisterDataAddress(std::string_view name, void* address) { Data().Set(name, address); }

void ClearTables() {
  Functions().ClearAll();
  Fields().Clear();
  BitFields().Clear();
  Data().Clear();
}

}  // namespace host

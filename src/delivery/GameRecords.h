#pragma once
// Records of the game's own structs, whose size only the game knows: allocated
// zeroed in host memory with the size the game reports, released with the
// arrays the game or this plugin put into them.
#include <cstddef>
#include <cstdint>
#include <functional>

#include "AsaApi/GameTables.h"

struct UScriptStruct;

namespace DeliveryHelper {

// The size the game reports for a struct (StaticStruct(), UStruct.PropertiesSize);
// 0 when the struct is not found.
int32_t ReportedStructSize(const GameFunction<UScriptStruct*()>& staticStruct);

// The end of a field: its offset plus size, to tell whether a record of the
// game's size can hold the fields this plugin touches.
template <typename T>
std::ptrdiff_t FieldEnd(const GameField<T>& field) {
  return host::FieldOffset(field.Name) + static_cast<std::ptrdiff_t>(sizeof(T));
}

class HostRecord {
 public:
  // Zeroed host memory of size bytes; release runs before the memory is freed.
  HostRecord(int32_t size, std::function<void(void*)> release);
  ~HostRecord();
  HostRecord(const HostRecord&) = delete;
  HostRecord& operator=(const HostRecord&) = delete;

  void* Data() const { return data_; }
  template <typename T>
  T* As() const {
    return static_cast<T*>(data_);
  }

 private:
  void* data_ = nullptr;
  std::function<void(void*)> release_;
};

}  // namespace DeliveryHelper

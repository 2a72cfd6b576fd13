#include "delivery/GameRecords.h"

#include <cstring>
#include <new>

#include "AsaApi/Game/UStruct.h"
#include "AsaApi/Memory.h"

namespace DeliveryHelper {

int32_t ReportedStructSize(const GameFunction<UScriptStruct*()>& staticStruct) {
  UScriptStruct* found = staticStruct();
  if (found == nullptr) return 0;
  return Game::UStruct_::PropertiesSize.Of(found);
}

HostRecord::HostRecord(int32_t size, std::function<void(void*)> release) : release_(std::move(release)) {
  const auto bytes = static_cast<std::size_t>(size > 0 ? size : 1);
  data_ = FMemory::Malloc(bytes, 16);
  if (data_ == nullptr) throw std::bad_alloc();
  std::memset(data_, 0, bytes);
}

HostRecord::~HostRecord() {
  try {
    if (release_) release_(data_);
    FMemory::Free(data_);
  } catch (...) {
    // The allocator itself is gone: nothing left to give back.
  }
}

}  // namespace DeliveryHelper

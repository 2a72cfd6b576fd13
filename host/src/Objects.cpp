#include <atomic>

#include "AsaApi/FString.h"
#include "AsaApi/WeakObjectPtr.h"

FString FName::ToString() const {
  FString out;
  Game::FName_::ToString(this, &out);
  return out;
}

FWeakObjectPtr FWeakObjectPtr::From(const UObject* object) {
  FWeakObjectPtr weak;
  if (object == nullptr) return weak;
  FUObjectArray* array = Game::Global_::GUObjectArray.Address();
  const int32_t index = Game::UObjectBase_::InternalIndex.Of(object);
  FUObjectItem* item = array->ObjObjects.GetItem(index);
  if (item == nullptr || item->Object != object) return weak;
  std::atomic_ref<int32_t> serial(item->SerialNumber);
  if (serial.load() == 0) {
    const int32_t fresh = std::atomic_ref<int32_t>(array->MasterSerialNumber).fetch_add(1) + 1;
    int32_t expected = 0;
    serial.compare_exchange_strong(expected, fresh);
  }
  weak.ObjectIndex = index;
  weak.ObjectSerialNumber = serial.load();
  return weak;
}

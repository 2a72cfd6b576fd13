#include "sim/engine/EngineRuntime.h"

#include "AsaApi/Host.h"
#include "AsaApi/WeakObjectPtr.h"
#include "AsaApiRuntime/BasicRuntime.h"
#include "sim/engine/ObjectArray.h"

namespace sim {
namespace {

UObject* ResolveWeak(const FWeakObjectPtr* weak) {
  FUObjectArray* array = Game::Global_::GUObjectArray.Address();
  const FUObjectItem* item = array->ObjObjects.GetItem(weak->ObjectIndex);
  if (item == nullptr || item->Object == nullptr) return nullptr;
  if (item->SerialNumber != weak->ObjectSerialNumber) return nullptr;
  if ((item->Flags & (EInternalObjectFlags::Unreachable | EInternalObjectFlags::Garbage)) != 0) return nullptr;
  return item->Object;
}

}  // namespace

std::size_t GameAllocationSize(const void* block) { return host::AllocationSize(block); }

void InstallEngineRuntime() {
  host::InstallBasicRuntime();
  host::Register(Game::Global_::GUObjectArray, ObjectArray::Get().Raw());
  host::Register(Game::FWeakObjectPtr_::Get, &ResolveWeak);
  host::Register(Game::UObjectBase_::InternalIndex, static_cast<std::ptrdiff_t>(offsetof(UObject, InternalIndex)));
  host::Register(Game::UObjectBase_::ClassPrivate, static_cast<std::ptrdiff_t>(offsetof(UObject, ClassPrivate)));
}

}  // namespace sim

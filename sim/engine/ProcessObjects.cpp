#include "sim/engine/ProcessObjects.h"

namespace sim {
namespace {
struct Store {
  // The object array must outlive what is listed in it.
  Store() { ObjectArray::Get(); }
  std::mutex mutex;
  std::vector<std::shared_ptr<void>> objects;
  ~Store() {
    while (!objects.empty()) objects.pop_back();  // last made, first gone
  }
};
Store& TheStore() {
  static Store store;
  return store;
}
}  // namespace

void ProcessObjects::Keep(std::shared_ptr<void> object) {
  Store& store = TheStore();
  std::lock_guard lock(store.mutex);
  store.objects.push_back(std::move(object));
}

}  // namespace sim

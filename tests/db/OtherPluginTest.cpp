// Another plugin, in a shared library of its own, calls the points interface of
// the loaded shop plugin from many threads.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "testsupport/Database.h"
#include "testsupport/ServerFixture.h"

namespace {

struct OtherPlugin {
  explicit OtherPlugin(const char* path) : handle(::dlopen(path, RTLD_NOW | RTLD_LOCAL)) {
    if (handle == nullptr) throw std::runtime_error(::dlerror());
    grant = reinterpret_cast<bool (*)(const char*, int)>(::dlsym(handle, "OtherPlugin_Grant"));
    charge = reinterpret_cast<bool (*)(const char*, int)>(::dlsym(handle, "OtherPlugin_Charge"));
    balance = reinterpret_cast<int (*)(const char*)>(::dlsym(handle, "OtherPlugin_Balance"));
    assign = reinterpret_cast<bool (*)(const char*, int)>(::dlsym(handle, "OtherPlugin_Assign"));
  }
  ~OtherPlugin() { ::dlclose(handle); }
  void* handle;
  bool (*grant)(const char*, int);
  bool (*charge)(const char*, int);
  int (*balance)(const char*);
  bool (*assign)(const char*, int);
};

TEST(OtherPlugin, CallsThePointsInterfaceFromItsOwnThreads) {
  const std::string prefix = testsupport::UniquePrefix("op");
  {
    testsupport::ServerFixture fixture;
    fixture.WriteConfig(testsupport::MinimalConfig(prefix));
    fixture.LoadAtStartup();  // the shop reads its settings and creates its tables
    OtherPlugin other(OTHER_PLUGIN_PATH);

    EXPECT_EQ(other.balance("eos_buyer"), 0);  // row created
    EXPECT_FALSE(other.grant("eos_unknown", 5));  // no row: nothing added, and the caller learns it
    EXPECT_TRUE(other.assign("eos_buyer", 1000));
    EXPECT_FALSE(other.assign("eos_never_seen", 1));

    constexpr int kThreads = 8;
    constexpr int kCallsPerThread = 40;
    std::atomic<int> charged{0};
    std::atomic<int> granted{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
      threads.emplace_back([&] {
        for (int i = 0; i < kCallsPerThread; ++i) {
          if (other.charge("eos_buyer", 7)) charged.fetch_add(1);
          if (i % 4 == 0 && other.grant("eos_buyer", 1)) granted.fetch_add(1);
        }
      });
    }
    for (auto& thread : threads) thread.join();

    const int final = other.balance("eos_buyer");
    EXPECT_EQ(final, 1000 - 7 * charged.load() + granted.load());
    EXPECT_GE(final, 0);
    EXPECT_EQ(granted.load(), kThreads * kCallsPerThread / 4);
    EXPECT_GE(charged.load(), 1000 / 7);  // every charge the balance covered went through
    fixture.Server().UnloadPlugin();
  }
  testsupport::DropTablesWithPrefix(prefix);
}

}  // namespace

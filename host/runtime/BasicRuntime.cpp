// The engine basics that code written for the game needs before any object
// exists: the allocator behind FString and TArray, the name pool behind FName, and
// the case-insensitive compares. The simulator installs them beneath its world;
// tools and tests that run plugin code without a game install them alone.
#include "AsaApiRuntime/BasicRuntime.h"

#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "AsaApi/FName.h"
#include "AsaApi/FString.h"
#include "AsaApi/Game/FGenericPlatformStricmp.h"
#include "AsaApi/Host.h"
#include "AsaApi/Memory.h"

namespace host {
namespace {

// The name pool: an index per distinct text (case-insensitive, as the engine's).
class NamePool {
 public:
  int32_t Find(const std::string& text, bool add) {
    std::lock_guard lock(mutex_);
    std::string key = text;
    for (char& c : key) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    auto it = indices_.find(key);
    if (it != indices_.end()) return it->second;
    if (!add) return 0;
    names_.push_back(text);
    const auto index = static_cast<int32_t>(names_.size() - 1);
    indices_[key] = index;
    return index;
  }
  std::string Text(int32_t index) {
    std::lock_guard lock(mutex_);
    if (index < 0 || static_cast<std::size_t>(index) >= names_.size()) return "None";
    return names_[static_cast<std::size_t>(index)];
  }

 private:
  std::mutex mutex_;
  std::vector<std::string> names_{"None"};
  std::map<std::string, int32_t> indices_{{"none", 0}};
};

NamePool& Names() {
  static NamePool pool;
  return pool;
}

void ConstructName(FName* name, const char* text, EFindName find) {
  name->ComparisonIndex = Names().Find(text == nullptr ? "" : text, find == EFindName::FNAME_Add);
  name->Number = 0;
}

FString* NameToString(const FName* name, FString* out) {
  *out = FString::FromUtf8(Names().Text(name->ComparisonIndex));
  return out;
}

int StricmpWideNarrow(const char16_t* a, const char* b) {
  const std::u16string wide = Utf8ToUtf16(b == nullptr ? "" : b);
  return CompareIgnoreCase(a == nullptr ? u"" : a, wide);
}

int StricmpWide(const char16_t* a, const char16_t* b) {
  return CompareIgnoreCase(a == nullptr ? u"" : a, b == nullptr ? u"" : b);
}

// The game's allocator: each block carries its requested size in front, so the
// mod stand-in can tell how large a parameter block the plugin handed over.
struct BlockHeader {
  uint64_t Magic;
  uint64_t Size;
};
static_assert(sizeof(BlockHeader) == 16);
constexpr uint64_t kBlockMagic = 0x5441'4E44'4F52'4D45ull;

void* GameMalloc(unsigned long long size, unsigned int) {
  auto* header = static_cast<BlockHeader*>(std::malloc(sizeof(BlockHeader) + (size == 0 ? 1 : size)));
  if (header == nullptr) return nullptr;
  header->Magic = kBlockMagic;
  header->Size = size;
  return header + 1;
}

void GameFree(void* block) {
  if (block == nullptr) return;
  auto* header = static_cast<BlockHeader*>(block) - 1;
  header->Magic = 0;
  std::free(header);
}

void* GameRealloc(void* block, unsigned long long size, unsigned int alignment) {
  if (block == nullptr) return GameMalloc(size, alignment);
  auto* header = static_cast<BlockHeader*>(block) - 1;
  auto* grown = static_cast<BlockHeader*>(std::realloc(header, sizeof(BlockHeader) + (size == 0 ? 1 : size)));
  if (grown == nullptr) return nullptr;
  grown->Size = size;
  return grown + 1;
}

}  // namespace

std::size_t AllocationSize(const void* block) {
  if (block == nullptr) return 0;
  const auto* header = static_cast<const BlockHeader*>(block) - 1;
  return header->Magic == kBlockMagic ? static_cast<std::size_t>(header->Size) : 0;
}

void InstallBasicRuntime() {
  host::Register(Game::FMemory_::Malloc, &GameMalloc);
  host::Register(Game::FMemory_::Realloc, &GameRealloc);
  host::Register(Game::FMemory_::Free, &GameFree);
  host::Register(Game::FName_::Construct, &ConstructName);
  host::Register(Game::FName_::ToString, &NameToString);
  host::Register(Game::FGenericPlatformStricmp_::StricmpWideNarrow, &StricmpWideNarrow);
  host::Register(Game::FGenericPlatformStricmp_::StricmpWide, &StricmpWide);
}

}  // namespace host

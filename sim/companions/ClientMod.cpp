#include "sim/companions/ClientMod.h"

#include <algorithm>

#include "AsaApi/Game/TandorShopMod.h"
#include "AsaApi/Host.h"
#include "ClientModLayouts.h"
#include "sim/engine/EngineRuntime.h"

namespace sim {

// The message parameters as the mod fills them.
struct SimNetExecParams {
  int32_t IntParam1 = 0;
  int32_t IntParam2 = 0;
  FString StringParam1;
  FString StringParam2;
  uint64_t ObjParam1 = 0;
};

namespace {

constexpr const char* kGlobalEvents[] = {"a_setglobalsettings", "a_getgametime"};

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
  return text;
}

}  // namespace

ClientMod::ClientMod(WorldExtras& extras) : extras_(extras) {
  ClassRegistry& classes = ClassRegistry::Get();
  globalClass_ = classes.Add(TandorShopMod::GlobalActorPath);
  buffClass_ = classes.Add(TandorShopMod::PlayerBuffPath);
  auto add = [this](SimClass* owner, const char* name) {
    ObjectPtr<SimFunction> function = NewObject<SimFunction>();
    function->Name = name;
    function->Header.NamePrivate = FName(name);
    function->Owner = owner;
    function->ParmsSize = static_cast<uint16_t>(modlayout::BlockSize(name));
    functions_.push_back(std::move(function));
  };
  for (const char* name : kGlobalEvents) add(globalClass_, name);
  for (const char* name : BuffEventNames) add(buffClass_, name);
  SpawnGlobalActor();
}

ClientMod::~ClientMod() { DestroyGlobalActor(); }

SimFunction* ClientMod::FindFunction(const SimClass* cls, const std::string& name) const {
  for (const auto& function : functions_)
    if (function->Owner == cls && Lower(function->Name) == Lower(name)) return function.get();
  return nullptr;
}

SimBuff* ClientMod::BuffOf(SimCharacter* character) {
  auto& buff = buffs_[character];
  if (!buff) {
    buff = NewObject<SimBuff>();
    buff->Header.ClassPrivate = reinterpret_cast<UClass*>(buffClass_);
    buff->Owner = static_cast<SimPlayerController*>(character->Controller);
  }
  return buff.get();
}

void ClientMod::PlayerLeft(const SimCharacter* character) { buffs_.erase(character); }

UFunction* ClientMod::FindFunctionByName(UClass* cls, const std::string& name, bool includeSuper) {
  for (auto* at = reinterpret_cast<SimClass*>(cls); at != nullptr; at = includeSuper ? at->Super : nullptr) {
    if (SimFunction* function = FindFunction(at, name)) return reinterpret_cast<UFunction*>(function);
    if (!includeSuper) break;
  }
  return nullptr;
}

void ClientMod::CallFunction(UObject* object, UFunction* function, void* block) {
  ProcessEvent(object, reinterpret_cast<SimFunction*>(function), block);
}

APrimalBuff* ClientMod::BuffOfClass(SimCharacter* character, UClass* cls) {
  if (!ClassRegistry::IsChildOf(buffClass_, reinterpret_cast<SimClass*>(cls))) return nullptr;
  return reinterpret_cast<APrimalBuff*>(BuffOf(character));
}

UObject* ClientMod::GlobalActor() const { return globalActor_ ? &globalActor_->Header : nullptr; }

void ClientMod::DestroyGlobalActor() {
  if (!globalActor_) return;
  extras_.RemoveActor(&globalActor_->Header);
  globalActor_.reset();
}

void ClientMod::SpawnGlobalActor() {
  DestroyGlobalActor();
  globalActor_ = NewObject<SimModActor>();
  globalActor_->Header.ClassPrivate = reinterpret_cast<UClass*>(globalClass_);
  extras_.AddActor(globalClass_, &globalActor_->Header);
}

void ClientMod::SetParmsSize(const std::string& event, uint16_t size) {
  for (auto& function : functions_)
    if (function->Name == event) function->ParmsSize = size;
}

void ClientMod::ProcessEvent(UObject* object, SimFunction* function, void* block) {
  const auto start = std::chrono::steady_clock::now();
  TakeEvent(object, function, block);
  takingEvents_ += std::chrono::steady_clock::now() - start;
}

void ClientMod::TakeEvent(UObject* object, SimFunction* function, void* block) {
  if (function == nullptr || block == nullptr) {
    std::lock_guard lock(mutex_);
    errors_.push_back("ProcessEvent without a function or block");
    return;
  }
  const std::string& event = function->Name;
  const std::size_t expected = modlayout::BlockSize(event);
  const std::size_t passed = GameAllocationSize(block);
  if (passed != expected) {
    std::lock_guard lock(mutex_);
    errors_.push_back(event + ": " + std::to_string(passed) + " bytes passed, " + std::to_string(expected) +
                      " expected");
    return;
  }
  if (event == "a_getgametime") {
    *static_cast<double*>(block) = gameTime_;
    return;
  }
  std::vector<std::string> errors;
  const auto namePointer = [this](const void* pointer) -> nlohmann::json {
    if (pointer == nullptr) return nullptr;
    const std::string path = extras_.PathOf(pointer);
    return path.empty() ? nlohmann::json("<object>") : nlohmann::json(path);
  };
  nlohmann::json data = modlayout::Decode(event, block, namePointer, errors);
  std::string owner;
  for (const auto& [character, buff] : buffs_)
    if (&buff->Header == object && buff->Owner != nullptr) owner = Lower(buff->Owner->EosId.ToUtf8());
  {
    std::lock_guard lock(mutex_);
    for (std::string& error : errors) errors_.push_back(event + ": " + error);
  }
  Record(owner, event, std::move(data));
}

void ClientMod::Record(const std::string& eosIdOrEmpty, const std::string& event, nlohmann::json data) {
  std::lock_guard lock(mutex_);
  nlohmann::json entry = {{"event", event}, {"data", std::move(data)}};
  if (eosIdOrEmpty.empty()) globalEvents_.push_back(std::move(entry));
  else events_[eosIdOrEmpty].push_back(std::move(entry));
}

std::vector<nlohmann::json> ClientMod::EventsOf(const std::string& eosId) const {
  std::lock_guard lock(mutex_);
  const auto found = events_.find(Lower(eosId));
  return found == events_.end() ? std::vector<nlohmann::json>{} : found->second;
}

std::vector<nlohmann::json> ClientMod::EventsOf(const std::string& eosId, const std::string& event) const {
  std::vector<nlohmann::json> matching;
  for (nlohmann::json& entry : EventsOf(eosId))
    if (entry["event"] == event) matching.push_back(std::move(entry["data"]));
  return matching;
}

std::size_t ClientMod::EventCount(const std::string& eosId) const {
  std::lock_guard lock(mutex_);
  const auto found = events_.find(Lower(eosId));
  return found == events_.end() ? 0 : found->second.size();
}

std::vector<nlohmann::json> ClientMod::GlobalEvents() const {
  std::lock_guard lock(mutex_);
  return globalEvents_;
}

std::vector<std::string> ClientMod::Errors() const {
  std::lock_guard lock(mutex_);
  return errors_;
}

void ClientMod::ClearEvents() {
  std::lock_guard lock(mutex_);
  events_.clear();
  globalEvents_.clear();
  requests_.clear();
}

std::vector<SentRequest> ClientMod::RequestsOf(const std::string& eosId) const {
  std::lock_guard lock(mutex_);
  const auto found = requests_.find(Lower(eosId));
  return found == requests_.end() ? std::vector<SentRequest>{} : found->second;
}

bool ClientMod::Send(const SimPlayer& player, const std::string& message, int32_t intParam1, int32_t intParam2,
                     const std::string& stringParam1) {
  SimNetExecParams params;
  params.IntParam1 = intParam1;
  params.IntParam2 = intParam2;
  params.StringParam1 = FString::FromUtf8(stringParam1);
  {
    std::lock_guard lock(mutex_);
    const std::string key = Lower(player.Controller->EosId.ToUtf8());
    requests_[key].push_back({message, intParam1, intParam2, stringParam1, events_[key].size()});
  }
  SimBuff* buff = BuffOf(player.Character.get());
  return Game::APrimalBuff_::BPNetExec(reinterpret_cast<APrimalBuff*>(buff), player.AsController(),
                                       FName(message.c_str()), reinterpret_cast<FBPNetExecParams*>(&params));
}

void RegisterClientModFields() {
  using namespace Game;
  host::Register(UFunction_::ParmsSize, static_cast<std::ptrdiff_t>(offsetof(SimFunction, ParmsSize)));
  host::Register(FBPNetExecParams_::IntParam1, static_cast<std::ptrdiff_t>(offsetof(SimNetExecParams, IntParam1)));
  host::Register(FBPNetExecParams_::IntParam2, static_cast<std::ptrdiff_t>(offsetof(SimNetExecParams, IntParam2)));
  host::Register(FBPNetExecParams_::StringParam1,
                 static_cast<std::ptrdiff_t>(offsetof(SimNetExecParams, StringParam1)));
}

}  // namespace sim

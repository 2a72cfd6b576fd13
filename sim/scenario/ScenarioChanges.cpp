// The steps that change the world or the server's files mid-run: items,
// inventories, deaths, levels and tribes; the installed configuration, the
// cooldown file and the database server.
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "AsaApi/Platform.h"
#include "sim/engine/Classes.h"
#include "sim/scenario/ScenarioCluster.h"
#include "sim/scenario/ScenarioDatabase.h"
#include "sim/scenario/ScenarioRunner.h"
#include "sim/scenario/ServerLauncher.h"
#include "sim/world/GameModel.h"
#include "sim/world/Inventory.h"
#include "sim/world/Items.h"
#include "sim/world/PlayerChanges.h"

namespace sim::scenario {
namespace {

struct StepFailed : std::runtime_error {
  using std::runtime_error::runtime_error;
};

const SimClass* ItemClass(const std::string& name) {
  SimClass* cls = ClassRegistry::Get().Find(name);
  if (cls == nullptr) cls = ClassRegistry::Get().FindByName(name);
  if (ItemClasses::DefaultOf(cls) == nullptr) throw StepFailed("no item class " + name);
  return cls;
}

// The member of an object, or the element of a list by its index (from 0).
nlohmann::json& Member(nlohmann::json& at, const std::string& name, bool last) {
  if (at.is_array()) {
    std::size_t index = 0;
    try {
      index = std::stoul(name);
    } catch (const std::exception&) {
      throw StepFailed("config: " + name + " is no index of a list");
    }
    if (index >= at.size()) throw StepFailed("config: the list has no element " + name);
    return at[index];
  }
  if (!at.is_object()) throw StepFailed("config: " + name + " is inside something that is neither object nor list");
  nlohmann::json& member = at[name];
  if (!last && member.is_null()) member = nlohmann::json::object();
  return member;
}

void SetMember(nlohmann::json& config, const std::vector<std::string>& path, const nlohmann::json& value) {
  nlohmann::json* at = &config;
  for (std::size_t i = 0; i < path.size(); ++i) at = &Member(*at, path[i], i + 1 == path.size());
  *at = value;
}

}  // namespace

bool Runner::ExecuteWorld(const Action& action) {
  Server& server = launcher_.Current();
  if (const auto* give = std::get_if<struct Give>(&action)) {
    SimPlayer& player = Online(give->EosId);
    const SimClass* cls = ItemClass(give->ItemClass);
    SimInventory& inventory = *player.Character->Inventory;
    const int32_t added = give->Blueprint || give->Quality
                              ? GiveSingleItems(server.Model(), player, cls, give->Count, give->Blueprint,
                                                give->Quality.value_or(0.0f))
                              : IncrementQuantity(server.Model().Items, inventory, cls, give->Count, nullptr);
    if (added != give->Count) throw StepFailed("the inventory took only " + std::to_string(added));
    notes_.push_back(give->EosId + " holds " + std::to_string(server.Model().Items.CountOf(&inventory, cls)));
    return true;
  }
  if (const auto* fill = std::get_if<Fill>(&action)) {
    const int32_t taken = FillInventory(server.Model(), Online(fill->EosId));
    notes_.push_back(fill->EosId + "'s inventory is full (" + std::to_string(taken) + " slots filled)");
    return true;
  }
  if (const auto* kill = std::get_if<Kill>(&action)) {
    SetDead(server.Model(), Online(kill->EosId), true);
    return Settle(), true;
  }
  if (const auto* level = std::get_if<struct SetLevel>(&action)) {
    sim::SetLevel(Online(level->EosId), level->Level);
    return true;
  }
  if (const auto* tribe = std::get_if<struct SetTribe>(&action)) {
    const int32_t id = tribe->Tribe.empty()
                           ? 0
                           : tribeIds_.emplace(tribe->Tribe, static_cast<int32_t>(1000 + tribeIds_.size())).first->second;
    sim::SetTribe(Online(tribe->EosId), tribe->Tribe, id);
    return true;
  }
  return false;
}

bool Runner::ExecuteFiles(const Action& action) {
  if (const auto* set = std::get_if<ConfigSet>(&action)) {
    launcher_.EditConfig([&](nlohmann::json& config) { SetMember(config, set->Path, set->Value); });
    return true;
  }
  if (const auto* patch = std::get_if<ConfigPatch>(&action)) {
    launcher_.EditConfig([&](nlohmann::json& config) { config.merge_patch(patch->Patch); });
    return true;
  }
  if (const auto* write = std::get_if<CooldownsWrite>(&action)) {
    std::ofstream file(std::filesystem::path(launcher_.PluginFolder()) / "packetCds.txt", std::ios::trunc);
    for (std::string line : write->Lines) {
      // "{now}": the server's clock, which the scenario may have moved on.
      for (std::size_t at; (at = line.find("{now}")) != std::string::npos;)
        line.replace(at, 5, std::to_string(host::NowUnixSeconds()));
      file << line << "\n";
    }
    if (!file) throw StepFailed("cannot write packetCds.txt");
    return true;
  }
  if (const auto* database = std::get_if<Database>(&action)) {
    if (database_ == nullptr) throw StepFailed("this run has no database server of its own to take down");
    if (database->Up) database_->Up();
    else database_->Down();
    return Settle(), true;
  }
  if (std::holds_alternative<OnCluster>(action)) return true;  // the session started it before the server
  if (const auto* node = std::get_if<ClusterNode>(&action)) {
    if (cluster_ == nullptr) throw StepFailed("this run has no cluster of its own (a \"cluster\" line)");
    if (node->Up) cluster_->Restart(node->Node);
    else cluster_->Kill(node->Node);
    return Settle(), true;
  }
  throw StepFailed("this step cannot run here");
}

}  // namespace sim::scenario

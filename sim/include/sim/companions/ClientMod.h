#pragma once
// The companion client mod, as far as the server sees it: its global actor (which
// answers the game time and receives the global settings) and the buff it puts on
// every player character (which receives every shop event and sends the mod's
// requests). Each event's parameter block is decoded from the stand-in's own
// table of offsets and recorded as JSON per player.
#include <chrono>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "sim/engine/Classes.h"
#include "sim/world/ModContent.h"
#include "sim/world/World.h"
#include "sim/world/WorldExtras.h"

namespace sim {

// The events the mod's player buff answers.
inline constexpr const char* BuffEventNames[] = {"a_openshop",      "a_cat",          "a_updatepoints",
                                                 "a_init_trade",    "a_init_sell",    "a_init_redeem",
                                                 "a_update_redeem", "a_init_log_buy", "a_init_log_trade"};

struct SimFunction {
  UObject Header;
  uint16_t ParmsSize = 0;
  std::string Name;
  SimClass* Owner = nullptr;
};

struct SimModActor {
  UObject Header;
};

struct SimBuff {
  UObject Header;
  SimPlayerController* Owner = nullptr;
};

// A request the mod sent, and how many of the player's events had arrived before it.
struct SentRequest {
  std::string Message;
  int32_t IntParam1 = 0;
  int32_t IntParam2 = 0;
  std::string StringParam1;
  std::size_t EventsBefore = 0;
};

class ClientMod final : public ModContent {
 public:
  explicit ClientMod(WorldExtras& extras);
  ~ClientMod();

  // Events received, each {"event": name, "data": decoded block}, in order.
  std::vector<nlohmann::json> EventsOf(const std::string& eosId) const;
  std::vector<nlohmann::json> EventsOf(const std::string& eosId, const std::string& event) const;
  std::vector<nlohmann::json> GlobalEvents() const;
  std::size_t EventCount(const std::string& eosId) const;
  // Layout problems seen in the blocks the plugin passed.
  std::vector<std::string> Errors() const;
  void ClearEvents();

  double GameTime() const { return gameTime_; }
  void SetGameTime(double seconds) { gameTime_ = seconds; }

  // Sends one of the mod's requests from the player's buff, as the mod does.
  bool Send(const SimPlayer& player, const std::string& message, int32_t intParam1 = 0, int32_t intParam2 = 0,
            const std::string& stringParam1 = "");
  // The requests sent for a player, in order (cleared with the events).
  std::vector<SentRequest> RequestsOf(const std::string& eosId) const;
  // Requests that reached the game's own function.
  std::size_t MessagesReachingGame() const { return reachedGame_; }
  // Game-thread time the stand-in spent taking events (decoding and recording),
  // so benchmarks can tell the plugin's own share of a tick from the stand-in's.
  std::chrono::nanoseconds TimeTakingEvents() const { return takingEvents_; }

  // The world without the global actor (a map change) and with a new one.
  void DestroyGlobalActor();
  void SpawnGlobalActor();
  // Makes an event report another parameter size (a mod of another version).
  void SetParmsSize(const std::string& event, uint16_t size);

  // --- what the game functions reach (ModContent) ---
  UFunction* FindFunctionByName(UClass* cls, const std::string& name, bool includeSuper) override;
  void CallFunction(UObject* object, UFunction* function, void* block) override;
  APrimalBuff* BuffOfClass(SimCharacter* character, UClass* cls) override;
  void MessageReachedGame() override { ++reachedGame_; }
  void PlayerLeft(const SimCharacter* character) override;

  SimClass* GlobalActorClass() const { return globalClass_; }
  SimClass* BuffClass() const { return buffClass_; }
  SimFunction* FindFunction(const SimClass* cls, const std::string& name) const;
  SimBuff* BuffOf(SimCharacter* character);
  void ProcessEvent(UObject* object, SimFunction* function, void* block);
  UObject* GlobalActor() const;

 private:
  void TakeEvent(UObject* object, SimFunction* function, void* block);
  void Record(const std::string& eosIdOrEmpty, const std::string& event, nlohmann::json data);

  WorldExtras& extras_;
  SimClass* globalClass_ = nullptr;
  SimClass* buffClass_ = nullptr;
  std::vector<ObjectPtr<SimFunction>> functions_;
  ObjectPtr<SimModActor> globalActor_;
  std::map<const SimCharacter*, ObjectPtr<SimBuff>> buffs_;
  double gameTime_ = 86400.0;
  std::size_t reachedGame_ = 0;
  std::chrono::nanoseconds takingEvents_{0};
  mutable std::mutex mutex_;
  std::map<std::string, std::vector<nlohmann::json>> events_;
  std::vector<nlohmann::json> globalEvents_;
  std::map<std::string, std::vector<SentRequest>> requests_;
  std::vector<std::string> errors_;
};

// Registers the fields of the mod's objects the game reads (its functions are
// reached through ModContent).
void RegisterClientModFields();

}  // namespace sim

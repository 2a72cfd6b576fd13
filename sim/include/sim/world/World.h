#pragma once
// The simulated game's objects. Each is a standard-layout struct that starts with
// the object header; the plugin reaches their fields by name only.
#include <cstdint>
#include <string>
#include <vector>

#include "AsaApi/FString.h"
#include "AsaApi/Game/Classes.h"
#include "AsaApi/WeakObjectPtr.h"
#include "sim/engine/ObjectArray.h"

namespace sim {

struct SimPlayerState {
  UObject Header;
  FString TribeName;  // the tribe data starts here: name, then id
  int32_t TribeId = 0;
  int32_t CharacterLevel = 1;
};

struct SimInventory;
struct SimStatusComponent;

// APrimalCharacter (a player's pawn). Creatures share this prefix (sim/Creatures.h).
struct SimCharacter {
  UObject Header;
  void* Controller = nullptr;  // SimPlayerController*
  SimInventory* Inventory = nullptr;
  SimStatusComponent* StatusComponent = nullptr;
  FString DescriptiveName;
};

struct SimPlayerController {
  UObject Header;
  FString EosId;
  uint64_t LinkedPlayerId = 0;
  FString CharacterName;
  uint32_t Flags = 0;  // bit 0: admin
  APlayerState* PlayerState = nullptr;
  SimCharacter* Character = nullptr;
  int32_t TargetingTeam = 0;  // the tribe's id, else the player's own team
};

struct SimGameMode {
  UObject Header;
  int32_t ServerId = 0;
};

struct SimWorld {
  UObject Header;
  FString MapName;
  TArray<TWeakObjectPtr<APlayerController>> PlayerControllerList;
  void* GameState = nullptr;  // SimGameState*
  double TimeSeconds = 0;
};

struct SimRconConnection {
  UObject Header;
  uint64_t ConnectionId = 0;
  FString IP;  // "address:port" of the client
};

// A player as the tests describe one.
struct PlayerSpec {
  std::string EosId;
  uint64_t LinkedPlayerId = 0;
  std::string CharacterName = "Survivor";
  std::string TribeName;
  int32_t TribeId = 0;
  bool Admin = false;
  int32_t Level = 1;

  static PlayerSpec Of(std::string eosId, std::string characterName = "Survivor", bool admin = false) {
    PlayerSpec spec;
    spec.EosId = std::move(eosId);
    spec.CharacterName = std::move(characterName);
    spec.Admin = admin;
    return spec;
  }
};

// One player's objects, owned by the server.
struct SimPlayer {
  ObjectPtr<SimPlayerController> Controller;
  ObjectPtr<SimPlayerState> State;
  ObjectPtr<SimCharacter> Character;
  AShooterPlayerController* AsController() const {
    return reinterpret_cast<AShooterPlayerController*>(Controller.get());
  }
};

}  // namespace sim

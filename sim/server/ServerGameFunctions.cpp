// The game's own functions that the server itself implements (the game mode,
// characters possessed, the world's map name, the controller's identity, client
// messages, RCON replies), registered in the host's tables with every other part
// of the game.
//
// The host's tables hold plain C functions, which cannot carry a context; the
// running server is the one context they all have. It is kept here and nowhere
// else: the world's functions are handed it as their GameHost (EntryPoint.h).
#include "AsaApi/Game/AShooterCharacter.h"
#include "AsaApi/Game/AShooterGameMode.h"
#include "AsaApi/Game/AShooterPlayerController.h"
#include "AsaApi/Game/RCON.h"
#include "AsaApi/Game/UWorld.h"
#include <stdexcept>

#include "AsaApi/Host.h"
#include "ServerInternals.h"
#include "sim/engine/Classes.h"
#include "sim/server/GameServer.h"
#include "sim/world/GameModel.h"
#include "sim/world/HostedFunctions.h"
#include "sim/world/WorldExtras.h"

namespace sim {
namespace {

class Running {
 public:
  static GameServer* Current() { return current_; }
  static GameHost* Host() { return current_; }
  static void Set(GameServer* server) {
    if (server != nullptr && current_ != nullptr) throw std::logic_error("one simulated server at a time");
    current_ = server;
  }

 private:
  static inline GameServer* current_ = nullptr;
};

void GameModeBeginPlay(AShooterGameMode*) {
  if (GameServer* server = Running::Current()) server->MarkReady();
}

void GameModePostLogin(AShooterGameMode*, APlayerController* player) {
  GameServer* server = Running::Current();
  if (server == nullptr || player == nullptr) return;
  server->World()->PlayerControllerList.Add(TWeakObjectPtr<APlayerController>(player));
}

void GameModeLogout(AShooterGameMode*, AController* exiting) {
  GameServer* server = Running::Current();
  if (server == nullptr) return;
  server->World()->PlayerControllerList.RemoveAll(
      [exiting](const TWeakObjectPtr<APlayerController>& weak) {
        return weak.Get() == nullptr || static_cast<void*>(weak.Get()) == static_cast<void*>(exiting);
      });
}

void CharacterPossessedBy(AShooterCharacter* character, AController* controller) {
  auto* simCharacter = reinterpret_cast<SimCharacter*>(character);
  simCharacter->Controller = controller;
  if (controller != nullptr) AsSim(controller)->Character = simCharacter;
}

FString* WorldGetMapName(UWorld* world, FString* out) {
  *out = reinterpret_cast<SimWorld*>(world)->MapName;
  return out;
}

FString* ControllerEosId(AShooterPlayerController* controller, FString* out) {
  *out = AsSim(controller)->EosId;
  return out;
}

FString* ControllerCharacterName(AShooterPlayerController* controller, FString* out) {
  *out = AsSim(controller)->CharacterName;
  return out;
}

void ControllerClientMessage(APlayerController* controller, FString* text, FName, float) {
  if (GameServer* server = Running::Current()) server->RecordClientMessage(controller, text ? text->ToUtf8() : "");
}

void RconSendMessage(RCONClientConnection* connection, int id, int type, FString* text) {
  GameServer* server = Running::Current();
  if (server == nullptr || connection == nullptr) return;
  server->SendRcon(reinterpret_cast<SimRconConnection*>(connection)->ConnectionId, id, type,
                   text ? text->ToUtf8() : "");
}

}  // namespace

void GameServer::RegisterGame() {
  Running::Set(this);
  using namespace Game;
  host::Register(AShooterGameMode_::BeginPlay, &GameModeBeginPlay);
  host::Register(AShooterGameMode_::PostLogin, &GameModePostLogin);
  host::Register(AShooterGameMode_::Logout, &GameModeLogout);
  host::Register(AShooterGameMode_::ServerID, static_cast<std::ptrdiff_t>(offsetof(SimGameMode, ServerId)));
  host::Register(AShooterCharacter_::PossessedBy, &CharacterPossessedBy);
  host::Register(UWorld_::GetMapName, &WorldGetMapName);
  host::Register(UWorld_::PlayerControllerList,
                 static_cast<std::ptrdiff_t>(offsetof(SimWorld, PlayerControllerList)));
  host::Register(AShooterPlayerController_::GetUniqueNetIdAsString, &ControllerEosId);
  host::Register(AShooterPlayerController_::GetPlayerCharacterName, &ControllerCharacterName);
  host::Register(AShooterPlayerController_::LinkedPlayerID,
                 static_cast<std::ptrdiff_t>(offsetof(SimPlayerController, LinkedPlayerId)));
  host::Register(AShooterPlayerController_::bIsAdmin,
                 host::BitFieldInfo{static_cast<std::ptrdiff_t>(offsetof(SimPlayerController, Flags)), 0, 1});
  host::Register(AController_::PlayerState, static_cast<std::ptrdiff_t>(offsetof(SimPlayerController, PlayerState)));
  host::Register(APlayerController_::ClientMessage, &ControllerClientMessage);
  host::Register(RCONClientConnection_::SendMessage, &RconSendMessage);
  host::Register(RCONClientConnection_::IP, static_cast<std::ptrdiff_t>(offsetof(SimRconConnection, IP)));
  RegisterClassFunctions();
  RegisterGameModel();
  RegisterWorldExtraFunctions();
  RegisterHostedFunctions<&Running::Host>();
}

void GameServer::UnregisterGame() { Running::Set(nullptr); }

}  // namespace sim

// The players of one simulated server: joining and leaving, their permission
// groups, and the chat and client messages they received.
#include <stdexcept>

#include "AsaApi/Game/AShooterCharacter.h"
#include "AsaApi/Game/AShooterGameMode.h"
#include "ServerInternals.h"
#include "sim/server/GameServer.h"
#include "sim/world/GameModel.h"
#include "sim/world/ModContent.h"

namespace sim {

SimPlayer& GameServer::JoinPlayer(const PlayerSpec& spec) {
  const std::string key = Lower(spec.EosId);
  if (players_.count(key) > 0) throw std::logic_error("player already online: " + spec.EosId);
  SimPlayer player;
  player.Controller = NewObject<SimPlayerController>();
  player.State = NewObject<SimPlayerState>();
  player.Character = NewObject<SimCharacter>();
  player.Controller->EosId = FString::FromUtf8(spec.EosId);
  player.Controller->LinkedPlayerId = spec.LinkedPlayerId;
  player.Controller->CharacterName = FString::FromUtf8(spec.CharacterName);
  player.Controller->Flags = spec.Admin ? 1u : 0u;
  player.Controller->PlayerState = reinterpret_cast<APlayerState*>(player.State.get());
  player.Controller->TargetingTeam = spec.TribeId;
  player.Character->Inventory = model_->Items.NewInventory();
  player.State->TribeName = FString::FromUtf8(spec.TribeName);
  player.State->TribeId = spec.TribeId;
  player.State->CharacterLevel = spec.Level;
  SimPlayer& stored = players_[key] = std::move(player);

  auto* gameMode = reinterpret_cast<AShooterGameMode*>(gameMode_.get());
  auto* controller = reinterpret_cast<APlayerController*>(stored.Controller.get());
  Game::AShooterGameMode_::PostLogin(gameMode, controller);
  Game::AShooterCharacter_::PossessedBy(reinterpret_cast<AShooterCharacter*>(stored.Character.get()),
                                        reinterpret_cast<AController*>(controller));
  return stored;
}

void GameServer::LeavePlayer(const std::string& eosId) {
  auto it = players_.find(Lower(eosId));
  if (it == players_.end()) return;
  Game::AShooterGameMode_::Logout(reinterpret_cast<AShooterGameMode*>(gameMode_.get()),
                                  reinterpret_cast<AController*>(it->second.Controller.get()));
  if (content_ != nullptr) content_->PlayerLeft(it->second.Character.get());
  players_.erase(it);  // the objects go, and weak pointers to them resolve to null
}

SimPlayer* GameServer::FindPlayer(const std::string& eosId) {
  auto it = players_.find(Lower(eosId));
  return it == players_.end() ? nullptr : &it->second;
}

const std::vector<ReceivedMessage>& GameServer::MessagesOf(const std::string& eosId) { return messages_[Lower(eosId)]; }

const std::vector<std::string>& GameServer::ClientMessagesOf(const std::string& eosId) {
  return clientMessages_[Lower(eosId)];
}

void GameServer::SetGroups(const std::string& eosId, std::vector<std::string> groups) {
  groups_[Lower(eosId)] = std::move(groups);
}

bool GameServer::IsPlayerInGroup(const std::string& eosId, const std::string& group) const {
  auto it = groups_.find(Lower(eosId));
  if (it == groups_.end()) return false;
  return std::find(it->second.begin(), it->second.end(), group) != it->second.end();
}

void GameServer::RecordMessage(AShooterPlayerController* player, const std::string& sender, const std::string& text) {
  if (player == nullptr) return;
  messages_[Lower(AsSim(player)->EosId.ToUtf8())].push_back({sender, text});
}

void GameServer::RecordClientMessage(APlayerController* player, const std::string& text) {
  if (player == nullptr) return;
  clientMessages_[Lower(AsSim(player)->EosId.ToUtf8())].push_back(text);
}

}  // namespace sim

#pragma once
#include "AsaApi/FString.h"
#include "AsaApi/Game/Classes.h"

namespace Game::APlayerController_ {
inline const GameFunction<void(APlayerController*, FString*, FName, float)> ClientMessage{
    "APlayerController.ClientMessage(FString&,FName,float)"};
}
namespace Game::AController_ {
inline const GameField<APlayerState*> PlayerState{"AController.PlayerState"};
inline const GameField<ACharacter*> Character{"AController.Character"};
}
namespace Game::AShooterPlayerController_ {
inline const GameFunction<FString*(AShooterPlayerController*, FString*)> GetUniqueNetIdAsString{
    "AShooterPlayerController.GetUniqueNetIdAsString()"};
inline const GameFunction<FString*(AShooterPlayerController*, FString*)> GetPlayerCharacterName{
    "AShooterPlayerController.GetPlayerCharacterName()"};
// The player's character (AShooterCharacter), or null while the player has none.
inline const GameFunction<AShooterCharacter*(AShooterPlayerController*)> GetPlayerCharacter{
    "AShooterPlayerController.GetPlayerCharacter()"};
inline const GameField<uint64_t> LinkedPlayerID{"AShooterPlayerController.LinkedPlayerID"};
inline const GameBitField bIsAdmin{"AShooterPlayerController.bIsAdmin"};
// Runs a console command as this player; result receives the game's reply.
inline const GameFunction<FString*(AShooterPlayerController*, FString*, FString*, bool)> ConsoleCommand{
    "AShooterPlayerController.ConsoleCommand(FString&,bool)"};
// Spawns the actor class at an asset path beside the player (distance, height
// offsets, then whether it is spawned as a tamed creature would be).
inline const GameFunction<AActor*(AShooterPlayerController*, FString*, float, float, float, bool)> SpawnActor{
    "AShooterPlayerController.SpawnActor(FString&,float,float,float,bool)"};
}  // namespace Game::AShooterPlayerController_

struct AShooterPlayerController : APlayerController {
  FString GetUniqueNetIdAsString() {
    FString id;
    Game::AShooterPlayerController_::GetUniqueNetIdAsString(this, &id);
    return id;
  }
  FString GetPlayerCharacterName() {
    FString name;
    Game::AShooterPlayerController_::GetPlayerCharacterName(this, &name);
    return name;
  }
  uint64_t& LinkedPlayerIDField() { return Game::AShooterPlayerController_::LinkedPlayerID.Of(this); }
  bool IsAdmin() const { return Game::AShooterPlayerController_::bIsAdmin.Of(this); }
  APlayerState* PlayerStateField() { return Game::AController_::PlayerState.Of(this); }
  void ClientMessage(const FString& text) {
    FString copy = text;
    Game::APlayerController_::ClientMessage(this, &copy, FName(), 0.f);
  }
};

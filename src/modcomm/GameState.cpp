#include "modcomm/GameState.h"

#include "AsaApi/ApiUtils.h"
#include "AsaApi/Game/AShooterGameSession.h"
#include "AsaApi/Game/UGameplayStatics.h"
#include "core/Log.h"

namespace ModComm {
namespace {
FString g_mapName;
FString g_sessionName;
FString g_serverKey;
}  // namespace

FString& MapName() { return g_mapName; }
FString& SessionName() { return g_sessionName; }
FString& ServerKey() { return g_serverKey; }

void ReadGameSession() {
  UClass* sessionClass = Game::AShooterGameSession_::StaticClass();
  TArray<AActor*> sessions;
  if (sessionClass != nullptr)
    Game::UGameplayStatics_::GetAllActorsOfClass(reinterpret_cast<UObject*>(AsaApi::GetApiUtils().GetWorld()),
                                                 sessionClass, &sessions);
  if (sessions.IsEmpty() || sessions[0] == nullptr) {
    TandorShop::Log().warn("GameSession not found");
    return;
  }
  // Read in place: the parameters hold the game's own texts, never copied here.
  const FShooterGameSessionParams& params = Game::AShooterGameSession_::CurrentSessionParams.Of(sessions[0]);
  g_sessionName = Game::FShooterGameSessionParams_::SessionName.Of(&params).ToString();
}

}  // namespace ModComm

#pragma once
#include "AsaApi/FName.h"
#include "AsaApi/Game/Classes.h"

struct AShooterGameSession : AInfo {};
struct FShooterGameSessionParams;

namespace Game::AShooterGameSession_ {
inline const GameFunction<UClass*()> StaticClass{"AShooterGameSession.StaticClass()"};
inline const GameField<FShooterGameSessionParams> CurrentSessionParams{"AShooterGameSession.CurrentSessionParams"};
}  // namespace Game::AShooterGameSession_
namespace Game::FShooterGameSessionParams_ {
inline const GameField<FName> SessionName{"FShooterGameSessionParams.SessionName"};
}

#pragma once
#include "AsaApi/Game/Classes.h"

namespace Game::APrimalPlayerController_ {
inline const GameBitField bIsAdmin{"APrimalPlayerController.bIsAdmin"};
}

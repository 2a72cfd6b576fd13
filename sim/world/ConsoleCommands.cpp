#include "sim/world/ConsoleCommands.h"

#include "AsaApi/FString.h"
#include "AsaApi/Game/APrimalPlayerController.h"
#include "AsaApi/Game/AShooterPlayerController.h"
#include "AsaApi/Game/UPrimalActor.h"
#include "sim/world/GameModel.h"
#include "sim/world/HostedFunctions.h"

namespace sim {
namespace {

constexpr uint32_t AdminBit = 1u;  // SimPlayerController::Flags

}  // namespace

FString* hosted::ConsoleCommand(GameHost& game, AShooterPlayerController* controller, FString* result,
                                FString* command, bool writeToLog) {
  auto* player = reinterpret_cast<SimPlayerController*>(controller);
  const std::string text = command == nullptr ? "" : command->ToUtf8();
  bool accepted = true;
  if (player != nullptr) {
    ConsoleLog& log = game.Model().Console;
    accepted = !log.Rejects(text);
    log.Record({player->EosId.ToUtf8(), text, writeToLog, (player->Flags & AdminBit) != 0, accepted});
  }
  if (result != nullptr) *result = FString(accepted ? "" : "Unknown command");
  return result;
}

bool ConsoleLog::Rejects(const std::string& text) const {
  const std::u16string wide = Utf8ToUtf16(text);
  for (const std::string& prefix : rejected_) {
    const std::u16string start = Utf8ToUtf16(prefix);
    if (wide.size() >= start.size() && CompareIgnoreCase(std::u16string_view(wide).substr(0, start.size()), start) == 0)
      return true;
  }
  return false;
}

void RegisterConsoleCommandFunctions() {
  host::Register(Game::APrimalPlayerController_::bIsAdmin,
                 host::BitFieldInfo{static_cast<std::ptrdiff_t>(offsetof(SimPlayerController, Flags)), 0, 1});
}

}  // namespace sim

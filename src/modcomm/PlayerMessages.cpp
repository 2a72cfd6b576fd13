#include "modcomm/PlayerMessages.h"

#include <exception>

#include <fmt/format.h>

#include "AsaApi/ApiUtils.h"
#include "AsaApi/Game/AShooterPlayerController.h"
#include "AsaApi/Game/AShooterPlayerState.h"
#include "AsaApi/Tools.h"
#include "config/ShopConfig.h"
#include "core/Log.h"
#include "core/ModulePath.h"
#include "modcomm/ModEvents.h"

namespace ModComm {

void SendPlayerMessage(AShooterPlayerController* controller, const std::string& utf8Text) {
  if (controller == nullptr) return;
  const FString text(AsaApi::Tools::Utf8Decode(utf8Text));
  auto messaging = AsaApi::GetApiUtils().GetMessagingManager(TandorShop::ModulePath());
  if (messaging) messaging->SendServerMessage(controller, ConfigHelper::ShopConfig().ShopName, text);
}

std::string FormatMessage(const char* messageName, const std::string& configured, const std::string& fallback,
                          const fmt::dynamic_format_arg_store<fmt::format_context>& args) {
  try {
    return fmt::vformat(configured, args);
  } catch (const std::exception& e) {
    TandorShop::Log().warn("Message {} does not format ({}); the default text is used", messageName, e.what());
  }
  try {
    return fmt::vformat(fallback, args);
  } catch (const std::exception&) {
    return fallback;
  }
}

FString TribeNameOf(AShooterPlayerController* controller) {
  if (controller == nullptr) return {};
  auto* state = reinterpret_cast<AShooterPlayerState*>(controller->PlayerStateField());
  if (state == nullptr) return {};
  FTribeData* tribe = state->MyTribeDataField();
  if (Game::FTribeData_::TribeID.Of(tribe) == 0) return {};
  return Game::FTribeData_::TribeName.Of(tribe);
}

FString PlayerLabel(AShooterPlayerController* controller) {
  if (controller == nullptr) return {};
  return FString(fmt::format("{} ({})", controller->GetPlayerCharacterName().ToUtf8(), TribeNameOf(controller).ToUtf8()));
}

void NotifyPointsChange(const FString& eosId, int32_t change) {
  AShooterPlayerController* controller = AsaApi::GetApiUtils().FindPlayerFromEOSID(eosId);
  if (controller == nullptr) return;
  int32_t block = change;
  SendToPlayerBuff(controller, BuffEvent::UpdatePoints, block);
  fmt::dynamic_format_arg_store<fmt::format_context> args;
  args.push_back(fmt::arg("amount", change));
  const std::string text =
      FormatMessage("GotTimedPoints", ConfigHelper::ShopConfig().Messages.GotTimedPoints,
                    ConfigHelper::ConfigMessages{}.GotTimedPoints, args);
  SendPlayerMessage(controller, text);
}

}  // namespace ModComm

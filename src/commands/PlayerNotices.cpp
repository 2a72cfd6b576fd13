#include "commands/PlayerNotices.h"

#include "AsaApi/ApiUtils.h"
#include "AsaApi/Tools.h"
#include "config/ShopConfig.h"
#include "core/ModulePath.h"

namespace CommandHandler {

void TellPlayerPointsChanged(const FString&, int32_t) {
  // The mod channel's NotifyPointsChange (eosId, change) goes here.
}

void SendChatLine(AShooterPlayerController* player, const std::string& utf8Text) {
  if (player == nullptr) return;
  auto messaging = AsaApi::GetApiUtils().GetMessagingManager(TandorShop::ModulePath());
  if (!messaging) return;
  const FString text(std::u16string_view(AsaApi::Tools::Utf8Decode(utf8Text)));
  messaging->SendServerMessage(player, ConfigHelper::ShopConfig().ShopName, text);
}

}  // namespace CommandHandler

#include "commands/ShopChatCommand.h"

namespace CommandHandler {

void OpenShopFromChat(AShooterPlayerController*) {
  // The mod channel's HandleOpenShop (player) goes here.
}

}  // namespace CommandHandler

#include "commands/CommandHandler.h"

#include <exception>
#include <string>
#include <string_view>

#include "AsaApi/Commands.h"
#include "AsaApi/Game/AShooterPlayerController.h"
#include "AsaApi/Game/RCON.h"
#include "commands/AdminCommands.h"
#include "commands/AuditLine.h"
#include "commands/InventoryListing.h"
#include "core/Log.h"
#include "core/TextConversion.h"
#include "modcomm/PlayerMessages.h"
#include "shop/InfoRequests.h"

namespace CommandHandler {
namespace {

using Logic = std::string (*)(std::u16string_view);

enum class ConsoleReply { LineAndChat, LineOnly };

struct AdminCommand {
  const char16_t* Name;
  Logic Run;
  ConsoleReply Console;
};

constexpr AdminCommand kAdminCommands[] = {
    {u"ChangeKitAmount", &changeKitAmountInternal, ConsoleReply::LineOnly},
    {u"AddPoints", &addPointsInternal, ConsoleReply::LineAndChat},
    {u"SetPoints", &setPointsInternal, ConsoleReply::LineAndChat},
    {u"GetPlayerPoints", &getPlayerPointsInternal, ConsoleReply::LineAndChat},
    {u"ResetKits", &resetKitsInternal, ConsoleReply::LineAndChat},
    {u"ResetPoints", &resetPointsInternal, ConsoleReply::LineAndChat},
    {u"TransferPointsFromArkshop", &transferPointsFromArkshopInternal, ConsoleReply::LineAndChat},
};

constexpr const char16_t* kShopChatCommand = u"/shop";
constexpr const char16_t* kListInvItems = u"ListInvItems";

// Runs call so that nothing it throws reaches the host.
template <typename Call>
void Guarded(const char16_t* name, Call call) {
  try {
    call();
  } catch (const std::exception& e) {
    TandorShop::Log().error("Command {} failed: {}", Utf16ToUtf8(name), e.what());
  } catch (...) {
    TandorShop::Log().error("Command {} failed", Utf16ToUtf8(name));
  }
}

// Console commands act only for a controller with the admin bit; anyone else
// gets neither an effect nor a reply.
AShooterPlayerController* IssuingAdmin(APlayerController* player, const FString* text) {
  if (player == nullptr || text == nullptr) return nullptr;
  auto* controller = reinterpret_cast<AShooterPlayerController*>(player);
  return controller->IsAdmin() ? controller : nullptr;
}

AsaApi::RconCommandCallback OverRcon(const AdminCommand& command) {
  return [command](RCONClientConnection* connection, RCONPacket* packet, UWorld*) {
    if (connection == nullptr || packet == nullptr) return;
    Guarded(command.Name, [&] {
      FString reply = FString::FromUtf8(command.Run(packet->Body.View()));
      LogIfChanging(RconIssuer(connection->IPField().ToUtf8()), packet->Body.View(), reply.ToUtf8());  // audit
      connection->SendMessage(packet->Id, 0, &reply);
    });
  };
}

AsaApi::ConsoleCommandCallback OverConsole(const AdminCommand& command) {
  return [command](APlayerController* player, FString* text, bool) {
    Guarded(command.Name, [&] {
      AShooterPlayerController* admin = IssuingAdmin(player, text);
      if (admin == nullptr) return;
      const std::string reply = command.Run(text->View());
      LogIfChanging(ConsoleIssuer(admin->GetUniqueNetIdAsString().ToUtf8(), admin->GetPlayerCharacterName().ToUtf8()),
                    text->View(), reply);  // audit
      admin->ClientMessage(FString::FromUtf8(reply));
      if (command.Console == ConsoleReply::LineAndChat) {
        ModComm::SendPlayerMessage(admin, DBHelper::ToNarrow(FString::FromUtf8(reply)));
      }
    });
  };
}

void ListInvItemsOverConsole(APlayerController* player, FString* text, bool) {
  Guarded(kListInvItems, [&] {
    if (AShooterPlayerController* admin = IssuingAdmin(player, text)) ListInvItems(admin);
  });
}

void ShopOverChat(AShooterPlayerController* player, FString*, int, int) {
  if (player == nullptr) return;
  Guarded(kShopChatCommand, [&] { TandorShop::ShopRequests::RequestOpenShop(player); });
}

}  // namespace

void AddCommands() {
  auto& commands = AsaApi::GetCommands();
  commands.AddChatCommand(FString(kShopChatCommand), &ShopOverChat);
  for (const AdminCommand& command : kAdminCommands) {
    commands.AddRconCommand(FString(command.Name), OverRcon(command));
    commands.AddConsoleCommand(FString(command.Name), OverConsole(command));
  }
  commands.AddConsoleCommand(FString(kListInvItems), &ListInvItemsOverConsole);
}

void RemoveCommands() {
  auto& commands = AsaApi::GetCommands();
  commands.RemoveChatCommand(FString(kShopChatCommand));
  for (const AdminCommand& command : kAdminCommands) {
    commands.RemoveRconCommand(FString(command.Name));
    commands.RemoveConsoleCommand(FString(command.Name));
  }
  commands.RemoveConsoleCommand(FString(kListInvItems));
}

}  // namespace CommandHandler

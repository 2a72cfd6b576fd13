#include "commands/HelpText.h"

namespace CommandHandler {

std::string HelpText() {
  return "AddPoints <EOS_ID> <Amount> [log words...]\n"
         "SetPoints <EOS_ID> <Amount> [log words...]\n"
         "GetPlayerPoints <EOS_ID>\n"
         "ChangeKitAmount <EOS_ID> <Packet or \"Packet Name\"> [Amount]\n"
         "ResetKits\n"
         "ResetPoints\n"
         "TransferPointsFromArkshop <tableName> [<server> <username> <password> <database> <port>]\n"
         "ListInvItems (admin console only)\n"
         "TandorShop.reload\n"
         "TandorShop.help\n"
         "/shop (chat, every player)";
}

}  // namespace CommandHandler

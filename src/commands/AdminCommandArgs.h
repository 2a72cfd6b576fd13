#pragma once
// What each admin command reads from its pieces, as plain values. A command
// whose arguments cannot be used carries the reply that says so in Refusal and
// nothing else happens for it.
#include <cstdint>
#include <string>

#include "commands/CommandArgs.h"

namespace CommandHandler {

namespace Replies {
inline constexpr const char* AddPointsUsage = "Invalid Command. AddPoints <EOS_ID> <Amount> <optional:logstr>";
inline constexpr const char* SetPointsUsage = "Invalid Command. SetPoints <EOS_ID> <Amount> <optional:logstr>";
inline constexpr const char* GetPlayerPointsUsage = "Invalid Command. GetPlayerPoints <EOS_ID>";
inline constexpr const char* ChangeKitAmountUsage = "Invalid Command";
inline constexpr const char* ChangeKitAmountBadAmount =
    "Invalid Command. The amount must be a whole number other than 0.";
inline constexpr const char* ArkshopUsage =
    "Invalid Command. Try TransferPointsFromArkshop <tableName> or TransferPointsFromArkshop <tableName> <server> "
    "<username> <password> <database> <port>";
inline constexpr const char* SkippedAddingZero = "Skipped adding 0 points.";
inline constexpr const char* PointsAdded = "Added {} points to eosId {}.";
inline constexpr const char* PointsSet = "Set points for {} to {}.";
inline constexpr const char* PlayerHasPoints = "Player has {} points.";
inline constexpr const char* KitsReset = "Reset redeems for all players.";
inline constexpr const char* PointsReset = "Reset points for all players.";
inline constexpr const char* PacketNotFound = "Packet not found.";
inline constexpr const char* AddingPacket = "Adding packet to player.";
inline constexpr const char* NoSuchPlayer = "No player with eosId {}. Nothing changed.";
inline constexpr const char* DatabaseUnavailable = "Database unavailable. Nothing changed.";
inline constexpr const char* DatabaseUnreadable = "Database unavailable. The points could not be read.";
inline constexpr const char* NothingHeld = "Player {} holds no such packet. Nothing changed.";
// The answer to the commit was lost and the database could not be asked since.
// A reset runs in batches: those before the failing one stay done.
inline constexpr const char* ResetUnfinished =
    "Database unavailable after {} rows were reset. Run the command again to reset the rest.";
inline constexpr const char* OutcomeUnknown =
    "Database unavailable; whether the change was made is not known. Check the player's points before repeating it.";
}  // namespace Replies

// AddPoints <EOS_ID> <Amount> [log words...] and SetPoints alike.
struct PointsArgs {
  std::string Refusal;
  std::u16string EosId;
  int32_t Amount = 0;
  std::u16string LogText;  // AdminLogText
};

// An amount that is unreadable, 0 or beyond 32 bits skips the command.
PointsArgs ParseAddPoints(const Pieces& pieces);
// An unreadable amount sets 0; one beyond 32 bits refuses the command.
PointsArgs ParseSetPoints(const Pieces& pieces);

struct PlayerArgs {
  std::string Refusal;
  std::u16string EosId;
};

PlayerArgs ParseGetPlayerPoints(const Pieces& pieces);

// ChangeKitAmount <EOS_ID> <packet string> [amount]
struct KitArgs {
  std::string Refusal;
  std::u16string EosId;
  std::u16string PacketText;
  int32_t Amount = 0;  // 0: none given, the amount the packet string carries
};

// An amount that is given must be a number other than 0 within 32 bits.
KitArgs ParseChangeKitAmount(const Pieces& pieces);

// TransferPointsFromArkshop <table> [<server> <username> <password> <database> <port>]
struct ArkshopArgs {
  std::string Refusal;
  std::string Table;
  bool OwnDatabase = true;  // the plugin's own connection settings
  std::string Server;
  std::string Username;
  std::string Password;
  std::string Database;
  uint32_t Port = 0;
};

ArkshopArgs ParseTransferPointsFromArkshop(const Pieces& pieces);

}  // namespace CommandHandler

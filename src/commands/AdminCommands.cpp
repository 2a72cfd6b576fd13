#include "commands/AdminCommands.h"

#include <fmt/format.h>

#include "AsaApi/FString.h"
#include "commands/AdminCommandArgs.h"
#include "commands/QuotedArgs.h"
#include "config/ShopConfig.h"
#include "core/Clock.h"
#include "core/GameInfo.h"
#include "db/DBHelper.h"
#include "modcomm/PlayerMessages.h"
#include "shop/PacketHelper.h"

namespace CommandHandler {
namespace {

// A trade log row that records what an admin did to a player's points.
DBHelper::TradeLogRecord AdminLogRow(const char* action, const FString& eosId, const FString& logText) {
  DBHelper::TradeLogRecord row;
  row.eosIdFrom = FString(action);
  row.eosIdTo = eosId;
  row.fromName = logText;
  row.timestamp = TandorShop::Clock::NowUnix();
  row.serverid = TandorShop::GameInfo::ServerId();
  row.pointsAfterFrom = -1;
  return row;
}

// The reply of a write that did not happen.
std::string NothingChanged(DBHelper::WriteResult result, const std::u16string& eosId) {
  if (result == DBHelper::WriteResult::NoPlayer) return fmt::format(Replies::NoSuchPlayer, Utf16ToUtf8(eosId));
  if (result == DBHelper::WriteResult::Unknown) return Replies::OutcomeUnknown;
  if (result == DBHelper::WriteResult::NothingHeld) return fmt::format(Replies::NothingHeld, Utf16ToUtf8(eosId));
  return Replies::DatabaseUnavailable;
}

// The reply of a reset: done, nothing done, or done up to a failing batch.
std::string ResetReply(const DBHelper::ResetOutcome& outcome, const char* done) {
  if (outcome.complete) return done;
  if (outcome.rows == 0) return Replies::DatabaseUnavailable;
  return fmt::format(Replies::ResetUnfinished, outcome.rows);
}

}  // namespace

std::string addPointsInternal(std::u16string_view text) {
  const PointsArgs args = ParseAddPoints(SplitCommand(text));
  if (!args.Refusal.empty()) return args.Refusal;
  const FString eosId(args.EosId);
  const int32_t amount = args.Amount;
  DBHelper::TradeLogRecord row = AdminLogRow("admin addpoints", eosId, FString(args.LogText));
  row.amount = amount;
  row.pointsAfterTo = -1;
  const bool logged = !args.LogText.empty();
  const DBHelper::WriteResult result = DBHelper::changePointsFor(eosId, amount, "AddPoints");
  if (result != DBHelper::WriteResult::Done) return NothingChanged(result, args.EosId);
  // The row records a change that happened.
  if (logged) DBHelper::recordTrade(row);
  ModComm::NotifyPointsChange(eosId, amount);
  return fmt::format(Replies::PointsAdded, amount, Utf16ToUtf8(args.EosId));
}

std::string setPointsInternal(std::u16string_view text) {
  const PointsArgs args = ParseSetPoints(SplitCommand(text));
  if (!args.Refusal.empty()) return args.Refusal;
  const FString eosId(args.EosId);
  const int32_t points = args.Amount;
  DBHelper::TradeLogRecord row = AdminLogRow("admin setpoints", eosId, FString(args.LogText));
  row.amount = points;
  row.pointsAfterTo = points;
  const bool logged = !args.LogText.empty();
  const DBHelper::WriteResult result = DBHelper::assignPointsFor(eosId, points, "SetPoints");
  if (result != DBHelper::WriteResult::Done) return NothingChanged(result, args.EosId);
  if (logged) DBHelper::recordTrade(row);
  return fmt::format(Replies::PointsSet, Utf16ToUtf8(args.EosId), points);
}

std::string getPlayerPointsInternal(std::u16string_view text) {
  const PlayerArgs args = ParseGetPlayerPoints(SplitCommand(text));
  if (!args.Refusal.empty()) return args.Refusal;
  const std::optional<int64_t> points = DBHelper::readPlayerPoints(FString(args.EosId));
  if (!points) return Replies::DatabaseUnreadable;
  return fmt::format(Replies::PlayerHasPoints, *points < 0 ? int64_t{0} : *points);
}

std::string resetKitsInternal(std::u16string_view) {
  return ResetReply(DBHelper::resetAllKits(), Replies::KitsReset);
}

std::string resetPointsInternal(std::u16string_view) {
  return ResetReply(DBHelper::resetAllPoints(), Replies::PointsReset);
}

std::string changeKitAmountInternal(std::u16string_view text) {
  const KitArgs args = ParseChangeKitAmount(SplitQuotedCommand(text));  // "Starter Kit" may be quoted
  if (!args.Refusal.empty()) return args.Refusal;
  const PacketHelper::ConstructedPacket packet = PacketHelper::ParsePacketString(FString(args.PacketText), false, -1);
  const FString packetString = packet.Parsed ? PacketHelper::BuildPacketString(packet) : FString();
  if (packet.Packet == nullptr || packetString.IsEmpty()) return Replies::PacketNotFound;
  const int32_t amount = args.Amount != 0 ? args.Amount : packet.Amount;
  const FString eosId(args.EosId);
  const bool isReward = packet.IsReward;
  const DBHelper::WriteResult result = DBHelper::changeHeldAmount(eosId, packetString, amount, isReward);
  if (result != DBHelper::WriteResult::Done) return NothingChanged(result, args.EosId);
  return Replies::AddingPacket;
}

std::string transferPointsFromArkshopInternal(std::u16string_view text) {
  ArkshopArgs args = ParseTransferPointsFromArkshop(SplitCommand(text));
  if (!args.Refusal.empty()) return args.Refusal;
  if (args.OwnDatabase) {
    const ConfigHelper::ConfigMysql& own = ConfigHelper::MysqlConfig();
    args.Server = own.server;
    args.Username = own.username;
    args.Password = own.password;
    args.Database = own.database;
    args.Port = static_cast<uint32_t>(own.port);
  }
  return DBHelper::importArkshopPoints(args.Table, args.Server, args.Username, args.Password, args.Database,
                                       args.Port);
}

}  // namespace CommandHandler

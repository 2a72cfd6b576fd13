#pragma once
// Every SQL statement the plugin sends. "{}" placeholders take the table prefix
// first, then the statement's values in order; text values are escaped before
// they are formatted in.
#include <cstddef>
#include <string>

namespace DBHelper {

enum class Sql : std::size_t {
  // schema
  createPlayerPointsTable,
  createPlayerCharsTable,
  createPlayerRedeemTable,
  createShopLogTable,
  createTradeLogTable,
  createPlayerCooldownTable,
  createOperationsTable,
  createSettlementsTable,
  createSchemaTable,
  // operations and what they still owe
  insertOperation,
  insertOperationOnPlayer,
  countOperation,
  clearOldOperations,
  insertSettlement,
  lockSettlement,
  deleteSettlement,
  giveUpSettlement,
  selectLeftoverSettlements,
  // points and characters
  selectPlayerPoints,
  addNewPlayer,
  addPlayerPoints,
  creditPlayerPoints,
  spendPlayerPoints,
  setPlayerPoints,
  resetPlayerPoints,
  updateSecondsWithoutReward,
  lockTradePartners,
  insertPlayerLogin,
  insertPlayerLogout,
  fixMissedLogouts,
  clearWrongPlayerData,
  getTradeTargets,
  // redeems
  selectRedeemPacketsForPlayer,
  getRedeemPacketAmount,
  lockRedeemPacketAmount,
  updateRedeemPacketAddAmount,
  updateExistingRedeemPacketSetAmount,
  deleteRedeemPacket,
  deleteEmptiedRedeemPacket,
  zeroEmptiedRewardPacket,
  resetKits,
  insertOnJoinRewardPacketsHead,
  insertOnJoinRewardPacketsTuple,
  insertOnJoinRewardPacketsTail,
  // cooldowns
  getPlayerCds,
  getPlayerPacketCd,
  updatePlayerPacketCd,
  deletePlayerPacketCd,
  restorePlayerPacketCd,
  deletePlayerPacketCdIfUnchanged,
  clearOldPlayerCooldownsNamed,
  clearOldPlayerCooldowns,
  // logs
  insertShopLog,
  adjustShopLogRow,
  deleteShopLogRow,
  selectShopLogForPlayer,
  insertTradeLog,
  selectTradeLogForPlayer,
  // import from Arkshop
  selectArkshopPlayerData,
  insertArkshopDataHead,
  insertArkshopDataTuple,
  insertArkshopDataTail,

  Count
};

// The statement's text. Most are kept scrambled in the binary and restored once
// per thread, on the thread's first use of any statement.
const std::string& StatementText(Sql statement);

}  // namespace DBHelper

#pragma once
// Player cooldowns (rows from the database) and server cooldowns (kept in
// memory, recorded in the file packetCds.txt beside the configuration).
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "AsaApi/FString.h"
#include "AsaApi/TArray.h"
#include "config/CatalogueRecords.h"
#include "modcomm/ModViews.h"
#include "records/ModCommRecords.h"

namespace TandorShop::Cooldowns {

bool IsOnPlayerCooldown(int64_t now, const TArray<ModComm::PlayerPacketCooldown>& rows,
                        const ConfigHelper::ConfigShopPacket* packet);
// One pair per row whose packet has a player cooldown; other rows are dropped.
TArray<ModComm::CooldownPair> PlayerCooldownPairs(const TArray<ModComm::PlayerPacketCooldown>& rows);
// The longest configured player cooldown in seconds (0 without one).
int32_t LongestPlayerCooldown();

// ---- the server cooldown file ----
void ComputeCooldownFilePath();
const std::string& CooldownFilePath();

// What reading the file's lines at `now` gives: the lines to keep and the running cooldowns
// (in reverse file order). findPacket names the packet with a server cooldown, or null.
struct PrunedCooldowns {
  std::vector<std::string> KeptLines;
  TArray<ModComm::CooldownPair> Running;
};
using PacketLookup = std::function<const ConfigHelper::ConfigShopPacket*(const FString&)>;
PrunedCooldowns PruneCooldownLines(const std::vector<std::string>& lines, int64_t now, const PacketLookup& findPacket);

// The server cooldowns live in memory: read from the file at start and at every
// reload (after the catalogue, which tells which packets have one), and written
// back to it on a worker whenever they change, atomically and in order, so the
// file stays the record across restarts and the game thread never touches it.
void LoadServerCooldownFile();
// The running server cooldowns (expired lines are dropped, and the file follows).
void LoadServerCooldowns(TArray<ModComm::CooldownPair>& out);
void AppendServerCooldown(const FString& packetName, int64_t lastUse);
// Takes back the cooldown appended with these values (a purchase that did not happen).
void RemoveServerCooldown(const FString& packetName, int64_t lastUse);
bool IsOnServerCooldown(int64_t now, const ConfigHelper::ConfigShopPacket* packet);

// A server cooldown a request holds from its check on, so that a second request
// in the same moment is refused; given back when nothing of the request arrived.
// An empty name: the packet has none.
struct HeldServerCooldown {
  FString PacketName;
  int64_t Since = 0;
};
HeldServerCooldown HoldServerCooldown(const ConfigHelper::ConfigShopPacket& packet, int64_t now);
void GiveBack(const HeldServerCooldown& held);

}  // namespace TandorShop::Cooldowns

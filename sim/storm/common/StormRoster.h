#pragma once
// Who plays in a storm: the players of each server, their EOS ids and groups,
// and the files through which the storm's processes meet. Shared by the storm
// servers and the orchestrator.
#include <cstdio>
#include <string>
#include <vector>

namespace storm {

// EOS ids look like the game's: 32 lower-case hex digits, here made from the
// server id and the player's index so that either side can name any player.
inline std::string EosIdOf(int serverId, int index) {
  char text[40];
  std::snprintf(text, sizeof(text), "5707%04x%08x00000000%08x", serverId, index, 0x5eed0000u + index);
  return text;
}

inline std::vector<std::string> GroupsOf(int index) {
  if (index % 4 == 1) return {"Default", "Vip"};
  return {"Default"};
}

// Points every passive reward pays this player (the larger of the groups' amounts).
inline int PassiveAmountOf(int index) { return index % 4 == 1 ? 25 : 10; }

inline constexpr char ReadyFile[] = "storm-ready.json";    // server -> orchestrator: RCON port, players online
inline constexpr char ProgressFile[] = "storm-progress";  // server -> orchestrator: simulated seconds done
inline constexpr char FinishFile[] = "storm-finish";      // orchestrator -> server: grants are over, wind down
inline constexpr char SummaryFile[] = "storm-summary.json";
inline constexpr char JournalFile[] = "storm-journal.jsonl";  // what the players saw, for a restart after a crash

// Held packets: the reward granted at login and the shop packet behind it.
inline constexpr char HeldReward[] = "WelcomeDrop";
inline constexpr char HeldPacket[] = "SupplyDrop";
inline constexpr int HeldRewardAtLogin = 3;

// The kind of log line a storm server makes of a transaction tried again
// ("[debug] <op>" + TriedAgain + "<error>"), counted when the plugin logs at debug level.
inline constexpr char TriedAgain[] = ": tried again after error ";

}  // namespace storm

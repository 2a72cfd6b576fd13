#pragma once
// The steps of a scenario: one line of the scenario language each, already
// checked and typed, so running a file never meets a malformed line.
#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include <nlohmann/json.hpp>

namespace sim::scenario {

struct Join {
  std::string EosId;
  std::string Name;
  std::string Tribe;  // empty: no tribe
  int32_t Level = 1;
  bool Admin = false;
};
struct Leave {
  std::string EosId;
};
struct SetGroups {
  std::string EosId;
  std::vector<std::string> Groups;
};
struct Give {
  std::string EosId;
  std::string ItemClass;  // an asset path, or the class name at its end
  int32_t Count = 0;
};
struct Advance {
  int64_t Seconds = 0;
};
struct ModRequest {
  std::string EosId;
  std::string Message;  // one of the mod's message names
  int32_t Int1 = 0;
  int32_t Int2 = 0;
  std::string Text;
};
struct Rcon {
  std::string Command;
};
struct Console {
  std::string EosId;
  std::string Command;
};
struct Chat {
  std::string EosId;
  std::string Text;
};
struct Restart {};
struct Comment {
  std::string Text;  // shown in the transcript
};

struct ExpectPoints {
  std::string EosId;
  int64_t Points = 0;
};
struct ExpectInventory {
  std::string EosId;
  std::string ItemClass;
  int64_t Count = 0;
};
struct ExpectCryopods {
  std::string EosId;
  int64_t Count = 0;
};
struct ExpectReply {
  std::string Text;
};
struct ExpectLog {
  std::string Text;
};
struct ExpectEvent {
  std::string EosId;
  std::string Event;
  std::optional<nlohmann::json> Contains;
};
struct ExpectMessage {
  std::string EosId;
  std::string Text;
};
struct ExpectDiscord {
  std::string Kind;  // buy, sell, redeem or trade
  int64_t Count = 0;
};

using Action = std::variant<Join, Leave, SetGroups, Give, Advance, ModRequest, Rcon, Console, Chat, Restart, Comment,
                            ExpectPoints, ExpectInventory, ExpectCryopods, ExpectReply, ExpectLog, ExpectEvent,
                            ExpectMessage, ExpectDiscord>;

struct Step {
  int Line = 0;
  std::string Source;  // the line as written, without surrounding blanks
  Action What;
};

}  // namespace sim::scenario

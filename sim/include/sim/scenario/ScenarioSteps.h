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
  bool Blueprint = false;  // single items, as blueprints
  std::optional<float> Quality{};  // single items of this quality
};
struct Fill {
  std::string EosId;
};
struct Kill {
  std::string EosId;
};
struct SetLevel {
  std::string EosId;
  int32_t Level = 1;
};
struct SetTribe {
  std::string EosId;
  std::string Tribe;  // empty: leaves the tribe
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
// Counts and "no" expectations look at what arrived since the last mark.
struct Mark {};
struct ConfigSet {
  std::vector<std::string> Path;  // object members, from the top
  nlohmann::json Value;
};
struct ConfigPatch {
  nlohmann::json Patch;  // a JSON merge patch
};
struct CooldownsWrite {
  std::vector<std::string> Lines;
};
struct Database {
  bool Up = false;
};
// The scenario runs on a Galera cluster of three nodes of its own.
struct OnCluster {};
// One node of that cluster killed (kill -9) or started again.
struct ClusterNode {
  int Node = 1;
  bool Up = false;
};
struct Comment {
  std::string Text;  // shown in the transcript
};

// How an expectation over recorded things is meant: that one arrived (the
// default), that exactly Count arrived, or that none did.
struct Quantity {
  enum Kind { Some, Exactly, None } Is = Some;
  int64_t Count = 0;
};

struct ExpectPoints {
  std::string EosId;
  int64_t Points = 0;
};
struct ExpectNoPlayer {
  std::string EosId;
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
  std::string Text;  // with None: the reply does not contain it (empty: there was no reply text)
  bool Negated = false;
};
struct ExpectLog {
  std::string Text;
  bool Negated = false;
};
struct ExpectEvent {
  std::string EosId;
  std::string Event;
  std::optional<nlohmann::json> Contains{};
  Quantity Amount;
};
struct ExpectMessage {
  std::string EosId;
  std::string Text;  // empty: any message
  Quantity Amount;
};
struct ExpectCommand {
  std::string EosId;
  std::string Text;  // empty: any command
  std::optional<bool> Admin{};  // the admin flag the command ran with, when it matters
  Quantity Amount;
};
struct ExpectDiscord {
  std::string Kind;  // buy, sell, redeem or trade; empty: any
  std::optional<nlohmann::json> Contains{};
  Quantity Amount;
};
struct ExpectGlobal {
  std::string Event;
  std::optional<nlohmann::json> Contains{};
};

struct Step;
// Requests sent in one tick of the game loop.
struct Together {
  std::vector<Step> Steps;
};
struct Repeat {
  int32_t Times = 1;
  ModRequest Request;
};

using Action = std::variant<Join, Leave, SetGroups, Give, Fill, Kill, SetLevel, SetTribe, Advance, ModRequest, Rcon,
                            Console, Chat, Restart, Comment, Mark, ConfigSet, ConfigPatch, CooldownsWrite, Database,
                            OnCluster, ClusterNode,
                            Together, Repeat, ExpectPoints, ExpectNoPlayer, ExpectInventory, ExpectCryopods,
                            ExpectReply, ExpectLog, ExpectEvent, ExpectMessage, ExpectCommand, ExpectDiscord,
                            ExpectGlobal>;

struct Step {
  int Line = 0;
  std::string Source;  // the line as written, without surrounding blanks
  Action What;
};

}  // namespace sim::scenario

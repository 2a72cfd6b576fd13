#include "sim/scenario/ScenarioHappenings.h"

#include <algorithm>

#include "sim/companions/ClientMod.h"
#include "sim/world/GameModel.h"
#include "sim/assembly/Server.h"
#include "sim/companions/WebServices.h"

namespace sim::scenario {
namespace {

using nlohmann::json;

std::string Clip(std::string text, std::size_t length = 160) {
  if (text.size() > length) text = text.substr(0, length - 3) + "...";
  return text;
}

std::string Text(const json& entry, const char* key) {
  const auto found = entry.find(key);
  if (found == entry.end()) return "?";
  return found->is_string() ? found->get<std::string>() : found->dump();
}

// The gist of one entry of a list: a packet, an item to sell, a trade target,
// a shop or trade log row.
std::string EntryName(const json& entry) {
  if (!entry.is_object()) return Clip(entry.dump(), 60);
  if (entry.contains("PacketName")) {
    std::string name = Text(entry, "PacketName") + " (" + Text(entry, "Price") + ")";
    return entry.contains("RewardId") ? name + " x" + Text(entry, "Amount") : name;
  }
  if (entry.contains("Name")) return Text(entry, "Name") + " (" + Text(entry, "Price") + ")";
  if (entry.contains("Names")) return Text(entry, "EosId") + (entry.value("IsOnline", 0) != 0 ? " online" : "");
  if (entry.contains("Packet"))
    return Text(entry, "Description") + " x" + Text(entry, "Amount") + " " + Text(entry, "PointsChange");
  if (entry.contains("PartnerName")) return Text(entry, "PartnerName") + " " + Text(entry, "Amount");
  return Clip(entry.dump(), 60);
}

// "[info] text" from "12/07/26 08:01 [TandorShop][info] text".
std::string WithoutStamp(const std::string& line) {
  const auto at = line.find("][");
  return at == std::string::npos ? line : line.substr(at + 1);
}

void AddCounted(std::vector<std::string>& lines, std::map<std::string, int>& counts, std::string line) {
  if (counts[line]++ == 0) lines.push_back(std::move(line));
}

}  // namespace

std::string SummarizeEvent(const std::string& event, const json& data) {
  if (data.is_array()) {
    std::string names;
    for (const json& entry : data) names += (names.empty() ? "" : ", ") + EntryName(entry);
    return event + " [" + std::to_string(data.size()) + "] " + Clip(names);
  }
  if (event == "a_openshop") {
    std::string categories;
    for (const json& category : data.value("Categories", json::array()))
      categories += (categories.empty() ? "" : ", ") + category.value("Name", std::string("?"));
    return event + " points " + data.value("Points", json("?")).dump() + ", passive " +
           data.value("PassivePoints", json("?")).dump() + ", categories: " + Clip(categories) +
           ", server cooldowns " + std::to_string(data.value("ServerCooldowns", json::array()).size());
  }
  return event + " " + Clip(data.dump());
}

std::string DiscordKind(const std::string& body) {
  const json parsed = json::parse(body, nullptr, false);
  if (!parsed.is_object() || !parsed.contains("embeds") || !parsed["embeds"].is_array() || parsed["embeds"].empty())
    return {};
  const json& embed = parsed["embeds"][0];
  if (!embed.is_object() || !embed.contains("author") || !embed["author"].is_object()) return {};
  const std::string author = embed["author"].value("name", "");
  for (const char* kind : {"Buy", "Sell", "Redeem", "Trade"})
    if (author.rfind(std::string("New ") + kind, 0) == 0) {
      std::string lower = kind;
      std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
      return lower;
    }
  return {};
}

Happenings::Happenings(Server& server) { Rebind(server); }

void Happenings::Rebind(Server& server) {
  server_ = &server;
  players_.clear();
  log_ = discord_ = commands_ = global_ = 0;
}

void Happenings::Watch(const std::string& eosId) {
  if (players_.count(eosId) > 0) return;
  players_[eosId] = Seen{server_->Mod().EventCount(eosId), server_->MessagesOf(eosId).size(),
                         server_->ClientMessagesOf(eosId).size()};
}

std::vector<std::string> Happenings::Since(bool withLog) {
  std::vector<std::string> lines;
  std::map<std::string, int> counts;
  const auto log = server_->LogLines();
  for (std::size_t i = log_; withLog && i < log.size(); ++i) AddCounted(lines, counts, "log      " + WithoutStamp(log[i]));
  log_ = log.size();
  for (auto& [eosId, seen] : players_) {
    const auto events = server_->Mod().EventsOf(eosId);
    for (std::size_t i = seen.Events; i < events.size(); ++i)
      AddCounted(lines, counts, eosId + " <- mod " + SummarizeEvent(events[i]["event"], events[i]["data"]));
    seen.Events = events.size();
    const auto& chat = server_->MessagesOf(eosId);
    for (std::size_t i = seen.Chat; i < chat.size(); ++i)
      AddCounted(lines, counts, eosId + " <- chat [" + chat[i].Sender + "] " + chat[i].Text);
    seen.Chat = chat.size();
    const auto& console = server_->ClientMessagesOf(eosId);
    for (std::size_t i = seen.ConsoleLines; i < console.size(); ++i)
      AddCounted(lines, counts, eosId + " <- console " + console[i]);
    seen.ConsoleLines = console.size();
  }
  const auto& issued = server_->Model().Console.Issued();
  for (std::size_t i = commands_; i < issued.size(); ++i)
    AddCounted(lines, counts, "game     " + issued[i].EosId + " runs \"" + issued[i].Text + "\"" +
                                  (issued[i].Accepted ? "" : " (rejected)"));
  commands_ = issued.size();
  const auto global = server_->Mod().GlobalEvents();
  for (std::size_t i = global_; i < global.size(); ++i)
    AddCounted(lines, counts, "global   <- mod " + SummarizeEvent(global[i]["event"], global[i]["data"]));
  global_ = global.size();
  const auto received = server_->Discord().Received();
  for (std::size_t i = discord_; i < received.size(); ++i)
    AddCounted(lines, counts, "discord  " + received[i].Path + " (" + DiscordKind(received[i].Body) + ")");
  discord_ = received.size();
  for (std::string& line : lines)
    if (const int count = counts[line]; count > 1) line += "  (" + std::to_string(count) + " times)";
  return lines;
}

std::size_t Happenings::Fingerprint() const {
  std::size_t total = server_->LogLines().size() + server_->Discord().Received().size() +
                      server_->Model().Console.Issued().size() + server_->Mod().GlobalEvents().size();
  for (const auto& [eosId, seen] : players_)
    total += server_->Mod().EventCount(eosId) + server_->MessagesOf(eosId).size() +
             server_->ClientMessagesOf(eosId).size();
  return total;
}

}  // namespace sim::scenario

#include "StormBots.h"

#include <array>

#include "AsaApi/Game/TandorShopMod.h"
#include "sim/companions/ClientMod.h"
#include "StormRoster.h"

namespace storm {
namespace {

constexpr int kTicksPerSecond = 10;
constexpr int kCategories = 3;

struct Weighted {
  const char* Kind;
  int Weight;
};

// How often each kind of request comes up, relative to the others.
constexpr std::array<Weighted, 14> kActions{{{"open shop", 8},
                                             {"category", 6},
                                             {"buy item", 12},
                                             {"buy creature", 4},
                                             {"buy command", 5},
                                             {"sell list", 2},
                                             {"sell", 8},
                                             {"trade", 9},
                                             {"trade targets", 2},
                                             {"redeem list", 4},
                                             {"redeem", 6},
                                             {"shop log", 2},
                                             {"trade log", 2},
                                             {"nonsense", 1}}};

int TotalWeight() {
  int total = 0;
  for (const Weighted& action : kActions) total += action.Weight;
  return total;
}

std::string DisplayName(int serverId, int index) {
  return "S" + std::to_string(serverId) + "P" + std::to_string(index);
}

}  // namespace

Bots::Bots(sim::Server& server, BotSettings settings)
    : server_(server), settings_(settings), random_(settings.Seed) {
  chancePerTick_ = settings_.ActionsPerHour / 3600.0 / kTicksPerSecond;
  for (int i = 0; i < settings_.Players; ++i) {
    Bot bot;
    bot.Index = i;
    bot.EosId = EosIdOf(settings_.ServerId, i);
    bot.Name = DisplayName(settings_.ServerId, i);
    bots_.push_back(std::move(bot));
  }
}

void Bots::Act() {
  std::uniform_real_distribution<double> dice(0.0, 1.0);
  for (Bot& bot : bots_)
    if (dice(random_) < chancePerTick_) ActAs(bot);
}

void Bots::Send(Bot& bot, const std::string& kind, const std::string& message, int32_t int1, int32_t int2,
                const std::string& text) {
  sim::SimPlayer* player = server_.FindPlayer(bot.EosId);
  if (player == nullptr) return;
  // One in five requests is hammered: the same message again within the tick.
  const int times = Roll(5) == 0 ? 2 + Roll(3) : 1;
  for (int i = 0; i < times; ++i) server_.Mod().Send(*player, message, int1, int2, text);
  counts_.Sent[kind] += static_cast<uint64_t>(times);
  counts_.Repeats[kind] += static_cast<uint64_t>(times - 1);
}

void Bots::ActAs(Bot& bot) {
  int pick = Roll(TotalWeight());
  std::string kind;
  for (const Weighted& action : kActions) {
    if (pick < action.Weight) {
      kind = action.Kind;
      break;
    }
    pick -= action.Weight;
  }
  namespace Msg = TandorShopMod;
  if (kind == "open shop") Send(bot, kind, Msg::MsgOpenShop);
  else if (kind == "category") Send(bot, kind, Msg::MsgCategory, Roll(kCategories + 1) - (Roll(10) == 0 ? 1 : 0));
  else if (kind == "buy item") Buy(bot, kind, Roll(2) == 0 ? "Wood Bundle" : "Metal Pack");
  else if (kind == "buy creature") Buy(bot, kind, "Raptor");
  else if (kind == "buy command") Buy(bot, kind, Roll(3) == 0 ? "Sunrise" : "Shout");
  else if (kind == "sell list") Send(bot, kind, Msg::MsgSellList);
  else if (kind == "sell") Send(bot, kind, Msg::MsgSell, 1 + Roll(5), 0, Roll(2) == 0 ? "Stone" : "stone");
  else if (kind == "trade") Trade(bot);
  else if (kind == "trade targets") Send(bot, kind, Msg::MsgTradeTargets);
  else if (kind == "redeem list") Send(bot, kind, Msg::MsgRedeemList);
  else if (kind == "redeem") Redeem(bot);
  else if (kind == "shop log") Send(bot, kind, Msg::MsgShopLog);
  else if (kind == "trade log") Send(bot, kind, Msg::MsgTradeLog);
  else Send(bot, kind, Msg::MsgBuy, 0, 0, Roll(2) == 0 ? "No Such Kit,1;;;" : "Wood Bundle,-3;;;");
}

std::string Bots::BuyString(const std::string& packet) {
  auto it = variantIds_.find(packet);
  if (it == variantIds_.end()) return {};
  std::string text = packet + "," + std::to_string(packet == "Wood Bundle" ? 1 + Roll(3) : 1);
  for (const auto& section : it->second) {
    text += ";";
    for (std::size_t g = 0; g < section.size(); ++g) {
      if (g > 0) text += ",";
      if (!section[g].empty()) text += std::to_string(section[g][static_cast<std::size_t>(Roll(static_cast<int>(section[g].size())))]);
    }
  }
  return text;
}

void Bots::Buy(Bot& bot, const std::string& kind, const std::string& packet) {
  const std::string text = BuyString(packet);
  if (!text.empty()) Send(bot, kind, TandorShopMod::MsgBuy, 0, 0, text);
}

void Bots::Trade(Bot& bot) {
  const bool toPeer = Roll(10) < 7;
  const int serverId = toPeer ? settings_.PeerServerId : settings_.ServerId;
  const int players = toPeer ? settings_.PeerPlayers : settings_.Players;
  if (players < 1) return;
  int index = Roll(players);
  if (!toPeer && index == bot.Index) index = (index + 1) % players;
  const int amount = Roll(20) == 0 ? -5 : 1 + Roll(40);
  Send(bot, "trade", TandorShopMod::MsgTrade, amount, 0,
       EosIdOf(serverId, index) + " " + DisplayName(serverId, index));
}

void Bots::Redeem(Bot& bot) {
  std::vector<HeldView*> held;
  for (HeldView& view : bot.Held)
    if (view.Amount > 0) held.push_back(&view);
  if (held.empty()) {
    Send(bot, "redeem list", TandorShopMod::MsgRedeemList);
    return;
  }
  HeldView& view = *held[static_cast<std::size_t>(Roll(static_cast<int>(held.size())))];
  const int amount = 1 + Roll(2);
  Send(bot, "redeem", TandorShopMod::MsgRedeem, view.RewardId, view.AllVariants ? 1 : 0,
       view.PacketName + "," + std::to_string(amount));
  view.Amount -= amount;
}

void Bots::LearnCatalogue() {
  // One player per category: a player's second request of a kind within half a second is dropped.
  for (int category = 0; category < kCategories && !bots_.empty(); ++category)
    if (sim::SimPlayer* player = server_.FindPlayer(bots_[static_cast<std::size_t>(category) % bots_.size()].EosId))
      server_.Mod().Send(*player, TandorShopMod::MsgCategory, category);
}

bool Bots::CatalogueKnown() const {
  for (const char* packet : {"Wood Bundle", "Metal Pack", "Raptor", "Sunrise", "Shout"})
    if (variantIds_.count(packet) == 0) return false;
  return true;
}

void Bots::ReadModEvents() {
  for (Bot& bot : bots_) {
    for (const auto& batch : server_.Mod().EventsOf(bot.EosId, "a_cat"))
      for (const auto& view : batch) {
        auto& sections = variantIds_[view.value("PacketName", "")];
        sections.assign(3, {});
        const char* names[3] = {"Items", "Dinos", "Commands"};
        for (int s = 0; s < 3; ++s)
          for (const auto& group : view.value(names[s], nlohmann::json::array())) {
            std::vector<int32_t> ids;
            for (const auto& variant : group.value("Variants", nlohmann::json::array()))
              ids.push_back(variant.value("Id", -1));
            sections[static_cast<std::size_t>(s)].push_back(std::move(ids));
          }
      }
    const auto lists = server_.Mod().EventsOf(bot.EosId, "a_init_redeem");
    if (!lists.empty()) bot.Held.clear();
    for (const auto& batch : lists)
      for (const auto& view : batch)
        bot.Held.push_back({view.value("RewardId", -1), view.value("PacketName", ""), view.value("Amount", 0),
                            view.value("AllVariants", 0) != 0});
  }
}

}  // namespace storm

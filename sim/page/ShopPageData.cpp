// What the shop page reads from the game and sends into it; game thread only.
#include <map>

#include "AsaApi/Game/TandorShopMod.h"
#include "AsaApi/Platform.h"
#include "sim/engine/Classes.h"
#include "sim/companions/ClientMod.h"
#include "sim/world/GameModel.h"
#include "sim/server/GameServer.h"
#include "sim/page/ShopPage.h"
#include "sim/page/ShopView.h"

namespace sim::shoppage {
namespace {

using nlohmann::json;

// "Blueprint'/Game/A/PrimalItem_X.PrimalItem_X'" gives "PrimalItem_X".
std::string AssetName(const std::string& path) {
  std::string name = path.substr(path.rfind('.') == std::string::npos ? 0 : path.rfind('.') + 1);
  if (!name.empty() && name.back() == '\'') name.pop_back();
  return name;
}

bool IsCryopod(const SimItem& item, std::string& label) {
  if (item.CustomItemDatas.Num() < 1) return false;
  const DecodedCustomData data = Decode(item.CustomItemDatas[0]);
  if (data.Name != "Dino") return false;
  label = data.Strings.empty() ? std::string("Creature") : data.Strings[0];
  return true;
}

void AddWorld(GameServer& server, const SimPlayer& player, json& page) {
  const SimPlayerController& controller = *player.Controller;
  page["player"] = {{"EosId", controller.EosId.ToUtf8()},
                    {"Name", controller.CharacterName.ToUtf8()},
                    {"Tribe", player.State->TribeName.ToUtf8()},
                    {"Level", player.State->CharacterLevel}};
  std::map<std::pair<std::string, bool>, int64_t> stacks;
  json cryopods = json::array();
  for (SimItem* item : server.Model().Items.ItemsOf(player.Character->Inventory)) {
    std::string label;
    if (IsCryopod(*item, label)) {
      cryopods.push_back(label);
      continue;
    }
    const auto* cls = reinterpret_cast<const SimClass*>(item->Header.ClassPrivate);
    const bool blueprint = (item->ItemFlags & ItemFlag::IsBlueprint) != 0;
    stacks[{ClassRegistry::Get().PathOf(cls), blueprint}] += item->ItemQuantity;
  }
  json inventory = json::array();
  for (const auto& [key, quantity] : stacks)
    inventory.push_back({{"Class", key.first}, {"Name", AssetName(key.first)}, {"Blueprint", key.second},
                         {"Quantity", quantity}});
  page["inventory"] = std::move(inventory);
  page["cryopods"] = std::move(cryopods);
  // The last chat lines the game showed the player.
  const auto& messages = server.MessagesOf(controller.EosId.ToUtf8());
  json lines = json::array();
  for (std::size_t i = messages.size() > 8 ? messages.size() - 8 : 0; i < messages.size(); ++i)
    lines.push_back(messages[i].Text);
  page["messages"] = std::move(lines);
}

const std::map<std::string, const char*>& Actions() {
  static const std::map<std::string, const char*> actions{
      {"open", TandorShopMod::MsgOpenShop},         {"category", TandorShopMod::MsgCategory},
      {"buy", TandorShopMod::MsgBuy},               {"selllist", TandorShopMod::MsgSellList},
      {"sell", TandorShopMod::MsgSell},             {"redeemlist", TandorShopMod::MsgRedeemList},
      {"redeem", TandorShopMod::MsgRedeem},         {"tradetargets", TandorShopMod::MsgTradeTargets},
      {"trade", TandorShopMod::MsgTrade},           {"shoplog", TandorShopMod::MsgShopLog},
      {"tradelog", TandorShopMod::MsgTradeLog}};
  return actions;
}

}  // namespace

json PlayersOnline(GameServer& server) {
  json players = json::array();
  for (const auto& weak : server.World()->PlayerControllerList) {
    const auto* controller = reinterpret_cast<const SimPlayerController*>(weak.Get());
    if (controller == nullptr) continue;
    const auto* state = reinterpret_cast<const SimPlayerState*>(controller->PlayerState);
    players.push_back({{"EosId", controller->EosId.ToUtf8()},
                       {"Name", controller->CharacterName.ToUtf8()},
                       {"Tribe", state == nullptr ? "" : state->TribeName.ToUtf8()},
                       {"Level", state == nullptr ? 0 : state->CharacterLevel}});
  }
  return {{"players", std::move(players)}};
}

json PageOf(GameServer& server, ClientMod& mod, const std::string& eosId) {
  SimPlayer* player = server.FindPlayer(eosId);
  if (player == nullptr) return nullptr;
  ShopViewInput input{mod.EventsOf(eosId), mod.RequestsOf(eosId), mod.GlobalEvents(), host::NowUnixSeconds(),
                      mod.GameTime()};
  json page = BuildShopView(input);
  page["gameTime"] = input.GameTime;
  AddWorld(server, *player, page);
  return page;
}

std::string Send(GameServer& server, ClientMod& mod, const std::string& eosId, const std::string& action,
                 int32_t intParam1, int32_t intParam2, const std::string& text) {
  const auto found = Actions().find(action);
  if (found == Actions().end()) return "unknown action \"" + action + "\"";
  SimPlayer* player = server.FindPlayer(eosId);
  if (player == nullptr) return "player " + eosId + " is not online";
  mod.Send(*player, found->second, intParam1, intParam2, text);
  return "";
}

}  // namespace sim::shoppage

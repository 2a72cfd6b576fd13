#include "sim/world/ConfiguredGame.h"

#include <string>

#include "sim/engine/Classes.h"
#include "sim/world/Creatures.h"
#include "sim/world/GameModel.h"
#include "sim/world/Items.h"
#include "sim/world/GameHost.h"
#include "sim/world/WorldExtras.h"

namespace sim {
namespace {

using nlohmann::json;

bool Contains(const std::string& text, const char* part) { return text.find(part) != std::string::npos; }

// The item type and stack size the game gives items of this kind.
ItemClassSpec ItemSpecFor(const std::string& path) {
  ItemClassSpec spec;
  spec.Path = path;
  if (Contains(path, "Saddle")) spec.ItemType = 6, spec.MaxStack = 1;
  else if (Contains(path, "PrimalItemArmor_")) spec.ItemType = 2, spec.MaxStack = 1;
  else if (Contains(path, "PrimalItem_Weapon") || Contains(path, "PrimalItem_Tek")) spec.ItemType = 1, spec.MaxStack = 1;
  else spec.MaxStack = Contains(path, "Resource_") ? 300 : 100;
  return spec;
}

void AddItemClass(const std::string& path) {
  if (path.empty() || ClassRegistry::Get().Find(path) != nullptr) return;
  ItemClasses::Add(ItemSpecFor(path));
}

void AddCreature(const json& variant, GameHost& game) {
  const std::string path = variant.value("Blueprint", "");
  if (path.empty()) return;
  SimClass* cls = ClassRegistry::Get().Find(path);
  const std::string name = variant.value("Name", "Dino");
  if (cls == nullptr) {
    CreatureClassSpec spec;
    spec.Path = path;
    spec.DescriptiveName = name;
    spec.HasResourceProduction = variant.contains("ExtraOptions") && variant["ExtraOptions"].contains("GachaResources");
    cls = CreatureClasses::Add(spec);
  }
  if (CreatureClasses::DefaultOf(cls) != nullptr) game.Model().Data.AddDinoEntry(cls, name);
}

// Item classes named by the creature variants' extras: saddles, gacha
// resources, Stryder attachments.
void AddCreatureItems(const json& variant) {
  AddItemClass(variant.value("Saddle", ""));
  const json extra = variant.value("ExtraOptions", json::object());
  for (const json& resource : extra.value("GachaResources", json::array())) AddItemClass(resource.value("Item", ""));
  const json stryder = extra.value("Stryder", json::object());
  AddItemClass(stryder.value("HeadItem", ""));
  AddItemClass(stryder.value("BodyItem", ""));
}

void AddPackets(const json& config, GameHost& game) {
  for (const json& packet : config.value("ShopPackets", json::array())) {
    for (const json& item : packet.value("Items", json::array()))
      for (const json& variant : item.value("Variants", json::array())) AddItemClass(variant.value("Blueprint", ""));
    for (const json& dino : packet.value("Dinos", json::array()))
      for (const json& variant : dino.value("Variants", json::array())) {
        AddCreatureItems(variant);
        AddCreature(variant, game);
      }
  }
}

// Texture paths become textures; other blueprint paths, classes.
void AddOtherAssets(const json& node, GameHost& game) {
  if (node.is_string()) {
    const std::string text = node.get<std::string>();
    if (text.rfind("Texture2D'", 0) == 0) game.Extras().AddTexture(text);
    else if (text.rfind("Blueprint'", 0) == 0 && ClassRegistry::Get().Find(text) == nullptr)
      ClassRegistry::Get().Add(text);
  }
  if (node.is_structured())
    for (const json& child : node) AddOtherAssets(child, game);
}

}  // namespace

void AddConfiguredGame(const json& config, GameHost& game) {
  AddItemClass(GameCryopodPath);
  const json general = config.value("General", json::object());
  AddItemClass(general.value("CryoPodOverride", ""));
  for (const json& item : config.value("ItemsToSell", json::array())) AddItemClass(item.value("ItemToSell", ""));
  AddPackets(config, game);
  AddOtherAssets(config, game);
}

}  // namespace sim

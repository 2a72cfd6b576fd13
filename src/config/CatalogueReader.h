#pragma once
// Reading of the catalogue and the sections beside it from the parsed
// configuration: "GroupPrivileges", "ShopCategories", "ItemsToSell",
// "ShopPackets" and "RewardPackets", in this order.
//
// Invalid entries are skipped with a warning on the plugin's logger. A value of
// the wrong JSON type (or a number that does not fit) is reported as an error of
// its entry, which is left out; the read goes on with the next one.
#include <cstdint>

#include <nlohmann/json_fwd.hpp>

#include "AsaApi/FString.h"
#include "config/CatalogueRecords.h"

namespace ConfigHelper {

struct ShopConfigData;

// Next Id of each record kind; all start at 0 on every read.
struct CatalogueIdCounters {
  int32_t Category = 0;
  int32_t ItemToSell = 0;
  int32_t ShopPacket = 0;
  int32_t RewardPacket = 0;
  int32_t Item = 0;
  int32_t ItemVariant = 0;
  int32_t Dino = 0;
  int32_t DinoVariant = 0;
  int32_t Command = 0;
  int32_t CommandVariant = 0;
};

// Reads "GroupPrivileges", "ShopCategories", "ItemsToSell", "ShopPackets" and
// "RewardPackets" into the configuration, whose lists are expected empty.
void ReadCatalogueSections(const nlohmann::json& root, ShopConfigData& config);
// The same on any catalogue (tests, tools).
void ReadCatalogue(const nlohmann::json& root, ConfigCatalogue& config);

// Sections, one element at a time.
void ReadGroupPrivileges(const nlohmann::json& root, ConfigCatalogue& config);
void ReadShopCategories(const nlohmann::json& root, ConfigCatalogue& config, CatalogueIdCounters& ids);
void ReadItemsToSell(const nlohmann::json& root, ConfigCatalogue& config, CatalogueIdCounters& ids);
void ReadShopPackets(const nlohmann::json& root, ConfigCatalogue& config, CatalogueIdCounters& ids);
void ReadRewardPackets(const nlohmann::json& root, ConfigCatalogue& config, CatalogueIdCounters& ids);

// One element of "ShopPackets". True when accepted: the caller then appends
// `packet` and advances ids.ShopPacket. Time settings, gacha resources and
// Stryder items are appended to `config` as they are read.
bool ReadShopPacket(const nlohmann::json& entry, ConfigShopPacket& packet, CatalogueIdCounters& ids,
                    ConfigCatalogue& config);

// The items, dinos and commands of one packet.
void ReadPacketItems(const nlohmann::json& packetEntry, ConfigShopPacket& packet, CatalogueIdCounters& ids);
void ReadPacketDinos(const nlohmann::json& packetEntry, ConfigShopPacket& packet, CatalogueIdCounters& ids,
                     ConfigCatalogue& config);
void ReadPacketCommands(const nlohmann::json& packetEntry, ConfigShopPacket& packet, CatalogueIdCounters& ids);

// The packet's "ExtraTimeSettings", when usable, appended to config.ExtraTimeSettings.
void ReadExtraTimeSettings(const nlohmann::json& packetEntry, ConfigShopPacket& packet, ConfigCatalogue& config);

// Parses a calendar filter such as "wday:6,7|month:12". False when it yields
// no number. A number beyond int32 throws.
bool ParseTimeFilter(const FString& text, ConfigTimeFilter& filter);

// The first packet of config.ShopPackets named `name`, ignoring case; null when none.
const ConfigShopPacket* FindShopPacketByName(const ConfigCatalogue& config, const FString& name);

// True when `name` holds "," or ";", the separators of packet strings.
bool ContainsIllegalSymbol(const FString& name);

// Case-insensitive equality of two texts (two empty texts are equal).
bool EqualsIgnoreCase(const FString& a, const FString& b);

}  // namespace ConfigHelper

#pragma once
// The process-wide configuration records. Written on the game thread only.
#include <cstdint>
#include <string>

#include "AsaApi/FString.h"
#include "AsaApi/TArray.h"
#include "config/AssetPath.h"
#include "config/CatalogueRecords.h"

namespace ConfigHelper {

enum class ButtonKind : int32_t { Buy = 0, Sell = 1, Log = 2, Redeem = 3, Trade = 4 };

struct ConfigButtonOverwrite {
  ButtonKind Kind = ButtonKind::Buy;
  FString Text;
  ConfigAssetPath Icon;
};

struct ConfigDiscordKind {
  bool enabled = false;
  std::string webhook;
};

struct ConfigDiscordLog {
  ConfigDiscordKind Buy;
  ConfigDiscordKind Sell;
  ConfigDiscordKind Redeem;
  ConfigDiscordKind Trade;
};

struct ConfigMessages {
  std::string BoughtItem = "You bought {name} for {price} points.";
  std::string GotTimedPoints = "You received {amount} points.";
  std::string MissingPoints = "You don't have enough points.";
  std::string RedeemPacket = "You redeemed packet: {name}.";
  std::string GotTradePoints = "You received {amount} points from {name}.";
  std::string SendPoints = "You send {amount} points to {name}.";
};

struct ConfigMysql {
  std::string server;
  std::string username;
  std::string password;
  std::string database;
  std::string tablePrefix;
  int32_t port = 0;
  bool keepConnections = false;  // "KeepConnections": workers reuse one connection each
  bool valid = false;
};

inline constexpr const char* DefaultCryoPodPath =
    "Blueprint'/Game/Extinction/CoreBlueprints/Weapons/PrimalItem_WeaponEmptyCryopod.PrimalItem_WeaponEmptyCryopod'";

// The settings outside the lists: the scalars of "General", the Discord kinds
// and the messages, with their values before the first read. Every read starts
// over from these (config/ShopConfigReader.h).
struct ShopSettings {
  FString ShopName = "shopName";
  FString ShopKey = "shopName";
  FString BuffName = "buffName";
  ConfigAssetPath CryoPodOverride;
  int32_t RewardIntervalMinutes = 0;
  int32_t RewardIntervalSeconds = 0;
  int32_t ShowPacketsAvailableSeconds = 0;
  bool SumPlayerPassivePointsAmount = false;
  bool SumPlayerShopDiscount = false;
  bool DisableMultiuse = false;
  bool DisableSell = false;
  bool DisableTrade = false;
  bool ShowBuffIcon = true;
  bool PreventWhileHandcuffed = false;
  bool PreventWhileKnockedOut = false;
  bool PreventWhileRiding = false;
  ConfigAssetPath BuffIconOverride;
  ConfigAssetPath ShopIconOverride;

  ConfigDiscordLog DiscordLog;
  ConfigMessages Messages;
};

struct ShopConfigData : ConfigCatalogue, ShopSettings {
  TArray<ConfigButtonOverwrite> ButtonOverwrites;
  TArray<FString> GroupsHiddenFromTrade;
};

// The process-wide records.
ShopConfigData& ShopConfig();
ConfigMysql& MysqlConfig();

}  // namespace ConfigHelper

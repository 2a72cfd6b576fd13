#include "modcomm/GlobalSettings.h"

#include "config/ShopConfig.h"
#include "core/Log.h"
#include "modcomm/GameAssets.h"
#include "modcomm/ModEvents.h"

namespace ModComm {

GlobalSettingsBlock BuildGlobalSettings() {
  const auto& config = ConfigHelper::ShopConfig();
  GlobalSettingsBlock block;
  block.ShopName = config.ShopName;
  block.BuffName = config.BuffName;
  block.ShopKey = config.ShopKey.IsEmpty() ? FString("F2") : config.ShopKey;
  for (const auto& button : config.ButtonOverwrites)
    block.Buttons.Add(ButtonView{static_cast<int32_t>(button.Kind), button.Text, LoadTexture(button.Icon.Path)});
  block.BuffIcon = LoadTexture(config.BuffIconOverride.Path);
  block.ShopIcon = LoadTexture(config.ShopIconOverride.Path);
  block.PreventWhileRiding = config.PreventWhileRiding;
  block.PreventWhileHandcuffed = config.PreventWhileHandcuffed;
  block.PreventWhileKnockedOut = config.PreventWhileKnockedOut;
  block.RewardIntervalMinutes = config.RewardIntervalMinutes;
  block.ShowBuffIcon = config.ShowBuffIcon;
  block.DisableTrade = config.DisableTrade;
  block.DisableSell = config.DisableSell;
  block.DisableMultiuse = config.DisableMultiuse;
  block.Valid = 1;
  return block;
}

void SendGlobalSettings() {
  GlobalSettingsBlock block = BuildGlobalSettings();
  if (!CallGlobalSettings(&block, sizeof(block))) TandorShop::Log().warn("GA is not valid.");
}

}  // namespace ModComm

#include "modcomm/DinoData.h"

#include "AsaApi/Game/AActor.h"
#include "AsaApi/Game/APrimalCharacter.h"
#include "AsaApi/Game/APrimalDinoCharacter.h"
#include "AsaApi/Game/UClass.h"
#include "AsaApi/Game/UEngine.h"
#include "AsaApi/Game/UPrimalGlobals.h"
#include "config/ShopConfig.h"
#include "core/Log.h"
#include "modcomm/GameAssets.h"
#include "modcomm/PacketViews.h"

namespace ModComm {
namespace {

UPrimalGameData* GameData() {
  UEngine** engine = Game::Global_::GEngine.Address();
  if (engine == nullptr || *engine == nullptr) return nullptr;
  UObject* globals = Game::UEngine_::GameSingleton.Of(*engine);
  if (globals == nullptr) return nullptr;
  if (UPrimalGameData* override = Game::UPrimalGlobals_::PrimalGameDataOverride.Of(globals)) return override;
  return Game::UPrimalGlobals_::PrimalGameData.Of(globals);
}

struct Counts {
  int All = 0;
  int WithDefaultObject = 0;
  int WithEntry = 0;
};

void ReadVariant(UPrimalGameData* gameData, const FString& path, DinoVariantView& view, Counts& counts) {
  ++counts.All;
  UClass* cls = LoadClass(path);
  UObject* defaults = cls == nullptr ? nullptr : Game::UClass_::GetDefaultObject(cls, true);
  if (defaults == nullptr) return;
  ++counts.WithDefaultObject;
  auto* dino = reinterpret_cast<APrimalDinoCharacter*>(defaults);
  view.Tags = Game::AActor_::Tags.Of(dino);
  view.UsesGender = Game::APrimalDinoCharacter_::bUsesGender.Of(dino) ? 1 : 0;
  view.DescriptiveName = Game::APrimalCharacter_::DescriptiveName.Of(dino);
  if (auto* sparse = Game::APrimalDinoCharacter_::GetPrimalDinoCharacterSparseClassData(
          dino, EGetSparseClassDataMethod::ReturnIfNull))
    view.RequiresDLC = Game::FPrimalDinoCharacterSparseClassData_::RequiresDLC.Of(sparse);
  if (gameData == nullptr) return;
  UClass* entryClass = Game::UPrimalGameData_::GetDinoEntry(gameData, TSubclassOf<APrimalDinoCharacter>(cls));
  UObject* entry = entryClass == nullptr ? nullptr : Game::UClass_::GetDefaultObject(entryClass, true);
  if (entry == nullptr) return;
  ++counts.WithEntry;
  view.DinoNameTag = Game::UPrimalDinoEntry_::DinoNameTag.Of(entry);
}

}  // namespace

void ReadDinoData() {
  const auto& packets = ConfigHelper::ShopConfig().ShopPackets;
  auto& views = PacketViews();
  UPrimalGameData* gameData = GameData();
  Counts counts;
  for (int32_t p = 0; p < packets.Num() && p < views.Num(); ++p)
    for (int32_t d = 0; d < packets[p].Dinos.Num() && d < views[p].Dinos.Num(); ++d) {
      const auto& variants = packets[p].Dinos[d].Variants;
      auto& viewVariants = views[p].Dinos[d].Variants;
      for (int32_t v = 0; v < variants.Num() && v < viewVariants.Num(); ++v)
        ReadVariant(gameData, variants[v].Blueprint.Path, viewVariants[v], counts);
    }
  TandorShop::Log().info("ShopDinoVariants {}/{}/{}", counts.All, counts.WithDefaultObject, counts.WithEntry);
}

}  // namespace ModComm

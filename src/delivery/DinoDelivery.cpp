// A creature spawned beside the player, tamed, levelled and packed into a new
// cryopod in the player's inventory; the creature itself then leaves the world.
#include <exception>
#include <optional>

#include "AsaApi/ApiUtils.h"
#include "AsaApi/Game/AActor.h"
#include "AsaApi/Game/APrimalCharacter.h"
#include "AsaApi/Game/APrimalDinoCharacter.h"
#include "AsaApi/Game/AShooterGameState.h"
#include "AsaApi/Game/AShooterPlayerController.h"
#include "AsaApi/Game/FARKDinoData.h"
#include "AsaApi/Game/FCustomItemData.h"
#include "AsaApi/Game/UPrimalActor.h"
#include "AsaApi/Game/UPrimalCharacterStatusComponent.h"
#include "AsaApi/Game/UPrimalItem.h"
#include "AsaApi/Game/UWorld.h"
#include "config/ShopConfig.h"
#include "core/Clock.h"
#include "core/Log.h"
#include "delivery/ClassCache.h"
#include "delivery/CryopodData.h"
#include "delivery/DeliveryHelper.h"
#include "delivery/DeliveryMath.h"
#include "delivery/GameRecords.h"
#include "delivery/PropertyWrite.h"

namespace DeliveryHelper {
namespace {

using ConfigHelper::ConfigDinoVariant;
using ConfigHelper::DinoGender;

constexpr int HealthStatus = 0;
constexpr int FoodStatus = 4;

UPrimalItem* NewItem(UClass* cls, UPrimalInventoryComponent* inventory, float quality, int quantity) {
  return Game::UPrimalItem_::AddNewItem(cls, inventory, false, false, quality, false, quantity, false, 0.0f, false,
                                        nullptr, 0.0f, false, false, true, true, true);
}

// The record sizes the game reports, when they hold what the cryopod needs.
struct RecordSizes {
  int32_t DinoData = 0;
  int32_t CustomItemData = 0;
};
std::optional<RecordSizes> UsableRecordSizes() {
  RecordSizes sizes{ReportedStructSize(Game::FARKDinoData_::StaticStruct),
                    ReportedStructSize(Game::FCustomItemData_::StaticStruct)};
  if (sizes.DinoData <= 0 || sizes.DinoData < DinoDataBytesNeeded() || sizes.CustomItemData <= 0 ||
      sizes.CustomItemData < CustomItemDataBytesNeeded()) {
    TandorShop::Log().error("Player bought dino. Creature record sizes not usable ({}, {}).", sizes.DinoData,
                            sizes.CustomItemData);
    return std::nullopt;
  }
  return sizes;
}

AShooterGameState* GameStateOf(UWorld* world) {
  if (world == nullptr) return nullptr;
  return static_cast<AShooterGameState*>(Game::UWorld_::GameState.Of(world));
}

// The spawned creature for the length of one delivery: destroyed on every way
// out, with the world's tamed count put back.
class SpawnedCreature {
 public:
  SpawnedCreature(APrimalDinoCharacter* creature, AShooterGameState* gameState, int32_t tamedBefore)
      : creature_(creature), gameState_(gameState), tamedBefore_(tamedBefore) {}
  ~SpawnedCreature() {
    try {
      Game::APrimalDinoCharacter_::Destroy(creature_, true, false);
      if (gameState_ != nullptr) {
        int32_t& tamed = Game::AShooterGameState_::NumTamedDinos.Of(gameState_);
        if (tamed > tamedBefore_) tamed -= 1;
      }
    } catch (const std::exception& error) {
      TandorShop::Log().error("Player bought dino. Creature clean-up failed: {}", error.what());
    }
  }
  SpawnedCreature(const SpawnedCreature&) = delete;
  SpawnedCreature& operator=(const SpawnedCreature&) = delete;
  APrimalDinoCharacter* Get() const { return creature_; }

 private:
  APrimalDinoCharacter* creature_;
  AShooterGameState* gameState_;
  int32_t tamedBefore_;
};

void Tame(APrimalDinoCharacter* creature, AShooterPlayerController* player, const FString& characterName) {
  using namespace Game::APrimalDinoCharacter_;
  TamerString.Of(creature) = characterName;
  const int32_t team = Game::UPrimalActor_::TargetingTeam.Of(player);
  TamingTeamID.Of(creature) = team;
  Game::UPrimalActor_::TargetingTeam.Of(creature) = team;
}

void SetLevel(APrimalDinoCharacter* creature, int32_t level) {
  FPrimalDinoCharacterSparseClassData* sparse = Game::APrimalDinoCharacter_::GetPrimalDinoCharacterSparseClassData(
      creature, EGetSparseClassDataMethod::CrashIfNotFound);
  std::optional<float> multiplier;
  if (sparse != nullptr) multiplier = Game::FPrimalDinoCharacterSparseClassData_::FinalNPCLevelMultiplier.Of(sparse);
  Game::APrimalDinoCharacter_::AbsoluteBaseLevel.Of(creature) = CreatureBaseLevel(level, multiplier);
}

void Imprint(APrimalDinoCharacter* creature, UPrimalCharacterStatusComponent* status, float quality,
             AShooterPlayerController* player, const FString& characterName) {
  using namespace Game::UPrimalCharacterStatusComponent_;
  DinoImprintingQuality.Of(status) = quality;
  Game::APrimalDinoCharacter_::ImprinterName.Of(creature) = characterName;
  Game::APrimalDinoCharacter_::ImprinterPlayerUniqueNetId.Of(creature) = player->GetUniqueNetIdAsString();
  RescaleAllStats(status);
  for (int index : {HealthStatus, FoodStatus}) CurrentStatusValues.Of(status)[index] = MaxStatusValues.Of(status)[index];
}

void SetGender(APrimalDinoCharacter* creature, DinoGender gender) {
  using namespace Game::APrimalDinoCharacter_;
  if (!bUsesGender.Of(creature)) return;
  switch (gender) {
    case DinoGender::Male: bIsFemale.Set(creature, false); break;
    case DinoGender::Female: bIsFemale.Set(creature, true); break;
    default: bIsFemale.Set(creature, RandomGenderIsFemale(DinoID1.Of(creature))); break;
  }
}

// The saddle's bytes, when the variant's saddle class makes one.
void AddSaddle(FCustomItemData* data, const ConfigDinoVariant& variant) {
  UClass* saddleClass = ResolveItemClass(variant.Saddle);
  if (saddleClass == nullptr) return;
  UPrimalItem* saddle = NewItem(saddleClass, nullptr, variant.SaddleQuality, 1);
  if (saddle == nullptr) return;
  SetSaddleArmor(saddle, variant.SaddleQuality, variant.FixedSaddleArmor);
  TArray<uint8_t> bytes;
  Game::UPrimalItem_::GetItemBytes(saddle, &bytes);
  AddCustomBytes(data, bytes);
}

// Everything after the spawn. False: no cryopod (the creature goes either way).
bool TameAndPack(AShooterPlayerController* player, UPrimalInventoryComponent* inventory, UClass* cryopodClass,
                 UClass* creatureClass, APrimalDinoCharacter* creature, const ConfigDinoVariant& variant,
                 const RecordSizes& sizes, UWorld* world) {
  using namespace Game::APrimalDinoCharacter_;
  if (variant.HasTraits) AddWildGeneTraits(creature, false);
  const FString characterName = player->GetPlayerCharacterName();
  Tame(creature, player, characterName);
  UPrimalCharacterStatusComponent* status =
      Game::APrimalCharacter_::MyCharacterStatusComponent.Of(reinterpret_cast<APrimalCharacter*>(creature));
  if (status == nullptr) return false;
  SetLevel(creature, variant.Level);
  if (variant.ImprintQuality > 0.0f) Imprint(creature, status, variant.ImprintQuality, player, characterName);
  BeginPlay(creature);
  bNeutered.Set(creature, variant.Neutered);
  SetGender(creature, variant.Gender);
  ApplyGachaResources(reinterpret_cast<UObject*>(creature), creatureClass, variant);

  // The cryopod's data is complete before the cryopod exists, so nothing can
  // fail between making it and filling it.
  HostRecord dinoData(sizes.DinoData, &ReleaseDinoData);
  GetDinoData(creature, dinoData.As<FARKDinoData>());
  HostRecord customData(sizes.CustomItemData, &ReleaseCustomItemData);
  auto* data = customData.As<FCustomItemData>();
  FillCryopodDinoData(data, dinoData.As<FARKDinoData>());
  FillCryopodDinoStats(data, creature, world, TandorShop::Clock::NowUnix());
  AddDinoNameTag(data, creatureClass);
  AddSaddle(data, variant);

  UPrimalItem* cryopod = NewItem(cryopodClass, inventory, 0.0f, 0);
  if (cryopod == nullptr) return false;
  Game::UPrimalItem_::SetCustomItemData(cryopod, data);
  Game::UPrimalItem_::UpdatedItem(cryopod, true, false);
  return true;
}

bool Deliver(AShooterPlayerController* player, UPrimalInventoryComponent* inventory, const ConfigDinoVariant& variant) {
  UClass* cryopodClass = ResolveItemClass(ConfigHelper::ShopConfig().CryoPodOverride);
  UClass* creatureClass = ResolveClass(variant.Blueprint);
  if (cryopodClass == nullptr) {
    TandorShop::Log().error("Player bought dino. Cryopod item not found.");
    return false;
  }
  if (!IsCreatureClass(creatureClass)) {
    TandorShop::Log().error("Player bought dino. Dinoclass {} not found.", variant.Blueprint.Path.ToUtf8());
    return false;
  }
  const std::optional<RecordSizes> sizes = UsableRecordSizes();
  if (!sizes) return false;

  UWorld* world = AsaApi::GetApiUtils().GetWorld();
  AShooterGameState* gameState = GameStateOf(world);
  const int32_t tamedBefore = gameState != nullptr ? Game::AShooterGameState_::NumTamedDinos.Of(gameState) : 0;
  FString path = variant.Blueprint.Path;
  AActor* actor = Game::AShooterPlayerController_::SpawnActor(player, &path, 0.0f, 0.0f, 900.0f, true);
  if (actor == nullptr) return false;
  if (!IsCreatureClass(ClassOf(actor))) {
    Game::AActor_::Destroy(actor, true, false);
    return false;
  }
  SpawnedCreature creature(reinterpret_cast<APrimalDinoCharacter*>(actor), gameState, tamedBefore);
  return TameAndPack(player, inventory, cryopodClass, creatureClass, creature.Get(), variant, *sizes, world);
}

}  // namespace

bool DeliverDinoVariant(AShooterPlayerController* player, UPrimalInventoryComponent* inventory, int32_t& priceTotal,
                        const ConfigHelper::ConfigDino* dino, const ConfigDinoVariant* variant) {
  if (player == nullptr || inventory == nullptr || dino == nullptr || variant == nullptr) return false;
  try {
    if (!Deliver(player, inventory, *variant)) return false;
  } catch (const std::exception& error) {
    TandorShop::Log().error("Player bought dino. Delivery failed: {}", error.what());
    return false;
  }
  priceTotal = AddPrice(priceTotal, variant->PriceIncrease);
  return true;
}

}  // namespace DeliveryHelper

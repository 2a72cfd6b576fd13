// The simulator's creature classes, game data and inventories, read through the
// game names as the plugin reads them.
#include <gtest/gtest.h>

#include "AsaApi/Game/AActor.h"
#include "AsaApi/Game/APrimalCharacter.h"
#include "AsaApi/Game/APrimalDinoCharacter.h"
#include "AsaApi/Game/AShooterPlayerController.h"
#include "AsaApi/Game/UClass.h"
#include "AsaApi/Game/UEngine.h"
#include "AsaApi/Game/UPrimalGameData.h"
#include "AsaApi/Game/UPrimalGlobals.h"
#include "sim/world/GameModel.h"
#include "testsupport/ServerFixture.h"

namespace {

using testsupport::ServerFixture;

UPrimalGameData* GameDataThroughEngine() {
  UEngine* engine = *Game::Global_::GEngine.Address();
  if (engine == nullptr) return nullptr;
  UObject* globals = Game::UEngine_::GameSingleton.Of(engine);
  if (globals == nullptr) return nullptr;
  UPrimalGameData* data = Game::UPrimalGlobals_::PrimalGameDataOverride.Of(globals);
  return data != nullptr ? data : Game::UPrimalGlobals_::PrimalGameData.Of(globals);
}

TEST(SimCreatures, DefaultObjectsCarryTagsNameGenderAndSparseData) {
  ServerFixture fixture;
  sim::CreatureClassSpec spec;
  spec.Path = "Blueprint'/Game/Dinos/Rex/Rex_Character_BP.Rex_Character_BP'";
  spec.DescriptiveName = "Rex";
  spec.Tags = {"Rex", "Carnivore"};
  spec.UsesGender = false;
  spec.FinalNPCLevelMultiplier = 1.5f;
  spec.RequiresDLC = 1;
  sim::SimClass* rex = sim::CreatureClasses::Add(spec);

  UClass* cls = AsaApi::Game::ClassAtPath(FString(spec.Path));
  ASSERT_EQ(cls, reinterpret_cast<UClass*>(rex));
  EXPECT_TRUE(Game::UStruct_::IsChildOf(cls, Game::APrimalDinoCharacter_::GetPrivateStaticClass()));
  auto* defaults = reinterpret_cast<APrimalDinoCharacter*>(Game::UClass_::GetDefaultObject(cls, true));
  ASSERT_NE(defaults, nullptr);
  const TArray<FName>& tags = Game::AActor_::Tags.Of(defaults);
  ASSERT_EQ(tags.Num(), 2);
  EXPECT_EQ(tags[1].ToString().ToUtf8(), "Carnivore");
  EXPECT_EQ(Game::APrimalCharacter_::DescriptiveName.Of(defaults).ToUtf8(), "Rex");
  EXPECT_FALSE(Game::APrimalDinoCharacter_::bUsesGender.Of(defaults));
  auto* sparse = Game::APrimalDinoCharacter_::GetPrimalDinoCharacterSparseClassDataDefault(defaults);
  ASSERT_NE(sparse, nullptr);
  EXPECT_FLOAT_EQ(Game::FPrimalDinoCharacterSparseClassData_::FinalNPCLevelMultiplier.Of(sparse), 1.5f);
  EXPECT_EQ(Game::FPrimalDinoCharacterSparseClassData_::RequiresDLC.Of(sparse), 1);

  spec.Path = "Blueprint'/Game/Dinos/Dodo.Dodo'";
  spec.HasSparseData = false;
  auto* dodo = reinterpret_cast<APrimalDinoCharacter*>(
      Game::UClass_::GetDefaultObject(reinterpret_cast<UClass*>(sim::CreatureClasses::Add(spec)), true));
  EXPECT_EQ(Game::APrimalDinoCharacter_::GetPrimalDinoCharacterSparseClassData(
                dodo, EGetSparseClassDataMethod::CrashIfNotFound),
            nullptr);
  EXPECT_EQ(AsaApi::Game::ClassAtPath(FString("Blueprint'/Game/Dinos/Unknown.Unknown'")), nullptr);
}

TEST(SimCreatures, GameDataChainAnswersEntriesAndCanBeCut) {
  ServerFixture fixture;
  sim::CreatureClassSpec spec;
  spec.Path = "Blueprint'/Game/Dinos/Raptor.Raptor'";
  sim::SimClass* raptor = sim::CreatureClasses::Add(spec);
  sim::GameDataModel& data = fixture.Server().Model().Data;
  data.AddDinoEntry(raptor, "Raptor");

  UPrimalGameData* gameData = GameDataThroughEngine();
  ASSERT_NE(gameData, nullptr);
  UClass* entryClass = Game::UPrimalGameData_::GetDinoEntry(gameData, reinterpret_cast<UClass*>(raptor));
  ASSERT_NE(entryClass, nullptr);
  UObject* entry = Game::UClass_::GetDefaultObject(entryClass, true);
  EXPECT_EQ(Game::UPrimalDinoEntry_::DinoNameTag.Of(entry).ToString().ToUtf8(), "Raptor");
  EXPECT_EQ(Game::UPrimalGameData_::GetDinoEntry(gameData, reinterpret_cast<UClass*>(sim::CreatureClasses::Base())),
            nullptr);

  data.AddDinoEntry(raptor, "RaptorOverride", /*inOverride=*/true);
  entry = Game::UClass_::GetDefaultObject(
      Game::UPrimalGameData_::GetDinoEntry(GameDataThroughEngine(), reinterpret_cast<UClass*>(raptor)), true);
  EXPECT_EQ(Game::UPrimalDinoEntry_::DinoNameTag.Of(entry).ToString().ToUtf8(), "RaptorOverride");

  data.SetGameSingletonMissing(true);
  EXPECT_EQ(GameDataThroughEngine(), nullptr);
  data.SetEngineMissing(true);
  EXPECT_EQ(*Game::Global_::GEngine.Address(), nullptr);
}

TEST(SimCreatures, PlayersHaveInventoriesAndSpawnedCreaturesLeaveTheWorldOnDestroy) {
  ServerFixture fixture;
  sim::SimPlayer& player = fixture.Server().JoinPlayer(sim::PlayerSpec::Of("eos-a"));
  auto* pawn = reinterpret_cast<APrimalCharacter*>(player.Character.get());
  EXPECT_NE(Game::APrimalCharacter_::MyInventoryComponent.Of(pawn), nullptr);

  sim::CreatureClassSpec spec;
  spec.Path = "Blueprint'/Game/Dinos/Para.Para'";
  sim::CreatureClasses::Add(spec);
  FString path(spec.Path);
  AActor* actor = Game::AShooterPlayerController_::SpawnActor(player.AsController(), &path, 0, 0, 900, true);
  ASSERT_NE(actor, nullptr);
  TWeakObjectPtr<AActor> weak(actor);
  EXPECT_EQ(fixture.Server().Model().Creatures.Creatures().size(), 1u);
  EXPECT_TRUE(Game::APrimalDinoCharacter_::Destroy(reinterpret_cast<APrimalDinoCharacter*>(actor), true, false));
  EXPECT_EQ(weak.Get(), nullptr);
  EXPECT_TRUE(fixture.Server().Model().Creatures.Creatures().empty());
  FString unknown("Blueprint'/Game/Nothing.Nothing'");
  EXPECT_EQ(Game::AShooterPlayerController_::SpawnActor(player.AsController(), &unknown, 0, 0, 900, true), nullptr);
}

}  // namespace

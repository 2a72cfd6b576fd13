#pragma once
// The world's game functions that work on the running game: each takes the
// GameHost it runs in before the game's own arguments. The server registers them
// with itself as their host (RegisterHostedFunctions<Source>), so the host's
// plain C entry points reach it without the world knowing the server.
#include <cstdint>

#include "AsaApi/FString.h"
#include "AsaApi/Game/AActor.h"
#include "AsaApi/Game/APrimalBuff.h"
#include "AsaApi/Game/APrimalCharacter.h"
#include "AsaApi/Game/APrimalDinoCharacter.h"
#include "AsaApi/Game/AShooterGameSession.h"
#include "AsaApi/Game/AShooterPlayerController.h"
#include "AsaApi/Game/FARKDinoData.h"
#include "AsaApi/Game/UFunction.h"
#include "AsaApi/Game/UGameplayStatics.h"
#include "AsaApi/Game/UPrimalGameData.h"
#include "AsaApi/Game/UPrimalInventoryComponent.h"
#include "AsaApi/Game/UPrimalItem.h"
#include "AsaApi/Game/UTexture2D.h"
#include "AsaApi/Host.h"
#include "sim/engine/EntryPoint.h"
#include "sim/world/GameHost.h"

namespace sim {
namespace hosted {

// Console commands players issue (sim/ConsoleCommands.h).
FString* ConsoleCommand(GameHost& game, AShooterPlayerController* controller, FString* result, FString* command,
                        bool writeToLog);
// Items and inventories.
UPrimalItem* AddNewItem(GameHost& game, TSubclassOf<UPrimalItem> cls, UPrimalInventoryComponent* inventory, bool b1,
                        bool b2, float quality, bool b3, int quantity, bool b4, float minRandomQuality, bool b5,
                        TSubclassOf<UPrimalItem> skin, float clampStats, bool b6, bool b7, bool b8, bool b9,
                        bool b10);
int IncrementItemTemplateQuantity(GameHost& game, UPrimalInventoryComponent* inventory, TSubclassOf<UPrimalItem> cls,
                                  int amount, bool b1, bool b2, UPrimalItem** specificItem, UPrimalItem** slot,
                                  bool b3, bool b4, bool b5, bool b6, bool b7, bool b8, bool b9, bool b10, bool b11);
// Creatures.
void DinoBeginPlay(GameHost& game, APrimalDinoCharacter* creature);
bool DestroyActor(GameHost& game, AActor* actor, bool netForce, bool modifyLevel);
bool DestroyDino(GameHost& game, APrimalDinoCharacter* creature, bool netForce, bool modifyLevel);
void GetDinoData(GameHost& game, APrimalDinoCharacter* creature, FARKDinoData* out);
AActor* SpawnActor(GameHost& game, AShooterPlayerController* controller, FString* path, float distance, float yOffset,
                   float zOffset, bool deferBeginPlay);
// Game data and characters.
UClass* GetDinoEntry(GameHost& game, UPrimalGameData* gameData, TSubclassOf<APrimalDinoCharacter> creatureClass);
bool DeadOrDying(GameHost& game, APrimalCharacter* character);
// The world's extra pieces (sim/WorldExtras.h).
UClass* SessionStaticClass(GameHost& game);
UClass* TextureStaticClass(GameHost& game);
UObject* StaticLoadObject(GameHost& game, UClass* cls, UObject* outer, const char16_t* path, const char16_t* file,
                          uint32_t flags, UPackageMap* sandbox, bool allowReconciliation,
                          FLinkerInstancingContext* context);
void GetAllActorsOfClass(GameHost& game, UObject* worldContext, UClass* cls, TArray<AActor*>* out);
// What a mod added (sim/ModContent.h).
UFunction* FindFunctionByName(GameHost& game, UClass* cls, FName name, int32_t includeSuper);
void ProcessEvent(GameHost& game, AActor* actor, UFunction* function, void* block);
APrimalBuff* GetBuff(GameHost& game, APrimalCharacter* character, UClass* cls);
bool NetExec(GameHost& game, APrimalBuff* buff, AShooterPlayerController* sender, FName message,
             FBPNetExecParams* params);

}  // namespace hosted

// Registers the functions above; Source yields the running host (null: none).
template <GameHost* (*Source)()>
void RegisterHostedFunctions() {
  using namespace Game;
  host::Register(AShooterPlayerController_::ConsoleCommand, Entry<Source, &hosted::ConsoleCommand>);
  host::Register(UPrimalItem_::AddNewItem, Entry<Source, &hosted::AddNewItem>);
  host::Register(UPrimalInventoryComponent_::IncrementItemTemplateQuantity,
                 Entry<Source, &hosted::IncrementItemTemplateQuantity>);
  host::Register(APrimalDinoCharacter_::BeginPlay, Entry<Source, &hosted::DinoBeginPlay>);
  host::Register(AActor_::Destroy, Entry<Source, &hosted::DestroyActor>);
  host::Register(APrimalDinoCharacter_::Destroy, Entry<Source, &hosted::DestroyDino>);
  host::Register(APrimalDinoCharacter_::GetDinoData, Entry<Source, &hosted::GetDinoData>);
  host::Register(AShooterPlayerController_::SpawnActor, Entry<Source, &hosted::SpawnActor>);
  host::Register(UPrimalGameData_::GetDinoEntry, Entry<Source, &hosted::GetDinoEntry>);
  host::Register(APrimalCharacter_::IsDeadOrDying, Entry<Source, &hosted::DeadOrDying>);
  host::Register(AShooterGameSession_::StaticClass, Entry<Source, &hosted::SessionStaticClass>);
  host::Register(UTexture2D_::StaticClass, Entry<Source, &hosted::TextureStaticClass>);
  host::Register(Global_::StaticLoadObject, Entry<Source, &hosted::StaticLoadObject>);
  host::Register(UGameplayStatics_::GetAllActorsOfClass, Entry<Source, &hosted::GetAllActorsOfClass>);
  host::Register(UClass_::FindFunctionByName, Entry<Source, &hosted::FindFunctionByName>);
  host::Register(AActor_::ProcessEvent, Entry<Source, &hosted::ProcessEvent>);
  host::Register(APrimalCharacter_::GetBuff, Entry<Source, &hosted::GetBuff>);
  host::Register(APrimalBuff_::BPNetExec, Entry<Source, &hosted::NetExec>);
}

}  // namespace sim

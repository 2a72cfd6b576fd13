// The engine's functions that reach what a mod added: functions of its classes
// by name, calling them, a character's buff, the buff's messages into the game,
// and the world's actors listed by class.
#include "sim/engine/Classes.h"
#include "sim/world/HostedFunctions.h"
#include "sim/world/ModContent.h"
#include "sim/world/WorldExtras.h"

namespace sim {

UFunction* hosted::FindFunctionByName(GameHost& game, UClass* cls, FName name, int32_t includeSuper) {
  ModContent* content = game.Content();
  if (content == nullptr || cls == nullptr) return nullptr;
  return content->FindFunctionByName(cls, name.ToString().ToUtf8(), includeSuper != 0);
}

void hosted::ProcessEvent(GameHost& game, AActor* actor, UFunction* function, void* block) {
  if (ModContent* content = game.Content()) content->CallFunction(reinterpret_cast<UObject*>(actor), function, block);
}

APrimalBuff* hosted::GetBuff(GameHost& game, APrimalCharacter* character, UClass* cls) {
  ModContent* content = game.Content();
  if (content == nullptr || character == nullptr || cls == nullptr) return nullptr;
  return content->BuffOfClass(reinterpret_cast<SimCharacter*>(character), cls);
}

bool hosted::NetExec(GameHost& game, APrimalBuff*, AShooterPlayerController*, FName, FBPNetExecParams*) {
  if (ModContent* content = game.Content()) content->MessageReachedGame();
  return true;
}

void hosted::GetAllActorsOfClass(GameHost& game, UObject*, UClass* cls, TArray<AActor*>* out) {
  if (out == nullptr) return;
  for (UObject* actor : game.Extras().ActorsOf(reinterpret_cast<SimClass*>(cls)))
    out->Add(reinterpret_cast<AActor*>(actor));
}

}  // namespace sim

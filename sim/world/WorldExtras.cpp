#include "sim/world/WorldExtras.h"

#include <algorithm>

#include "AsaApi/Game/AShooterGameSession.h"
#include "AsaApi/Game/AShooterPlayerController.h"
#include "AsaApi/Game/AShooterPlayerState.h"
#include "AsaApi/Game/UTexture2D.h"
#include "sim/world/HostedFunctions.h"
#include "sim/world/World.h"

namespace sim {
namespace {

int32_t CharacterLevel(AShooterPlayerState* state) {
  return state == nullptr ? 0 : reinterpret_cast<SimPlayerState*>(state)->CharacterLevel;
}

}  // namespace

UClass* hosted::SessionStaticClass(GameHost& game) { return reinterpret_cast<UClass*>(game.Extras().SessionClass()); }

UClass* hosted::TextureStaticClass(GameHost& game) { return reinterpret_cast<UClass*>(game.Extras().TextureClass()); }

UObject* hosted::StaticLoadObject(GameHost& game, UClass* cls, UObject*, const char16_t* path, const char16_t*,
                                  uint32_t, UPackageMap*, bool, FLinkerInstancingContext*) {
  WorldExtras& extras = game.Extras();
  if (path == nullptr || cls != reinterpret_cast<UClass*>(extras.TextureClass())) return nullptr;
  SimTexture* texture = extras.FindTexture(Utf16ToUtf8(path));
  return texture == nullptr ? nullptr : &texture->Header;
}

WorldExtras::WorldExtras(const std::string& sessionName)
    : textureClass_(ClassRegistry::Get().Add("")), sessionClass_(ClassRegistry::Get().Add("")) {
  session_ = NewObject<SimGameSession>();
  session_->Header.ClassPrivate = reinterpret_cast<UClass*>(sessionClass_);
  session_->Params.SessionName = FName(sessionName.c_str());
  AddActor(sessionClass_, &session_->Header);
}

WorldExtras::~WorldExtras() = default;

void WorldExtras::AddActor(SimClass* cls, UObject* actor) { actors_.emplace_back(cls, actor); }

void WorldExtras::RemoveActor(UObject* actor) {
  std::erase_if(actors_, [actor](const auto& entry) { return entry.second == actor; });
}

std::vector<UObject*> WorldExtras::ActorsOf(const SimClass* cls) const {
  std::vector<UObject*> found;
  for (const auto& [actorClass, actor] : actors_)
    if (ClassRegistry::IsChildOf(actorClass, cls)) found.push_back(actor);
  return found;
}

SimTexture* WorldExtras::AddTexture(const std::string& path) {
  auto& texture = textures_[path];
  if (!texture) {
    texture = NewObject<SimTexture>();
    texture->Header.ClassPrivate = reinterpret_cast<UClass*>(textureClass_);
    texture->Path = path;
  }
  return texture.get();
}

SimTexture* WorldExtras::FindTexture(const std::string& path) const {
  const auto found = textures_.find(path);
  return found == textures_.end() ? nullptr : found->second.get();
}

std::string WorldExtras::PathOf(const void* object) const {
  for (const auto& [path, texture] : textures_)
    if (&texture->Header == object) return path;
  return ClassRegistry::Get().PathOf(static_cast<const SimClass*>(object));
}

void WorldExtras::RemoveGameSession() {
  if (!session_) return;
  RemoveActor(&session_->Header);
  session_.reset();
}

void RegisterWorldExtraFunctions() {
  using namespace Game;
  host::Register(AShooterGameSession_::CurrentSessionParams,
                 static_cast<std::ptrdiff_t>(offsetof(SimGameSession, Params)));
  host::Register(FShooterGameSessionParams_::SessionName,
                 static_cast<std::ptrdiff_t>(offsetof(SimSessionParams, SessionName)));
  host::Register(AShooterPlayerState_::MyTribeData, static_cast<std::ptrdiff_t>(offsetof(SimPlayerState, TribeName)));
  host::Register(FTribeData_::TribeName, std::ptrdiff_t{0});
  host::Register(FTribeData_::TribeID,
                 static_cast<std::ptrdiff_t>(offsetof(SimPlayerState, TribeId) - offsetof(SimPlayerState, TribeName)));
  host::Register(AShooterPlayerState_::GetCharacterLevel, &CharacterLevel);
  host::Register(AController_::Character, static_cast<std::ptrdiff_t>(offsetof(SimPlayerController, Character)));
}

}  // namespace sim

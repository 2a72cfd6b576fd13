#pragma once
// Pieces of the world the shop reads beyond players: actors listed by class, the
// game session, loadable textures.
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "AsaApi/FString.h"
#include "sim/engine/Classes.h"

namespace sim {

struct SimSessionParams {
  int32_t MaxPlayers = 70;
  FString ServerPassword;
  FName SessionName;
};

struct SimGameSession {
  UObject Header;
  SimSessionParams Params;
};

struct SimTexture {
  UObject Header;
  std::string Path;
};

class WorldExtras {
 public:
  explicit WorldExtras(const std::string& sessionName);
  ~WorldExtras();

  // Actors the world lists by class.
  void AddActor(SimClass* cls, UObject* actor);
  void RemoveActor(UObject* actor);
  std::vector<UObject*> ActorsOf(const SimClass* cls) const;

  // Textures loadable by path.
  SimTexture* AddTexture(const std::string& path);
  SimTexture* FindTexture(const std::string& path) const;
  SimClass* TextureClass() const { return textureClass_; }
  SimClass* SessionClass() const { return sessionClass_; }
  // The path of a texture or class, or empty.
  std::string PathOf(const void* object) const;

  void RemoveGameSession();

 private:
  SimClass* textureClass_;
  SimClass* sessionClass_;
  ObjectPtr<SimGameSession> session_;
  std::vector<std::pair<SimClass*, UObject*>> actors_;
  std::map<std::string, ObjectPtr<SimTexture>> textures_;
};

// Registers the game functions and fields of these pieces and of player states.
void RegisterWorldExtraFunctions();

}  // namespace sim

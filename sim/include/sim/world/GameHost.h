#pragma once
// What the world's game functions work on: the running game's model, its world
// and extra actors, and what a mod added. The server is the host; the entry
// points the host's tables call are handed it (sim/EntryPoint.h), never a global.
namespace sim {

class GameModel;
class WorldExtras;
class ModContent;
struct SimWorld;

class GameHost {
 public:
  virtual GameModel& Model() = 0;
  virtual WorldExtras& Extras() = 0;
  virtual SimWorld* World() = 0;
  // Null while no mod is loaded.
  virtual ModContent* Content() = 0;

 protected:
  ~GameHost() = default;
};

}  // namespace sim

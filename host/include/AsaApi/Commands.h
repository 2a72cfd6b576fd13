#pragma once
// Chat, console and RCON commands, per-tick and timer callbacks, by name.
#include <functional>

#include "AsaApi/FString.h"
#include "AsaApi/Game/Classes.h"

namespace AsaApi {

using ChatCommandCallback = std::function<void(AShooterPlayerController*, FString*, int, int)>;
using ConsoleCommandCallback = std::function<void(APlayerController*, FString*, bool)>;
using RconCommandCallback = std::function<void(RCONClientConnection*, RCONPacket*, UWorld*)>;
using TickCallback = std::function<void(float)>;
using TimerCallback = std::function<void()>;

class ICommands {
 public:
  virtual ~ICommands() = default;
  virtual void AddChatCommand(const FString& command, const ChatCommandCallback& callback) = 0;
  virtual void AddConsoleCommand(const FString& command, const ConsoleCommandCallback& callback) = 0;
  virtual void AddRconCommand(const FString& command, const RconCommandCallback& callback) = 0;
  virtual void AddOnTickCallback(const FString& id, const TickCallback& callback) = 0;
  virtual void AddOnTimerCallback(const FString& id, const TimerCallback& callback) = 0;

  // Removing an unknown name does nothing and returns false.
  virtual bool RemoveChatCommand(const FString& command) = 0;
  virtual bool RemoveConsoleCommand(const FString& command) = 0;
  virtual bool RemoveRconCommand(const FString& command) = 0;
  virtual bool RemoveOnTickCallback(const FString& id) = 0;
  virtual bool RemoveOnTimerCallback(const FString& id) = 0;
};

ICommands& GetCommands();

}  // namespace AsaApi

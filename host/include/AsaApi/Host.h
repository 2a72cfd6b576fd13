#pragma once
// The hosting process's side of the framework: installs the services and drives
// commands, callbacks and timers. Plugins never include this.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "AsaApi/ApiUtils.h"
#include "AsaApi/Commands.h"
#include "AsaApi/Hooks.h"
#include "AsaApi/Requests.h"

namespace host {

void InstallApiUtils(AsaApi::IApiUtils* utils);
void InstallRequests(API::IRequestsImpl* requests);
void SetCurrentDir(std::string dir);
void SetProcessCommandLine(std::u16string commandLine);
void AdvanceClock(int64_t seconds);
void ResetClock();

// Installs FMemory on the C allocator (a process that hosts no game).
void InstallStandardAllocator();

// Errors a plugin let escape into the host; a correct plugin leaves it empty.
using HostErrorHandler = std::function<void(const std::string&)>;
void SetHostErrorHandler(HostErrorHandler handler);
void ReportHostError(const std::string& what);

// Command dispatch, as the framework does it.
class CommandRegistry {
 public:
  static CommandRegistry& Get();
  // Chat: the first word of message names the command (case-insensitive).
  bool DispatchChat(AShooterPlayerController* player, const FString& message, int mode);
  bool DispatchConsole(APlayerController* player, const FString& text, bool checkAuthority);
  bool DispatchRcon(RCONClientConnection* connection, RCONPacket* packet, UWorld* world);
  void RunTick(float deltaSeconds);
  void RunTimers();
  bool HasChatCommand(const FString& name) const;
  bool HasConsoleCommand(const FString& name) const;
  bool HasRconCommand(const FString& name) const;
  bool HasTickCallback(const FString& id) const;
  bool HasTimerCallback(const FString& id) const;
  std::size_t CountAll() const;
  void Clear();
};

// Hooks currently installed on a name (for tests).
std::size_t HookCount(const std::string& name);
void ClearHooks();

}  // namespace host

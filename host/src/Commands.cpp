#include "AsaApi/Commands.h"

#include <exception>
#include <map>
#include <mutex>
#include <string>

#include "AsaApi/Game/RCON.h"
#include "AsaApi/Host.h"

namespace {

std::u16string Key(std::u16string_view name) {
  std::u16string key(name);
  for (char16_t& c : key) c = ToLowerAscii(c);
  return key;
}

std::u16string FirstWord(const FString& text) {
  std::u16string_view view = text.View();
  const auto start = view.find_first_not_of(u' ');
  if (start == std::u16string_view::npos) return {};
  view.remove_prefix(start);
  return Key(view.substr(0, view.find(u' ')));
}

template <typename Callback>
class NamedCallbacks {
 public:
  void Add(const FString& name, const Callback& callback) {
    std::lock_guard lock(mutex_);
    entries_[Key(name.View())] = callback;
  }
  bool Remove(const FString& name) {
    std::lock_guard lock(mutex_);
    return entries_.erase(Key(name.View())) > 0;
  }
  bool Has(const FString& name) const {
    std::lock_guard lock(mutex_);
    return entries_.count(Key(name.View())) > 0;
  }
  bool Find(const std::u16string& key, Callback& out) const {
    std::lock_guard lock(mutex_);
    auto it = entries_.find(key);
    if (it == entries_.end()) return false;
    out = it->second;
    return true;
  }
  std::map<std::u16string, Callback> Snapshot() const {
    std::lock_guard lock(mutex_);
    return entries_;
  }
  std::size_t Size() const {
    std::lock_guard lock(mutex_);
    return entries_.size();
  }
  void Clear() {
    std::lock_guard lock(mutex_);
    entries_.clear();
  }

 private:
  mutable std::mutex mutex_;
  std::map<std::u16string, Callback> entries_;
};

template <typename Call>
void Guarded(const char* what, Call call) {
  try {
    call();
  } catch (const std::exception& e) {
    host::ReportHostError(std::string(what) + " threw: " + e.what());
  } catch (...) {
    host::ReportHostError(std::string(what) + " threw a non-standard exception");
  }
}

class Commands final : public AsaApi::ICommands {
 public:
  void AddChatCommand(const FString& c, const AsaApi::ChatCommandCallback& f) override { chat_.Add(c, f); }
  void AddConsoleCommand(const FString& c, const AsaApi::ConsoleCommandCallback& f) override { console_.Add(c, f); }
  void AddRconCommand(const FString& c, const AsaApi::RconCommandCallback& f) override { rcon_.Add(c, f); }
  void AddOnTickCallback(const FString& id, const AsaApi::TickCallback& f) override { tick_.Add(id, f); }
  void AddOnTimerCallback(const FString& id, const AsaApi::TimerCallback& f) override { timer_.Add(id, f); }
  bool RemoveChatCommand(const FString& c) override { return chat_.Remove(c); }
  bool RemoveConsoleCommand(const FString& c) override { return console_.Remove(c); }
  bool RemoveRconCommand(const FString& c) override { return rcon_.Remove(c); }
  bool RemoveOnTickCallback(const FString& id) override { return tick_.Remove(id); }
  bool RemoveOnTimerCallback(const FString& id) override { return timer_.Remove(id); }

  NamedCallbacks<AsaApi::ChatCommandCallback> chat_;
  NamedCallbacks<AsaApi::ConsoleCommandCallback> console_;
  NamedCallbacks<AsaApi::RconCommandCallback> rcon_;
  NamedCallbacks<AsaApi::TickCallback> tick_;
  NamedCallbacks<AsaApi::TimerCallback> timer_;
};

Commands& Instance() {
  static Commands commands;
  return commands;
}

}  // namespace

AsaApi::ICommands& AsaApi::GetCommands() { return Instance(); }

namespace host {

CommandRegistry& CommandRegistry::Get() {
  static CommandRegistry registry;
  return registry;
}

bool CommandRegistry::DispatchChat(AShooterPlayerController* player, const FString& message, int mode) {
  AsaApi::ChatCommandCallback callback;
  if (!Instance().chat_.Find(FirstWord(message), callback)) return false;
  FString text = message;
  Guarded("chat command", [&] { callback(player, &text, mode, 0); });
  return true;
}

bool CommandRegistry::DispatchConsole(APlayerController* player, const FString& text, bool checkAuthority) {
  AsaApi::ConsoleCommandCallback callback;
  if (!Instance().console_.Find(FirstWord(text), callback)) return false;
  FString copy = text;
  Guarded("console command", [&] { callback(player, &copy, checkAuthority); });
  return true;
}

bool CommandRegistry::DispatchRcon(RCONClientConnection* connection, RCONPacket* packet, UWorld* world) {
  AsaApi::RconCommandCallback callback;
  if (packet == nullptr || !Instance().rcon_.Find(FirstWord(packet->Body), callback)) return false;
  Guarded("rcon command", [&] { callback(connection, packet, world); });
  return true;
}

void CommandRegistry::RunTick(float deltaSeconds) {
  for (auto& entry : Instance().tick_.Snapshot()) {
    // A callback removed by an earlier one this tick does not run.
    if (!Instance().tick_.Has(FString(std::u16string_view(entry.first)))) continue;
    auto& callback = entry.second;
    Guarded("tick callback", [&] { callback(deltaSeconds); });
  }
}

void CommandRegistry::RunTimers() {
  for (auto& entry : Instance().timer_.Snapshot()) {
    if (!Instance().timer_.Has(FString(std::u16string_view(entry.first)))) continue;
    auto& callback = entry.second;
    Guarded("timer callback", [&] { callback(); });
  }
}

bool CommandRegistry::HasChatCommand(const FString& name) const { return Instance().chat_.Has(name); }
bool CommandRegistry::HasConsoleCommand(const FString& name) const { return Instance().console_.Has(name); }
bool CommandRegistry::HasRconCommand(const FString& name) const { return Instance().rcon_.Has(name); }
bool CommandRegistry::HasTickCallback(const FString& id) const { return Instance().tick_.Has(id); }
bool CommandRegistry::HasTimerCallback(const FString& id) const { return Instance().timer_.Has(id); }

std::size_t CommandRegistry::CountAll() const {
  auto& c = Instance();
  return c.chat_.Size() + c.console_.Size() + c.rcon_.Size() + c.tick_.Size() + c.timer_.Size();
}

void CommandRegistry::Clear() {
  auto& c = Instance();
  c.chat_.Clear();
  c.console_.Clear();
  c.rcon_.Clear();
  c.tick_.Clear();
  c.timer_.Clear();
}

}  // namespace host

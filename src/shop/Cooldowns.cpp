#include "shop/Cooldowns.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <sstream>
#include <system_error>

#include "AsaApi/Tools.h"
#include "config/CatalogueReader.h"
#include "config/ShopConfig.h"
#include "core/Clock.h"
#include "core/Log.h"
#include "core/Platform.h"
#include "core/ThreadPool.h"

namespace TandorShop::Cooldowns {
namespace {

using ConfigHelper::ConfigShopPacket;

std::string g_filePath;

const ConfigShopPacket* FindWith(const FString& name, int32_t ConfigShopPacket::*cooldown) {
  return ConfigHelper::ShopConfig().ShopPackets.FindByPredicate([&](const ConfigShopPacket& packet) {
    return packet.*cooldown != 0 && ConfigHelper::EqualsIgnoreCase(packet.PacketName, name);
  });
}

int32_t ToInt32(int64_t value) { return static_cast<int32_t>(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX)); }

std::vector<std::string> SplitDroppingEmpty(const std::string& line, char separator) {
  std::vector<std::string> parts;
  std::string part;
  std::istringstream in(line);
  while (std::getline(in, part, separator))
    if (!part.empty()) parts.push_back(part);
  return parts;
}

bool AllDigits(const std::string& text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool ReadLines(const std::string& path, std::vector<std::string>& lines, std::string& content) {
  std::error_code error;
  if (!std::filesystem::exists(path, error)) {
    if (error) return false;
    std::ofstream create(path, std::ios::app);
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  content.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  std::istringstream split(content);
  for (std::string line; std::getline(split, line, '\n');) lines.push_back(line);
  return true;
}

// The new content goes to a temporary file beside the old one, then replaces it.
bool WriteAtomically(const std::string& path, const std::string& content) {
  const std::string temporary = path + ".tmp";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out << content;
    out.flush();
    if (!out) return false;
  }
  return Platform::ReplaceFileWith(path, temporary);
}

std::string Joined(const std::vector<std::string>& lines) {
  std::string content;
  for (const std::string& line : lines) content += line + "\n";
  return content;
}

}  // namespace

bool IsOnPlayerCooldown(int64_t now, const TArray<ModComm::PlayerPacketCooldown>& rows,
                        const ConfigShopPacket* packet) {
  if (packet == nullptr) return true;
  for (const auto& row : rows) {
    const ConfigShopPacket* found = FindWith(row.PacketName, &ConfigShopPacket::PlayerCooldown);
    if (found != nullptr && found->Id == packet->Id && int64_t{found->PlayerCooldown} + row.LastUse > now) return true;
  }
  return false;
}

TArray<ModComm::CooldownPair> PlayerCooldownPairs(const TArray<ModComm::PlayerPacketCooldown>& rows) {
  TArray<ModComm::CooldownPair> pairs;
  for (const auto& row : rows)
    if (const ConfigShopPacket* found = FindWith(row.PacketName, &ConfigShopPacket::PlayerCooldown))
      pairs.Add({found->Id, row.LastUse});
  return pairs;
}

int32_t LongestPlayerCooldown() {
  int32_t longest = 0;
  for (const auto& packet : ConfigHelper::ShopConfig().ShopPackets) longest = std::max(longest, packet.PlayerCooldown);
  return longest;
}

void ComputeCooldownFilePath() {
  g_filePath = AsaApi::Tools::GetCurrentDir() + "/ArkApi/Plugins/TandorShop/packetCds.txt";
}

const std::string& CooldownFilePath() { return g_filePath; }

PrunedCooldowns PruneCooldownLines(const std::vector<std::string>& lines, int64_t now, const PacketLookup& findPacket) {
  PrunedCooldowns result;
  std::vector<bool> keep(lines.size(), true);
  for (std::size_t i = lines.size(); i-- > 0;) {
    const std::vector<std::string> parts = SplitDroppingEmpty(lines[i], ',');
    if (parts.size() < 2 || !AllDigits(parts[1])) continue;
    const ConfigShopPacket* packet = findPacket(FString::FromUtf8(parts[0]));
    if (packet == nullptr) continue;
    int64_t lastUse = 0;
    const auto [end, error] = std::from_chars(parts[1].data(), parts[1].data() + parts[1].size(), lastUse);
    if (error != std::errc() || end != parts[1].data() + parts[1].size()) continue;  // does not fit: ignored
    if (int64_t{packet->ServerCooldown} + lastUse <= now) {
      keep[i] = false;
      continue;
    }
    result.Running.Add({packet->Id, ToInt32(lastUse)});
  }
  for (std::size_t i = 0; i < lines.size(); ++i)
    if (keep[i]) result.KeptLines.push_back(lines[i]);
  return result;
}

namespace {

// The file's lines as last read or written. The game thread checks and adds
// cooldowns here; the file follows through writes on a worker.
std::mutex g_linesMutex;
std::vector<std::string> g_lines;

const ConfigShopPacket* FindServerCooldownPacket(const FString& name) {
  return FindWith(name, &ConfigShopPacket::ServerCooldown);
}

// Writes the lines to the file on a worker, after every write posted before it.
void WriteThrough(std::string content) {
  Pool().PostTask(PoolTask::MakeJob([path = g_filePath, content = std::move(content)] {
                    try {
                      if (!WriteAtomically(path, content)) Log().warn("Failed to open cooldown file.");
                    } catch (const std::exception& e) {
                      Log().warn("Failed to open cooldown file. ({})", e.what());
                    }
                  }).OrderedBy("cooldown-file"));
}

// Under the lines' lock: drops what has run out at now (writing the file when
// something went) and answers what still runs.
TArray<ModComm::CooldownPair> RunningAt(int64_t now) {
  PrunedCooldowns pruned = PruneCooldownLines(g_lines, now, &FindServerCooldownPacket);
  if (pruned.KeptLines.size() != g_lines.size()) {
    g_lines = std::move(pruned.KeptLines);
    WriteThrough(Joined(g_lines));
  }
  return std::move(pruned.Running);
}

}  // namespace

void LoadServerCooldownFile() {
  std::vector<std::string> lines;
  try {
    std::string content;
    if (!ReadLines(g_filePath, lines, content)) {
      Log().warn("Failed to open cooldown file.");
      lines.clear();
    }
  } catch (const std::exception& e) {
    Log().warn("Failed to open cooldown file. ({})", e.what());
    lines.clear();
  }
  std::lock_guard lock(g_linesMutex);
  g_lines = std::move(lines);
  RunningAt(Clock::NowUnix());
}

void LoadServerCooldowns(TArray<ModComm::CooldownPair>& out) {
  std::lock_guard lock(g_linesMutex);
  out.Append(RunningAt(Clock::NowUnix()));
}

void AppendServerCooldown(const FString& packetName, int64_t lastUse) {
  std::lock_guard lock(g_linesMutex);
  g_lines.push_back(packetName.ToUtf8() + "," + std::to_string(lastUse));
  WriteThrough(Joined(g_lines));
}

void RemoveServerCooldown(const FString& packetName, int64_t lastUse) {
  const std::string line = packetName.ToUtf8() + "," + std::to_string(lastUse);
  std::lock_guard lock(g_linesMutex);
  const auto found = std::find(g_lines.rbegin(), g_lines.rend(), line);
  if (found == g_lines.rend()) return;
  g_lines.erase(std::next(found).base());
  WriteThrough(Joined(g_lines));
}

HeldServerCooldown HoldServerCooldown(const ConfigShopPacket& packet, int64_t now) {
  if (packet.ServerCooldown < 1) return {};
  AppendServerCooldown(packet.PacketName, now);
  return {packet.PacketName, now};
}

void GiveBack(const HeldServerCooldown& held) {
  if (!held.PacketName.IsEmpty()) RemoveServerCooldown(held.PacketName, held.Since);
}

bool IsOnServerCooldown(int64_t now, const ConfigShopPacket* packet) {
  if (packet == nullptr) return true;
  TArray<ModComm::CooldownPair> pairs;
  {
    std::lock_guard lock(g_linesMutex);
    pairs = RunningAt(now);
  }
  for (const auto& pair : pairs)
    if (pair.PacketId == packet->Id && int64_t{pair.LastUse} + packet->ServerCooldown > now) return true;
  return false;
}

}  // namespace TandorShop::Cooldowns

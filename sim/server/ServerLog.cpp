// What the server's log shows and keeps: the plugin's lines in memory for tests
// to read, in the log file and on the console, and the host's errors.
#include <filesystem>
#include <mutex>

#include <spdlog/sinks/base_sink.h>
#include <spdlog/sinks/basic_file_sink.h>
#include <spdlog/sinks/stdout_color_sinks.h>

#include "AsaApi/Host.h"
#include "AsaApi/Logging.h"
#include "sim/server/GameServer.h"

namespace sim {

// Log capture: the formatted lines every sink sees, for tests to read.
struct GameServer::LogCapture : spdlog::sinks::base_sink<std::mutex> {
  std::vector<std::string> Lines() {
    std::lock_guard lock(mutex_);
    return lines_;
  }
  void Clear() {
    std::lock_guard lock(mutex_);
    lines_.clear();
  }

 protected:
  void sink_it_(const spdlog::details::log_msg& message) override {
    spdlog::memory_buf_t formatted;
    formatter_->format(message, formatted);
    std::string line = fmt::to_string(formatted);
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
    lines_.push_back(std::move(line));
  }
  void flush_() override {}

 private:
  std::vector<std::string> lines_;
};

namespace {

std::mutex g_hostErrorsMutex;
std::vector<std::string> g_hostErrors;

}  // namespace

void GameServer::InstallLogs() {
  capture_ = std::make_shared<LogCapture>();
  auto& sinks = GetLogSinks();
  sinks.clear();
  sinks.push_back(capture_);
  if (!options_.LogFile.empty()) {
    std::filesystem::create_directories(std::filesystem::path(options_.LogFile).parent_path());
    sinks.push_back(std::make_shared<spdlog::sinks::basic_file_sink_mt>(options_.LogFile));
  }
  if (options_.ConsoleLog) sinks.push_back(std::make_shared<spdlog::sinks::stdout_color_sink_mt>());

  {
    std::lock_guard lock(g_hostErrorsMutex);
    g_hostErrors.clear();
  }
  host::SetHostErrorHandler([](const std::string& what) {
    std::lock_guard lock(g_hostErrorsMutex);
    g_hostErrors.push_back(what);
  });

}

std::vector<std::string> GameServer::LogLines() const { return capture_->Lines(); }

bool GameServer::LogContains(const std::string& text) const { return CountLog(text) > 0; }

std::size_t GameServer::CountLog(const std::string& text) const {
  std::size_t count = 0;
  for (const std::string& line : capture_->Lines())
    if (line.find(text) != std::string::npos) ++count;
  return count;
}

void GameServer::ClearRecords() {
  messages_.clear();
  clientMessages_.clear();
  capture_->Clear();
}

std::vector<std::string> GameServer::HostErrors() const {
  std::lock_guard lock(g_hostErrorsMutex);
  return g_hostErrors;
}

}  // namespace sim

// The services a hosting process installs, and the small ones the host keeps itself.
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <mutex>

#include "AsaApi/ApiUtils.h"
#include "AsaApi/Host.h"
#include "AsaApi/Logging.h"
#include "AsaApi/Memory.h"
#include "AsaApi/Platform.h"
#include "AsaApi/Requests.h"
#include "AsaApi/Tools.h"

namespace {

std::atomic<AsaApi::IApiUtils*> g_apiUtils{nullptr};
std::atomic<API::IRequestsImpl*> g_requests{nullptr};
std::atomic<int64_t> g_clockOffset{0};

std::mutex g_textMutex;
std::string g_currentDir = ".";
std::u16string g_commandLine;

std::mutex g_errorMutex;
host::HostErrorHandler g_errorHandler;

void* StandardMalloc(unsigned long long size, unsigned int) { return std::malloc(size == 0 ? 1 : size); }
void* StandardRealloc(void* p, unsigned long long size, unsigned int) { return std::realloc(p, size == 0 ? 1 : size); }
void StandardFree(void* p) { std::free(p); }

}  // namespace

AsaApi::IApiUtils& AsaApi::GetApiUtils() {
  AsaApi::IApiUtils* utils = g_apiUtils.load();
  if (utils == nullptr) throw host::UnknownGameName("no server utilities installed");
  return *utils;
}

API::Requests& API::Requests::Get() {
  static Requests requests;
  return requests;
}

bool API::Requests::CreatePostRequest(const std::string& url, const RequestCallback& callback,
                                      const std::string& body, const std::string& contentType,
                                      std::vector<std::string> headers) {
  API::IRequestsImpl* impl = g_requests.load();
  if (impl == nullptr) return false;
  return impl->CreatePostRequest(url, callback, body, contentType, headers);
}

std::string AsaApi::Tools::GetCurrentDir() {
  std::lock_guard lock(g_textMutex);
  return g_currentDir;
}

std::u16string AsaApi::Tools::Utf8Decode(const std::string& text) { return Utf8ToUtf16(text); }

std::vector<spdlog::sink_ptr>& GetLogSinks() {
  static std::vector<spdlog::sink_ptr> sinks;
  return sinks;
}

namespace host {

std::u16string GetProcessCommandLine() {
  std::lock_guard lock(g_textMutex);
  return g_commandLine;
}

int64_t NowUnixSeconds() {
  const auto now = std::chrono::system_clock::now().time_since_epoch();
  return std::chrono::duration_cast<std::chrono::seconds>(now).count() + g_clockOffset.load();
}

int64_t NowUnixMillis() {
  const auto now = std::chrono::system_clock::now().time_since_epoch();
  return std::chrono::duration_cast<std::chrono::milliseconds>(now).count() + g_clockOffset.load() * 1000;
}

void InstallApiUtils(AsaApi::IApiUtils* utils) { g_apiUtils.store(utils); }
void InstallRequests(API::IRequestsImpl* requests) { g_requests.store(requests); }

void SetCurrentDir(std::string dir) {
  std::lock_guard lock(g_textMutex);
  g_currentDir = std::move(dir);
}

void SetProcessCommandLine(std::u16string commandLine) {
  std::lock_guard lock(g_textMutex);
  g_commandLine = std::move(commandLine);
}

void AdvanceClock(int64_t seconds) { g_clockOffset.fetch_add(seconds); }
void ResetClock() { g_clockOffset.store(0); }

void InstallStandardAllocator() {
  Register(Game::FMemory_::Malloc, &StandardMalloc);
  Register(Game::FMemory_::Realloc, &StandardRealloc);
  Register(Game::FMemory_::Free, &StandardFree);
}

void SetHostErrorHandler(HostErrorHandler handler) {
  std::lock_guard lock(g_errorMutex);
  g_errorHandler = std::move(handler);
}

void ReportHostError(const std::string& what) {
  HostErrorHandler handler;
  {
    std::lock_guard lock(g_errorMutex);
    handler = g_errorHandler;
  }
  if (handler) handler(what);
}

}  // namespace host

#include "notify/VersionCheck.h"

#include <atomic>
#include <exception>

#include <nlohmann/json.hpp>

#include "AsaApi/Requests.h"
#include "core/Log.h"
#include "core/ScrambledText.h"

namespace TandorShop::VersionCheck {
namespace {

std::atomic<void (*)()> g_onAllowed{nullptr};

constexpr ScrambledText kServiceUrl{"https://modversion.tandorshop.dev/v1/check", 0x5A17C3E9D20B48F6ull};
static_assert(sizeof(kServiceUrl.Bytes) <= 52);

constexpr double kPluginVersion = 1.01;

float NumberOr0(const nlohmann::json& answer, const char* key) {
  if (!answer.contains(key)) return 0.f;
  return answer.at(key).get<float>();  // throws for a value that is not a number
}

}  // namespace

std::string ServiceUrl() {
  thread_local const DecodedText<sizeof(kServiceUrl.Bytes)> url(kServiceUrl);
  return url.str();
}

int32_t ToThousandths(float value) {
  const float scaled = value * 1000.f;
  return static_cast<int32_t>(static_cast<double>(scaled) + 0.5);
}

Answer ParseAnswer(const std::string& body) {
  const nlohmann::json answer = nlohmann::json::parse(body);
  if (!answer.is_object()) throw nlohmann::json::type_error::create(302, "the answer is not an object", &answer);
  return {ToThousandths(NumberOr0(answer, "version")), ToThousandths(NumberOr0(answer, "min_version"))};
}

Verdict Judge(const Answer& answer) {
  if (answer.MinVersion > PluginVersionThousandths) return Verdict::Refused;
  if (answer.Version > PluginVersionThousandths) return Verdict::UpdateAvailable;
  return Verdict::UpToDate;
}

void OnVersionAnswer(bool success, const std::string& body) {
  try {
    if (!success || body.empty()) {
      Log().warn(
          "Failed to check if Shop-Plugin is compatible with the Mod. Skipped loading to avoid potential crashes.");
      return;
    }
    Answer answer;
    try {
      answer = ParseAnswer(body);
    } catch (const std::exception& e) {
      Log().warn("version check error: {}", e.what());
      return;
    } catch (...) {
      Log().warn("version check error: {}", "Unknown exception");
      return;
    }
    switch (Judge(answer)) {
      case Verdict::Refused:
        Log().error("Minimum required shop version is {:.2f}, your version is {:.2f}. Shop not loaded.",
                    answer.MinVersion / 1000.0, kPluginVersion);
        return;
      case Verdict::UpdateAvailable:
        Log().warn("There is a new optional shop update to version {:.2f}, your version is {:.2f}",
                   answer.Version / 1000.0, kPluginVersion);
        break;
      case Verdict::UpToDate:
        Log().info("Shop is up to date.");
        break;
    }
    if (void (*allowed)() = g_onAllowed.load()) allowed();
  } catch (const std::exception& e) {
    Log().error("Starting the shop failed: {}", e.what());
  } catch (...) {
    Log().error("Starting the shop failed");
  }
}

void SetOnShopAllowed(void (*onAllowed)()) { g_onAllowed.store(onAllowed); }

void StartVersionCheck() {
  try {
    API::Requests::Get().CreatePostRequest(
        ServiceUrl(),
        [](bool success, std::string body, std::unordered_map<std::string, std::string>) {
          OnVersionAnswer(success, body);
        },
        "", "application/json", {});
  } catch (const std::exception& e) {
    Log().warn("version check error: {}", e.what());
  }
}

}  // namespace TandorShop::VersionCheck

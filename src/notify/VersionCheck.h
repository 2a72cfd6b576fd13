#pragma once
// Asks the version service whether this plugin version suits the companion mod,
// and reports when it does.
#include <cstdint>
#include <string>

namespace TandorShop::VersionCheck {

inline constexpr int32_t PluginVersionThousandths = 1010;  // 1.01

enum class Verdict { Refused, UpToDate, UpdateAvailable };

struct Answer {
  int32_t Version = 0;     // thousandths
  int32_t MinVersion = 0;  // thousandths
};

// Reads the service's JSON answer; throws on a body that is not JSON or a value that is not a number.
Answer ParseAnswer(const std::string& body);
Verdict Judge(const Answer& answer);
// Thousandths as the service's float becomes them (single precision, then rounded).
int32_t ToThousandths(float value);

// The service's address.
std::string ServiceUrl();

// Called (on the thread the answer arrives on) when the service allows the shop;
// installed once before the first check.
void SetOnShopAllowed(void (*onAllowed)());

// Sends the request and returns at once.
void StartVersionCheck();
// The request's completion (also used by tests of the verdicts).
void OnVersionAnswer(bool success, const std::string& body);

}  // namespace TandorShop::VersionCheck

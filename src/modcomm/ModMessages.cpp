#include "modcomm/ModMessages.h"

#include <array>
#include <exception>

#include "AsaApi/Game/AShooterPlayerController.h"
#include "AsaApi/Game/TandorShopMod.h"
#include "core/Clock.h"
#include "core/Log.h"
#include "core/ScrambledText.h"
#include "modcomm/RequestThrottle.h"

namespace ModComm {

decltype(Game::APrimalBuff_::BPNetExec)::Pointer g_netExecOriginal = nullptr;

namespace {

using TandorShop::DecodedText;
using TandorShop::ScrambledText;

constexpr std::size_t kMessageCount = static_cast<std::size_t>(ModMessage::Count);

constexpr ScrambledText kNetExec{TandorShopMod::NetExecFunction, 0x9E3779B97F4A7C15ull};
static_assert(sizeof(kNetExec.Bytes) <= 79);

// In ModMessage order.
constexpr ScrambledText kOpenShop{TandorShopMod::MsgOpenShop, 0xC2B2AE3D27D4EB4Full};
constexpr ScrambledText kCategory{TandorShopMod::MsgCategory, 0x165667B19E3779F9ull};
constexpr ScrambledText kBuy{TandorShopMod::MsgBuy, 0x85EBCA77C2B2AE63ull};
constexpr ScrambledText kSellList{TandorShopMod::MsgSellList, 0x27D4EB2F165667C5ull};
constexpr ScrambledText kSell{TandorShopMod::MsgSell, 0x61C8864680B583EBull};
constexpr ScrambledText kRedeemList{TandorShopMod::MsgRedeemList, 0xD6E8FEB86659FD93ull};
constexpr ScrambledText kRedeem{TandorShopMod::MsgRedeem, 0xA0761D6478BD642Full};
constexpr ScrambledText kTradeTargets{TandorShopMod::MsgTradeTargets, 0xE7037ED1A0B428DBull};
constexpr ScrambledText kTrade{TandorShopMod::MsgTrade, 0x8EBC6AF09C88C6E3ull};
constexpr ScrambledText kShopLog{TandorShopMod::MsgShopLog, 0x589965CC75374CC3ull};
constexpr ScrambledText kTradeLog{TandorShopMod::MsgTradeLog, 0x1D8E4E27C47D124Full};

// Game thread only.
std::array<FName, kMessageCount> g_names{};
bool g_namesBuilt = false;
std::array<RequestThrottle, kMessageCount> g_throttles{};
std::array<RequestHandler, kMessageCount> g_handlers{};

template <std::size_t N>
FName NameOf(const ScrambledText<N>& scrambled) {
  const DecodedText<N> text(scrambled);
  return FName(text.c_str(), EFindName::FNAME_Add);
}

void Dispatch(ModMessage message, AShooterPlayerController* sender, FBPNetExecParams* params) {
  using namespace Game::FBPNetExecParams_;
  const RequestHandler handler = g_handlers[static_cast<std::size_t>(message)];
  if (handler == nullptr) return;
  handler(sender, ModRequest{StringParam1.Of(params), IntParam1.Of(params), IntParam2.Of(params)});
}

}  // namespace

void SetRequestHandler(ModMessage message, RequestHandler handler) {
  if (message != ModMessage::Count) g_handlers[static_cast<std::size_t>(message)] = handler;
}

void BuildMessageNames() {
  g_names = {NameOf(kOpenShop),   NameOf(kCategory),     NameOf(kBuy),   NameOf(kSellList),
             NameOf(kSell),       NameOf(kRedeemList),   NameOf(kRedeem), NameOf(kTradeTargets),
             NameOf(kTrade),      NameOf(kShopLog),      NameOf(kTradeLog)};
  g_namesBuilt = true;
}

const char* NetExecFunctionName() {
  static const DecodedText<sizeof(kNetExec.Bytes)> name(kNetExec);
  return name.c_str();
}

bool AcceptRequest(ModMessage message, AShooterPlayerController* sender) {
  return g_throttles[static_cast<std::size_t>(message)].Accept(sender->LinkedPlayerIDField(),
                                                               TandorShop::Clock::NowUnixMillis());
}

bool ModMessageDetour(APrimalBuff* object, AShooterPlayerController* sender, FName message, FBPNetExecParams* params) {
  try {
    if (params != nullptr && sender != nullptr && g_namesBuilt) {
      for (std::size_t i = 0; i < kMessageCount; ++i) {
        if (!(g_names[i] == message)) continue;
        const auto kind = static_cast<ModMessage>(i);
        if (AcceptRequest(kind, sender)) Dispatch(kind, sender, params);
        break;
      }
    }
  } catch (const std::exception& e) {
    TandorShop::Log().error("A mod request failed: {}", e.what());
  } catch (...) {
    TandorShop::Log().error("A mod request failed");
  }
  return g_netExecOriginal(object, sender, message, params);
}

TandorShop::StateSize ThrottleSize(ModMessage message) {
  const RequestThrottle& throttle = g_throttles[static_cast<std::size_t>(message)];
  return {throttle.EntryCount(), throttle.Bytes()};
}

TandorShop::StateSize ThrottleSize() {
  TandorShop::StateSize size;
  for (std::size_t i = 0; i < kMessageCount; ++i) size += ThrottleSize(static_cast<ModMessage>(i));
  return size;
}

void ForgetMessages() {
  g_namesBuilt = false;
  for (RequestThrottle& throttle : g_throttles) throttle.Clear();
}

}  // namespace ModComm

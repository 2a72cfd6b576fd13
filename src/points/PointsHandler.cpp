#include "points/PointsHandler.h"

#include <exception>
#include <memory>

#include "AsaApi/ApiUtils.h"
#include "AsaApi/Commands.h"
#include "AsaApi/Game/AShooterCharacter.h"
#include "AsaApi/Game/AShooterGameMode.h"
#include "AsaApi/Game/AShooterPlayerController.h"
#include "AsaApi/Game/UWorld.h"
#include "AsaApi/Hooks.h"
#include "config/ShopConfig.h"
#include "core/Clock.h"
#include "core/GameInfo.h"
#include "core/Log.h"
#include "core/ThreadPool.h"
#include "db/DBHelper.h"
#include "modcomm/PlayerMessages.h"
#include "points/OnlinePlayers.h"
#include "shop/Eligibility.h"
#include "shop/Settlements.h"

namespace PointsHandler {
namespace {

using TandorShop::Log;
namespace Mode = Game::AShooterGameMode_;

decltype(Mode::Logout)::Pointer g_logout = nullptr;
decltype(Mode::PostLogin)::Pointer g_postLogin = nullptr;
decltype(Game::AShooterCharacter_::PossessedBy)::Pointer g_possessedBy = nullptr;

constexpr const char* kTimerName = "ts.points";

// Reads the stored seconds and starts the player's reward clock from them.
void PostLoadSeconds(const FString& eosId) {
  TandorShop::Pool().PostTask(PoolTask::MakeWork(
      [eosId](ArkTandor_AsyncTaskResults& result) {
        result.Texts.Add(eosId);
        const DBHelper::PlayerPointsRow row = DBHelper::loadPlayerPoints(eosId);
        result.Numbers.Add(static_cast<float>(row.points));
        result.Numbers.Add(static_cast<float>(row.secondsWithoutReward));
      },
      [](ArkTandor_AsyncTaskResults result) {
        if (result.Texts.IsEmpty() || result.Numbers.Num() < 2) return;
        if (OnlinePlayer* player = FindOnline(result.Texts[0]))
          player->LastRewardTime = TandorShop::Clock::NowUnix() - static_cast<int64_t>(result.Numbers[1]);
      }).OrderedBy(SessionOrderKey(eosId)));
}

void PostOnJoinRewards(const FString& eosId, AShooterPlayerController* controller) {
  TArray<DBHelper::OnJoinReward> rewards;
  for (const auto& reward : TandorShop::Eligibility::AvailableRewardPackets(eosId, controller))
    rewards.Add(DBHelper::OnJoinReward{reward.Name, reward.InitAmountIfInViableGroups});
  TandorShop::Pool().PostTask(PoolTask::MakeJob([rewards, eosId] { DBHelper::storeOnJoinRewards(rewards, eosId); })
                                      .OrderedBy(SessionOrderKey(eosId)));
}

void RegisterLogin(AShooterPlayerController* controller, const FString& eosId) {
  AddOnline(eosId);
  PlayerLoginDB login;
  login.EosId = eosId;
  login.CharacterName = controller->GetPlayerCharacterName();
  login.TribeName = ModComm::TribeNameOf(controller);
  login.LoginTime = TandorShop::Clock::NowUnix();
  login.ServerId = TandorShop::GameInfo::ServerId();
  TandorShop::Pool().PostTask(PoolTask::MakeJob([login] { DBHelper::recordLogin(login); }).OrderedBy(SessionOrderKey(eosId)));
  PostLoadSeconds(eosId);
  PostOnJoinRewards(eosId, controller);
  PendingLogins().erase(eosId);
}

void PostLoginDetour(AShooterGameMode* mode, APlayerController* player) {
  try {
    if (player != nullptr) {
      const FString eosId = reinterpret_cast<AShooterPlayerController*>(player)->GetUniqueNetIdAsString();
      PendingLogins().insert(eosId);
    }
  } catch (const std::exception& e) {
    Log().error("Login bookkeeping failed: {}", e.what());
  }
  g_postLogin(mode, player);
}

void PossessedByDetour(AShooterCharacter* character, AController* controller) {
  g_possessedBy(character, controller);
  try {
    if (controller == nullptr || PendingLogins().empty()) return;
    auto* player = reinterpret_cast<AShooterPlayerController*>(controller);
    const FString eosId = player->GetUniqueNetIdAsString();
    if (IsPending(eosId)) RegisterLogin(player, eosId);
  } catch (const std::exception& e) {
    Log().error("Login bookkeeping failed: {}", e.what());
  }
}

void LogoutDetour(AShooterGameMode* mode, AController* exiting) {
  g_logout(mode, exiting);
  try {
    if (exiting == nullptr) return;
    const FString eosId = reinterpret_cast<AShooterPlayerController*>(exiting)->GetUniqueNetIdAsString();
    const int64_t now = TandorShop::Clock::NowUnix();
    TandorShop::Pool().PostTask(
        PoolTask::MakeJob([logout = PlayerLogoutDB{eosId, now}] { DBHelper::recordLogout(logout); })
            .OrderedBy(SessionOrderKey(eosId)));
    const OnlinePlayer* player = FindOnline(eosId);
    if (player == nullptr) return;
    const int32_t interval = ConfigHelper::ShopConfig().RewardIntervalSeconds;
    const int32_t seconds = SecondsToStore(player->LastRewardTime, now, interval);
    // A reward still on its way: its credit runs first (same order key); when it
    // did not commit, the seconds count from before it, so it stays due.
    const std::shared_ptr<RewardInFlight> reward = player->Reward;
    const int32_t secondsUnpaid = reward ? SecondsToStore(reward->PreviousRewardTime, now, interval) : seconds;
    OnlinePlayers().erase(eosId);  // `player` is gone from here on
    if (seconds >= 0 || secondsUnpaid >= 0)
      TandorShop::Pool().PostTask(
          PoolTask::MakeJob([eosId, seconds, secondsUnpaid, reward] {
            const int32_t stored = reward && !reward->Credited ? secondsUnpaid : seconds;
            if (stored >= 0) DBHelper::saveSecondsWithoutReward(eosId, stored);
          }).OrderedBy(SessionOrderKey(eosId)));
  } catch (const std::exception& e) {
    Log().error("Logout bookkeeping failed: {}", e.what());
  }
}

}  // namespace

void Start() {
  auto& hooks = AsaApi::GetHooks();
  hooks.SetHook(Mode::Logout, &LogoutDetour, &g_logout);
  hooks.SetHook(Mode::PostLogin, &PostLoginDetour, &g_postLogin);
  hooks.SetHook(Game::AShooterCharacter_::PossessedBy, &PossessedByDetour, &g_possessedBy);
  AsaApi::GetCommands().AddOnTimerCallback(FString(kTimerName), [] {
    try {
      OnPointsTimer();
    } catch (const std::exception& e) {
      Log().error("The points timer failed: {}", e.what());
    } catch (...) {
      Log().error("The points timer failed");
    }
  });
}

void Stop() {
  auto& hooks = AsaApi::GetHooks();
  hooks.DisableHook(Mode::Logout, &LogoutDetour);
  hooks.DisableHook(Mode::PostLogin, &PostLoginDetour);
  hooks.DisableHook(Game::AShooterCharacter_::PossessedBy, &PossessedByDetour);
  AsaApi::GetCommands().RemoveOnTimerCallback(FString(kTimerName));
  TandorShop::Settlements::Forget();
}

void RegisterPlayersOnline() {
  UWorld* world = AsaApi::GetApiUtils().GetWorld();
  if (world == nullptr) return;
  for (const auto& weak : world->PlayerControllerListField()) {
    auto* player = reinterpret_cast<AShooterPlayerController*>(weak.Get());
    if (player == nullptr) continue;
    const FString eosId = player->GetUniqueNetIdAsString();
    AddOnline(eosId);
    PostLoadSeconds(eosId);
  }
}

void Forget() {
  PendingLogins().clear();
  OnlinePlayers().clear();
}

}  // namespace PointsHandler

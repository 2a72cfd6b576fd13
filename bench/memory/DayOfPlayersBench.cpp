// The plugin's own state over a simulated day, and what the request throttles cost.
//
//   BM_DayOfPlayers     24 simulated hours on the simulated server with the real
//                       database: players join and leave on a daily curve (100
//                       online at 20:00), open the shop, browse categories, read
//                       their logs, send the mod's other requests, earn the passive
//                       reward. Prints the state every hour; then everybody leaves,
//                       then new players come until 10,000 distinct players have
//                       used every kind of request. Counters: bytes per online
//                       player at the peak, state after the day and after 10,000
//                       players, process RSS.
//   BM_ThrottleAccept   one request checked against a throttle while N players
//                       each send one request every gap (the throttle holds the
//                       players of the last gap or two, and forgets the rest).
//
//   eval "$(scripts/db env)"; build/release/bench/memory/tandorshop_bench_memory
//   TANDORSHOP_BENCH_KEEP_CONNECTIONS=0 runs with a connection per operation;
//   TANDORSHOP_BENCH_HOURS and TANDORSHOP_BENCH_PLAYERS shorten the run (24, 10000).
#include <cstdio>
#include <cstdlib>

#include <benchmark/benchmark.h>

#include "PlayerDay.h"
#include "StateReport.h"
#include "modcomm/RequestThrottle.h"
#include "sim/engine/EngineRuntime.h"
#include "BenchMain.h"

namespace {

using membench::StateReport;

void Print(const std::string& text) {
  std::fputs(text.c_str(), stdout);
  std::fflush(stdout);
}

int EnvNumber(const char* name, int fallback) {
  const char* value = std::getenv(name);
  return value == nullptr ? fallback : std::atoi(value);
}

void Count(benchmark::State& state, const std::string& name, double value) {
  state.counters[name] = benchmark::Counter(value);
}

void BM_DayOfPlayers(benchmark::State& state) {
  for (auto _ : state) {
    membench::PlayerDay day;
    const StateReport start = membench::ReadState();
    Print("\nThe plugin's own state over the day (bytes: capacity of lists and the texts they own)\n");
    Print(membench::TableHeader());
    Print(membench::TableRow("start", 0, 0, 0, start));
    day.RunHours(EnvNumber("TANDORSHOP_BENCH_HOURS", 24), [&](int hour) {
      Print(membench::TableRow(std::to_string(hour) + ":00", day.Online(), day.Sessions(), day.DistinctPlayers(),
                               membench::ReadState()));
    });
    const StateReport& peak = day.AtPeak();
    Print(membench::TableRow("peak", day.PeakOnline(), 0, 0, peak));
    day.EveryoneLeaves();
    const StateReport afterDay = membench::ReadState();
    Print(membench::TableRow("empty", 0, day.Sessions(), day.DistinctPlayers(), afterDay));
    const std::size_t dayPlayers = day.DistinctPlayers(), daySessions = day.Sessions();
    day.NewPlayersUntil(static_cast<std::size_t>(EnvNumber("TANDORSHOP_BENCH_PLAYERS", 10'000)));
    const StateReport after10k = membench::ReadState();
    Print(membench::TableRow("10k", 0, day.Sessions(), day.DistinctPlayers(), after10k));
    Print("\n");

    const double peakOnline = static_cast<double>(day.PeakOnline());
    Count(state, "peak_online", peakOnline);
    Count(state, "day_sessions", static_cast<double>(daySessions));
    Count(state, "day_distinct_players", static_cast<double>(dayPlayers));
    Count(state, "peak_session_B_per_player", static_cast<double>(peak.SessionStateBytes()) / peakOnline);
    Count(state, "peak_all_B_per_player", static_cast<double>(peak.PlayerStateBytes()) / peakOnline);
    Count(state, "peak_online_list_B", static_cast<double>(peak.Online.Bytes));
    Count(state, "peak_queues_B", static_cast<double>(peak.Queues.Bytes));
    Count(state, "caches_B", static_cast<double>(afterDay.CacheBytes()));
    Count(state, "empty_session_state_B", static_cast<double>(afterDay.SessionStateBytes()));
    Count(state, "empty_throttle_entries", static_cast<double>(afterDay.Throttles.Entries));
    Count(state, "empty_throttle_B", static_cast<double>(afterDay.Throttles.Bytes));
    Count(state, "10k_throttle_entries", static_cast<double>(after10k.Throttles.Entries));
    Count(state, "10k_throttle_B", static_cast<double>(after10k.Throttles.Bytes));
    Count(state, "10k_session_state_B", static_cast<double>(after10k.SessionStateBytes()));
    Count(state, "rss_start_MiB", static_cast<double>(start.RssBytes) / 1048576.0);
    Count(state, "rss_peak_MiB", static_cast<double>(peak.RssBytes) / 1048576.0);
    Count(state, "rss_empty_MiB", static_cast<double>(afterDay.RssBytes) / 1048576.0);
    Count(state, "rss_10k_MiB", static_cast<double>(after10k.RssBytes) / 1048576.0);
    Count(state, "heap_empty_MiB", static_cast<double>(afterDay.HeapBytes) / 1048576.0);
    Count(state, "heap_10k_MiB", static_cast<double>(after10k.HeapBytes) / 1048576.0);
  }
}
BENCHMARK(BM_DayOfPlayers)->Iterations(1)->Unit(benchmark::kSecond);

// N players each send a request of the kind once per gap, spread evenly over it:
// every iteration is one of them, so the throttle holds about N entries and
// sweeps the old ones once per gap.
void BM_ThrottleAccept(benchmark::State& state) {
  const auto players = static_cast<uint64_t>(state.range(0));
  constexpr int64_t gap = ModComm::RequestThrottle::MinimumGapMillis;
  ModComm::RequestThrottle throttle;
  uint64_t request = 0;
  for (auto _ : state) {
    const int64_t now = static_cast<int64_t>(request * static_cast<uint64_t>(gap) / players);
    benchmark::DoNotOptimize(throttle.Accept(request % players + 1, now));
    ++request;
  }
  Count(state, "entries", static_cast<double>(throttle.EntryCount()));
  Count(state, "B_per_kind", static_cast<double>(throttle.Bytes()));
  Count(state, "B_all_11_kinds", static_cast<double>(throttle.Bytes() * 11));
}
BENCHMARK(BM_ThrottleAccept)->Arg(100)->Arg(1'000)->Arg(10'000)->Unit(benchmark::kNanosecond);

}  // namespace

int main(int argc, char** argv) { return benchsupport::RunBenchmarks(argc, argv); }

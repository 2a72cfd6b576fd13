#include "BenchMain.h"

#include <benchmark/benchmark.h>

#include "sim/engine/EngineRuntime.h"

namespace benchsupport {

int RunBenchmarks(int argc, char** argv, const std::function<void()>& before, const std::function<void()>& after) {
  sim::InstallEngineRuntime();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  if (before) before();
  benchmark::RunSpecifiedBenchmarks();
  if (after) after();
  benchmark::Shutdown();
  return 0;
}

}  // namespace benchsupport

#pragma once
// The common main of the benchmark programs: the game allocator first (FString
// and TArray live in it), then Google Benchmark with the command line.
#include <functional>

namespace benchsupport {

// Runs the registered benchmarks; `before` runs after the command line was read
// (registering benchmarks made at run time), `after` once they are done.
int RunBenchmarks(int argc, char** argv, const std::function<void()>& before = {},
                  const std::function<void()>& after = {});

}  // namespace benchsupport

#include <gtest/gtest.h>

#include "sim/engine/EngineRuntime.h"

int main(int argc, char** argv) {
  sim::InstallEngineRuntime();
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}

// The Windows test programs' main: the engine basics the plugin's game types
// need (allocator, names), without the simulator.
#include <gtest/gtest.h>

#include "AsaApiRuntime/BasicRuntime.h"

int main(int argc, char** argv) {
  host::InstallBasicRuntime();
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}

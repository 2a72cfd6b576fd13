#pragma once
// tandorshop-sim's command line.
#include <ostream>
#include <string>

#include "sim/scenario/ServerLauncher.h"

namespace simapp {

struct Arguments {
  sim::LaunchSettings Launch;
  std::string Scenario;         // --scenario FILE: run it and exit
  bool ServerDirGiven = false;
};

void Usage(std::ostream& out);
// False when the command line is not usable (Usage tells what is).
bool Parse(int argc, char** argv, Arguments& out);
// A new empty folder under the system's temporary folder.
std::string MakeScratchFolder();

}  // namespace simapp

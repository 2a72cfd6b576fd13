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
  bool ShowHelp = false;        // --help: print the usage and exit
  bool ShowVersion = false;     // --version without a value: print the program's version and exit
};

void Usage(std::ostream& out);
// False when the command line is not usable (Usage tells what is). --help and a
// bare --version are answered whatever else the line holds.
bool Parse(int argc, char** argv, Arguments& out);
// A new empty folder under the system's temporary folder.
std::string MakeScratchFolder();

}  // namespace simapp

// tandorshop-storm's entry: the options, a work folder, the storm and its exit code.
#include <stdlib.h>

#include <filesystem>
#include <iostream>
#include <string>

#include "Storm.h"
#include "StormOptions.h"

namespace fs = std::filesystem;

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--help") return std::cout << storm::kUsage, 0;
    if (arg == "--version") return std::cout << "tandorshop-storm " << TANDORSHOP_PROJECT_VERSION << "\n", 0;
  }
  storm::Options options;
  try {
    options = storm::ParseOptions(argc, argv);
  } catch (const std::exception& e) {
    std::cerr << "tandorshop-storm: " << e.what() << "\n";
    return 2;
  }
  bool madeWorkDir = false;
  if (options.WorkDir.empty()) {
    std::string pattern = (fs::temp_directory_path() / "tandorshop-storm-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) return 2;
    // The cluster's nodes run as the database's own user when the storm runs as
    // root: they must reach their folders under this one.
    fs::permissions(pattern, fs::perms::group_read | fs::perms::group_exec | fs::perms::others_read |
                                 fs::perms::others_exec, fs::perm_options::add);
    options.WorkDir = pattern;
    madeWorkDir = true;
  }
  options.WorkDir = fs::absolute(options.WorkDir).string();
  int code = 1;
  try {
    storm::Storm storm(options);
    code = storm.Run();
  } catch (const std::exception& e) {
    std::cerr << "tandorshop-storm: " << e.what() << std::endl;
    code = 1;
  }
  if (madeWorkDir && code == 0 && !options.KeepWorkDir) {
    std::error_code ignored;
    fs::remove_all(options.WorkDir, ignored);
  } else {
    std::cout << "storm: work folder kept: " << options.WorkDir << std::endl;
  }
  return code;
}

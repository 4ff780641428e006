#include <exception>
#include <iostream>

#include "cli/commands.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  try {
    return vv::cli::run(args);
  } catch (const std::exception& ex) {
    std::cerr << "veverodu-cli: " << ex.what() << '\n';
    return 2;
  }
}

#include <cerrno>
#include <csignal>
#include <cstring>
#include <exception>
#include <iostream>

#include "cli/commands.h"

int main(int argc, char** argv) {
  // A closed pipe makes a write fail, reported below, instead of ending the program silently.
  std::signal(SIGPIPE, SIG_IGN);
  std::vector<std::string> args(argv + 1, argv + argc);
  int status;
  try {
    status = vv::cli::run(args);
  } catch (const std::exception& ex) {
    std::cerr << "veverodu-cli: " << ex.what() << '\n';
    return 2;
  }
  std::cout.flush();
  if (!std::cout) {
    std::cerr << "veverodu-cli: cannot write the output: " << std::strerror(errno) << '\n';
    return 2;
  }
  return status;
}

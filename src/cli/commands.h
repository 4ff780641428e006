// The commands of veverodu-cli. Each returns the exit status: 0 done,
// 2 for a usage error or bad input (one line on standard error).
#pragma once

#include <string>
#include <vector>

namespace vv::cli {

int run(const std::vector<std::string>& args);

}  // namespace vv::cli

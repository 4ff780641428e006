#include "test_support.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

#include "rules/position_text.h"

namespace vv::test {

Position position(const std::string& text) {
  Position p{};
  std::string error;
  if (!parse_position(text, p, error)) throw std::invalid_argument("bad test position: " + error);
  return p;
}

Engine engine(const std::string& text) {
  Engine e;
  e.pos = position(text);
  return e;
}

Position place(std::initializer_list<Placed> pieces) {
  Position p{};
  for (const Placed& piece : pieces) p.board[piece.x][piece.y] = piece.code;
  return p;
}

}  // namespace vv::test

namespace {

// Every test runs in a folder of its own, so the settings file a game
// object writes at start-up never lands in the source tree.
class OwnFolder : public ::testing::Environment {
 public:
  void SetUp() override {
    char name[] = "/tmp/veverodu-tests-XXXXXX";
    if (mkdtemp(name) && chdir(name) == 0) folder_ = name;
  }
  void TearDown() override {
    if (!folder_.empty()) std::filesystem::remove_all(folder_);
  }

 private:
  std::string folder_;
};

const auto* const own_folder = ::testing::AddGlobalTestEnvironment(new OwnFolder);

}  // namespace

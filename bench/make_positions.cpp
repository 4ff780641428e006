// Writes the benchmark's position file: positions with the computer to move,
// taken from games the computer plays against itself (the person's side is
// played by searching the board turned round). Deterministic: the same file
// every run.
#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "com/search.h"
#include "influence/survey.h"
#include "rules/move.h"
#include "rules/piece.h"
#include "rules/position_text.h"
#include "rules/start_position.h"

namespace {

using namespace vv;

// The board turned by a half turn with owners exchanged: the person's side
// becomes the computer's.
Position turned(const Position& p) {
  Position t{};
  for (int x = 1; x <= 9; ++x)
    for (int y = 1; y <= 9; ++y) t.board[10 - x][10 - y] = -p.board[x][y];
  for (int s = 1; s <= 4; ++s) {
    t.man_hand[s] = p.com_hand[s];
    t.com_hand[s] = p.man_hand[s];
  }
  t.man_hand_count = p.com_hand_count;
  t.com_hand_count = p.man_hand_count;
  return t;
}

bool has_king(const Position& p, int king) {
  for (int x = 1; x <= 9; ++x)
    for (int y = 1; y <= 9; ++y)
      if (p.board[x][y] == king) return true;
  return false;
}

// Plays the move the computer's search at `level` chooses for the top side
// of p; false when it has none.
bool play_top(Position& p, Random& rng, int level) {
  Engine e;
  e.pos = p;
  e.com_level = level;
  e.rng = rng;
  survey_influence(e.pos, e.influence);
  QuietHooks quiet;
  const SearchResult r = com_search(e, quiet);
  rng = e.rng;
  if (!r.found) return false;
  const Candidate& m = r.best;
  const bool board_move = m.from_x >= 1 && m.from_x <= 9;
  apply_move(p, m.from_x, m.from_y, m.to_x, m.to_y, board_move ? face_after_move(m.piece) : m.piece);
  return true;
}

}  // namespace

int main() {
  std::vector<std::string> lines;
  std::set<std::string> seen;
  Random rng;
  for (int game = 0; game < 40 && lines.size() < 150; ++game) {
    Position p{};
    place_start_position(p);
    for (int ply = 0; ply < 160; ++ply) {
      if (!has_king(p, KING) || !has_king(p, -KING)) break;
      // Every third position of a game, so openings, middle games and endings all appear.
      if (ply % 3 == game % 3) {
        const std::string text = format_position(p);
        if (seen.insert(text).second) lines.push_back(text);
      }
      const int level = 1 + (game + ply) % 3;
      if (!play_top(p, rng, level)) break;
      Position t = turned(p);
      if (!has_king(t, KING) || !has_king(t, -KING)) break;
      if (!play_top(t, rng, 3)) break;
      p = turned(t);
    }
  }
  // Middle games with full hands: every third position again, both hands filled.
  const std::size_t played = lines.size();
  for (std::size_t i = 0; i < played; i += 3) {
    Position p{};
    std::string error;
    parse_position(lines[i], p, error);
    const int com_fill[5] = {0, 2, 1, 1, 1};
    for (int s = 1; s <= 4; ++s) {
      p.com_hand[s] += com_fill[s];
      p.man_hand[s] += 1;
    }
    lines.push_back(format_position(p));
  }
  for (const std::string& line : lines) std::printf("%s\n", line.c_str());
  return 0;
}

#include "influence/survey.h"

#include <cstddef>
#include <cstring>

#include "rules/move_check.h"
#include "rules/piece.h"

namespace vv {
namespace {

// What a piece writes beyond the reach count depends on its kind.
enum class Kind { pawn, tokin, lance, knight, silver, gold, bishop, rook, king };

// A piece giving check marks 9 on its own square: a pawn, silver, gold or
// tokin on that square alone, a knight on the king's square too, and a
// slider marks 1 on the squares between it and the king. A king marks
// nothing.
constexpr bool is_slider(Kind k) { return k == Kind::lance || k == Kind::rook || k == Kind::bishop; }
constexpr bool marks_own_square(Kind k) {
  return k == Kind::pawn || k == Kind::silver || k == Kind::gold || k == Kind::tokin;
}

// The maps a survey resets, as they stand after the reset.
struct ResetTemplate {
  Influence maps{};
  ResetTemplate() {
    for (int x = 1; x <= 9; ++x)
      for (int y = 1; y <= 9; ++y) {
        maps.man_capturer_piece[x][y] = NO_MAN_CAPTURER;
        maps.com_capturer_piece[x][y] = NO_PIECE;
        maps.man_guard_piece[x][y] = NO_PIECE;
        maps.com_guard_piece[x][y] = NO_PIECE;
      }
  }
};
const ResetTemplate reset_template;

inline bool on_board(int x, int y) { return x >= 1 && x <= 9 && y >= 1 && y <= 9; }

// A MAN piece with code k on (px, py) reaches (x, y). On a MAN piece it may
// become the guard (the smallest code wins); on a COM piece the capturer
// (the largest code wins, the first in scan order on a tie, and its square
// is written).
template <Kind K>
inline void record_man(const Board& b, Influence& m, int k, int px, int py, int x, int y) {
  m.man_reach_count[x][y] += 1;
  const int target = b[x][y];
  if (target < 0) {
    if (m.man_guard_piece[x][y] > k) m.man_guard_piece[x][y] = static_cast<std::int16_t>(k);
  } else if (target > 0) {
    if (m.man_capturer_piece[x][y] < k) {
      m.man_capturer_piece[x][y] = static_cast<std::int16_t>(k);
      m.man_capturer_x[x][y] = static_cast<std::int16_t>(px);
      m.man_capturer_y[x][y] = static_cast<std::int16_t>(py);
    }
    if (target == KING) {
      if constexpr (marks_own_square(K)) {
        m.man_check_map[px][py] = 9;
      } else if constexpr (K == Kind::knight) {
        m.man_check_map[px][py] = 9;
        m.man_check_map[x][y] = 9;
      }
    }
  }
}

// A COM piece with code k on (px, py) reaches (x, y). On a COM piece it may
// become the guard (the smallest code wins, gold and tokin as GOLD), and a
// knight, silver or slider then writes its square. On a MAN piece only a
// pawn or a slider may become the capturer, and only a slider writes its
// square. Where no square is written the old one stays: see maps.h.
template <Kind K>
inline void record_com(const Board& b, Influence& m, int k, int px, int py, int x, int y) {
  m.com_reach_count[x][y] += 1;
  const int target = b[x][y];
  if (target >= 10) {
    const int g = (K == Kind::gold || K == Kind::tokin) ? GOLD : k;
    if (m.com_guard_piece[x][y] > g) {
      m.com_guard_piece[x][y] = static_cast<std::int16_t>(g);
      if constexpr (K == Kind::knight || K == Kind::silver || is_slider(K)) {
        m.com_guard_x[x][y] = static_cast<std::int16_t>(px);
        m.com_guard_y[x][y] = static_cast<std::int16_t>(py);
      }
    }
  } else if (target <= -10) {
    if constexpr (K == Kind::pawn || is_slider(K)) {
      if (m.com_capturer_piece[x][y] > k) {
        m.com_capturer_piece[x][y] = static_cast<std::int16_t>(k);
        if constexpr (is_slider(K)) {
          m.com_capturer_x[x][y] = static_cast<std::int16_t>(px);
          m.com_capturer_y[x][y] = static_cast<std::int16_t>(py);
        }
      }
    }
    if (target == -KING) {
      if constexpr (marks_own_square(K)) {
        m.com_check_map[px][py] = 9;
      } else if constexpr (K == Kind::knight) {
        m.com_check_map[px][py] = 9;
        m.com_check_map[x][y] = 9;
      }
    }
  }
}

template <bool Man, Kind K>
inline void record(const Board& b, Influence& m, int k, int px, int py, int x, int y) {
  if constexpr (Man)
    record_man<K>(b, m, k, px, py, x, y);
  else
    record_com<K>(b, m, k, px, py, x, y);
}

template <bool Man, Kind K>
inline void step(const Board& b, Influence& m, int k, int px, int py, int x, int y) {
  if (on_board(x, y)) record<Man, K>(b, m, k, px, py, x, y);
}

// One run of a lance, rook or bishop: through empty squares and through the
// other side's king (marking the check), ending on any other piece.
template <bool Man, Kind K>
inline void run(const Board& b, Influence& m, int k, int x, int y, int dx, int dy) {
  const int enemy_king = Man ? KING : -KING;
  auto& check_map = Man ? m.man_check_map : m.com_check_map;
  int sx = x + dx, sy = y + dy;
  while (on_board(sx, sy)) {
    record<Man, K>(b, m, k, x, y, sx, sy);
    const int here = b[sx][sy];
    if (here != EMPTY) {
      if (here != enemy_king) return;
      for (int bx = x + dx, by = y + dy; bx != sx || by != sy; bx += dx, by += dy) check_map[bx][by] = 1;
      check_map[x][y] = 9;
    }
    sx += dx;
    sy += dy;
  }
}

template <bool Man>
inline void straight(const Board& b, Influence& m, int code, int x, int y, int dx, int dy) {
  if (iabs(code) == LANCE)
    run<Man, Kind::lance>(b, m, code, x, y, dx, dy);
  else
    run<Man, Kind::rook>(b, m, code, x, y, dx, dy);
}

inline void straight_run(const Board& b, Influence& m, int code, int x, int y, int dx, int dy) {
  if (code < 0)
    straight<true>(b, m, code, x, y, dx, dy);
  else
    straight<false>(b, m, code, x, y, dx, dy);
}

template <bool Man, Kind K>
inline void rook_runs(const Board& b, Influence& m, int code, int x, int y) {
  run<Man, K>(b, m, code, x, y, 0, 1);   // down
  run<Man, K>(b, m, code, x, y, 0, -1);  // up
  run<Man, K>(b, m, code, x, y, 1, 0);   // right
  run<Man, K>(b, m, code, x, y, -1, 0);  // left
}

template <bool Man>
inline void bishop_runs(const Board& b, Influence& m, int code, int x, int y) {
  run<Man, Kind::bishop>(b, m, code, x, y, -1, -1);  // up-left
  run<Man, Kind::bishop>(b, m, code, x, y, 1, -1);   // up-right
  run<Man, Kind::bishop>(b, m, code, x, y, -1, 1);   // down-left
  run<Man, Kind::bishop>(b, m, code, x, y, 1, 1);    // down-right
}

template <Kind K>
inline void man_gold(const Board& b, Influence& m, int code, int x, int y) {
  step<true, K>(b, m, code, x, y, x, y - 1);
  step<true, K>(b, m, code, x, y, x - 1, y - 1);
  step<true, K>(b, m, code, x, y, x + 1, y - 1);
  step<true, K>(b, m, code, x, y, x, y + 1);
  step<true, K>(b, m, code, x, y, x - 1, y);
  step<true, K>(b, m, code, x, y, x + 1, y);
}

inline void com_gold(const Board& b, Influence& m, int x, int y) {
  // Golds and tokins both record as GOLD and never write a square.
  step<false, Kind::gold>(b, m, GOLD, x, y, x, y - 1);
  step<false, Kind::gold>(b, m, GOLD, x, y, x, y + 1);
  step<false, Kind::gold>(b, m, GOLD, x, y, x - 1, y + 1);
  step<false, Kind::gold>(b, m, GOLD, x, y, x + 1, y + 1);
  step<false, Kind::gold>(b, m, GOLD, x, y, x - 1, y);
  step<false, Kind::gold>(b, m, GOLD, x, y, x + 1, y);
}

template <bool Man>
inline void king_steps(const Board& b, Influence& m, int code, int x, int y) {
  for (int dx = -1; dx <= 1; ++dx)
    for (int dy = -1; dy <= 1; ++dy)
      if (dx != 0 || dy != 0) step<Man, Kind::king>(b, m, code, x, y, x + dx, y + dy);
}

}  // namespace

const Influence& survey_reset_maps() { return reset_template.maps; }

void survey_influence(Position& p, Influence& m) {
  std::memcpy(static_cast<void*>(&m), &reset_template.maps, RESET_BYTES);
  const Board& b = p.board;
  for (int x = 1; x <= 9; ++x) {
    for (int y = 1; y <= 9; ++y) {
      const int k = b[x][y];
      switch (k) {
        case EMPTY:
          break;
        case -PAWN:
          step<true, Kind::pawn>(b, m, k, x, y, x, y - 1);
          break;
        case -TOKIN:
          man_gold<Kind::tokin>(b, m, k, x, y);
          break;
        case -LANCE:
          run<true, Kind::lance>(b, m, k, x, y, 0, -1);
          break;
        case -KNIGHT:
          step<true, Kind::knight>(b, m, k, x, y, x - 1, y - 2);
          step<true, Kind::knight>(b, m, k, x, y, x + 1, y - 2);
          break;
        case -SILVER:
          step<true, Kind::silver>(b, m, k, x, y, x, y - 1);
          step<true, Kind::silver>(b, m, k, x, y, x - 1, y - 1);
          step<true, Kind::silver>(b, m, k, x, y, x + 1, y - 1);
          step<true, Kind::silver>(b, m, k, x, y, x - 1, y + 1);
          step<true, Kind::silver>(b, m, k, x, y, x + 1, y + 1);
          break;
        case -GOLD:
          man_gold<Kind::gold>(b, m, k, x, y);
          break;
        case -BISHOP:
          bishop_runs<true>(b, m, k, x, y);
          break;
        case -ROOK:
          rook_runs<true, Kind::rook>(b, m, k, x, y);
          break;
        case -KING:
          p.man_king_x = x;
          p.man_king_y = y;
          king_steps<true>(b, m, k, x, y);
          break;
        case PAWN:
          step<false, Kind::pawn>(b, m, k, x, y, x, y + 1);
          break;
        case TOKIN:
        case GOLD:
          com_gold(b, m, x, y);
          break;
        case LANCE:
          run<false, Kind::lance>(b, m, k, x, y, 0, 1);
          break;
        case KNIGHT:
          step<false, Kind::knight>(b, m, k, x, y, x - 1, y + 2);
          step<false, Kind::knight>(b, m, k, x, y, x + 1, y + 2);
          break;
        case SILVER:
          step<false, Kind::silver>(b, m, k, x, y, x, y + 1);
          step<false, Kind::silver>(b, m, k, x, y, x - 1, y + 1);
          step<false, Kind::silver>(b, m, k, x, y, x + 1, y + 1);
          step<false, Kind::silver>(b, m, k, x, y, x - 1, y - 1);
          step<false, Kind::silver>(b, m, k, x, y, x + 1, y - 1);
          break;
        case BISHOP:
          bishop_runs<false>(b, m, k, x, y);
          break;
        case ROOK:
          rook_runs<false, Kind::rook>(b, m, k, x, y);
          break;
        case KING:
          p.com_king_x = x;
          p.com_king_y = y;
          king_steps<false>(b, m, k, x, y);
          break;
        default:
          break;  // not a piece code
      }
    }
  }
}

}  // namespace vv

#include "com/evaluate.h"

#include "com/danger.h"
#include "com/escape_mate.h"
#include "com/surveys.h"
#include "rules/move_check.h"

namespace vv {
namespace {

constexpr double KING_CAPTURE = 9999;
constexpr double MATE = 9998;

// The third layer, by the kind of the moving piece. The short names read the
// position after the candidate: B the board, MR and CR the MAN and COM reach
// counts, MRB and CRB those counts at the start of the computer's turn.
double layer_three(Engine& e, double score, int captured, int piece, int fx, int fy, int tx, int ty) {
  const auto& B = e.pos.board;
  const Position& p = e.pos;
  const Influence& m = e.influence;
  const auto& MR = m.man_reach_count;
  const auto& CR = m.com_reach_count;
  const auto& MRB = e.com_maps.man_reach_before;
  const auto& CRB = e.com_maps.com_reach_before;
  const bool drop = fx < 0;
  const int kx = p.man_king_x, ky = p.man_king_y;
  const int man_capturer = m.man_capturer_piece[tx][ty];  // of the moved piece

  switch (piece) {
    case PAWN: {
      if (p.com_hand[2] > 0) score += lance_target_value(e, tx, ty);
      if (p.com_hand[3] > 0) score += knight_target_value(e, tx, ty);
      if (ty < 9) {
        const int ahead = B[tx][ty + 1];
        if (ahead == GOLD)
          score += 0.5;
        else if (ahead == ROOK)
          score -= 1;
        // A MAN piece other than a pawn in front, with no safe square to go to.
        if (ahead < -PAWN && count_safe_destinations(e, tx, ty + 1, ahead) == 0) score += iabs(ahead);
      }
      if (CR[tx][ty] > 0 && tx > 1 && tx < 9 && (B[tx + 1][ty] == ROOK || B[tx - 1][ty] == ROOK)) score -= 1;
      if (drop) {
        const int ax = m.man_capturer_x[tx][ty], ay = m.man_capturer_y[tx][ty];
        // A dropped pawn that stops a MAN lance or rook below it in its column.
        if (!(MR[ax][ay] == 0 && CRB[ax][ay] > 0) && CR[tx][ty] > 0 && ax == tx &&
            (man_capturer == -LANCE || man_capturer == -ROOK) && ty < ay)
          score += 120;
      } else {
        score -= 0.1;
        const int com_guard = m.com_guard_piece[tx][ty];
        if (com_guard == GOLD || com_guard == SILVER) score += 0.6;
        if (ty < 4) {
          if (com_guard == LANCE)
            score += 1;
          else if (com_guard == ROOK && m.com_guard_x[tx][ty] == tx && CR[tx][ty] >= MR[tx][ty] && m.com_guard_y[tx][ty] < ty)
            score += 2;
          if (MR[tx][ty + 1] == 0 && B[tx][ty + 2] <= -KNIGHT) score += 1;
          if (B[tx][ty + 1] == -PAWN && MR[tx][ty + 1] > 0) score -= 5;
          if (tx < 9 && B[tx + 1][ty] == BISHOP) {
            score += 0.5;
            if (B[tx + 1][ty + 2] == -PAWN) score += 5;
          }
          if (tx > 1 && B[tx - 1][ty] == BISHOP) {
            score += 0.5;
            if (B[tx - 1][ty + 2] == -PAWN) score += 5;
          }
          if (captured <= -10 && CR[fx][fy] == 1) {
            if (ty > 2 && man_capturer == -LANCE && B[tx][ty - 2] == BISHOP)
              score -= 5;
            else
              score += 5;
            if (captured == -PAWN && (man_capturer == -LANCE || man_capturer == -ROOK) && CR[fx][fy] < 2) score += 50;
          }
          const int ahead = B[tx][ty + 1];
          if (ahead <= -10) {
            if (CR[tx][ty] > MR[tx][ty]) {
              score += 1;
            } else if (ahead == -PAWN) {
              score -= 5;
            } else if (CR[tx][ty] > 0) {
              if (MRB[tx][ty + 1] == 0 && CRB[tx][ty + 1] > 0)
                score -= 1;
              else if (CR[tx][ty] >= MR[tx][ty])
                score += 5;
            } else if (MR[tx][ty] == 0) {
              score += 1;
            }
          }
        }
      }
      if (e.random_term) score += e.rng.draw();
      return score;
    }
    case TOKIN:
      if (CR[tx][ty] >= MR[tx][ty]) return score + 1;
      return score;
    case LANCE:
      if (p.com_hand[3] > 0) score += knight_target_value(e, tx, ty);
      if (fx == COM_FRONT_COLUMN) {
        if (ty < 9) {
          if (p.man_hand[1] > 0 && MR[tx][ty] == 0 && MR[tx][ty + 1] > 0) score -= 10;
          if (B[tx][ty + 1] <= -LANCE && (MR[tx][ty] == 0 || CR[tx][ty] >= MR[tx][ty])) {
            for (int y = ty + 2; y <= 5; ++y) {
              if (B[tx][y] == EMPTY) continue;
              if (move_allowed(B, tx, ty + 1, tx, y, LANCE) == 1 && B[tx][y] < -LANCE) return score + iabs(B[tx][y]);
              break;
            }
          }
        }
      } else if (captured == 0) {
        return score - 0.9;
      }
      return score;
    case KNIGHT:
      score -= 0.1;
      if (ty < 4 && tx > 1 && tx < 9 && MR[tx - 1][ty + 2] > 0 && MR[tx + 1][ty + 2] > 0) return score - 1;
      return score;
    case SILVER:
      if (ty > 1) {
        if (ty > fy && fx == tx) score -= 0.1;
        if (B[tx][ty - 1] == KNIGHT) return score - 0.5;
      }
      return score;
    case GOLD:
      if (ty > fy && fx != tx) return score - 0.5;
      return score;
    case BISHOP:
      score += big_pieces_around(e, tx, ty);
      if (ty < 9 && MR[tx][ty + 1] > 0) {
        if (count_safe_destinations(e, tx, ty, BISHOP) == 0) score -= 100;
        if (ty < 4 && B[tx][ty + 2] == -PAWN) return score - 1;
      }
      return score;
    case ROOK:
      score += big_pieces_around(e, tx, ty);
      if (!drop && ty < 9) {
        if (MR[tx][ty + 1] > 0) score -= 1;
        if (MR[fx][fy] == 0 && fx == 2 && fy == 2 && tx == 2 && ty == 3) score -= 1;
      }
      if (MR[tx][ty] == 0 || (man_capturer == -KING && CR[tx][ty] > 0)) {
        if (count_safe_destinations(e, tx, ty, ROOK) <= 1) return score - 35;
        if ((tx == kx || ty == ky) && iabs(tx - kx) < 3 && iabs(ty - ky) < 3) return score + 100;
      }
      return score;
    case KING:
      if (e.com_maps.com_has_pinned == 1) score += 10;
      if (CR[tx][ty] > CRB[tx][ty]) score += 1;
      if (count_safe_destinations(e, tx, ty, KING) < 2) return score - 20;
      return score;
    default:
      return score;
  }
}

}  // namespace

double evaluate_candidate(Engine& e, int captured, int piece, int fx, int fy, int tx, int ty) {
  const auto& B = e.pos.board;
  const Position& p = e.pos;
  const Influence& m = e.influence;
  const auto& MR = m.man_reach_count;
  const auto& CR = m.com_reach_count;
  const int kx = p.man_king_x, ky = p.man_king_y;
  const bool drop = fx < 0;
  const int man_capturer = m.man_capturer_piece[tx][ty];  // of the moved piece
  double score = 0;

  // Layer 1: king capture, own king left attacked, checks, drops, danger.
  if (captured == -KING) return KING_CAPTURE;
  if (MR[p.com_king_x][p.com_king_y] >= 1) return -MATE;
  const bool gives_check = CR[kx][ky] > 0;
  if (gives_check) {
    // A mate given by a pawn, moved or dropped, scores as low as being
    // mated: the computer never mates with a pawn.
    if (man_is_mated(e) == 1) return piece == PAWN ? -MATE : MATE;
    // A knight's check cannot be blocked: with no safe square for the king
    // it scores as a mate, even where the mate test found an answer such as
    // taking the knight.
    if (piece == KNIGHT && count_safe_destinations(e, kx, ky, -KING) == 0) return MATE;
    if (man_capturer == -KING && CR[tx][ty] > 0) score += 100;
    if (MR[tx][ty] == 0) score += 10;
  }
  if (drop) score -= 5;
  score += e.danger_scan ? e.danger_scan->score(e, piece, tx, ty) : danger_score(e, piece, tx, ty);
  if (e.com_level < 2) return score;

  // Layer 2: approach, pins, exchanges, escape squares, captures.
  const int adx = iabs(tx - kx), ady = iabs(ty - ky);
  if (adx > ady) {
    if (adx < e.com_maps.origin_distance) score += 1;
  } else if (ady < e.com_maps.origin_distance) {
    score += 0.1;
  }

  // The MAN capturer of the moved piece, pinned to its king, with the
  // moved piece able to take it.
  const int ax = m.man_capturer_x[tx][ty], ay = m.man_capturer_y[tx][ty];
  if (MR[ax][ay] > 0 && e.com_maps.man_pinned[ax][ay] == 1 &&
      (MR[tx][ty] == 1 || (CR[tx][ty] > 0 && MR[tx][ty] == 2 && gives_check)) &&
      ((ax == kx && tx != kx) || (ay == ky && ty != ky) || ((tx == kx || ty == ky) && ax != kx && ay != ky)) &&
      move_allowed(B, tx, ty, ax, ay, piece) == 1) {
    if (drop)
      score += iabs(B[ax][ay]);
    else if (B[e.com_maps.com_capturer_x_before[ax][ay]][e.com_maps.com_capturer_y_before[ax][ay]] != EMPTY)
      score += iabs(B[ax][ay]);
  }

  if (MR[tx][ty] > 0) {
    if (CR[tx][ty] > 0) {
      if ((p.man_hand[3] > 0 || p.man_hand[4] > 0) && tx > 1 && tx < 9 &&
          ((B[tx - 1][ty] == -ROOK && B[tx + 1][ty] == KING) || (B[tx - 1][ty] == KING && B[tx + 1][ty] == -ROOK)))
        score -= piece;
      if (piece > iabs(man_capturer)) {
        score -= piece;
        score += iabs(man_capturer);
      }
      if (man_capturer == -KING && gives_check && ty < ky) score += piece;
    } else if (drop) {
      score -= piece;
      score -= 50;
    }
  } else if (piece != BISHOP && piece != KING && piece != PAWN) {
    score -= e.danger_scan ? e.danger_scan->bishop_caution(e, tx, ty, piece) : bishop_drop_exposure(e, tx, ty, piece);
  }

  if (B[tx][5] == -LANCE && (tx == 1 || tx == 9) && piece != LANCE && piece != ROOK && fx != tx) score -= 0.1;

  if (captured == 0) {
    if (((adx < 3 && ady < 3) || piece == LANCE || (piece >= BISHOP && piece <= ROOK)) && MR[tx][ty] == 0) {
      const int n = count_man_king_escapes(e);
      if (e.com_maps.man_king_escapes_at_start > n) score += e.com_maps.man_king_escapes_at_start - n;
    }
  } else {
    if (MR[tx][ty] > 0 && CR[tx][ty] > 0) {
      if (B[tx][ty] < iabs(man_capturer)) score += iabs(captured);
    }
    if (MR[tx][ty] > 0 && CR[tx][ty] == 0) {
      if (e.com_maps.man_reach_before[fx][fy] > 0 && count_safe_destinations(e, fx, fy, piece) == 0) score += iabs(captured);
    }
    if (MR[tx][ty] == 0) {
      score += iabs(captured);
      if (captured == -TOKIN) score += 50;
    }
  }
  if (e.com_level < 3) return score;

  return layer_three(e, score, captured, piece, fx, fy, tx, ty);
}

}  // namespace vv

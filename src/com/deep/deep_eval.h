// The searching player's static evaluation, from the side to move's point of
// view: a weighted sum of features of the position, each counted for the
// computer's side less the person's. The weights are a table fitted to the
// results of self-play games by a logistic model (tools/tune_eval.cpp); a
// pawn face on the board weighs about 470.
#pragma once

#include "com/deep/deep_board.h"

namespace vv::deep {

// A rough worth of each face, by kind, from how much it reaches; move ordering
// tries a capture by a weaker face first. Not one of the fitted weights.
constexpr int FACE_POWER[KINDS] = {0, 100, 500, 350, 350, 500, 550, 850, 1000, 0};

enum Feature : int {
  F_BOARD = 0,             // a piece on the board, by its present face (PAWN_KIND..ROOK_KIND at F_BOARD + kind - 1)
  // A piece that can never move again, counted here instead of by its face: a
  // pawn (歩) or lance (香) on the far row, a knight (桂) on the last two rows.
  F_STUCK = F_BOARD + 8,
  F_HAND = F_STUCK + 1,    // a pair in hand, by slot (F_HAND + slot - 1)
  // A piece within two squares of the other king, by the face it turns to
  // when it moves (F_NEAR_ENEMY_KING + FACE_AFTER_MOVE[kind] - 1).
  F_NEAR_ENEMY_KING = F_HAND + 4,
  F_NEAR_OWN_KING = F_NEAR_ENEMY_KING + 8,  // a piece next to its own king
  F_KING_ATTACKED = F_NEAR_OWN_KING + 1,    // a square next to the king the other side reaches (counted against the king's side)
  F_KING_OPEN_THREAT = F_KING_ATTACKED + 1,  // empty squares next to the king times what the other hand threatens there
  F_KING_SHELTER = F_KING_OPEN_THREAT + 1,   // own pieces next to the king
  F_KING_SWARM = F_KING_SHELTER + 1,         // attacked squares next to the king beyond two
  F_REACH = F_KING_SWARM + 1,  // squares a lance, bishop or rook face reaches along its runs
  FEATURES = F_REACH + 1
};

// The features of a position, the computer's side less the person's.
void eval_features(const DeepBoard& b, int out[FEATURES]);

// The weights the evaluation uses.
extern const int EVAL_WEIGHTS[FEATURES];
constexpr int TEMPO = 20;  // added for the side to move

// A piece on the board by its present face, and a pair in hand, as the
// evaluation counts them.
int board_value(int kind);
int hand_value(int slot);

// The score for the side to move.
int evaluate(const DeepBoard& b);

}  // namespace vv::deep

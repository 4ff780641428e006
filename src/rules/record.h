// The move record: eleven parallel arrays, entry n describing move n.
#pragma once

namespace vv {

constexpr int RECORD_CAPACITY = 500;

struct MoveRecord {
  int record_from_x[RECORD_CAPACITY + 1] = {};
  int record_from_y[RECORD_CAPACITY + 1] = {};
  int record_to_x[RECORD_CAPACITY + 1] = {};
  int record_to_y[RECORD_CAPACITY + 1] = {};
  int record_piece[RECORD_CAPACITY + 1] = {};     // the face before the move (the dropped face for a drop)
  int record_placed[RECORD_CAPACITY + 1] = {};    // the code standing on the target afterwards
  int record_captured[RECORD_CAPACITY + 1] = {};  // the code that stood on the target before
  double record_man_time_before[RECORD_CAPACITY + 1] = {};
  double record_man_time_after[RECORD_CAPACITY + 1] = {};
  double record_com_time_before[RECORD_CAPACITY + 1] = {};
  double record_com_time_after[RECORD_CAPACITY + 1] = {};
  int move_number = 0;    // the last entry written
  int record_length = 0;  // how many entries can be replayed

  bool full() const { return move_number >= RECORD_CAPACITY; }
};

}  // namespace vv

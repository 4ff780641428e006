// The move record: eleven parallel arrays, entry n describing move n.
#pragma once

namespace vv {

constexpr int RECORD_CAPACITY = 500;

struct MoveRecord {
  int from_x[RECORD_CAPACITY + 1] = {};
  int from_y[RECORD_CAPACITY + 1] = {};
  int to_x[RECORD_CAPACITY + 1] = {};
  int to_y[RECORD_CAPACITY + 1] = {};
  int piece[RECORD_CAPACITY + 1] = {};     // the face before the move (the dropped face for a drop)
  int placed[RECORD_CAPACITY + 1] = {};    // the code standing on the target afterwards
  int captured[RECORD_CAPACITY + 1] = {};  // the code that stood on the target before
  double man_time_before[RECORD_CAPACITY + 1] = {};
  double man_time_after[RECORD_CAPACITY + 1] = {};
  double com_time_before[RECORD_CAPACITY + 1] = {};
  double com_time_after[RECORD_CAPACITY + 1] = {};
  int move_number = 0;    // the last entry written
  int record_length = 0;  // how many entries can be replayed

  bool full() const { return move_number >= RECORD_CAPACITY; }
};

}  // namespace vv

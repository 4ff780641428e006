// The monkey: the real window on Qt's offscreen platform, driven by a seeded
// stream of random events (clicks on the board, the stands and beside them,
// every menu item but LEVEL4, the record-file panel in a scratch folder,
// Yes and No answers, keys, resizes, timer ticks, closing the window), with
// the game's invariants checked after every event. A failing run prints the
// seed and the events that led there.
//
//   veverodu_monkey [--seed N] [--events N] [--history N] [--verbose] [--keep-going]
//
// --keep-going counts every failure and carries on in a new program instead
// of stopping at the first. The exit status is 0 only when nothing failed.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <functional>
#include <iostream>
#include <memory>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "rules/move_check.h"
#include "rules/piece.h"
#include "rules/start_position.h"
#include "window/main_window.h"

// On a sanitizer build a report ends with the monkey's last events.
#if defined(__SANITIZE_ADDRESS__)
#define MONKEY_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define MONKEY_SANITIZED 1
#endif
#endif
#ifdef MONKEY_SANITIZED
#include <sanitizer/common_interface_defs.h>
#endif

namespace vv {
namespace {

// --- The game's invariants ----------------------------------------------------

// Board and hands, as the invariants compare them.
struct Snapshot {
  int board[10][10] = {};
  int man_hand[5] = {};
  int com_hand[5] = {};
  bool operator==(const Snapshot& o) const {
    return std::memcmp(board, o.board, sizeof board) == 0 && std::memcmp(man_hand, o.man_hand, sizeof man_hand) == 0 &&
           std::memcmp(com_hand, o.com_hand, sizeof com_hand) == 0;
  }
};

Snapshot snapshot_of(const Position& p) {
  Snapshot s;
  std::memcpy(s.board, p.board, sizeof s.board);
  std::memcpy(s.man_hand, p.man_hand, sizeof s.man_hand);
  std::memcpy(s.com_hand, p.com_hand, sizeof s.com_hand);
  return s;
}

// The squares a handicap empties, one more a level: levels 1..10 take the top
// side's bishop, rook, lances, knights, silvers and golds from these squares,
// levels -1..-10 the bottom side's from the squares turned by half a turn.
constexpr int HANDICAP_SQUARES[10][2] = {{8, 2}, {2, 2}, {9, 1}, {1, 1}, {8, 1}, {2, 1}, {7, 1}, {3, 1}, {6, 1}, {4, 1}};

// The starting position with a handicap of `level` (-10..10) taken away.
Snapshot handicap_start(int level) {
  Position p;
  place_start_position(p);
  Snapshot s = snapshot_of(p);
  for (int i = 0; i < std::abs(level) && i < 10; ++i) {
    const int x = HANDICAP_SQUARES[i][0], y = HANDICAP_SQUARES[i][1];
    if (level > 0)
      s.board[x][y] = EMPTY;
    else
      s.board[10 - x][10 - y] = EMPTY;
  }
  return s;
}

// A piece that moves on the board turns over to the other face of its pair.
int other_face(int code) {
  static constexpr int PAIRS[][2] = {{10, 900}, {11, 20}, {30, 110}, {100, 800}, {950, 950}};
  const int sign = code < 0 ? -1 : 1;
  for (const auto& p : PAIRS) {
    if (iabs(code) == p[0]) return sign * p[1];
    if (iabs(code) == p[1]) return sign * p[0];
  }
  return EMPTY;
}

// Pieces of each pair (slot 1..4) on the board and in both hands; slot 0 counts kings on the board.
void count_pairs(const Snapshot& s, int counts[5]) {
  for (int i = 0; i < 5; ++i) counts[i] = 0;
  for (int x = 1; x <= 9; ++x)
    for (int y = 1; y <= 9; ++y)
      if (s.board[x][y] != EMPTY) counts[hand_slot(s.board[x][y])] += 1;
  for (int slot = 1; slot <= 4; ++slot) counts[slot] += s.man_hand[slot] + s.com_hand[slot];
}

std::string code_text(int code) { return std::to_string(code); }

// Applies record entry n to `s` as the record describes it: the source
// emptied (a board move, which turns the piece over) or one piece out of the
// dropper's hand, the placed code on the target, and a captured piece's pair
// into the capturer's hand (a king into none). Returns why the entry does not
// fit the position it is applied to, or "".
std::string apply_entry(Snapshot& s, const MoveRecord& r, int n) {
  const int fx = r.from_x[n], fy = r.from_y[n], tx = r.to_x[n], ty = r.to_y[n];
  const int piece = r.piece[n], placed = r.placed[n], captured = r.captured[n];
  std::ostringstream why;
  why << "record entry " << n << " (" << fx << "," << fy << ")->(" << tx << "," << ty << ") piece " << piece
      << " placed " << placed << " captured " << captured << ": ";
  if (tx < 1 || tx > 9 || ty < 1 || ty > 9) return why.str() + "target off the board";
  if (!is_piece_code(placed)) return why.str() + "placed code is no piece";
  if (s.board[tx][ty] != captured) return why.str() + "the target holds " + code_text(s.board[tx][ty]);
  if (captured != EMPTY && same_side(placed, captured)) return why.str() + "captures a piece of its own side";
  if (is_board_column(fx)) {
    if (fy < 1 || fy > 9) return why.str() + "source off the board";
    if (s.board[fx][fy] != piece) return why.str() + "the source holds " + code_text(s.board[fx][fy]);
    if (placed != other_face(piece)) return why.str() + "a board move that does not turn the piece over";
    s.board[fx][fy] = EMPTY;
  } else {
    if (!is_hand_column(fx)) return why.str() + "source is neither the board nor a hand";
    if (piece != placed) return why.str() + "a drop that changes the dropped face";
    const int slot = hand_slot(placed);
    int* hand = placed > 0 ? s.com_hand : s.man_hand;
    if (slot == 0 || hand[slot] < 1) return why.str() + "a drop from an empty hand slot";
    hand[slot] -= 1;
  }
  s.board[tx][ty] = placed;
  if (captured != EMPTY && iabs(captured) != KING) (captured > 0 ? s.man_hand : s.com_hand)[hand_slot(captured)] += 1;
  return "";
}

// The invariants of a game between events; "" when they hold. `base` is
// where the record starts: the starting position less the handicap, or the
// position a flip left.
std::string check_game(Game& g, const Snapshot& base) {
  const Position& p = g.engine.pos;
  std::ostringstream why;
  // Only piece codes on the board, row and column 0 never written.
  for (int x = 0; x <= 9; ++x)
    for (int y = 0; y <= 9; ++y) {
      const int c = p.board[x][y];
      if ((x == 0 || y == 0) && c != EMPTY) return "board[" + std::to_string(x) + "][" + std::to_string(y) + "] written";
      if (c != EMPTY && !is_piece_code(c))
        return "board (" + std::to_string(x) + "," + std::to_string(y) + ") holds code " + std::to_string(c);
    }
  // Hands: no negative slot, nothing in slot 0, totals equal to the sums of their slots.
  if (p.man_hand[0] != 0 || p.com_hand[0] != 0) return "a piece in hand slot 0";
  for (int slot = 1; slot <= 4; ++slot)
    if (p.man_hand[slot] < 0 || p.com_hand[slot] < 0) return "a hand slot below zero";
  if (!p.hands_consistent()) {
    why << "hand totals " << p.man_hand_count << "/" << p.com_hand_count << " differ from the sums of their slots";
    return why.str();
  }
  // Every piece is on the board, in a hand or a captured king: each pair's
  // count stays as the start (less the handicap) had it, and there is at
  // most one king of each side.
  const Snapshot now = snapshot_of(p);
  int counts[5], expected[5];
  count_pairs(now, counts);
  count_pairs(handicap_start(g.handicap.handicap_level), expected);
  int kings[2] = {0, 0};
  for (int x = 1; x <= 9; ++x)
    for (int y = 1; y <= 9; ++y)
      if (iabs(p.board[x][y]) == KING) kings[p.board[x][y] > 0] += 1;
  if (kings[0] > 1 || kings[1] > 1) return "two kings of one side";
  for (int slot = 1; slot <= 4; ++slot)
    if (counts[slot] != expected[slot]) {
      why << "pair " << slot << " counts " << counts[slot] << " pieces on the board and in hand, the start had "
          << expected[slot] << " (handicap " << g.handicap.handicap_level << ")";
      return why.str();
    }
  // Sides: two distinct side codes each way; the side to move is one of them while a game runs.
  const FlowState& f = g.flow;
  auto side = [](int s) { return s == 1 || s == -1; };
  if (!side(f.first_side) || f.second_side != -f.first_side || !side(f.man_side) || f.com_side != -f.man_side) {
    why << "sides first " << f.first_side << " second " << f.second_side << " man " << f.man_side << " com "
        << f.com_side;
    return why.str();
  }
  if (f.side_to_move != 0 && f.side_to_move != f.first_side && f.side_to_move != f.second_side)
    return "side to move " + std::to_string(f.side_to_move);
  // The record: at most 500 entries, the current one within them, and the
  // entries up to the current one replay from the record's start to the
  // position on the board. Entries ahead of it may have been made on another
  // board (before a flip, or with a handicap before going back to the start
  // with "最初"): stepping forward ("進") refuses those that do not fit, and
  // the piece count above catches any that slips.
  const MoveRecord& r = g.record;
  if (r.move_number < 0 || r.move_number > RECORD_CAPACITY || r.record_length < 0 ||
      r.record_length > RECORD_CAPACITY || r.move_number > r.record_length) {
    why << "record at entry " << r.move_number << " of " << r.record_length;
    return why.str();
  }
  Snapshot replay = base;
  if (r.move_number == 0 && !(replay == now)) return "at entry 0 the board is not where the record starts";
  for (int n = 1; n <= r.move_number; ++n) {
    const std::string bad = apply_entry(replay, r, n);
    if (!bad.empty()) return bad;
    if (n == r.move_number && !(replay == now)) return "replaying the record to entry " + std::to_string(n) + " does not reach the position on the board";
  }
  return "";
}

// --- The window's message boxes, answered at random -------------------------------

class MonkeyBoxes : public MessageBoxes {
 public:
  void message(const std::string& title, const std::string& text, Icon) override { open(title, text, ""); }
  bool ask(const std::string& title, const std::string& text) override {
    const bool yes = answer ? answer() : true;
    open(title, text, yes ? " -> yes" : " -> no");
    return yes;
  }
  void about(const std::string& title, const std::string&) override { open(title, "(about)", ""); }

  std::function<bool()> answer;
  std::function<void(const std::string&)> on_open;  // told of each box as it opens
  long shown = 0;

 private:
  void open(const std::string& title, std::string text, const char* answer_text) {
    ++shown;
    for (char& c : text)
      if (c == '\r' || c == '\n') c = ' ';
    if (on_open) on_open("box [" + title + "] " + text + answer_text);
  }
};

// --- The monkey -----------------------------------------------------------------

struct MonkeyOptions {
  unsigned long long seed = 1;
  long events = 3000;
  int history = 40;
  bool verbose = false;
  bool keep_going = false;
};

class Monkey {
 public:
  explicit Monkey(const MonkeyOptions& o) : o_(o), rng_(o.seed) {
    QDir::setCurrent(scratch_.path());
    QDir here(scratch_.path());
    here.mkdir("sub");
    write_file("bad.棋譜", "not a record\r\n");
    write_file("empty.棋譜", "");
    write_file("sub/garbage.棋譜", std::string("\x82\xa0\xff\x00\r\n", 6));
#ifdef MONKEY_RECORD_FILES
    // Record files to load from the start, before the monkey has saved any.
    const QDir records(QStringLiteral(MONKEY_RECORD_FILES));
    for (const QFileInfo& f : records.entryInfoList(QDir::Files))
      QFile::copy(f.filePath(), here.filePath(f.completeBaseName() + QStringLiteral(".棋譜")));
#endif
    boxes_.answer = [this] { return chance(0.8); };
    boxes_.on_open = [this](const std::string& text) {
      note("  " + text);
      if (close_in_box_) {
        close_in_box_ = false;
        note("  closing the window while the box is open");
        window_->close();
      }
    };
  }
  ~Monkey() {
    window_.reset();
    QDir::setCurrent(QDir::tempPath());
  }

  // Runs the events; the number of failures.
  int run() {
    QElapsedTimer clock;
    clock.start();
    open_program();
    for (event_ = 1; event_ <= o_.events; ++event_) {
      if (event_ % 10000 == 0) {
        std::printf("monkey: seed %llu, event %ld, %.0f s\n", o_.seed, event_, clock.elapsed() / 1000.0);
        std::fflush(stdout);
      }
      one_event();
      std::string why = window_->handler_running() ? "a handler still runs after its event" : "";
      if (why.empty()) why = remember_flip_base();
      if (why.empty() && window_->game().ended) why = check_end();
      if (why.empty() && !window_->game().ended) why = check_game(window_->game(), base());
      if (!why.empty()) {
        fail(why);
        if (!o_.keep_going) break;
        window_.reset();
        open_program();
        continue;
      }
      previous_ = snapshot_of(window_->game().engine.pos);
      if (window_->game().ended) {
        if (const std::string after = probe_after_end(); !after.empty()) {
          fail(after);
          if (!o_.keep_going) break;
        }
        window_.reset();
        open_program();
      }
    }
    const double seconds = clock.elapsed() / 1000.0;
    const long done = std::min(event_, o_.events);
    const int files = static_cast<int>(QDir(scratch_.path()).entryList({QStringLiteral("*.棋譜")}, QDir::Files).size());
    std::printf("monkey: seed %llu, %ld events in %.1f s (%.0f events/s), %d programs, %ld moves played or replayed, longest record %d, "
                "%ld events in record mode, %d record files in the scratch folder, %d failures\n",
                o_.seed, done, seconds, seconds > 0 ? done / seconds : 0.0, programs_, moves_, longest_record_,
                record_mode_events_, files, failures_);
    return failures_;
  }

  // Prints the recent events; also the sanitizers' last words.
  void print_history() const {
    std::fprintf(stderr, "monkey: seed %llu, the last %zu events before event %ld:\n", o_.seed, history_.size(), event_);
    for (const std::string& line : history_) std::fprintf(stderr, "%s\n", line.c_str());
    std::fprintf(stderr, "monkey: replay with --seed %llu --events %ld --verbose\n", o_.seed, event_);
  }

 private:
  // --- Programs -----------------------------------------------------------------

  void open_program() {
    WindowOptions w;
    w.boxes = &boxes_;
    w.sound = false;
    quits_ = 0;
    flip_base_valid_ = false;
    close_in_box_ = false;
    note(event_label() + " program starts");
    window_ = std::make_unique<MainWindow>(w);
    window_->port().on_quit = [this] { ++quits_; };
    window_->show();
    QApplication::processEvents();
    ++programs_;
    previous_ = snapshot_of(window_->game().engine.pos);
    collect_menu();
    long_game_ = chance(0.2) ? 1500 : 0;
    if (long_game_ > 0) note("  a long game");
  }

  // Every item of the menu bar as the window built it, walked through its
  // actions so that captions in any language do: the items that act when
  // clicked, and the menus whose handlers run as they open. LEVEL4 thinks
  // for a second a move and is left out.
  void collect_menu() {
    items_.clear();
    menus_.clear();
    std::function<void(const QList<QAction*>&, const QString&)> walk = [&](const QList<QAction*>& actions,
                                                                           const QString& path) {
      for (QAction* a : actions) {
        if (a->isSeparator()) continue;
        const QString name = path.isEmpty() ? a->text() : path + "/" + a->text();
        if (a->menu()) {
          menus_.push_back({a->menu(), name.toStdString()});
          walk(a->menu()->actions(), name);
        } else if (a != window_->mark_action(MenuMark::LEVEL4)) {
          items_.push_back({a, name.toStdString()});
        }
      }
    };
    walk(window_->menuBar()->actions(), "");
  }

  // The program ended: exactly once, with the sounds released and the timer stopped.
  std::string check_end() {
    if (quits_ != 1) return "the program asked to end " + std::to_string(quits_) + " times";
    if (window_->port().sound_closes() != 1) return "the sounds were released " + std::to_string(window_->port().sound_closes()) + " times";
    if (window_->port().timer_running()) return "the timer runs after the end";
    return "";
  }

  // After the end nothing runs: a few more events change no state, open no
  // box, draw nothing and end nothing again.
  std::string probe_after_end() {
    Game& g = window_->game();
    const Position pos = g.engine.pos;
    const MoveRecord record = g.record;
    const FlowState flow = g.flow;
    const QImage image = window_->surface().image().copy();
    const long boxes = boxes_.shown;
    for (int i = 0; i < 4; ++i) {
      ++probes_;
      note("  after the end:");
      switch (pick(5)) {
        case 0: click_square(); break;
        case 1: menu_item(); break;
        case 2: open_menu(); break;
        case 3: key(); break;
        default: tick(); break;
      }
    }
    if (boxes_.shown != boxes) return "a message box opened after the program ended";
    if (quits_ != 1) return "the program asked to end again after it ended";
    if (std::memcmp(&pos, &g.engine.pos, sizeof pos) != 0 || std::memcmp(&record, &g.record, sizeof record) != 0 ||
        flow.side_to_move != g.flow.side_to_move || flow.piece_picked != g.flow.piece_picked ||
        flow.move_count != g.flow.move_count)
      return "the game changed after the program ended";
    if (window_->surface().image() != image) return "the window was drawn on after the program ended";
    return "";
  }

  // Where the record starts: the flipped position once the board was
  // turned, else the start less the handicap.
  Snapshot base() {
    Game& g = window_->game();
    if (g.flow.board_flipped && flip_base_valid_) return flip_base_;
    return handicap_start(g.handicap.handicap_level);
  }

  // A flip empties the record: the position it leaves is the record's new
  // start. It is the position before the event turned by half a turn, each
  // piece changing sides, the hands changing places.
  std::string remember_flip_base() {
    Game& g = window_->game();
    if (g.ended || !g.flow.board_flipped) {
      flip_base_valid_ = false;
      return "";
    }
    if (g.record.move_number != 0 || g.record.record_length != 0) return "";
    // Back at the record's start, and the record cut there (a start item
    // after stepping back): nothing new.
    const Snapshot now = snapshot_of(g.engine.pos);
    if (flip_base_valid_ && now == flip_base_) return "";
    Snapshot turned;
    for (int x = 1; x <= 9; ++x)
      for (int y = 1; y <= 9; ++y) turned.board[10 - x][10 - y] = -previous_.board[x][y];
    std::memcpy(turned.man_hand, previous_.com_hand, sizeof turned.man_hand);
    std::memcpy(turned.com_hand, previous_.man_hand, sizeof turned.com_hand);
    if (!(now == turned)) return "the flip did not turn the position by half a turn, or the record's start moved";
    flip_base_ = now;
    flip_base_valid_ = true;
    return "";
  }

  // --- Events ---------------------------------------------------------------------

  void one_event() {
    note(event_label());
    const Game& g = window_->game();
    const long before = g.record.move_number;
    const int length_before = g.record.record_length, side_before = g.flow.side_to_move;
    last_item_ = -1;
    const long boxes = boxes_.shown;
    int roll = pick(1000);
    if (long_game_ > 0) {
      // A long game: nearly every event a move, so that the record fills up
      // to its 500 entries; until a game runs, menu items to start one.
      --long_game_;
      if (window_->game().flow.side_to_move == 0 && chance(0.5)) roll = 600;
      else if (chance(0.95)) roll = 0;
    }
    // A panel that is open is used more often than not, as a person would.
    FilePanel& panel = window_->panel();
    if (panel.return_button()->isVisible() && chance(0.85)) roll = 750;
    else if (panel.file_list()->isVisible() && chance(0.5)) roll = 750;
    if (roll < 300) move();
    else if (roll < 420) click_square();
    else if (roll < 480) click_stand();
    else if (roll < 520) click_beside();
    else if (roll < 700) menu_item();
    else if (roll < 740) open_menu();
    else if (roll < 830) use_panel();
    else if (roll < 870) key();
    else if (roll < 890) resize();
    else if (roll < 920) step_through_record();
    else if (roll < 994) tick();
    else if (roll < 998) {
      close_in_box_ = true;
      note("  the window will be closed when the next box opens");
      move();
    } else {
      note("  close the window");
      window_->close();
    }
    // An item that ends the program by itself does so without a question.
    if (window_->game().ended && last_item_ >= 0 && boxes_.shown == boxes) ending_items_.insert(last_item_);
    if (!g.ended && g.record.move_number > before) moves_ += g.record.move_number - before;
    // The items that step one move back or forward through the record, known
    // by what they do: the record entry moves by one, the record keeps its
    // length and the other side is to move.
    if (!g.ended && last_item_ >= 0 && g.record.record_length == length_before && side_before != 0 &&
        g.flow.side_to_move == -side_before) {
      if (g.record.move_number == before - 1) back_item_ = last_item_;
      if (g.record.move_number == before + 1) forward_item_ = last_item_;
    }
    if (!window_->game().ended) {
      longest_record_ = std::max(longest_record_, window_->game().record.record_length);
      if (window_->game().flow.record_mode) ++record_mode_events_;
    }
  }

  // The side to move picks one of its pieces on the board or in its hand and
  // clicks a square the piece may reach: the two clicks of a move.
  void move() {
    Game& g = window_->game();
    const Position& p = g.engine.pos;
    const FlowState& f = g.flow;
    struct Choice {
      int fx, fy, tx, ty;
    };
    std::vector<Choice> choices;
    auto mine = [&](int code) {
      return (is_man_piece(code) && f.side_to_move == f.man_side) || (is_com_piece(code) && f.side_to_move == f.com_side);
    };
    auto targets = [&](int fx, int fy, int code) {
      for (int x = 1; x <= 9; ++x)
        for (int y = 1; y <= 9; ++y)
          if (move_allowed(p.board, fx, fy, x, y, code)) choices.push_back({fx, fy, x, y});
    };
    for (int x = 1; x <= 9; ++x)
      for (int y = 1; y <= 9; ++y)
        if (mine(p.board[x][y])) targets(x, y, p.board[x][y]);
    for (int slot = 1; slot <= 4; ++slot)
      for (bool back : {false, true}) {
        if (p.man_hand[slot] > 0 && mine(-hand_face(slot, back)))
          targets(back ? MAN_BACK_COLUMN : MAN_FRONT_COLUMN, slot + 5, -hand_face(slot, back));
        if (p.com_hand[slot] > 0 && mine(hand_face(slot, back)))
          targets(back ? COM_BACK_COLUMN : COM_FRONT_COLUMN, 5 - slot, hand_face(slot, back));
      }
    // A long game spares the kings while there is another move.
    if (long_game_ > 0) {
      std::vector<Choice> spare;
      for (const Choice& c : choices)
        if (iabs(p.board[c.tx][c.ty]) != KING) spare.push_back(c);
      if (!spare.empty()) choices.swap(spare);
    }
    if (choices.empty()) {
      click_square();
      return;
    }
    const Choice c = choices[pick(static_cast<int>(choices.size()))];
    note("  move (" + std::to_string(c.fx) + "," + std::to_string(c.fy) + ") -> (" + std::to_string(c.tx) + "," +
         std::to_string(c.ty) + ")");
    click_grid(c.fx, c.fy);
    if (!window_->game().ended) click_grid(c.tx, c.ty);
  }

  // Every random choice is a statement of its own: the order in which the
  // arguments of one call are worked out differs between compilers, and a
  // seed makes the same events with any of them.
  void click_square() {
    const int x = pick(9) + 1, y = pick(9) + 1;
    click_grid(x, y, chance(0.1));
  }

  // A mouse click at the centre of grid place (x, y), where the window shows it now.
  // A double click on the place, when `twice`.
  void click_grid(int x, int y, bool twice = false) {
    note(std::string(twice ? "  double click" : "  click") + " place (" + std::to_string(x) + "," + std::to_string(y) +
         ")");
    const QRect r = window_->surface().widget_rect(QRect(2200 + 600 * x, 520 + 615 * y, 600, 615));
    if (twice)
      double_click(&window_->surface(), r.center());
    else
      QTest::mouseClick(&window_->surface(), Qt::LeftButton, {}, r.center());
  }

  // The events of a double click as a widget receives them: press, release,
  // double click, release.
  static void double_click(QWidget* w, QPoint at) {
    QTest::mouseClick(w, Qt::LeftButton, {}, at);
    QMouseEvent twice(QEvent::MouseButtonDblClick, at, w->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton, {});
    QApplication::sendEvent(w, &twice);
    QMouseEvent release(QEvent::MouseButtonRelease, at, w->mapToGlobal(at), Qt::LeftButton, Qt::NoButton, {});
    QApplication::sendEvent(w, &release);
  }

  // The stands: the person's right of the board (rows 6..9), the computer's left of it (rows 1..5).
  void click_stand() {
    const bool man = chance(0.5), back = chance(0.5);
    if (man)
      click_grid(back ? MAN_BACK_COLUMN : MAN_FRONT_COLUMN, 6 + pick(4));
    else
      click_grid(back ? COM_BACK_COLUMN : COM_FRONT_COLUMN, 1 + pick(5));
  }

  // Anywhere else: a grid place around the board, or any point of the window's surface, margins included.
  void click_beside() {
    if (chance(0.5)) {
      const int x = pick(22) - 4;
      click_grid(x, pick(16) - 2);
      return;
    }
    Surface& s = window_->surface();
    const int x = pick(std::max(1, s.width()));
    const QPoint at(x, pick(std::max(1, s.height())));
    note("  click surface point (" + std::to_string(at.x()) + "," + std::to_string(at.y()) + ")");
    QTest::mouseClick(&s, Qt::LeftButton, {}, at);
  }

  // An item that ended the program once is picked less often from then on,
  // so that most events go to running programs.
  void menu_item(int index = -1) {
    if (index < 0) {
      index = pick(items_.size());
      if (ending_items_.count(index) && chance(0.9)) index = pick(items_.size());
    }
    last_item_ = index;
    const auto& [action, name] = items_[index];
    note("  menu " + name);
    action->trigger();
  }

  // A few steps back through the record and some forward again, once the
  // items that step are known.
  void step_through_record() {
    if (back_item_ < 0 || forward_item_ < 0) {
      menu_item();
      return;
    }
    const int back = 1 + pick(8), forward = pick(back + 2);
    for (int i = 0; i < back + forward && !window_->game().ended; ++i) menu_item(i < back ? back_item_ : forward_item_);
    last_item_ = -1;
  }

  void open_menu() {
    const auto& [menu, name] = menus_[pick(static_cast<int>(menus_.size()))];
    note("  open menu " + name);
    emit menu->aboutToShow();
  }

  // The record-file panel, through its widgets: clicks and double clicks on
  // the folder and file lists, a drive chosen, texts typed into the save
  // form and its RETURN button. The folder never leaves the scratch folder,
  // so nothing is written elsewhere.
  void use_panel() {
    FilePanel& panel = window_->panel();
    std::vector<QListWidget*> lists;
    for (QListWidget* l : {panel.folder_list(), panel.file_list()})
      if (l->isVisible() && l->count() > 0) lists.push_back(l);
    std::vector<QLineEdit*> boxes;
    for (QLineEdit* e : window_->surface().findChildren<QLineEdit*>())
      if (e->isVisible()) boxes.push_back(e);
    QPushButton* ret = panel.return_button();
    // With the save form open: fill it in, press RETURN, or browse the folders.
    const int roll = ret->isVisible() ? (pick(10) < 3 ? 0 : pick(5) + 5) : pick(10);
    if (roll < 5 && !lists.empty()) {
      QListWidget* list = lists[pick(static_cast<int>(lists.size()))];
      QListWidgetItem* item = list->item(pick(list->count()));
      list->scrollToItem(item);
      QApplication::processEvents();  // lays the list's items out
      const bool twice = chance(0.5);
      note(std::string("  ") + (twice ? "double click" : "click") + (list == panel.folder_list() ? " folder " : " file ") +
           item->text().toStdString());
      const QPoint at = list->visualItemRect(item).center();
      if (twice)
        double_click(list->viewport(), at);
      else
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    } else if (roll < 8 && !boxes.empty()) {
      static const char* const TEXTS[] = {"k1", "k2", "名局", "sub/k3", "", "甲", "乙", "a b", "😀", "x.棋譜", "ﾃｽﾄ"};
      // One box typed into, or the whole form filled in.
      const bool all = chance(0.5);
      for (size_t i = 0; i < boxes.size(); ++i) {
        QLineEdit* box = all ? boxes[i] : boxes[pick(boxes.size())];
        const std::string text = TEXTS[pick(std::size(TEXTS))];
        note("  type \"" + text + "\" into a box of the save form");
        box->setText(QString::fromStdString(text));
        if (!all) break;
      }
    } else if (ret->isVisible()) {
      note("  click RETURN");
      QTest::mouseClick(ret, Qt::LeftButton);
    } else if (panel.drive_list()->isVisible() && chance(0.3)) {
      QComboBox* drives = panel.drive_list();
      const int index = pick(drives->count());
      note("  choose drive " + drives->itemText(index).toStdString());
      drives->setCurrentIndex(index);
      emit drives->activated(index);
    } else {
      menu_item();
    }
    stay_in_scratch();
  }

  void stay_in_scratch() {
    FilePanel& panel = window_->panel();
    const QString folder = QDir::fromNativeSeparators(panel.file_folder());
    const QString root = QDir(scratch_.path()).canonicalPath();
    const QString here = QDir(folder).canonicalPath();
    if (here == root || here.startsWith(root + "/")) return;
    note("  (the panel goes back to the scratch folder from " + folder.toStdString() + ")");
    panel.set_folder(scratch_.path());
  }

  void key() {
    static const Qt::Key KEYS[] = {Qt::Key_A, Qt::Key_Return, Qt::Key_Space, Qt::Key_1, Qt::Key_Left, Qt::Key_F1, Qt::Key_Q};
    const bool escape = chance(0.05);
    const Qt::Key k = escape ? Qt::Key_Escape : KEYS[pick(std::size(KEYS))];
    note("  key " + (escape ? std::string("Escape") : QKeySequence(k).toString().toStdString()));
    QTest::keyClick(window_.get(), k);
  }

  void resize() {
    static const QSize SIZES[] = {{800, 580}, {1300, 600}, {640, 900}, {1024, 768}, {320, 240}, {1600, 1000}};
    const QSize size = SIZES[pick(std::size(SIZES))];
    note("  resize " + std::to_string(size.width()) + "x" + std::to_string(size.height()));
    window_->resize(size);
    QApplication::processEvents();
  }

  // A tick of the 50 ms timer, as the timer gives it.
  void tick() {
    QtPort& port = window_->port();
    note(port.timer_running() ? "  tick" : "  tick (the timer is off)");
    if (port.timer_running() && port.on_tick) port.on_tick();
  }

  // --- Helpers --------------------------------------------------------------------

  int pick(size_t n) { return static_cast<int>(std::uniform_int_distribution<size_t>(0, n - 1)(rng_)); }
  bool chance(double p) { return std::bernoulli_distribution(p)(rng_); }

  std::string event_label() const {
    char label[32];
    std::snprintf(label, sizeof label, "#%ld", event_);
    return label;
  }

  void note(const std::string& line) {
    if (o_.verbose) std::printf("%s\n", line.c_str());
    history_.push_back(line);
    while (static_cast<int>(history_.size()) > o_.history) history_.pop_front();
  }

  void fail(const std::string& why) {
    ++failures_;
    print_history();
    std::fprintf(stderr, "monkey: FAILED at event %ld (seed %llu): %s\n\n", event_, o_.seed, why.c_str());
  }

  void write_file(const char* name, const std::string& bytes) {
    QFile f(QDir(scratch_.path()).filePath(QString::fromUtf8(name)));
    if (f.open(QIODevice::WriteOnly)) f.write(bytes.data(), static_cast<qint64>(bytes.size()));
  }

  MonkeyOptions o_;
  std::mt19937_64 rng_;
  QTemporaryDir scratch_;
  MonkeyBoxes boxes_;
  std::unique_ptr<MainWindow> window_;
  std::vector<std::pair<QAction*, std::string>> items_;
  std::vector<std::pair<QMenu*, std::string>> menus_;
  std::deque<std::string> history_;
  std::set<int> ending_items_;  // indices into items_
  int last_item_ = -1;
  int back_item_ = -1, forward_item_ = -1;  // indices into items_
  long long_game_ = 0;  // events left of a long game
  int longest_record_ = 0;
  long record_mode_events_ = 0;
  Snapshot flip_base_;
  Snapshot previous_;  // the position after the last event
  bool flip_base_valid_ = false;
  bool close_in_box_ = false;
  long event_ = 0;
  long moves_ = 0;
  int quits_ = 0;
  int programs_ = 0;
  int probes_ = 0;
  int failures_ = 0;
};

Monkey* running_monkey = nullptr;

#ifdef MONKEY_SANITIZED
void print_history_on_death() {
  if (running_monkey) running_monkey->print_history();
}
#endif

// The game waits (the thinking pause, the turning animation, a tick's pause)
// in nested event loops that run for real time. Asking the application to
// quit while no loop runs makes every later event loop return at once, so the
// waits cost nothing here. Returns whether it took.
bool make_waits_instant() {
  QCoreApplication::exit(0);
  QElapsedTimer t;
  t.start();
  QEventLoop loop;
  QTimer::singleShot(2000, &loop, &QEventLoop::quit);
  loop.exec();
  return t.elapsed() < 1000;
}

// The offscreen platform notes for every new window that it keeps no size
// hints; with a new program every hundred events or so that drowns the report.
QtMessageHandler default_messages = nullptr;
void quieter_messages(QtMsgType type, const QMessageLogContext& context, const QString& text) {
  if (text.contains(QLatin1String("propagateSizeHints"))) return;
  if (default_messages) default_messages(type, context, text);
}

bool parse(int argc, char** argv, MonkeyOptions& o) {
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    auto number = [&](auto& into) {
      if (i + 1 >= argc) return false;
      char* end = nullptr;
      const long long v = std::strtoll(argv[++i], &end, 10);
      if (*end != '\0' || v < 0) return false;
      into = static_cast<std::remove_reference_t<decltype(into)>>(v);
      return true;
    };
    if (a == "--seed") {
      if (!number(o.seed)) return false;
    } else if (a == "--events") {
      if (!number(o.events)) return false;
    } else if (a == "--history") {
      if (!number(o.history)) return false;
    } else if (a == "--verbose") {
      o.verbose = true;
    } else if (a == "--keep-going") {
      o.keep_going = true;
    } else {
      return false;
    }
  }
  return true;
}

}  // namespace
}  // namespace vv

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  qputenv("VEVERODU_NO_SOUND", "1");
  vv::default_messages = qInstallMessageHandler(vv::quieter_messages);
  QApplication app(argc, argv);
  vv::MonkeyOptions options;
  if (!vv::parse(argc, argv, options)) {
    std::fprintf(stderr, "usage: veverodu_monkey [--seed N] [--events N] [--history N] [--verbose] [--keep-going]\n");
    return 2;
  }
  if (!vv::make_waits_instant()) {
    std::fprintf(stderr, "monkey: the game's waits could not be made instant\n");
    return 2;
  }
  vv::Monkey monkey(options);
  vv::running_monkey = &monkey;
#ifdef MONKEY_SANITIZED
  __sanitizer_set_death_callback(vv::print_history_on_death);
#endif
  const int failures = monkey.run();
  vv::running_monkey = nullptr;
  return failures == 0 ? 0 : 1;
}

// Record files: saving from the panel (棋譜 → 書込, Record → Save, then the
// form's RETURN button), loading from its file list (棋譜 → 読込, Record →
// Load). A file is written only when every text can be written, and a file
// is read and replayed completely before the game on the board is given up
// for it.
#include <string>

#include "flow/game.h"
#include "record/record_format.h"
#include "record/shift_jis.h"

namespace vv {
namespace {

constexpr const char* SAVE_TITLE = "棋譜書込";
constexpr const char* LOAD_TITLE = "棋譜";

std::string in_folder(const std::string& folder, const std::string& name) {
  if (folder.empty()) return name;
  return folder + "/" + name;
}

// A loaded file's header lines are placed in twips; drawing counts grid places.
double grid_x(double twips) { return (twips - 2200) / 600.0; }
double grid_y(double twips) { return (twips - 520) / 615.0; }

}  // namespace

void Game::show_load_panel() {
  show_file_lists(true, true, true);
  hide_save_form();
}

// A flipped board or a handicap cannot be saved: a record file replays its
// moves from the even starting position.
void Game::show_save_panel() {
  if (flow.board_flipped) {
    port_.message(SAVE_TITLE, "反転後は書き込みできません");
    return;
  }
  if (handicap.handicap_set) {
    port_.message(SAVE_TITLE, "ﾊﾝﾃﾞｷｬｯﾌﾟ設定後は書き込みできません");
    return;
  }
  show_file_lists(true, true, false);
  show_save_form();
}

void Game::save_record_file() {
  const SaveFormTexts typed = port_.save_form_texts();
  if (typed.file.empty()) {
    port_.message("  ", "ﾌｧｲﾙ名が入力されていません");
    return;
  }
  if (record.move_number < 1) {
    port_.message("棋譜保存", "保存するデータがありません");
    return;
  }

  // The form asks for the first and the second player; the file names the
  // top side's player on line 2 and the bottom side's on line 3.
  record_format::RecordFile file;
  file.game = typed.game;
  const bool man_first = flow.man_side == flow.first_side;
  file.top = man_first ? typed.second : typed.first;
  file.bottom = man_first ? typed.first : typed.second;
  file.moves = record_format::lines_of(record);

  std::string bytes;
  int bad_header = 0;
  std::string encoded_name;
  if (!sjis::from_utf8(typed.file, encoded_name)) {
    port_.message(SAVE_TITLE, "ファイル名「" + typed.file + "」には棋譜ファイルに書けない文字があります");
    return;
  }
  if (!record_format::format_record_file(file, bytes, bad_header)) {
    const std::string& text = bad_header == 1 ? file.game : bad_header == 2 ? file.top : file.bottom;
    port_.message(SAVE_TITLE, "「" + text + "」には棋譜ファイルに書けない文字があります");
    return;
  }

  const std::string path = in_folder(port_.file_list_folder(), typed.file + record_format::EXTENSION);
  std::string reason;
  if (!port_.write_file(path, bytes, reason)) {
    // The panel stays open with what was typed, so the player can try another name or folder.
    port_.message(SAVE_TITLE, path + " に書き込めません: " + reason);
    return;
  }
  hide_record_panel();
  port_.refresh_file_list();
  port_.message("  ", "棋譜を書き込みました");
}

void Game::load_record_file(const std::string& folder, const std::string& file_name) {
  show_file_lists(false, false, false);
  const std::string path = in_folder(folder, file_name);
  std::string bytes, reason;
  if (!port_.read_file(path, bytes, reason)) {
    port_.message(LOAD_TITLE, path + " を開けません: " + reason);
    return;
  }
  record_format::RecordFile file;
  record_format::ReadError error;
  if (!record_format::read_record_file(bytes, file, error)) {
    port_.message(LOAD_TITLE, path + " の " + std::to_string(error.line) + " 行目が読めません: " + error.why);
    return;
  }

  // The file holds a whole game: from here on the one on the board gives way
  // to it. Its header lines are shown: the top side's player above the
  // board, the bottom side's and the game's name below it.
  reset_game();
  flow.record_mode = true;
  struct Header {
    const std::string& text;
    double y_twips;
    int colour;
  };
  const Header headers[3] = {{file.game, 7400, LIGHT_RED}, {file.top, 300, WHITE}, {file.bottom, 7000, WHITE}};
  for (const Header& h : headers)
    draw_text_at(grid_x(record_format::header_x_twips(h.text)), grid_y(h.y_twips), h.text, h.colour, 12);

  const int moves = static_cast<int>(file.moves.size());
  for (int i = 1; i <= moves; ++i) {
    const record_format::MoveLine& m = file.moves[i - 1];
    record.from_x[i] = m.from_x;
    record.from_y[i] = m.from_y;
    record.to_x[i] = m.to_x;
    record.to_y[i] = m.to_y;
    record.placed[i] = m.placed;
    record.piece[i] = m.piece;
    record.captured[i] = m.captured;
    record.man_time_before[i] = static_cast<double>(m.man_before);
    record.man_time_after[i] = static_cast<double>(m.man_after);
    record.com_time_before[i] = static_cast<double>(m.com_before);
    record.com_time_after[i] = static_cast<double>(m.com_after);
  }
  record.move_number = 0;
  flow.move_count = 0;
  record.record_length = moves;
  if (moves == 0) {
    port_.message(LOAD_TITLE, "棋譜ﾌｧｲﾙにﾃﾞｰﾀがありません");
    return;
  }
  port_.message(LOAD_TITLE, " 読み込みました");
  port_.message(LOAD_TITLE, "棋譜を '進 'で進めて下さい");
  // The file does not say whether the computer played, so who moved first
  // decides: a top-side piece first is replayed as a game the computer
  // opened, a bottom-side piece first as a game between two people.
  if (record.piece[1] >= 10) {
    flow.game_mode = AGAINST_COMPUTER;
    flow.first_side = flow.com_side;
    flow.second_side = flow.man_side;
  } else {
    flow.game_mode = TWO_PEOPLE;
    flow.first_side = flow.man_side;
    flow.second_side = flow.com_side;
  }
  flow.side_to_move = flow.first_side;
}

}  // namespace vv

#include "flow/recording_port.h"

#include <cmath>

namespace vv {
namespace {

std::string escape_returns(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '\r')
      out += "\\r";
    else if (c == '\n')
      out += "\\n";
    else
      out += c;
  }
  return out;
}

}  // namespace

void RecordingPort::draw_text(double, double, const std::string& text, int, int, bool) {
  ++drawings;
  texts.push_back(text);
}

void RecordingPort::message(const std::string& title, const std::string& text) {
  events.push_back("msg " + title + "|" + escape_returns(text));
}

bool RecordingPort::ask(const std::string& title, const std::string& text) {
  bool answer = true;
  if (!answers.empty()) {
    answer = answers.front();
    answers.pop_front();
  }
  events.push_back("msg " + title + "|" + escape_returns(text) + (answer ? "|yes" : "|no"));
  return answer;
}

void RecordingPort::show_save_form(bool visible) {
  save_form_shown = visible;
  if (!visible) form = SaveFormTexts{};
}

void RecordingPort::computer_moved(int from_x, int from_y, int to_x, int to_y, int placed) {
  events.push_back("com " + std::to_string(from_x) + ' ' + std::to_string(from_y) + ' ' + std::to_string(to_x) + ' ' +
                   std::to_string(to_y) + ' ' + std::to_string(placed));
}

bool RecordingPort::read_file(const std::string& path, std::string& bytes, std::string& error) {
  if (real_files) return Port::read_file(path, bytes, error);
  error = "no files here";
  return false;
}

bool RecordingPort::write_file(const std::string& path, const std::string& bytes, std::string& error) {
  return real_files ? Port::write_file(path, bytes, error) : true;
}

void RecordingPort::play(Sound s) { events.push_back(std::string("sound ") + sound_name(s)); }

void RecordingPort::wait(double seconds) {
  // Like a real clock, the reading starts again from 0 at midnight.
  if (seconds > 0) now = std::fmod(now + seconds, 86400.0);
}

}  // namespace vv

// Another program run beside this one, spoken to line by line over pipes:
// an engine for a match, or a copy of this program playing a share of the
// games. Started with fork and exec (no shell), its standard input and output
// ours to write and read; its standard error goes where ours goes.
#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

namespace vv::cli {

// A command line split at blanks (no quoting, no shell).
std::vector<std::string> split_command(const std::string& command);

class EngineProcess {
 public:
  EngineProcess() = default;
  EngineProcess(const EngineProcess&) = delete;
  EngineProcess& operator=(const EngineProcess&) = delete;
  ~EngineProcess() { close(); }

  // Starts argv[0] (looked up in PATH when it has no '/'). False with a reason
  // when it cannot be started.
  bool start(const std::vector<std::string>& argv, std::string& error);
  bool running() const { return pid_ > 0; }

  // One line to its input; false when it can no longer be written.
  bool send(const std::string& line);
  // The next line of its output, waiting at most timeout_ms (negative: no
  // limit). False on time out or at the end of its output.
  bool read_line(std::string& line, int timeout_ms);
  bool at_end() const { return at_end_; }
  int output_fd() const { return out_fd_; }
  // A whole line already read into the buffer, without waiting.
  bool buffered_line(std::string& line);
  // Reads what the pipe holds now into the buffer; false at its end.
  bool fill();

  // Closes its input, gives it grace_ms to end, then kills it; waits for it.
  void close(int grace_ms = 500);

 private:
  pid_t pid_ = -1;
  int in_fd_ = -1;   // its standard input
  int out_fd_ = -1;  // its standard output
  std::string buffer_;
  bool at_end_ = false;
};

}  // namespace vv::cli

#include "cli/engine_process.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace vv::cli {

std::vector<std::string> split_command(const std::string& command) {
  std::istringstream in(command);
  std::vector<std::string> words;
  for (std::string w; in >> w;) words.push_back(w);
  return words;
}

bool EngineProcess::start(const std::vector<std::string>& argv, std::string& error) {
  close();
  if (argv.empty()) {
    error = "empty command";
    return false;
  }
  int to_child[2], from_child[2], exec_report[2];
  if (pipe(to_child) != 0) {
    error = std::strerror(errno);
    return false;
  }
  if (pipe(from_child) != 0) {
    error = std::strerror(errno);
    ::close(to_child[0]), ::close(to_child[1]);
    return false;
  }
  // Closed on a successful exec; carries errno when exec fails.
  if (pipe2(exec_report, O_CLOEXEC) != 0) {
    error = std::strerror(errno);
    for (int fd : {to_child[0], to_child[1], from_child[0], from_child[1]}) ::close(fd);
    return false;
  }
  std::vector<char*> args;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  const pid_t pid = fork();
  if (pid < 0) {
    error = std::strerror(errno);
    for (int fd : {to_child[0], to_child[1], from_child[0], from_child[1], exec_report[0], exec_report[1]})
      ::close(fd);
    return false;
  }
  if (pid == 0) {
    dup2(to_child[0], STDIN_FILENO);
    dup2(from_child[1], STDOUT_FILENO);
    for (int fd : {to_child[0], to_child[1], from_child[0], from_child[1], exec_report[0]}) ::close(fd);
    std::signal(SIGPIPE, SIG_DFL);
    execvp(args[0], args.data());
    const int e = errno;
    // Should even this report fail, the parent sees the pipe close as if the
    // program had started, and then its output end.
    if (write(exec_report[1], &e, sizeof e) < 0) {
    }
    _exit(127);
  }
  ::close(to_child[0]);
  ::close(from_child[1]);
  ::close(exec_report[1]);
  int child_errno = 0;
  const ssize_t got = read(exec_report[0], &child_errno, sizeof child_errno);
  ::close(exec_report[0]);
  pid_ = pid;
  in_fd_ = to_child[1];
  out_fd_ = from_child[0];
  fcntl(in_fd_, F_SETFD, FD_CLOEXEC);
  fcntl(out_fd_, F_SETFD, FD_CLOEXEC);
  buffer_.clear();
  at_end_ = false;
  if (got == static_cast<ssize_t>(sizeof child_errno)) {
    error = "cannot run '" + argv[0] + "': " + std::strerror(child_errno);
    close(0);
    return false;
  }
  return true;
}

bool EngineProcess::send(const std::string& line) {
  if (in_fd_ < 0) return false;
  const std::string text = line + '\n';
  std::size_t done = 0;
  while (done < text.size()) {
    const ssize_t n = write(in_fd_, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

bool EngineProcess::buffered_line(std::string& line) {
  const std::size_t end = buffer_.find('\n');
  if (end == std::string::npos) return false;
  line = buffer_.substr(0, end);
  if (!line.empty() && line.back() == '\r') line.pop_back();
  buffer_.erase(0, end + 1);
  return true;
}

bool EngineProcess::fill() {
  if (out_fd_ < 0 || at_end_) return false;
  char chunk[4096];
  const ssize_t n = read(out_fd_, chunk, sizeof chunk);
  if (n < 0 && (errno == EINTR || errno == EAGAIN)) return true;
  if (n <= 0) {
    at_end_ = true;
    return false;
  }
  buffer_.append(chunk, static_cast<std::size_t>(n));
  return true;
}

bool EngineProcess::read_line(std::string& line, int timeout_ms) {
  using Clock = std::chrono::steady_clock;
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeout_ms < 0 ? 0 : timeout_ms);
  while (true) {
    if (buffered_line(line)) return true;
    if (out_fd_ < 0 || at_end_) return false;
    int wait_ms = -1;
    if (timeout_ms >= 0) {
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
      if (left <= 0) return false;
      wait_ms = static_cast<int>(left);
    }
    pollfd p{out_fd_, POLLIN, 0};
    const int r = poll(&p, 1, wait_ms);
    if (r < 0 && errno == EINTR) continue;
    if (r <= 0) return false;
    if (!fill() && !buffered_line(line)) return false;
  }
}

void EngineProcess::close(int grace_ms) {
  if (in_fd_ >= 0) ::close(in_fd_);
  in_fd_ = -1;
  if (pid_ > 0) {
    int status = 0;
    bool ended = false;
    for (int waited = 0; waited <= grace_ms; waited += 10) {
      if (waitpid(pid_, &status, WNOHANG) == pid_) {
        ended = true;
        break;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    if (!ended) {
      kill(pid_, SIGKILL);
      waitpid(pid_, &status, 0);
    }
  }
  pid_ = -1;
  if (out_fd_ >= 0) ::close(out_fd_);
  out_fd_ = -1;
  buffer_.clear();
}

}  // namespace vv::cli

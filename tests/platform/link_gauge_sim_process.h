// Runs rz47-gauge-sim as a child process for the serial link's tests: starts it,
// takes the terminal path from its first output line, and stops it again.
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

extern char** environ;

namespace rz47::testing {

class GaugeSimProcess {
 public:
  explicit GaugeSimProcess(const std::vector<std::string>& options) {
    int out[2];
    if (pipe2(out, O_CLOEXEC) != 0) return;
    std::vector<std::string> args{RZ47_GAUGE_SIM};
    args.insert(args.end(), options.begin(), options.end());
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    if (posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    if (pid_ > 0) port_ = ReadLine(out[0]);
    close(out[0]);
  }

  ~GaugeSimProcess() {
    if (pid_ > 0) {
      kill(pid_, SIGKILL);
      Wait();
    }
  }

  GaugeSimProcess(const GaugeSimProcess&) = delete;
  GaugeSimProcess& operator=(const GaugeSimProcess&) = delete;

  // The terminal path; empty if the simulator did not start.
  const std::string& Port() const { return port_; }

  void Signal(int signal) const {
    if (pid_ > 0) kill(pid_, signal);
  }

  // Waits for the end; the exit code, or 128 + signal.
  int Wait() {
    if (pid_ <= 0) return exit_;
    int status = 0;
    while (waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
    }
    pid_ = -1;
    exit_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return exit_;
  }

 private:
  // The first line, waiting at most 10 s for the simulator to come up.
  static std::string ReadLine(int fd) {
    std::string line;
    char ch = 0;
    pollfd pfd{fd, POLLIN, 0};
    while (poll(&pfd, 1, 10'000) == 1 && read(fd, &ch, 1) == 1 && ch != '\n') line.push_back(ch);
    return line;
  }

  pid_t pid_ = -1;
  int exit_ = -1;
  std::string port_;
};

}  // namespace rz47::testing

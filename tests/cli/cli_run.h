// Runs the built rz47cli as a child process and collects what it wrote.
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace rz47::test {

struct CliRun {
  int exitCode = -1;
  std::string out;  // standard output
  std::string err;  // standard error
};

// Starts rz47cli with `args` (regional settings of en_US) and returns its pid; its
// output goes nowhere.
inline pid_t StartCli(const std::vector<std::string>& args, int outFd = -1, int errFd = -1) {
  pid_t pid = ::fork();
  if (pid == 0) {
    int null = ::open("/dev/null", O_RDWR);
    ::dup2(outFd >= 0 ? outFd : null, 1);
    ::dup2(errFd >= 0 ? errFd : null, 2);
    ::setenv("LC_ALL", "en_US.UTF-8", 1);
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    std::vector<char*> argv;
    std::string program = RZ47CLI;
    argv.push_back(program.data());
    std::vector<std::string> copies = args;
    for (std::string& arg : copies) argv.push_back(arg.data());
    argv.push_back(nullptr);
    ::execv(program.c_str(), argv.data());
    ::_exit(127);
  }
  return pid;
}

inline CliRun RunCli(const std::vector<std::string>& args) {
  int out[2], err[2];
  if (::pipe(out) != 0 || ::pipe(err) != 0) return {};
  pid_t pid = StartCli(args, out[1], err[1]);
  ::close(out[1]);
  ::close(err[1]);
  CliRun run;
  pollfd fds[2] = {{out[0], POLLIN, 0}, {err[0], POLLIN, 0}};
  std::string* sinks[2] = {&run.out, &run.err};
  int open = 2;
  while (open > 0 && ::poll(fds, 2, -1) > 0) {
    for (int i = 0; i < 2; ++i) {
      if (fds[i].fd < 0 || fds[i].revents == 0) continue;
      char buffer[65536];
      ssize_t got = ::read(fds[i].fd, buffer, sizeof buffer);
      if (got > 0) {
        sinks[i]->append(buffer, static_cast<std::size_t>(got));
      } else {
        ::close(fds[i].fd);
        fds[i].fd = -1;
        --open;
      }
    }
  }
  int status = 0;
  ::waitpid(pid, &status, 0);
  run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  return run;
}

}  // namespace rz47::test

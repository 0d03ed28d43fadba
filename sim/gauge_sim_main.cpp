// rz47-gauge-sim: the simulated gauge on a pseudo-terminal.
//
//   rz47-gauge-sim [--fixture FILE] [--link PATH] [fault options]
//
// Prints the terminal's path on standard output (one line) as soon as it is ready,
// answers the program's frames like the gauge, and ends on SIGTERM or SIGINT
// (removing the --link symlink), or when the unplug fault hangs the port up.
// Exit 0 then; 1 when the terminal or the link cannot be made; 2 for bad arguments.
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "sim/gauge_fixture.h"
#include "sim/gauge_protocol.h"
#include "sim/pty_gauge_server.h"

namespace {

constexpr const char* kUsage =
    "usage: rz47-gauge-sim [--fixture FILE] [--link PATH] [--ignore-frames N]\n"
    "         [--bad-archive-crc J] [--wrong-echo-material J] [--wrong-echo-material-write J]\n"
    "         [--bad-params] [--old-firmware] [--short-screen N] [--unplug-after N] [--silent]\n";

int stopPipe[2] = {-1, -1};

void OnStopSignal(int) {
  const char byte = 1;
  const ssize_t ignored = write(stopPipe[1], &byte, 1);
  (void)ignored;
}

int Usage(const std::string& problem) {
  std::fprintf(stderr, "rz47-gauge-sim: %s\n%s", problem.c_str(), kUsage);
  return 2;
}

// Points `link` at `target`, replacing an older symlink but never another file.
bool MakeLink(const std::string& link, const std::string& target) {
  struct stat st {};
  if (lstat(link.c_str(), &st) == 0) {
    if (!S_ISLNK(st.st_mode)) {
      std::fprintf(stderr, "rz47-gauge-sim: %s exists and is not a symlink\n", link.c_str());
      return false;
    }
    unlink(link.c_str());
  }
  if (symlink(target.c_str(), link.c_str()) != 0) {
    std::fprintf(stderr, "rz47-gauge-sim: cannot link %s: %s\n", link.c_str(), std::strerror(errno));
    return false;
  }
  return true;
}

// Removes the symlink if it still points at our terminal.
void RemoveLink(const std::string& link, const std::string& target) {
  char buffer[4096];
  const ssize_t n = readlink(link.c_str(), buffer, sizeof buffer - 1);
  if (n > 0 && std::string(buffer, static_cast<std::size_t>(n)) == target) unlink(link.c_str());
}

}  // namespace

int main(int argc, char** argv) {
  using namespace rz47::sim;
  std::vector<std::string> args(argv + 1, argv + argc);
  GaugeFaults faults;
  if (auto error = TakeFaultOptions(args, faults)) return Usage(*error);

  std::string fixture;
  std::string link;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if ((args[i] == "--fixture" || args[i] == "--link") && i + 1 < args.size()) {
      (args[i] == "--fixture" ? fixture : link) = args[i + 1];
      ++i;
    } else if (args[i] == "--help" || args[i] == "-h") {
      std::fputs(kUsage, stdout);
      return 0;
    } else {
      return Usage("unknown or incomplete argument " + args[i]);
    }
  }

  GaugeModel model;
  if (!fixture.empty()) {
    std::string error;
    auto loaded = LoadGaugeFixture(fixture, &error);
    if (!loaded) return Usage(error);
    model = std::move(*loaded);
  } else {
    model = MakeDemoGaugeModel();
  }

  // Signals only wake the loop, so the symlink is always removed on the way out.
  if (pipe2(stopPipe, O_CLOEXEC) != 0) return 1;
  struct sigaction action {};
  action.sa_handler = OnStopSignal;
  sigemptyset(&action.sa_mask);
  sigaction(SIGTERM, &action, nullptr);
  sigaction(SIGINT, &action, nullptr);
  signal(SIGPIPE, SIG_IGN);

  std::string error;
  auto server = PtyGaugeServer::Create(GaugeProtocol(std::move(model), faults), &error);
  if (!server) {
    std::fprintf(stderr, "rz47-gauge-sim: %s\n", error.c_str());
    return 1;
  }
  if (!link.empty() && !MakeLink(link, server->PortPath())) return 1;

  std::printf("%s\n", server->PortPath().c_str());
  std::fflush(stdout);

  const PtyGaugeServer::End end = server->Serve(stopPipe[0]);
  const std::string port = server->PortPath();
  server.reset();
  if (!link.empty()) RemoveLink(link, port);
  if (end == PtyGaugeServer::End::Failed) {
    std::fprintf(stderr, "rz47-gauge-sim: terminal I/O failed\n");
    return 1;
  }
  return 0;
}

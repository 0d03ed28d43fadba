#include "sim/pty_gauge_server.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace rz47::sim {
namespace {

std::string Failure(const char* what) { return std::string(what) + ": " + std::strerror(errno); }

}  // namespace

std::unique_ptr<PtyGaugeServer> PtyGaugeServer::Create(GaugeProtocol protocol, std::string* error) {
  const int master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (master < 0) return *error = Failure("posix_openpt"), nullptr;
  if (grantpt(master) != 0 || unlockpt(master) != 0) {
    *error = Failure("grantpt/unlockpt");
    close(master);
    return nullptr;
  }
  const char* name = ptsname(master);
  if (name == nullptr) {
    *error = Failure("ptsname");
    close(master);
    return nullptr;
  }
  std::string path = name;
  const int slave = open(path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
  termios tio{};
  if (slave < 0 || tcgetattr(slave, &tio) != 0) {
    *error = Failure("open terminal side");
    if (slave >= 0) close(slave);
    close(master);
    return nullptr;
  }
  // Raw: no echo, no line editing, no translation of the binary frames.
  cfmakeraw(&tio);
  cfsetispeed(&tio, B1000000);
  cfsetospeed(&tio, B1000000);
  if (tcsetattr(slave, TCSANOW, &tio) != 0 || fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK) != 0) {
    *error = Failure("raw mode");
    close(slave);
    close(master);
    return nullptr;
  }
  return std::unique_ptr<PtyGaugeServer>(new PtyGaugeServer(std::move(protocol), master, slave, std::move(path)));
}

PtyGaugeServer::PtyGaugeServer(GaugeProtocol protocol, int master, int slave, std::string portPath)
    : protocol_(std::move(protocol)), master_(master), slave_(slave), portPath_(std::move(portPath)) {}

PtyGaugeServer::~PtyGaugeServer() { HangUp(); }

void PtyGaugeServer::HangUp() {
  if (slave_ >= 0) close(slave_);
  if (master_ >= 0) close(master_);
  slave_ = master_ = -1;
}

PtyGaugeServer::End PtyGaugeServer::Serve(int stopFd) {
  std::vector<std::uint8_t> output;
  std::vector<std::uint8_t> input(4096);
  while (true) {
    pollfd fds[2] = {{master_, static_cast<short>(POLLIN | (output.empty() ? 0 : POLLOUT)), 0}, {stopFd, POLLIN, 0}};
    if (poll(fds, 2, -1) < 0) {
      if (errno == EINTR) continue;
      return End::Failed;
    }
    if ((fds[1].revents & (POLLIN | POLLHUP)) != 0) return End::Stopped;
    if ((fds[0].revents & (POLLERR | POLLNVAL)) != 0) return End::Failed;
    if ((fds[0].revents & POLLIN) != 0) {
      const ssize_t n = read(master_, input.data(), input.size());
      if (n < 0 && errno != EAGAIN && errno != EINTR) return End::Failed;
      if (n > 0) {
        const auto answer = protocol_.Receive({input.data(), static_cast<std::size_t>(n)});
        if (protocol_.Unplugged()) {
          HangUp();
          return End::Unplugged;
        }
        output.insert(output.end(), answer.begin(), answer.end());
      }
    }
    if (!output.empty()) {
      // Never block on a client that stopped reading: keep taking frames meanwhile.
      const ssize_t n = write(master_, output.data(), output.size());
      if (n < 0 && errno != EAGAIN && errno != EINTR) return End::Failed;
      if (n > 0) output.erase(output.begin(), output.begin() + n);
    }
  }
}

}  // namespace rz47::sim

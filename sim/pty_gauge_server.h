// Serves the simulated gauge on a pseudo-terminal, so the program's serial backend
// talks to it exactly as to a real port. The server keeps its own descriptor of the
// terminal side open: clients may open and close the port any number of times, and
// only the server going away (exit, kill, the unplug fault) hangs the port up.
// One thread: Serve runs the loop until told to stop.
#pragma once

#include <memory>
#include <string>

#include "sim/gauge_protocol.h"

namespace rz47::sim {

class PtyGaugeServer {
 public:
  // Opens a pseudo-terminal in raw mode; nothing (and `error` set) on failure.
  static std::unique_ptr<PtyGaugeServer> Create(GaugeProtocol protocol, std::string* error);
  ~PtyGaugeServer();
  PtyGaugeServer(const PtyGaugeServer&) = delete;
  PtyGaugeServer& operator=(const PtyGaugeServer&) = delete;

  // The terminal path a client opens, e.g. /dev/pts/3.
  const std::string& PortPath() const { return portPath_; }

  enum class End { Stopped, Unplugged, Failed };
  // Answers frames until `stopFd` becomes readable, the gauge is unplugged (the
  // terminal is then hung up) or an I/O error occurs.
  End Serve(int stopFd);

 private:
  PtyGaugeServer(GaugeProtocol protocol, int master, int slave, std::string portPath);
  void HangUp();

  GaugeProtocol protocol_;
  int master_;
  int slave_;
  std::string portPath_;
};

}  // namespace rz47::sim

#include "sim/link_selection.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/link/serial_backend.h"
#include "sim/gauge_fixture.h"
#include "sim/simulated_backend.h"

namespace rz47 {
namespace {

bool IsSet(const char* value) { return value != nullptr && *value != '\0'; }

void AddProblem(std::string* problems, const std::string& problem) {
  if (problems == nullptr) return;
  if (!problems->empty()) *problems += "\n";
  *problems += problem;
}

std::shared_ptr<LinkBackend> SimulatedGauge(const char* fixture, const char* faultText, std::string* problem) {
  sim::GaugeModel model;
  if (IsSet(fixture)) {
    std::string error;
    auto loaded = sim::LoadGaugeFixture(fixture, &error);
    if (loaded) {
      model = std::move(*loaded);
    } else {
      AddProblem(problem, "RZ47_SIM_FIXTURE: " + error + "; the demo content is used");
      model = sim::MakeDemoGaugeModel();
    }
  } else {
    model = sim::MakeDemoGaugeModel();
  }
  sim::GaugeFaults faults;
  if (IsSet(faultText)) {
    std::vector<std::string> words = sim::SplitWords(faultText);
    if (auto error = sim::TakeFaultOptions(words, faults)) {
      AddProblem(problem, "RZ47_SIM_FAULTS: " + *error + "; no faults are injected");
      faults = {};
    } else if (!words.empty()) {
      AddProblem(problem, "RZ47_SIM_FAULTS: unknown option " + words.front() + "; no faults are injected");
      faults = {};
    }
  }
  return std::make_shared<sim::SimulatedBackend>(std::move(model), faults);
}

}  // namespace

std::vector<std::string> SplitPortList(std::string_view list) {
  std::vector<std::string> ports;
  std::size_t start = 0;
  while (start <= list.size()) {
    const std::size_t colon = list.find(':', start);
    const std::size_t end = colon == std::string_view::npos ? list.size() : colon;
    if (end > start) ports.emplace_back(list.substr(start, end - start));
    start = end + 1;
  }
  return ports;
}

std::shared_ptr<LinkBackend> ChooseLinkBackend(const char* device, const char* fixture, const char* faults,
                                               const char* ports, const std::vector<std::string>& extraPorts,
                                               std::string* problem) {
  if (IsSet(device) && std::strcmp(device, "sim") == 0) return SimulatedGauge(fixture, faults, problem);
  std::vector<std::string> named = IsSet(ports) ? SplitPortList(ports) : std::vector<std::string>{};
  named.insert(named.end(), extraPorts.begin(), extraPorts.end());
  return std::make_shared<SerialBackend>(std::move(named));
}

void InstallLinkBackend(const std::vector<std::string>& extraPorts) {
  std::string problem;
  SetLinkBackend(ChooseLinkBackend(std::getenv("RZ47_DEVICE"), std::getenv("RZ47_SIM_FIXTURE"),
                                   std::getenv("RZ47_SIM_FAULTS"), std::getenv("RZ47_PORT"), extraPorts, &problem));
  if (!problem.empty()) std::fprintf(stderr, "%s\n", problem.c_str());
}

}  // namespace rz47

#include "platform/link/serial_port_list.h"

#include <libserialport.h>

#include <algorithm>

namespace rz47 {
namespace {

std::string OrEmpty(const char* text) { return text != nullptr ? std::string(text) : std::string(); }

bool Contains(const std::vector<std::string>& paths, const std::string& path) {
  return std::find(paths.begin(), paths.end(), path) != paths.end();
}

}  // namespace

std::vector<SerialPortEntry> EnumerateUsbSerialPorts() {
  std::vector<SerialPortEntry> ports;
  sp_port** list = nullptr;
  if (sp_list_ports(&list) != SP_OK || list == nullptr) return ports;
  for (sp_port** p = list; *p != nullptr; ++p) {
    if (sp_get_port_transport(*p) != SP_TRANSPORT_USB) continue;
    SerialPortEntry entry;
    entry.path = OrEmpty(sp_get_port_name(*p));
    entry.description = OrEmpty(sp_get_port_usb_product(*p));
    entry.serialNumber = OrEmpty(sp_get_port_usb_serial(*p));
    int vid = 0;
    int pid = 0;
    if (sp_get_port_usb_vid_pid(*p, &vid, &pid) == SP_OK) {
      entry.id = (static_cast<std::uint32_t>(vid & 0xFFFF) << 16) | static_cast<std::uint32_t>(pid & 0xFFFF);
    }
    int bus = 0;
    int address = 0;
    if (sp_get_port_usb_bus_address(*p, &bus, &address) == SP_OK) {
      entry.location = (static_cast<std::uint32_t>(bus & 0xFF) << 8) | static_cast<std::uint32_t>(address & 0xFF);
    }
    // sp_get_port_name gives a bare name on some systems; the I/O needs a path.
    if (!entry.path.empty() && entry.path.front() != '/') entry.path = "/dev/" + entry.path;
    if (!entry.path.empty()) ports.push_back(std::move(entry));
  }
  sp_free_port_list(list);
  return ports;
}

std::string NamedPortDescription(const std::string& path) { return "RZ-4.7 (" + path + ")"; }

std::vector<SerialPortEntry> BuildSerialPortList(std::vector<SerialPortEntry> enumerated,
                                                 const std::vector<std::string>& namedPorts) {
  std::vector<SerialPortEntry> list;
  for (auto& entry : enumerated) {
    if (!Contains(namedPorts, entry.path)) list.push_back(std::move(entry));
  }
  std::vector<std::string> seen;
  for (const std::string& path : namedPorts) {
    if (path.empty() || Contains(seen, path)) continue;
    seen.push_back(path);
    SerialPortEntry entry;
    entry.path = path;
    entry.description = NamedPortDescription(path);
    list.push_back(std::move(entry));
  }
  return list;
}

}  // namespace rz47

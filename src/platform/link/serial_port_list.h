// The serial ports the serial link backend offers as devices.
//
// The list is the USB serial ports the system enumerates (described by their USB
// product string, which is how the session recognises the gauge) followed by the
// ports the user named explicitly (RZ47_PORT, --port): those are described as
// "RZ-4.7 (<path>)" so the session takes them for a gauge, and since the session
// opens the last matching entry, a named port wins over an enumerated one.
// Pure data plus one enumeration call; any thread.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace rz47 {

struct SerialPortEntry {
  std::string path;         // device node, e.g. /dev/ttyUSB0 or /dev/pts/3
  std::string description;  // USB product string, or "RZ-4.7 (<path>)" for a named port
  std::string serialNumber; // USB serial number where known
  std::uint32_t id = 0;     // USB vendor id << 16 | product id, 0 when unknown
  std::uint32_t location = 0;  // USB bus << 8 | address, 0 when unknown
};

// The USB serial ports enumerated now (empty when enumeration is impossible).
std::vector<SerialPortEntry> EnumerateUsbSerialPorts();

// Description of a port the user named.
std::string NamedPortDescription(const std::string& path);

// The device list: enumerated ports, minus any the user also named, then the named
// ports in the order given (duplicates and empty paths dropped).
std::vector<SerialPortEntry> BuildSerialPortList(std::vector<SerialPortEntry> enumerated,
                                                 const std::vector<std::string>& namedPorts);

}  // namespace rz47

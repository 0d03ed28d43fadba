#include "table/archive_count.h"

namespace rz47 {

std::uint32_t ArchiveCount = 0;

}  // namespace rz47

#include <unistd.h>

#include <climits>

#include "platform/host_name.h"

namespace vtx {

std::string HostName() {
  char buffer[HOST_NAME_MAX + 1] = {};
  if (gethostname(buffer, sizeof buffer - 1) != 0) return {};
  return buffer;
}

}  // namespace vtx

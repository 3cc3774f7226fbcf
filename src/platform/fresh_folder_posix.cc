#include <stdlib.h>

#include <string>
#include <system_error>

#include "platform/fresh_folder.h"

namespace vtx {

std::filesystem::path MakeFreshFolder(std::string_view prefix) {
  std::error_code ec;
  std::filesystem::path temp = std::filesystem::temp_directory_path(ec);
  if (ec) temp = "/tmp";
  std::string pattern = (temp / (std::string(prefix) + "XXXXXX")).string();
  if (!mkdtemp(pattern.data())) return {};
  return pattern;
}

}  // namespace vtx

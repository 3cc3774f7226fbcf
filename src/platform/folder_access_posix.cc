#include <unistd.h>

#include "platform/folder_access.h"

namespace vtx {

bool MayWriteIn(const std::filesystem::path& folder) { return ::access(folder.c_str(), W_OK) == 0; }

}  // namespace vtx

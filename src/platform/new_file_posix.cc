#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "platform/new_file.h"

namespace vtx {

NewFile::~NewFile() { Close(); }

NewFile::Created NewFile::Create(const std::filesystem::path& path) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  if (fd < 0) return errno == EEXIST ? Created::kNameTaken : Created::kFailed;
  handle_ = fd;
  return Created::kYes;
}

bool NewFile::WriteAndClose(std::string_view content) {
  const int fd = static_cast<int>(handle_);
  size_t done = 0;
  while (done < content.size()) {
    const ssize_t n = ::write(fd, content.data() + done, content.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += static_cast<size_t>(n);
  }
  const bool ok = done == content.size() && ::fsync(fd) == 0;
  handle_ = -1;
  return ::close(fd) == 0 && ok;
}

void NewFile::Close() {
  if (handle_ >= 0) ::close(static_cast<int>(handle_));
  handle_ = -1;
}

}  // namespace vtx

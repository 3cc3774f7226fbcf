#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <algorithm>

#include "platform/new_file.h"

namespace vtx {

namespace {

HANDLE AsHandle(std::intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }

}  // namespace

NewFile::~NewFile() { Close(); }

NewFile::Created NewFile::Create(const std::filesystem::path& path) {
  // CREATE_NEW fails on any existing name; without FILE_SHARE_DELETE nobody
  // removes the file while it is written.
  const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    return error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS ? Created::kNameTaken
                                                                       : Created::kFailed;
  }
  handle_ = reinterpret_cast<std::intptr_t>(file);
  return Created::kYes;
}

bool NewFile::WriteAndClose(std::string_view content) {
  const HANDLE file = AsHandle(handle_);
  size_t done = 0;
  while (done < content.size()) {
    const DWORD chunk = static_cast<DWORD>(std::min<size_t>(content.size() - done, 1 << 30));
    DWORD written = 0;
    if (!WriteFile(file, content.data() + done, chunk, &written, nullptr) || written == 0) break;
    done += written;
  }
  const bool ok = done == content.size() && FlushFileBuffers(file);
  handle_ = -1;
  return CloseHandle(file) && ok;
}

void NewFile::Close() {
  if (handle_ != -1) CloseHandle(AsHandle(handle_));
  handle_ = -1;
}

}  // namespace vtx

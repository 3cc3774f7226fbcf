#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <random>
#include <string>
#include <system_error>

#include "platform/fresh_folder.h"
#include "platform/utf8_path.h"

namespace vtx {

std::filesystem::path MakeFreshFolder(std::string_view prefix) {
  std::error_code ec;
  const std::filesystem::path temp = std::filesystem::temp_directory_path(ec);
  if (ec) return {};
  static constexpr char kDigits[] = "0123456789abcdefghijklmnopqrstuvwxyz";
  thread_local std::mt19937 random(std::random_device{}() ^ GetCurrentProcessId());
  std::uniform_int_distribution<int> digit(0, sizeof kDigits - 2);
  // CreateDirectoryW fails on a name that exists, so the folder made is one
  // nobody else holds; a taken name only costs another try.
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string name(prefix);
    for (int i = 0; i < 8; ++i) name += kDigits[digit(random)];
    std::filesystem::path folder = temp / PathFromUtf8(name);
    if (CreateDirectoryW(folder.c_str(), nullptr)) return folder;
    if (GetLastError() != ERROR_ALREADY_EXISTS) return {};
  }
  return {};
}

}  // namespace vtx

#include "platform/windows_paths.h"

#include <cctype>
#include <system_error>
#include <vector>

#include "platform/utf8_path.h"
#include "runtime/text.h"

namespace vtx {

namespace fs = std::filesystem;

namespace {

fs::path Normalize(const fs::path& path) {
  std::error_code ec;
  fs::path p = fs::absolute(path, ec);
  if (ec) p = path;
  p = p.lexically_normal();
  if (!p.has_filename() && p.has_relative_path()) p = p.parent_path();
  return p;
}

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

std::vector<std::string> SplitComponents(std::string_view s) {
  std::vector<std::string> parts;
  size_t i = 0;
  while (i < s.size()) {
    while (i < s.size() && IsSeparator(s[i])) ++i;
    size_t start = i;
    while (i < s.size() && !IsSeparator(s[i])) ++i;
    if (i > start) parts.emplace_back(s.substr(start, i - start));
  }
  return parts;
}

// Appends `name` to the existing folder `dir`, preferring an entry that
// differs only in letter case, as Windows would find it.
fs::path AppendFound(const fs::path& dir, const std::string& name) {
  std::error_code ec;
  fs::path exact = dir / PathFromUtf8(name);
  if (fs::exists(fs::symlink_status(exact, ec))) return exact;
  if (!fs::is_directory(dir, ec)) return exact;
  const std::string wanted = text::UCase(name);
  for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
    std::string candidate = Utf8FromPath(it->path().filename());
    if (text::UCase(candidate) == wanted) return it->path();
  }
  return exact;
}

// The components of `path` after `prefix`, or false when `path` is not inside it.
bool StripPrefix(const fs::path& path, const fs::path& prefix, std::vector<std::string>& rest) {
  auto p = path.begin();
  for (auto q = prefix.begin(); q != prefix.end(); ++q, ++p) {
    if (p == path.end() || *p != *q) return false;
  }
  rest.clear();
  for (; p != path.end(); ++p)
    if (!p->empty()) rest.push_back(Utf8FromPath(*p));
  return true;
}

}  // namespace

WindowsPaths::WindowsPaths(fs::path default_root) : default_root_(Normalize(default_root)) {}

void WindowsPaths::MapDrive(std::string_view drive, const fs::path& folder) {
  if (drive.empty() || !std::isalpha(static_cast<unsigned char>(drive[0]))) return;
  drives_[static_cast<char>(std::toupper(static_cast<unsigned char>(drive[0])))] =
      Normalize(folder);
}

fs::path WindowsPaths::DriveFolder(char letter) const {
  char upper = static_cast<char>(std::toupper(static_cast<unsigned char>(letter)));
  auto it = drives_.find(upper);
  if (it != drives_.end()) return it->second;
  return default_root_ / std::string(1, upper);
}

char WindowsPaths::DriveLetterOf(std::string_view windows_path) {
  if (windows_path.size() >= 2 && windows_path[1] == ':' &&
      std::isalpha(static_cast<unsigned char>(windows_path[0])))
    return static_cast<char>(std::toupper(static_cast<unsigned char>(windows_path[0])));
  return 0;
}

fs::path WindowsPaths::ToHost(std::string_view windows_path) const {
  char letter = DriveLetterOf(windows_path);
  std::string_view rest = letter ? windows_path.substr(2) : windows_path;
  fs::path base;
  bool unc = !letter && rest.size() >= 2 && IsSeparator(rest[0]) && IsSeparator(rest[1]);
  if (unc) {
    base = default_root_ / "UNC";
  } else if (letter) {
    // No current folder per drive here: "C:x" is taken as "C:\x".
    base = DriveFolder(letter);
  } else if (!rest.empty() && IsSeparator(rest[0])) {
    base = DriveFolder('C');
  }
  std::vector<std::string> kept;
  for (std::string& part : SplitComponents(rest)) {
    if (part == ".") continue;
    if (part == "..") {
      if (!kept.empty()) kept.pop_back();
      continue;
    }
    kept.push_back(std::move(part));
  }
  fs::path host = base;
  for (const std::string& part : kept)
    host = host.empty() ? PathFromUtf8(part) : AppendFound(host, part);
  return host;
}

std::string WindowsPaths::ToWindows(const fs::path& host_path) const {
  const fs::path path = Normalize(host_path);
  std::vector<std::pair<char, fs::path>> candidates(drives_.begin(), drives_.end());
  for (char c = 'A'; c <= 'Z'; ++c)
    if (!drives_.count(c)) candidates.emplace_back(c, default_root_ / std::string(1, c));
  char best_letter = 0;
  size_t best_depth = 0;
  std::vector<std::string> best_rest;
  for (const auto& [letter, folder] : candidates) {
    std::vector<std::string> rest;
    if (!StripPrefix(path, folder, rest)) continue;
    size_t depth = static_cast<size_t>(std::distance(folder.begin(), folder.end()));
    if (best_letter == 0 || depth > best_depth) {
      best_letter = letter;
      best_depth = depth;
      best_rest = std::move(rest);
    }
  }
  std::string out;
  if (best_letter == 0) {
    out = Utf8FromPath(path);
    for (char& c : out)
      if (c == '/') c = '\\';
    return out;
  }
  out = std::string(1, best_letter) + ":";
  if (best_rest.empty()) return out + "\\";
  for (const std::string& part : best_rest) out += "\\" + part;
  return out;
}

}  // namespace vtx

// Checked reading of one JSON object of a scenario: every key read is
// remembered, so that Finish() can refuse the keys nobody asked for.
#pragma once

#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "cli/scenario/json_path.h"

namespace vtx::cli {

// Raises JsonPathError naming `path` unless `value` is of the expected kind.
void ExpectObject(const Json& value, const std::string& path);
void ExpectArray(const Json& value, const std::string& path);
std::string ExpectString(const Json& value, const std::string& path);
bool ExpectBool(const Json& value, const std::string& path);
// A whole number in [min, max].
int64_t ExpectInteger(const Json& value, const std::string& path, int64_t min, int64_t max);

// Reads the members of one JSON object. The reader refers to `object`, which
// must outlive it. Not thread-safe (it is a parsing cursor).
class ObjectReader {
 public:
  // Raises JsonPathError when `object` is not a JSON object.
  ObjectReader(const Json& object, std::string path);

  const std::string& Path() const { return path_; }
  std::string PathOf(std::string_view key) const { return JoinKey(path_, key); }
  bool Has(std::string_view key) const;

  // The member, or nullptr when absent. Marks the key as known.
  const Json* Find(std::string_view key);
  // The member; raises "missing key" naming the object's path when absent.
  const Json& Require(std::string_view key);

  std::string RequireString(std::string_view key);
  std::optional<std::string> OptionalString(std::string_view key);
  std::optional<bool> OptionalBool(std::string_view key);
  int64_t RequireInteger(std::string_view key, int64_t min, int64_t max);
  std::optional<int64_t> OptionalInteger(std::string_view key, int64_t min, int64_t max);
  // Raises "unknown key" for the first member (in file order) never asked for.
  void Finish() const;

 private:
  const Json& object_;
  std::string path_;
  std::set<std::string, std::less<>> known_;
};

}  // namespace vtx::cli

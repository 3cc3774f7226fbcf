#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "runtime/variant.h"

namespace vtx::emu {

// A stored object named the way scenarios name it: by class name and id.
struct ObjectKey {
  std::string class_name;
  int32_t object_id = 0;
  friend bool operator==(const ObjectKey&, const ObjectKey&) = default;
};

// One text of the language catalog. Every field is compared exactly.
struct CatalogText {
  std::string language;
  std::string name_space;
  std::string key;
  std::string appendix;
  std::string text;
};

// The world around the session: who is logged in, on which machine, with
// which language, configuration, catalog, clock and drives.
// A value; the host reads it at the moment of each call, so a change made
// between two add-in calls takes effect at the next call.
struct Environment {
  // The user object KvUserInfo.GetCurrentUser returns; nullopt: Nothing.
  std::optional<ObjectKey> user;
  std::string logon_name = "kvuser";
  std::string computer_name = "KVHOST";
  std::map<std::string, std::string> variables;  // names match in any letter case
  std::string language = "en-US";
  // KvConfiguration values by path; paths match in any letter case.
  std::vector<std::pair<std::string, Variant>> configuration;
  // The language catalog's texts; nullopt: the catalog is not installed.
  std::optional<std::vector<CatalogText>> catalog = std::vector<CatalogText>{};
  // Local date and time as an OLE date; nullopt: the real clock.
  std::optional<double> clock;
  // Drive ("C:") -> folder of this machine; unmapped drives get a fresh folder.
  std::map<std::string, std::filesystem::path> drives;
};

// The configured value at `path` (letter case ignored), or nullptr.
const Variant* FindConfiguration(const Environment& environment, const std::string& path);

}  // namespace vtx::emu

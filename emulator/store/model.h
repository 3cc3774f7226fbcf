#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include <nlohmann/json.hpp>

#include "host/kv_codes.h"
#include "runtime/variant.h"
#include "utils/string_map.h"

namespace vtx::emu {

// Names of the attributes every class starts with, and of the host's own
// time stamps (creation time and creator), which follow the standard ones.
namespace attr {
inline constexpr const char* kClassId = "CLASS_ID";
inline constexpr const char* kObjectId = "OBJECT_ID";
inline constexpr const char* kClassId1 = "CLASS_ID1";
inline constexpr const char* kObjectId1 = "OBJECT_ID1";
inline constexpr const char* kClassId2 = "CLASS_ID2";
inline constexpr const char* kObjectId2 = "OBJECT_ID2";
inline constexpr const char* kParObjectId = "PAR_OBJECT_ID";
inline constexpr const char* kSonObjectId = "SON_OBJECT_ID";
inline constexpr const char* kCreatedAt = "KV_CREATED_AT";  // type 7 (date)
inline constexpr const char* kCreatedBy = "KV_CREATED_BY";  // type 3 (user's object id)
}  // namespace attr

// The host's codes under the store's short names.
namespace ftype = vtx::field_type;
namespace kind = vtx::class_kind;

struct AttributeDef {
  std::string name;
  std::string external;
  int32_t type = ftype::kText;
  int32_t length = 0;
  int32_t lookup = 0;  // referenced class id of a type-10 attribute
  bool excluded_from_history = false;
};

struct SequenceDef {
  int64_t next = 1;
  std::string format = "{}";
};

struct LookupItemDef {
  int32_t id = 0;
  std::string text;
};

// One class, fully resolved: `attributes` holds the complete ordered list
// (standard ones, host time stamps, superclass's, own), `identifiers` and
// `hierarchy_link` are already inherited where the model left them out.
struct ClassDef {
  int16_t id = 0;
  std::string name;
  std::string table;
  int16_t super = 0;  // top class of the family
  int32_t kind = kind::kKeyed1;
  std::vector<AttributeDef> attributes;
  std::vector<std::string> identifiers;
  int16_t hierarchy_link = 0;  // 0: none
  std::vector<int16_t> ends;   // two class ids for link classes
  std::vector<LookupItemDef> items;
  std::map<std::string, SequenceDef> sequences;  // by attribute name
  std::vector<std::pair<std::string, Variant>> defaults;

  bool IsLink() const { return kind::IsLink(kind); }
  // Index into `attributes`, or -1 (names compare without regard to case).
  int FindAttribute(std::string_view name) const;
  // Looks attributes up by their exact names from now on; called once the
  // attributes are final (a class of 50 attributes is asked for each of them).
  void IndexAttributes();

 private:
  StringMap<int> exact_names_;
  mutable size_t last_found_ = 0;
};

struct TableDef {
  std::string name;
  std::vector<std::pair<std::string, std::string>> columns;  // name, SQL type
  std::vector<nlohmann::ordered_json> rows;
};

// A validated model. Classes are kept in ascending id.
// Thread-safety: immutable once parsed; may be shared between threads.
struct Model {
  std::vector<ClassDef> classes;
  std::vector<TableDef> tables;
  int64_t max_query_size = 10000;
  // host.ledger: the ledger of electronic records (ledger.h); off only to
  // measure what it costs.
  bool ledger = true;
  // The model as it was given, serialised; a database file remembers it so
  // that it is never reopened under another model.
  std::string canonical;

  const ClassDef* ById(int16_t id) const;
  const ClassDef* ByName(std::string_view name) const;    // exact name
  const ClassDef* ByTable(std::string_view table) const;  // without regard to case
  // True when `class_id` is `ancestor_id` or below it.
  bool IsA(int16_t class_id, int16_t ancestor_id) const;
  // `id` and every class below it, in ascending id.
  std::vector<int16_t> Descendants(int16_t id) const;
};

// Parses and validates a model in the scenario form. Raises ModelError naming
// the JSON path of the first offending entry. The ordered form keeps the
// column order of plain tables as written.
Model ParseModel(const nlohmann::ordered_json& json);
Model ParseModel(const nlohmann::json& json);

// Raises the host's failure for an attribute the class lacks.
[[noreturn]] void RaiseUnknownAttribute(const ClassDef& def, std::string_view name);

}  // namespace vtx::emu

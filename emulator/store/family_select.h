#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "emulator/store/model.h"
#include "runtime/variant.h"

namespace vtx::emu {

// One condition of a structured query.
struct Condition {
  std::string connector;  // "" (AND) or "OR"
  std::string attribute;
  std::string op;  // =, <>, <, >, <=, >=
  Variant value;
  std::string alias;
};

// A statement over the objects of one class and the classes below it, and
// the values to bind to it (user text is only ever bound, never spliced).
struct FamilySql {
  std::string sql;
  std::vector<Variant> binds;
};

// SELECT OBJECT_ID, <attributes of `def` at `attributes`> from every table of
// the family of `def`, filtered by `conditions` (connectors as written, AND
// binding tighter than OR) and, unless null, by the ids in `id_filter`,
// ascending OBJECT_ID, at most
// `limit` rows when limit > 0. An attribute a table lacks reads as NULL.
// Raises the host's failure for an unknown attribute or operator and 13 for
// a value that does not convert to the attribute's type.
FamilySql BuildFamilySelect(const Model& model, const ClassDef& def,
                            const std::vector<int>& attributes,
                            const std::vector<Condition>& conditions,
                            const std::vector<int32_t>* id_filter, int64_t limit);

// A JSON array of ids, to bind for `IN (SELECT value FROM json_each(?))`.
std::string IdsAsJson(const std::vector<int32_t>& ids);

}  // namespace vtx::emu

#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/variant.h"

namespace vtx::emu {

// A column of a record or record list: name, length and field type code.
struct Column {
  std::string name;
  int32_t length = 0;
  int32_t type = 0;
};

// Rows of named columns: the data behind record lists, shared copy-on-write
// between lists and the collections they came from.
// Thread-safety: none; a table shared between owners is never written.
struct RecordTable {
  std::vector<Column> columns;
  std::vector<std::vector<Variant>> rows;
  // The object each leading row was read from (one-class query results), so
  // that a row names its object without selecting OBJECT_ID; 0 or missing
  // (rows added later) for rows that come from no object.
  std::vector<int32_t> row_objects;

  int32_t RowObject(size_t row) const { return row < row_objects.size() ? row_objects[row] : 0; }

  // Index of the column (names compare without regard to case), or -1.
  int FindColumn(std::string_view name) const;
  // Adds the column when it is missing; returns its index.
  int AddColumn(std::string name, int32_t length, int32_t type);
};

// Names compare as Korvel compares attribute names: ASCII letters without
// regard to case.
bool SameName(std::string_view a, std::string_view b);

// Order of two cell values for sorting: Empty and Null first, then numbers
// (numerically), then texts (binary). Returns <0, 0, >0.
int CompareCells(const Variant& a, const Variant& b);
// Equality of two cells for FindRecord: numbers numerically, texts exactly,
// Empty and Null only with themselves.
bool SameCell(const Variant& a, const Variant& b);

}  // namespace vtx::emu

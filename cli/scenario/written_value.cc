#include "cli/scenario/written_value.h"

#include <cmath>
#include <cstdint>
#include <limits>

#include <fmt/format.h>

#include "cli/scenario/json_reader.h"
#include "host/kv_codes.h"
#include "runtime/ole_date.h"
#include "runtime/runtime_error.h"

namespace vtx::cli {
namespace {

using Kind = WrittenValue::Kind;

constexpr int32_t kTextLength = 255;

double ParseDate(const Json& json, const std::string& path) {
  std::string iso = ExpectString(json, path);
  try {
    return date::FromIso(iso);
  } catch (const RuntimeError&) {
    throw JsonPathError(path, "expected a local date and time like \"2026-12-05T10:11:12\"");
  }
}

double ExpectNumber(const Json& json, const std::string& path) {
  if (!json.is_number()) throw JsonPathError(path, "expected a number");
  return json.get<double>();
}

WrittenValue Make(Kind kind, const std::string& path) {
  WrittenValue v;
  v.kind = kind;
  v.path = path;
  return v;
}

// `cell` as a whole number of `kind`, which holds `min` to `max`.
WrittenValue WholeCell(WrittenValue cell, Kind kind, int64_t min, int64_t max) {
  if (!cell.whole_number || cell.number < static_cast<double>(min) ||
      cell.number > static_cast<double>(max))
    throw JsonPathError(cell.path, fmt::format("expected a whole number from {} to {}", min, max));
  cell.kind = kind;
  return cell;
}

// A bare number in a cell takes the type of its column.
WrittenValue ConvertNumberCell(WrittenValue cell, int32_t type) {
  switch (type) {
    case field_type::kInt16:
      return WholeCell(std::move(cell), Kind::kI2, INT16_MIN, INT16_MAX);
    case field_type::kInt32:
    case field_type::kReference:
      return WholeCell(std::move(cell), Kind::kI4, INT32_MIN, INT32_MAX);
    case field_type::kDate:
      cell.kind = Kind::kDate;
      return cell;
    case field_type::kDouble:
    case field_type::kType8:
    case field_type::kType11:
    case field_type::kType12:
    case field_type::kType13:
      cell.kind = Kind::kR8;
      return cell;
    default:
      throw JsonPathError(cell.path, fmt::format("expected a value of field type {}", type));
  }
}

// Cells of a record list take the type of their column.
WrittenValue ConvertCell(WrittenValue cell, int32_t type) {
  switch (cell.kind) {
    case Kind::kNull:
    case Kind::kEmpty:
    case Kind::kI2:
    case Kind::kI4:
    case Kind::kR8:
    case Kind::kDate:
      return cell;
    case Kind::kString:
      if (type == field_type::kText || type == field_type::kType6) return cell;
      throw JsonPathError(cell.path, fmt::format("expected a value of field type {}", type));
    case Kind::kBool:
      if (type == field_type::kBoolean) return cell;
      throw JsonPathError(cell.path, fmt::format("expected a value of field type {}", type));
    case Kind::kNumber:
      return ConvertNumberCell(std::move(cell), type);
    default:
      throw JsonPathError(cell.path, "expected a plain value (text, number, Boolean, null)");
  }
}

WrittenValue::Row ParseRow(const Json& json, const std::string& path,
                           std::vector<WrittenColumn>& columns, bool add_columns) {
  ExpectObject(json, path);
  WrittenValue::Row row(columns.size());
  for (const auto& [name, cell_json] : json.items()) {
    std::string cell_path = JoinKey(path, name);
    WrittenValue cell = ParseValue(cell_json, cell_path);
    size_t index = 0;
    while (index < columns.size() && columns[index].name != name) ++index;
    if (index == columns.size()) {
      if (!add_columns) throw JsonPathError(cell_path, "no such column in \"columns\"");
      columns.push_back(WrittenColumn{name, 0, 0});
      row.emplace_back();
    }
    row[index] = std::move(cell);
  }
  return row;
}

// Short form: columns in the order they first appear, typed by InferColumnType.
void InferColumnTypes(WrittenValue& out) {
  for (auto& row : out.rows) row.resize(out.columns.size());
  for (size_t c = 0; c < out.columns.size(); ++c) {
    std::optional<WrittenValue> first;
    for (const auto& row : out.rows) {
      if (row[c] && row[c]->kind != Kind::kNull && row[c]->kind != Kind::kEmpty) {
        first = row[c];
        break;
      }
    }
    out.columns[c].type = InferColumnType(out.columns[c].name, first);
    out.columns[c].length = out.columns[c].type == field_type::kText ? kTextLength : 0;
  }
}

void ParseShortRows(const Json& json, const std::string& path, WrittenValue& out) {
  ExpectArray(json, path);
  for (size_t i = 0; i < json.size(); ++i) {
    out.rows.push_back(ParseRow(json[i], JoinIndex(path, i), out.columns, true));
  }
  InferColumnTypes(out);
}

void ParseLongForm(const Json& json, const std::string& path, WrittenValue& out) {
  ObjectReader reader(json, path);
  const Json& columns = reader.Require("columns");
  std::string columns_path = reader.PathOf("columns");
  ExpectArray(columns, columns_path);
  for (size_t i = 0; i < columns.size(); ++i) {
    ObjectReader column(columns[i], JoinIndex(columns_path, i));
    WrittenColumn written;
    written.name = column.RequireString("name");
    for (const auto& known : out.columns) {
      if (known.name == written.name)
        throw JsonPathError(column.PathOf("name"), "duplicate column");
    }
    written.type =
        static_cast<int32_t>(column.OptionalInteger("type", 0, 255).value_or(field_type::kText));
    written.length =
        static_cast<int32_t>(column.OptionalInteger("length", 0, 1 << 30)
                                 .value_or(written.type == field_type::kText ? kTextLength : 0));
    column.Finish();
    out.columns.push_back(written);
  }
  const Json& rows = reader.Require("rows");
  std::string rows_path = reader.PathOf("rows");
  ExpectArray(rows, rows_path);
  for (size_t i = 0; i < rows.size(); ++i) {
    out.rows.push_back(ParseRow(rows[i], JoinIndex(rows_path, i), out.columns, false));
  }
  reader.Finish();
}

void TypeCells(WrittenValue& out) {
  for (auto& row : out.rows) {
    for (size_t c = 0; c < out.columns.size(); ++c) {
      if (row[c]) row[c] = ConvertCell(std::move(*row[c]), out.columns[c].type);
    }
  }
}

// Calls `item` with each element of the array `json` and its path.
template <class Item>
void ForEachElement(const Json& json, const std::string& path, Item&& item) {
  ExpectArray(json, path);
  for (size_t i = 0; i < json.size(); ++i) item(json[i], JoinIndex(path, i));
}

// {"recordList": ...}: short-form rows, {"objects": [...]} or {"columns", "rows"}.
WrittenValue ParseRecordList(const Json& inner, const std::string& inner_path,
                             const std::string& path) {
  WrittenValue v = Make(Kind::kRecordList, path);
  if (inner.is_array()) {
    ParseShortRows(inner, inner_path, v);
  } else if (inner.is_object() && inner.contains("objects")) {
    ObjectReader reader(inner, inner_path);
    ForEachElement(reader.Require("objects"), reader.PathOf("objects"),
                   [&](const Json& ref, const std::string& ref_path) {
                     v.objects.push_back(ParseObjectRef(ref, ref_path));
                   });
    reader.Finish();
    v.rows_from_objects = true;
    v.columns = {WrittenColumn{"CLASS_ID", 0, field_type::kInt16},
                 WrittenColumn{"OBJECT_ID", 0, field_type::kInt32}};
    return v;
  } else if (inner.is_object()) {
    ParseLongForm(inner, inner_path, v);
  } else {
    throw JsonPathError(inner_path, "expected an array of rows or {\"columns\", \"rows\"}");
  }
  TypeCells(v);
  return v;
}

// The value forms holding one number: {"i2"}, {"i4"}, {"r8"}, {"date"}.
std::optional<WrittenValue> ParseNumberForm(const std::string& key, const Json& inner,
                                            const std::string& inner_path,
                                            const std::string& path) {
  if (key == "i2" || key == "i4") {
    bool i2 = key == "i2";
    WrittenValue v = Make(i2 ? Kind::kI2 : Kind::kI4, path);
    v.number = static_cast<double>(
        ExpectInteger(inner, inner_path, i2 ? -32768 : -2147483648LL, i2 ? 32767 : 2147483647LL));
    v.whole_number = true;
    return v;
  }
  if (key == "r8") {
    WrittenValue v = Make(Kind::kR8, path);
    v.number = ExpectNumber(inner, inner_path);
    return v;
  }
  if (key == "date") {
    WrittenValue v = Make(Kind::kDate, path);
    v.number = ParseDate(inner, inner_path);
    return v;
  }
  return std::nullopt;
}

// The value forms holding a list: {"objects"}, {"strings"}, {"array"}.
std::optional<WrittenValue> ParseListForm(const std::string& key, const Json& inner,
                                          const std::string& inner_path, const std::string& path) {
  if (key == "objects") {
    WrittenValue v = Make(Kind::kObjects, path);
    ForEachElement(inner, inner_path, [&](const Json& ref, const std::string& ref_path) {
      v.objects.push_back(ParseObjectRef(ref, ref_path));
    });
    return v;
  }
  if (key == "strings") {
    WrittenValue v = Make(Kind::kStrings, path);
    ForEachElement(inner, inner_path, [&](const Json& text, const std::string& text_path) {
      v.strings.push_back(ExpectString(text, text_path));
    });
    return v;
  }
  if (key == "array") {
    WrittenValue v = Make(Kind::kArray, path);
    ForEachElement(inner, inner_path, [&](const Json& element, const std::string& element_path) {
      v.elements.push_back(ParseValue(element, element_path));
    });
    return v;
  }
  return std::nullopt;
}

WrittenValue ParseValueObject(const Json& json, const std::string& path) {
  if (json.size() != 1) {
    if (json.empty()) throw JsonPathError(path, "expected a value, found an empty object");
    throw JsonPathError(path, "a value object has exactly one key (\"i4\", \"object\", ...)");
  }
  // Hold the iterator itself: binding through items() would keep a reference
  // into a proxy that dies at the end of the statement.
  const auto first = json.begin();
  const std::string key = first.key();
  const Json& inner = first.value();
  std::string inner_path = JoinKey(path, key);
  if (auto v = ParseNumberForm(key, inner, inner_path, path)) return std::move(*v);
  if (auto v = ParseListForm(key, inner, inner_path, path)) return std::move(*v);
  if (key == "empty" || key == "nothing") {
    if (!inner.is_boolean() || !inner.get<bool>()) throw JsonPathError(inner_path, "expected true");
    return Make(key == "empty" ? Kind::kEmpty : Kind::kNothing, path);
  }
  if (key == "object") {
    WrittenValue v = Make(Kind::kObject, path);
    v.objects.push_back(ParseObjectRef(inner, inner_path));
    return v;
  }
  if (key == "recordList") return ParseRecordList(inner, inner_path, path);
  if (key == "record") {
    WrittenValue v = Make(Kind::kRecord, path);
    v.rows.push_back(ParseRow(inner, inner_path, v.columns, true));
    InferColumnTypes(v);
    TypeCells(v);
    return v;
  }
  if (key == "class") {
    WrittenValue v = Make(Kind::kClass, path);
    v.text = ExpectString(inner, inner_path);
    return v;
  }
  throw JsonPathError(inner_path, "unknown value form");
}

}  // namespace

WrittenValue ParseValue(const Json& json, const std::string& path) {
  switch (json.type()) {
    case Json::value_t::string: {
      WrittenValue v = Make(Kind::kString, path);
      v.text = json.get<std::string>();
      return v;
    }
    case Json::value_t::boolean: {
      WrittenValue v = Make(Kind::kBool, path);
      v.flag = json.get<bool>();
      return v;
    }
    case Json::value_t::number_integer:
    case Json::value_t::number_unsigned:
    case Json::value_t::number_float: {
      WrittenValue v = Make(Kind::kNumber, path);
      v.number = json.get<double>();
      v.whole_number = std::isfinite(v.number) && v.number == std::floor(v.number);
      return v;
    }
    case Json::value_t::null:
      return Make(Kind::kNull, path);
    case Json::value_t::object:
      return ParseValueObject(json, path);
    default:
      throw JsonPathError(path, "expected a value, found " + DescribeJsonType(json));
  }
}

WrittenRef ParseObjectRef(const Json& json, const std::string& path) {
  ExpectObject(json, path);
  if (json.size() == 1 && json.contains("object")) {
    return ParseObjectRef(json["object"], JoinKey(path, "object"));
  }
  ObjectReader reader(json, path);
  WrittenRef ref;
  ref.path = path;
  if (reader.Has("label")) {
    ref.label = reader.RequireString("label");
    reader.Finish();
    return ref;
  }
  ref.class_name = reader.RequireString("class");
  if (reader.Has("id") == reader.Has("key"))
    throw JsonPathError(path, "expected exactly one of \"id\" and \"key\"");
  if (auto id = reader.OptionalInteger("id", 1, std::numeric_limits<int32_t>::max())) {
    ref.id = static_cast<int32_t>(*id);
  }
  ref.key = reader.OptionalString("key");
  reader.Finish();
  return ref;
}

int32_t InferColumnType(const std::string& name, const std::optional<WrittenValue>& first_value) {
  if (name == "CLASS_ID" || name == "CLASS_ID1" || name == "CLASS_ID2") return field_type::kInt16;
  if (name == "OBJECT_ID" || name == "OBJECT_ID1" || name == "OBJECT_ID2" ||
      name == "PAR_OBJECT_ID" || name == "SON_OBJECT_ID")
    return field_type::kInt32;
  if (!first_value) return field_type::kText;
  switch (first_value->kind) {
    case Kind::kBool:
      return field_type::kBoolean;
    case Kind::kNumber:
      return first_value->whole_number && std::abs(first_value->number) <= 2147483647.0
                 ? field_type::kInt32
                 : field_type::kDouble;
    case Kind::kI2:
      return field_type::kInt16;
    case Kind::kI4:
      return field_type::kInt32;
    case Kind::kR8:
      return field_type::kDouble;
    case Kind::kDate:
      return field_type::kDate;
    default:
      return field_type::kText;
  }
}

}  // namespace vtx::cli

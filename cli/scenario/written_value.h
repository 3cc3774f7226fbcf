// A value of a scenario as written (argument, host-action value, answer):
// checked when the scenario is read, turned into an Automation value only when
// its step runs, because objects are looked up in the store of that moment.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "cli/scenario/json_path.h"

namespace vtx::cli {

// A stored object named by class and object id, by class and key text (the
// identifier values joined with " "), or by the label an earlier seed or host
// step gave the object it created.
struct WrittenRef {
  std::string class_name;  // empty for a label
  std::optional<int32_t> id;
  std::optional<std::string> key;
  std::optional<std::string> label;
  std::string path;  // JSON path, for run-time messages
};

struct WrittenColumn {
  std::string name;
  int32_t length = 0;
  int32_t type = 1;  // field type code of the column
};

struct WrittenValue {
  enum class Kind {
    kString,      // text
    kBool,        // flag
    kNumber,      // number, whole_number when it has no fraction: typed by the parameter
    kI2,          // {"i2": n}
    kI4,          // {"i4": n}
    kR8,          // {"r8": x}
    kDate,        // {"date": "..."}: number holds the OLE date
    kNull,        // null
    kEmpty,       // {"empty": true}
    kNothing,     // {"nothing": true}
    kObject,      // {"object": ref}: objects[0]
    kObjects,     // {"objects": [refs]}
    kRecordList,  // {"recordList": ...}: columns, rows; or objects (one row each)
    kRecord,      // {"record": {...}}: columns, rows[0]
    kStrings,     // {"strings": [...]}: strings
    kClass,       // {"class": "Name"}: text
    kArray,       // {"array": [...]}: elements
  };
  using Row = std::vector<std::optional<WrittenValue>>;  // one cell per column; nullopt: not given

  Kind kind = Kind::kEmpty;
  std::string text;
  bool flag = false;
  double number = 0;
  bool whole_number = false;
  std::vector<WrittenRef> objects;
  bool rows_from_objects = false;  // record list {"objects": [...]}: CLASS_ID, OBJECT_ID rows
  std::vector<WrittenColumn> columns;
  std::vector<Row> rows;
  std::vector<std::string> strings;
  std::vector<WrittenValue> elements;
  std::string path;
};

// Parses one value in any form of the value table; raises JsonPathError for
// anything else (an unknown value form, a malformed date, ...).
WrittenValue ParseValue(const Json& json, const std::string& path);

// Parses a bare object reference {"class": ..., "id": ...},
// {"class": ..., "key": ...} or {"label": ...}; the wrapped form
// {"object": {...}} is accepted too.
WrittenRef ParseObjectRef(const Json& json, const std::string& path);

// The field type a short-form record-list column gets: the standard id
// attributes their own types, others the type of their first value.
int32_t InferColumnType(const std::string& name, const std::optional<WrittenValue>& first_value);

}  // namespace vtx::cli

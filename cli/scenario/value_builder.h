// Turns the values of a scenario into Automation values at the moment their
// step runs, typed by the parameter they are passed to.
#pragma once

#include <cstdint>
#include <string>
#include <utility>

#include "cli/scenario/written_value.h"
#include "host/kv_host.h"
#include "runtime/method_table.h"

namespace vtx::cli {

// Where values find and create host objects. The runner implements it over
// the emulated store; calls made through it are the runner's own work (the
// implementation keeps them out of the call count and the trace).
class ObjectSource {
 public:
  virtual ~ObjectSource() = default;
  // The stored object, read; raises RunError when there is none.
  virtual Ref<KvObject> LoadObject(const WrittenRef& ref) = 0;
  // The class id and object id of the stored object; raises RunError when
  // there is none.
  virtual std::pair<int16_t, int32_t> Identify(const WrittenRef& ref) = 0;
  virtual Ref<KvObjects> NewObjects() = 0;
  virtual Ref<KvRecordList> NewRecordList() = 0;
  virtual Ref<KvStrings> NewStrings() = 0;
  // The class of that name; raises RunError when there is none.
  virtual Ref<KvClass> FindClass(const std::string& name, const std::string& path) = 0;
};

// Raises JsonPathError when `value` cannot be passed to `param` (a number for
// a string, a record list for a KvObject, a 16-bit integer out of range...).
void CheckValueForParameter(const WrittenValue& value, const ParamInfo& param);

// The Automation value of `value`: typed by `param` when given, else as a
// Variant parameter takes it (a whole number is a 32-bit integer, any other
// number a double).
Variant BuildValue(const WrittenValue& value, const ParamInfo* param, ObjectSource& source);

// The value an omitted by-reference or out parameter starts with: "", 0,
// False, Empty or Nothing according to its type.
Variant DefaultValue(const ParamInfo& param);

}  // namespace vtx::cli

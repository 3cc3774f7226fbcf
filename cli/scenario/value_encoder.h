// Writes Automation values into transcripts, in the forms of the value table:
// numbers typed ({"i2": 5}), objects by class and id, record lists in the long
// form, collections, string lists, classes and arrays.
#pragma once

#include <functional>

#include "cli/scenario/json_path.h"
#include "runtime/variant.h"

namespace vtx::cli {

// Encodes values, reading host objects through their interfaces. `guard`, when
// given, wraps every encoding so that those reads can be kept out of the call
// count and the trace (the runner passes a CallMonitor::Pause).
// Thread-safety: used on the thread that owns the objects.
class ValueEncoder {
 public:
  using Guard = std::function<void(const std::function<void()>&)>;
  explicit ValueEncoder(Guard guard = {}) : guard_(std::move(guard)) {}

  Json Encode(const Variant& value) const;

 private:
  Json EncodeUnguarded(const Variant& value) const;
  Json EncodeObject(const Ref<Dispatch>& object) const;

  Guard guard_;
};

// {"i2": n}, {"i4": n}, {"r8": x}: numbers in transcripts always carry their type.
Json TypedNumber(const Variant& value);

}  // namespace vtx::cli

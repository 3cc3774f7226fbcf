#include "cli/scenario/fault_verdict.h"

#include <optional>
#include <set>

namespace vtx::cli {
namespace {

Json Field(const Json& entry, const char* key) { return entry.contains(key) ? entry[key] : Json(); }

bool ShowsFailure(const std::string& class_name, const Json& faulted, const Json& clean) {
  const Json result = Field(faulted, "result");
  const bool failure_result =
      result == Json(false) || (class_name == "Application" && result == Json{{"i2", 1}});
  return !Field(faulted, "error").is_null() || failure_result || result != Field(clean, "result") ||
         Field(faulted, "messages") != Field(clean, "messages");
}

std::optional<Json> Find(const StoreState& state, const std::string& key) {
  auto it = state.find(key);
  if (it == state.end()) return std::nullopt;
  return it->second;
}

bool Holds(const StoreState& state, const std::string& key, const Json& values) {
  return Find(state, key) == values;
}

// The first object, stored or gone, that is neither as it was before the step
// nor as the clean step left it, described; or "".
std::string Damaged(const StoreState& faulted, const StepOutcome& clean) {
  std::set<std::string> keys;
  for (const StoreState* state : {&faulted, &clean.before, &clean.after})
    for (const auto& [key, values] : *state) keys.insert(key);
  for (const std::string& key : keys) {
    const std::optional<Json> now = Find(faulted, key);
    if (now != Find(clean.before, key) && now != Find(clean.after, key))
      return "object " + key + (now ? " half-written" : " lost");
  }
  return "";
}

bool IsLink(const std::string& key) { return key.rfind("link ", 0) == 0; }

Json WithoutObjectId(Json values) {
  values.erase("OBJECT_ID");
  return values;
}

// A quiet step may leave new links out (and the links it wrote after one left
// out get other object ids), nothing else.
bool OnlyLinksLeftOut(const StoreState& faulted, const StepOutcome& clean) {
  for (const auto& [key, values] : clean.after) {
    if (!Holds(faulted, key, values) && (!IsLink(key) || clean.before.count(key))) return false;
  }
  for (const auto& [key, values] : faulted) {
    if (Holds(clean.after, key, values)) continue;
    if (!IsLink(key)) return false;
    bool written_clean = false;
    for (const auto& [clean_key, clean_values] : clean.after) {
      written_clean = written_clean || (IsLink(clean_key) &&
                                        WithoutObjectId(clean_values) == WithoutObjectId(values));
    }
    if (!written_clean) return false;
  }
  return true;
}

}  // namespace

std::string FaultVerdict(const std::string& class_name, const Json& faulted_entry,
                         const StoreState& faulted_after, const StepOutcome& clean) {
  if (!ShowsFailure(class_name, faulted_entry, clean.entry)) {
    return OnlyLinksLeftOut(faulted_after, clean) ? "" : "a failure reported as success";
  }
  return Damaged(faulted_after, clean);
}

}  // namespace vtx::cli

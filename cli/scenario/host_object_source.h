// Values of a scenario resolved against the emulated host: objects by class
// and id or key, new collections, record lists and string lists.
#pragma once

#include <map>
#include <optional>
#include <string>

#include "cli/scenario/value_builder.h"
#include "emulator/emulated_host.h"

namespace vtx::cli {

// REQUIRES: the caller keeps the host's call monitor paused while it builds
// values, so that the runner's own host calls are neither counted nor traced.
// Thread-safety: none; used on the host's thread. `host` must outlive it.
class HostObjectSource : public ObjectSource {
 public:
  explicit HostObjectSource(emu::EmulatedHost& host) : host_(host) {}

  // The stored object a reference names, or nullopt when there is none.
  std::optional<emu::ObjectRef> Resolve(const WrittenRef& ref);
  // The same, named the way the host's environment and answers name objects
  // (by the object's own class); raises RunError when there is none.
  emu::ObjectKey ResolveKey(const WrittenRef& ref);
  // The name of a class of the model ("" for an unknown id).
  std::string ClassName(int16_t class_id) const;

  // Names the object a seed or host step created, for later {"label": ...}.
  void Label(const std::string& label, emu::ObjectRef object) { labels_[label] = object; }

  Ref<KvObject> LoadObject(const WrittenRef& ref) override;
  std::pair<int16_t, int32_t> Identify(const WrittenRef& ref) override;
  Ref<KvObjects> NewObjects() override;
  Ref<KvRecordList> NewRecordList() override;
  Ref<KvStrings> NewStrings() override;
  Ref<KvClass> FindClass(const std::string& name, const std::string& path) override;

 private:
  emu::EmulatedHost& host_;
  std::map<std::string, emu::ObjectRef> labels_;
};

// "Part 4711 A" / "Part 12": how messages name a reference.
std::string DescribeRef(const WrittenRef& ref);

}  // namespace vtx::cli

#include "cli/scenario/host_object_source.h"

#include <fmt/format.h>

#include "cli/scenario/run_error.h"
#include "emulator/host_objects/store_interfaces.h"

namespace vtx::cli {

std::string DescribeRef(const WrittenRef& ref) {
  if (ref.label) return fmt::format("labelled \"{}\"", *ref.label);
  if (ref.id) return fmt::format("{} {}", ref.class_name, *ref.id);
  return fmt::format("{} \"{}\"", ref.class_name, ref.key.value_or(""));
}

std::optional<emu::ObjectRef> HostObjectSource::Resolve(const WrittenRef& ref) {
  emu::Store& store = host_.GetStore();
  if (ref.label) {
    auto it = labels_.find(*ref.label);
    if (it == labels_.end()) return std::nullopt;
    return store.Find(ClassName(it->second.class_id), it->second.object_id);
  }
  if (ref.id) return store.Find(ref.class_name, *ref.id);
  return store.FindByKey(ref.class_name, ref.key.value_or(""));
}

emu::ObjectKey HostObjectSource::ResolveKey(const WrittenRef& ref) {
  std::optional<emu::ObjectRef> found = Resolve(ref);
  if (!found)
    throw RunError(fmt::format("{}: no stored object {}", ref.path, DescribeRef(ref)), true);
  return emu::ObjectKey{ClassName(found->class_id), found->object_id};
}

std::string HostObjectSource::ClassName(int16_t class_id) const {
  const emu::ClassDef* def = host_.GetStore().GetModel().ById(class_id);
  return def ? def->name : std::string();
}

Ref<KvObject> HostObjectSource::LoadObject(const WrittenRef& ref) {
  std::optional<emu::ObjectRef> found = Resolve(ref);
  if (!found)
    throw RunError(fmt::format("{}: no stored object {}", ref.path, DescribeRef(ref)), true);
  return emu::LoadObject(host_.GetStore(), host_.ObjectStore(), *found);
}

std::pair<int16_t, int32_t> HostObjectSource::Identify(const WrittenRef& ref) {
  std::optional<emu::ObjectRef> found = Resolve(ref);
  if (!found)
    throw RunError(fmt::format("{}: no stored object {}", ref.path, DescribeRef(ref)), true);
  return {found->class_id, found->object_id};
}

Ref<KvObjects> HostObjectSource::NewObjects() { return host_.ObjectStore()->CreateObjects(); }

Ref<KvRecordList> HostObjectSource::NewRecordList() { return emu::NewRecordList(host_.GetStore()); }

Ref<KvStrings> HostObjectSource::NewStrings() { return emu::NewStrings(host_.GetStore()); }

Ref<KvClass> HostObjectSource::FindClass(const std::string& name, const std::string& path) {
  Ref<KvClass> found = emu::NewClasses(host_.GetStore())->ClassByName(name);
  if (!found) throw RunError(fmt::format("{}: no class \"{}\"", path, name), true);
  return found;
}

}  // namespace vtx::cli

#include "emulator/host_objects/emu_class.h"

#include <algorithm>

#include <fmt/format.h>

#include "emulator/host_objects/emu_record.h"
#include "emulator/store/record_table.h"

namespace vtx::emu {

int16_t FamilyOf(const Model& model, int16_t class_id) {
  const ClassDef* def = model.ById(class_id);
  return def ? def->super : class_id;
}

bool FitsEnd(const Model& model, int16_t object_class, int16_t end_class) {
  return FamilyOf(model, object_class) == FamilyOf(model, end_class);
}

std::vector<int> AllAttributes(const ClassDef& def) {
  std::vector<int> out(def.attributes.size());
  for (size_t i = 0; i < out.size(); ++i) out[i] = static_cast<int>(i);
  return out;
}

Ref<KvClass> EmuClasses::ClassById(int16_t class_id) {
  c_.monitor->Enter(op::KvClasses::ClassById, class_id);
  const ClassDef* def = c_.model->ById(class_id);
  return def ? Ref<KvClass>(MakeRef<EmuClass>(c_, *def)) : nullptr;
}

Ref<KvClass> EmuClasses::ClassByName(const std::string& name) {
  c_.monitor->Enter(op::KvClasses::ClassByName, name);
  const ClassDef* def = c_.model->ByName(name);
  return def ? Ref<KvClass>(MakeRef<EmuClass>(c_, *def)) : nullptr;
}

Ref<KvClass> EmuClasses::ClassByTableName(const std::string& table_name) {
  c_.monitor->Enter(op::KvClasses::ClassByTableName, table_name);
  const ClassDef* def = c_.model->ByTable(table_name);
  return def ? Ref<KvClass>(MakeRef<EmuClass>(c_, *def)) : nullptr;
}

Ref<KvClassList> EmuClasses::GetAllClasses() {
  c_.monitor->Enter(op::KvClasses::GetAllClasses);
  std::vector<int16_t> ids;
  for (const ClassDef& def : c_.model->classes) ids.push_back(def.id);
  return MakeRef<EmuClassList>(c_, std::move(ids));
}

int32_t EmuClassList::GetCount() {
  c_.monitor->Enter(op::KvClassList::GetCount);
  return static_cast<int32_t>(ids_.size());
}

Ref<KvClass> EmuClassList::Item(int32_t index) {
  c_.monitor->Enter(op::KvClassList::Item, index);
  if (index < 0 || static_cast<size_t>(index) >= ids_.size()) Raise(err::kSubscriptOutOfRange);
  return MakeRef<EmuClass>(c_, *c_.model->ById(ids_[index]));
}

int16_t EmuClass::GetClassId() {
  c_.monitor->Enter(op::KvClass::GetClassId);
  return def_.id;
}

int16_t EmuClass::GetSuperClassId() {
  c_.monitor->Enter(op::KvClass::GetSuperClassId);
  return def_.super;
}

std::string EmuClass::GetName() {
  c_.monitor->Enter(op::KvClass::GetName);
  return def_.name;
}

std::string EmuClass::GetTableName() {
  c_.monitor->Enter(op::KvClass::GetTableName);
  return def_.table;
}

int32_t EmuClass::GetClassKind() {
  c_.monitor->Enter(op::KvClass::GetClassKind);
  return def_.kind;
}

Ref<KvAttributes> EmuClass::GetAttributes() {
  c_.monitor->Enter(op::KvClass::GetAttributes);
  return MakeRef<EmuAttributes>(c_, def_, AllAttributes(def_));
}

Ref<KvAttributes> EmuClass::GetIdentifierAttributes() {
  c_.monitor->Enter(op::KvClass::GetIdentifierAttributes);
  std::vector<int> indexes;
  for (const std::string& name : def_.identifiers) indexes.push_back(def_.FindAttribute(name));
  return MakeRef<EmuAttributes>(c_, def_, std::move(indexes));
}

Ref<KvClassLinks> EmuClass::GetClassLinks() {
  c_.monitor->Enter(op::KvClass::GetClassLinks);
  return MakeRef<EmuClassLinks>(c_, def_);
}

int16_t EmuClass::GetHierarchyLinkClassId() {
  c_.monitor->Enter(op::KvClass::GetHierarchyLinkClassId);
  return def_.hierarchy_link;
}

Ref<KvAttribute> EmuClass::AttributeByName(const std::string& name, int32_t flags) {
  c_.monitor->Enter(op::KvClass::AttributeByName, name, flags);
  const int index = def_.FindAttribute(name);
  if (index < 0) RaiseUnknownAttribute(def_, name);
  return MakeRef<EmuAttribute>(c_, def_, index);
}

bool EmuClass::HasAttribute(const std::string& name) {
  c_.monitor->Enter(op::KvClass::HasAttribute, name);
  return def_.FindAttribute(name) >= 0;
}

Ref<KvClassList> EmuClassLinks::GetAll() {
  c_.monitor->Enter(op::KvClassLinks::GetAll);
  std::vector<int16_t> ids;
  for (const ClassDef& link : c_.model->classes) {
    if (!link.IsLink()) continue;
    if (std::any_of(link.ends.begin(), link.ends.end(),
                    [&](int16_t end) { return FitsEnd(*c_.model, def_.id, end); }))
      ids.push_back(link.id);
  }
  return MakeRef<EmuClassList>(c_, std::move(ids));
}

Ref<KvClassList> EmuClassLinks::GetTo(int16_t class_id) {
  c_.monitor->Enter(op::KvClassLinks::GetTo, class_id);
  std::vector<int16_t> ids;
  const Model& m = *c_.model;
  for (const ClassDef& link : m.classes) {
    if (!link.IsLink() || link.ends.size() != 2) continue;
    const bool forward = FitsEnd(m, def_.id, link.ends[0]) && FitsEnd(m, class_id, link.ends[1]);
    const bool backward = FitsEnd(m, def_.id, link.ends[1]) && FitsEnd(m, class_id, link.ends[0]);
    if (forward || backward) ids.push_back(link.id);
  }
  return MakeRef<EmuClassList>(c_, std::move(ids));
}

int32_t EmuAttributes::GetCount() {
  c_.monitor->Enter(op::KvAttributes::GetCount);
  return static_cast<int32_t>(indexes_.size());
}

Ref<KvAttribute> EmuAttributes::Item(const Variant& index) {
  c_.monitor->Enter(op::KvAttributes::Item, index);
  if (index.IsString()) {
    for (int i : indexes_)
      if (SameName(def_.attributes[i].name, index.AsString()))
        return MakeRef<EmuAttribute>(c_, def_, i);
    Raise(err::kSubscriptOutOfRange);
  }
  const int32_t n = index.ToInt32();
  if (n < 0 || static_cast<size_t>(n) >= indexes_.size()) Raise(err::kSubscriptOutOfRange);
  return MakeRef<EmuAttribute>(c_, def_, indexes_[n]);
}

Ref<KvAttribute> EmuAttributes::ItemByName(const std::string& name) {
  c_.monitor->Enter(op::KvAttributes::ItemByName, name);
  for (int i : indexes_)
    if (SameName(def_.attributes[i].name, name)) return MakeRef<EmuAttribute>(c_, def_, i);
  Raise(err::kSubscriptOutOfRange);
}

Ref<KvClass> EmuAttributes::GetClass() {
  c_.monitor->Enter(op::KvAttributes::GetClass);
  return MakeRef<EmuClass>(c_, def_);
}

std::string EmuAttribute::GetName() {
  c_.monitor->Enter(op::KvAttribute::GetName);
  return Def().name;
}

std::string EmuAttribute::GetExternalName() {
  c_.monitor->Enter(op::KvAttribute::GetExternalName);
  return Def().external;
}

int32_t EmuAttribute::GetAttributeType() {
  c_.monitor->Enter(op::KvAttribute::GetAttributeType);
  return Def().type;
}

int32_t EmuAttribute::GetLookupClassId() {
  c_.monitor->Enter(op::KvAttribute::GetLookupClassId);
  return Def().lookup;
}

int32_t EmuAttribute::GetLength() {
  c_.monitor->Enter(op::KvAttribute::GetLength);
  return Def().length;
}

bool EmuAttribute::IsExcludedFromHistory() {
  c_.monitor->Enter(op::KvAttribute::IsExcludedFromHistory);
  return Def().excluded_from_history;
}

}  // namespace vtx::emu

#include "emulator/host_objects/emu_object.h"

#include <algorithm>
#include <set>

#include <fmt/format.h>

#include "emulator/host_objects/emu_class.h"
#include "emulator/host_objects/emu_object_store.h"
#include "emulator/host_objects/emu_objects.h"
#include "emulator/host_objects/emu_query.h"
#include "emulator/host_objects/objects_from_rows.h"
#include "emulator/store/object_table.h"

namespace vtx::emu {

namespace {

bool IsHostOwned(const std::string& name) {
  return SameName(name, attr::kClassId) || SameName(name, attr::kObjectId) ||
         SameName(name, attr::kCreatedAt) || SameName(name, attr::kCreatedBy);
}

[[noreturn]] void RaiseNotStored(const ClassDef& def) {
  Raise(err::kHostFailure, fmt::format("The {} object is not stored", def.name), "Korvel");
}

Variant ObjectArg(const Ref<Dispatch>& object) { return Variant(object); }

}  // namespace

ObjectRef IdentityOf(Store& store, const Ref<KvObject>& object) {
  if (!object) Raise(err::kObjectVariableNotSet);
  if (auto* own = dynamic_cast<EmuObject*>(object.get())) return own->Identity();
  CallMonitor::Pause pause(store.Monitor());
  return ObjectRef{object->GetClassId(), object->GetObjectId()};
}

std::string KeyTextOf(const ClassDef& def, const EmuRecord& data, const std::string& separator) {
  std::string out;
  for (size_t i = 0; i < def.identifiers.size(); ++i) {
    if (i > 0) out += separator;
    const int index = data.Find(def.identifiers[i]);
    const Variant& v = data.ValueAt(index);
    if (!v.IsEmpty() && !v.IsNull()) out += v.ToString();
  }
  return out;
}

EmuObject::EmuObject(std::shared_ptr<Store> store, Ref<KvObjectStore> object_store,
                     const ClassDef& def, int32_t object_id)
    : store_(std::move(store)),
      object_store_(std::move(object_store)),
      def_(&def),
      id_(object_id),
      data_(EmuRecord::ForClass(store_->SharedMonitor(), store_->ColumnsOf(def), &def,
                                store_->ValuesEpoch())) {
  data_->Load(0, Variant(def.id));
  if (object_id != 0) data_->Load(1, Variant(object_id));
}

void EmuObject::LoadAll(std::vector<Variant> values) { data_->LoadAll(std::move(values)); }

void EmuObject::LoadSome(const std::vector<int>& attributes, std::vector<Variant> values) {
  for (size_t i = 0; i < attributes.size(); ++i) data_->Load(attributes[i], std::move(values[i]));
}

Variant EmuObject::GetDefaultValue() { return Variant(KeyTextOf(*def_, *data_, " ")); }

int32_t EmuObject::GetObjectId() {
  Monitor().Enter(op::KvObject::GetObjectId);
  return id_;
}

int16_t EmuObject::GetClassId() {
  Monitor().Enter(op::KvObject::GetClassId);
  return def_->id;
}

Ref<KvClass> EmuObject::GetClass() {
  Monitor().Enter(op::KvObject::GetClass);
  return MakeRef<EmuClass>(ContextOf(*store_), *def_);
}

Ref<KvObjectStore> EmuObject::GetObjectStore() {
  Monitor().Enter(op::KvObject::GetObjectStore);
  return object_store_;
}

Variant EmuObject::GetValue(const std::string& name) {
  Monitor().Enter(op::KvObject::GetValue, name);
  const int index = data_->Find(name);
  if (index < 0) RaiseUnknownAttribute(*def_, name);
  return data_->ValueAt(index);
}

void EmuObject::SetValue(const std::string& name, const Variant& value) {
  Monitor().Enter(op::KvObject::SetValue, name, value);
  const int index = data_->Find(name);
  if (index < 0) RaiseUnknownAttribute(*def_, name);
  data_->Write(index, value);
}

Ref<KvRecord> EmuObject::GetData() {
  Monitor().Enter(op::KvObject::GetData);
  return Ref<KvRecord>(data_);
}

Ref<KvAttributes> EmuObject::GetAttributes() {
  Monitor().Enter(op::KvObject::GetAttributes);
  return MakeRef<EmuAttributes>(ContextOf(*store_), *def_, AllAttributes(*def_));
}

int32_t EmuObject::GetAttributeCount() {
  Monitor().Enter(op::KvObject::GetAttributeCount);
  return static_cast<int32_t>(def_->attributes.size());
}

std::string EmuObject::GetKeyText(const std::string& separator) {
  Monitor().Enter(op::KvObject::GetKeyText, separator);
  return KeyTextOf(*def_, *data_, separator);
}

Ref<KvObject> EmuObject::NewInstance() {
  Monitor().Enter(op::KvObject::NewInstance);
  return MakeRef<EmuObject>(store_, object_store_, *def_, id_);
}

void EmuObject::PrepareNew() {
  Monitor().Enter(op::KvObject::PrepareNew);
  // A stored instance keeps what it holds: it is about to read anyway.
  if (IsStored()) return;
  data_->ClearValues();
  data_->Load(0, Variant(def_->id));
}

bool EmuObject::DoApplyDefaults() {
  for (const auto& [name, value] : def_->defaults) {
    const int index = data_->Find(name);
    if (data_->ValueAt(index).IsEmpty()) data_->Write(index, value);
  }
  return true;
}

void EmuObject::CompleteNew() {
  Monitor().Enter(op::KvObject::CompleteNew);
  if (!IsStored()) DoApplyDefaults();
}

bool EmuObject::ApplyClassDefaults() {
  Monitor().Enter(op::KvObject::ApplyClassDefaults);
  return DoApplyDefaults();
}

void EmuObject::AddAttributeToRead(const std::string& name) {
  Monitor().Enter(op::KvObject::AddAttributeToRead, name);
  if (def_->FindAttribute(name) < 0) RaiseUnknownAttribute(*def_, name);
  to_read_.push_back(name);
}

void EmuObject::ReadStored() {
  if (!IsStored()) RaiseNotStored(*def_);
  auto values = store_->Objects().Read(*def_, id_);
  if (!values) RaiseMissingObject(id_);
  LoadAll(std::move(*values));
}

void EmuObject::Retrieve() {
  Monitor().Enter(op::KvObject::Retrieve);
  ReadStored();
}

void EmuObject::Refresh() {
  Monitor().Enter(op::KvObject::Refresh);
  ReadStored();
}

void EmuObject::DoInsert() {
  if (IsStored())
    Raise(err::kHostFailure, fmt::format("The {} object {} is already stored", def_->name, id_),
          "Korvel");
  std::vector<Variant> values(def_->attributes.size());
  for (size_t i = 0; i < values.size(); ++i) values[i] = data_->ValueAt(i);
  id_ = store_->StoreNew(*def_, values);
  // Read back as stored: what was left Empty is Null now (the store set the ids).
  for (Variant& value : values)
    if (value.IsEmpty()) value = Variant::Null();
  data_->LoadAll(std::move(values));
}

void EmuObject::Insert(const Ref<KvOptions>& options) {
  Monitor().Enter(op::KvObject::Insert, ObjectArg(options));
  DoInsert();
}

void EmuObject::InsertPlain() {
  Monitor().Enter(op::KvObject::InsertPlain);
  DoInsert();
}

void EmuObject::DoUpdate() {
  if (!IsStored()) RaiseNotStored(*def_);
  std::vector<std::pair<int, Variant>> changes;
  for (size_t i = 0; i < def_->attributes.size(); ++i)
    if (data_->IsChanged(i) && !IsHostOwned(def_->attributes[i].name))
      changes.emplace_back(static_cast<int>(i), data_->ValueAt(i));
  store_->StoreChanges(*def_, id_, changes);
  data_->ClearChanged();
}

void EmuObject::Update() {
  Monitor().Enter(op::KvObject::Update);
  DoUpdate();
}

void EmuObject::UpdateWithOptions(const Ref<KvOptions>& options) {
  Monitor().Enter(op::KvObject::UpdateWithOptions, ObjectArg(options));
  DoUpdate();
}

void EmuObject::Delete(const Ref<KvOptions>& options) {
  Monitor().Enter(op::KvObject::Delete, ObjectArg(options));
  if (!IsStored()) RaiseNotStored(*def_);
  store_->DeleteStored(id_);
}

void EmuObject::BeginStore() { Monitor().Enter(op::KvObject::BeginStore); }

void EmuObject::EndStore() { Monitor().Enter(op::KvObject::EndStore); }

Ref<KvObject> EmuObject::CreateLink(int16_t link_class_id, const Ref<KvObject>& other) {
  Monitor().Enter(op::KvObject::CreateLink, link_class_id, ObjectArg(other));
  const Model& model = store_->GetModel();
  const ClassDef& link = store_->ClassOrRaise(link_class_id);
  if (!link.IsLink())
    Raise(err::kHostFailure, fmt::format("The class {} is not a link class", link.name), "Korvel");
  const ObjectRef to = IdentityOf(*store_, other);
  if (!IsStored() || to.object_id == 0) RaiseNotStored(*def_);
  const bool fits =
      (FitsEnd(model, def_->id, link.ends[0]) && FitsEnd(model, to.class_id, link.ends[1])) ||
      (link.kind == kind::kRelation && FitsEnd(model, def_->id, link.ends[1]) &&
       FitsEnd(model, to.class_id, link.ends[0]));
  if (!fits)
    Raise(err::kHostFailure,
          fmt::format("The link class {} does not join these objects", link.name), "Korvel");
  auto object = MakeRef<EmuObject>(store_, object_store_, link, 0);
  EmuRecord& d = object->Data();
  if (link.kind == kind::kRelation) {
    d.Write(d.Find(attr::kClassId1), Variant(def_->id));
    d.Write(d.Find(attr::kObjectId1), Variant(id_));
    d.Write(d.Find(attr::kClassId2), Variant(to.class_id));
    d.Write(d.Find(attr::kObjectId2), Variant(to.object_id));
  } else {
    d.Write(d.Find(attr::kParObjectId), Variant(id_));
    d.Write(d.Find(attr::kSonObjectId), Variant(to.object_id));
  }
  return object;
}

Ref<KvObject> EmuObject::LinkTo(int32_t mode, const Ref<KvObject>& father,
                                const Ref<KvRecord>& link_values, const Ref<KvOptions>& options) {
  Monitor().Enter(op::KvObject::LinkTo, mode, ObjectArg(father), ObjectArg(link_values),
                  ObjectArg(options));
  const Model& model = store_->GetModel();
  if (def_->hierarchy_link == 0)
    Raise(err::kHostFailure, fmt::format("The class {} has no hierarchy link class", def_->name),
          "Korvel");
  const ClassDef& link = store_->ClassOrRaise(def_->hierarchy_link);
  const ObjectRef parent = IdentityOf(*store_, father);
  if (!IsStored() || parent.object_id == 0) RaiseNotStored(*def_);
  if (!FitsEnd(model, parent.class_id, link.ends[0]) || !FitsEnd(model, def_->id, link.ends[1]))
    Raise(err::kHostFailure,
          fmt::format("The link class {} does not join these objects", link.name), "Korvel");
  auto object = MakeRef<EmuObject>(store_, object_store_, link, 0);
  EmuRecord& d = object->Data();
  if (link_values) {
    auto values = CastTo<EmuRecord>(Ref<Dispatch>(link_values));
    for (size_t i = 0; i < values->Columns().size(); ++i) {
      const int index = d.Find(values->Columns()[i].name);
      if (index < 0) RaiseUnknownAttribute(link, values->Columns()[i].name);
      if (!values->ValueAt(i).IsEmpty()) d.Write(index, values->ValueAt(i));
    }
  }
  d.Write(d.Find(attr::kParObjectId), Variant(parent.object_id));
  d.Write(d.Find(attr::kSonObjectId), Variant(id_));
  object->DoInsert();
  return object;
}

Ref<KvObjects> EmuObject::GetRelatedObjects(const Ref<KvQuery>& query) {
  Monitor().Enter(op::KvObject::GetRelatedObjects, ObjectArg(query));
  auto q = CastTo<EmuQuery>(Ref<Dispatch>(query));
  if (!q) Raise(err::kObjectVariableNotSet);
  const QueryPlan& plan = q->Plan();
  const int16_t s_class = plan.ClassOf("S");
  if (s_class == 0) Raise(err::kHostFailure, "The query has no class under the alias S", "Korvel");
  if (!IsStored()) RaiseNotStored(*def_);
  const Model& model = store_->GetModel();
  std::vector<int16_t> link_classes;
  if (const int16_t l_class = plan.ClassOf("L"); l_class != 0)
    link_classes = model.Descendants(l_class);
  std::vector<int32_t> others;
  for (const LinkHit& hit : store_->Objects().LinksOf(id_, link_classes)) {
    const ClassDef* link = model.ById(hit.link_class);
    // Composition links relate an object to its sons; relation links work
    // both ways.
    if (link->kind == kind::kComposition && !hit.forward) continue;
    if (hit.other_id != 0) others.push_back(hit.other_id);
  }
  std::sort(others.begin(), others.end());
  others.erase(std::unique(others.begin(), others.end()), others.end());
  const std::vector<int32_t> ids = FilterIds(*store_, s_class, others, plan, "S");
  const auto classes = store_->Objects().ClassesOf(ids);
  std::vector<ObjectRef> refs;
  for (int32_t id : ids) refs.push_back(ObjectRef{classes.at(id), id});
  return EmuObjects::FromItems(store_, object_store_, LoadObjects(store_, object_store_, refs));
}

Ref<KvObjects> EmuObject::GetLinkedObjects(const Ref<KvQuery>& query,
                                           const Ref<KvOptions>& options) {
  Monitor().Enter(op::KvObject::GetLinkedObjects, ObjectArg(query), ObjectArg(options));
  if (!IsStored()) RaiseNotStored(*def_);
  std::vector<int32_t> others;
  for (const LinkHit& hit : store_->Objects().LinksOf(id_))
    if (hit.other_id != 0) others.push_back(hit.other_id);
  std::sort(others.begin(), others.end());
  others.erase(std::unique(others.begin(), others.end()), others.end());
  if (query) {
    auto q = CastTo<EmuQuery>(Ref<Dispatch>(query));
    if (const int16_t s_class = q->Plan().ClassOf("S"); s_class != 0)
      others = FilterIds(*store_, s_class, others, q->Plan(), "S");
  }
  const auto classes = store_->Objects().ClassesOf(others);
  std::vector<ObjectRef> refs;
  for (int32_t id : others)
    if (auto it = classes.find(id); it != classes.end()) refs.push_back(ObjectRef{it->second, id});
  return EmuObjects::FromItems(store_, object_store_, LoadObjects(store_, object_store_, refs));
}

bool EmuObject::IsOnDesktop() {
  Monitor().Enter(op::KvObject::IsOnDesktop);
  if (!IsStored()) return false;
  bool related = false;
  for (const LinkHit& hit : store_->Objects().LinksOf(id_)) {
    const ClassDef* link = store_->GetModel().ById(hit.link_class);
    if (link->kind == kind::kComposition && !hit.forward) return false;
    if (link->kind == kind::kRelation) related = true;
  }
  return related;
}

}  // namespace vtx::emu

#include "emulator/host_objects/objects_from_rows.h"

#include <map>

#include <fmt/format.h>

#include "emulator/host_objects/emu_class.h"
#include "emulator/host_objects/emu_object.h"
#include "emulator/store/object_table.h"
#include "emulator/store/value_convert.h"

namespace vtx::emu {

std::string RowPrefix(const RecordTable& rows) {
  for (const char* prefix : {"S.", "F.", "L."})
    if (rows.FindColumn(std::string(prefix) + attr::kObjectId) >= 0) return prefix;
  return "";
}

std::vector<Ref<KvObject>> LoadObjects(const std::shared_ptr<Store>& store,
                                       const Ref<KvObjectStore>& object_store,
                                       const std::vector<ObjectRef>& refs) {
  std::map<int16_t, std::vector<int32_t>> by_class;
  for (const ObjectRef& r : refs) by_class[r.class_id].push_back(r.object_id);
  std::map<int16_t, std::unordered_map<int32_t, std::vector<Variant>>> values;
  for (auto& [class_id, ids] : by_class) {
    const ClassDef& def = store->ClassOrRaise(class_id);
    auto& of_class = values[class_id];
    if (ids.size() > kReadOneByOne) {
      of_class = store->Objects().ReadMany(def, ids, AllAttributes(def));
      continue;
    }
    for (int32_t id : ids)
      if (auto row = store->Objects().Read(def, id)) of_class.emplace(id, std::move(*row));
  }
  std::vector<Ref<KvObject>> out;
  out.reserve(refs.size());
  for (const ObjectRef& r : refs) {
    auto& of_class = values[r.class_id];
    auto it = of_class.find(r.object_id);
    if (it == of_class.end()) RaiseMissingObject(r.object_id);
    auto object =
        MakeRef<EmuObject>(store, object_store, store->ClassOrRaise(r.class_id), r.object_id);
    object->LoadAll(it->second);  // a copy: the same object may be named twice
    out.push_back(std::move(object));
  }
  return out;
}

std::vector<Ref<KvObject>> ObjectsFromRows(const std::shared_ptr<Store>& store,
                                           const Ref<KvObjectStore>& object_store,
                                           const RecordTable& rows) {
  const Model& model = store->GetModel();
  const std::string prefix = RowPrefix(rows);
  const int id_col = rows.FindColumn(prefix + attr::kObjectId);
  const int class_col = rows.FindColumn(prefix + attr::kClassId);
  std::vector<int32_t> ids;
  ids.reserve(rows.rows.size());
  for (size_t r = 0; r < rows.rows.size(); ++r) {
    if (id_col < 0) {
      // A query row names the object it was read from.
      if (rows.RowObject(r) == 0)
        Raise(err::kHostFailure, "The records name no object (no OBJECT_ID column)", "Korvel");
      ids.push_back(rows.RowObject(r));
      continue;
    }
    const Variant& id = rows.rows[r][id_col];
    if (id.IsEmpty() || id.IsNull())
      Raise(err::kHostFailure, "A record names no object (OBJECT_ID is empty)", "Korvel");
    ids.push_back(id.ToInt32());
  }
  const auto stored = store->Objects().ClassesOf(ids);
  std::vector<ObjectRef> refs;
  refs.reserve(ids.size());
  for (size_t r = 0; r < ids.size(); ++r) {
    auto it = stored.find(ids[r]);
    if (it == stored.end()) RaiseMissingObject(ids[r]);
    if (class_col >= 0) {
      const Variant& given = rows.rows[r][class_col];
      if (!given.IsEmpty() && !given.IsNull() &&
          FamilyOf(model, given.ToInt16()) != FamilyOf(model, it->second))
        RaiseMissingObject(ids[r]);
    }
    refs.push_back(ObjectRef{it->second, ids[r]});
  }
  std::vector<Ref<KvObject>> objects = LoadObjects(store, object_store, refs);

  // Overlay: for each class, which row columns land on which attributes.
  std::map<int16_t, std::vector<std::pair<int, int>>> overlay;  // column -> attribute
  for (size_t r = 0; r < objects.size(); ++r) {
    auto* object = static_cast<EmuObject*>(objects[r].get());
    const ClassDef& def = object->Def();
    auto [it, fresh] = overlay.try_emplace(def.id);
    if (fresh) {
      for (size_t c = 0; c < rows.columns.size(); ++c) {
        const std::string& name = rows.columns[c].name;
        if (name.size() < prefix.size() || !SameName(name.substr(0, prefix.size()), prefix))
          continue;
        const std::string attribute = name.substr(prefix.size());
        if (SameName(attribute, attr::kClassId) || SameName(attribute, attr::kObjectId)) continue;
        const int index = def.FindAttribute(attribute);
        if (index >= 0) it->second.emplace_back(static_cast<int>(c), index);
      }
    }
    for (const auto& [column, index] : it->second) {
      const Variant& v = rows.rows[r][column];
      if (v.IsEmpty()) continue;
      try {
        object->Data().Load(index, ConvertToFieldType(v, def.attributes[index].type));
      } catch (const RuntimeError&) {
        // A value the attribute cannot hold: the stored one stays.
      }
    }
  }
  return objects;
}

}  // namespace vtx::emu

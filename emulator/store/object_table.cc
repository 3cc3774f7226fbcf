#include "emulator/store/object_table.h"

#include <algorithm>
#include <set>

#include <fmt/format.h>

#include "emulator/store/family_select.h"
#include "emulator/store/schema.h"
#include "emulator/store/value_convert.h"

namespace vtx::emu {

void RaiseMissingObject(int32_t object_id) {
  Raise(err::kHostFailure, fmt::format("The object {} does not exist", object_id), "Korvel");
}

std::optional<int16_t> ObjectTable::ClassOf(int32_t object_id) {
  Statement s = db_.Prepare("SELECT CLASS_ID FROM KV_OBJECTS WHERE OBJECT_ID = ?");
  s.BindInt(1, object_id);
  if (!s.Step()) return std::nullopt;
  return static_cast<int16_t>(s.Int(0));
}

std::unordered_map<int32_t, int16_t> ObjectTable::ClassesOf(const std::vector<int32_t>& ids) {
  std::unordered_map<int32_t, int16_t> out;
  if (ids.empty()) return out;
  Statement s = db_.Prepare(
      "SELECT OBJECT_ID, CLASS_ID FROM KV_OBJECTS WHERE OBJECT_ID IN (SELECT value FROM "
      "json_each(?))");
  s.BindText(1, IdsAsJson(ids));
  while (s.Step()) out[static_cast<int32_t>(s.Int(0))] = static_cast<int16_t>(s.Int(1));
  return out;
}

int32_t ObjectTable::NewObjectId() {
  Statement s =
      db_.Prepare("UPDATE KV_COUNTERS SET VALUE = VALUE + 1 WHERE NAME = ? RETURNING VALUE");
  s.BindText(1, kIdCounter);
  if (!s.Step()) Raise(err::kHostFailure, "The object id counter is missing", "Korvel");
  const int64_t id = s.Int(0);
  s.Run();
  if (id > INT32_MAX) Raise(err::kHostFailure, "No object ids are left", "Korvel");
  return static_cast<int32_t>(id);
}

void ObjectTable::Insert(const ClassDef& def, int32_t object_id,
                         const std::vector<Variant>& values) {
  {
    Statement reg = db_.Prepare("INSERT INTO KV_OBJECTS (OBJECT_ID, CLASS_ID) VALUES (?, ?)");
    reg.BindInt(1, object_id).BindInt(2, def.id);
    try {
      reg.Run();
    } catch (const RuntimeError&) {
      Raise(err::kHostFailure, fmt::format("The object id {} is already taken", object_id),
            "Korvel");
    }
  }
  // An id given by the host itself (a scenario's objects) must never be
  // handed out again either.
  db_.Prepare("UPDATE KV_COUNTERS SET VALUE = max(VALUE, ?) WHERE NAME = ?")
      .BindInt(1, object_id)
      .BindText(2, kIdCounter)
      .Run();
  std::string names, marks;
  for (const AttributeDef& a : def.attributes) {
    if (!names.empty()) {
      names += ", ";
      marks += ", ";
    }
    names += QuoteId(a.name);
    marks += "?";
  }
  Statement s =
      db_.Prepare(fmt::format("INSERT INTO {} ({}) VALUES ({})", QuoteId(def.table), names, marks));
  for (size_t i = 0; i < def.attributes.size(); ++i) {
    const std::string& name = def.attributes[i].name;
    if (name == attr::kObjectId)
      s.BindInt(static_cast<int>(i) + 1, object_id);
    else if (name == attr::kClassId)
      s.BindInt(static_cast<int>(i) + 1, def.id);
    else
      s.Bind(static_cast<int>(i) + 1, i < values.size() ? values[i] : Variant());
  }
  s.Run();
}

std::optional<std::vector<Variant>> ObjectTable::Read(const ClassDef& def, int32_t object_id) {
  Statement s =
      db_.Prepare(fmt::format("SELECT * FROM {} WHERE \"OBJECT_ID\" = ?", QuoteId(def.table)));
  s.BindInt(1, object_id);
  if (!s.Step()) return std::nullopt;
  std::vector<Variant> out;
  out.reserve(def.attributes.size());
  for (size_t i = 0; i < def.attributes.size(); ++i)
    out.push_back(FromStorage(s.Value(static_cast<int>(i)), def.attributes[i].type));
  return out;
}

std::unordered_map<int32_t, std::vector<Variant>> ObjectTable::ReadMany(
    const ClassDef& def, const std::vector<int32_t>& ids, const std::vector<int>& attributes) {
  std::unordered_map<int32_t, std::vector<Variant>> out;
  if (ids.empty()) return out;
  const std::string json = IdsAsJson(ids);
  FamilySql q = BuildFamilySelect(model_, def, attributes, {}, &json, 0);
  Statement s = db_.Prepare(q.sql);
  s.BindAll(q.binds);
  while (s.Step()) {
    std::vector<Variant> values;
    values.reserve(attributes.size());
    for (size_t i = 0; i < attributes.size(); ++i)
      values.push_back(
          FromStorage(s.Value(static_cast<int>(i) + 1), def.attributes[attributes[i]].type));
    out.emplace(static_cast<int32_t>(s.Int(0)), std::move(values));
  }
  return out;
}

void ObjectTable::Update(const ClassDef& def, int32_t object_id,
                         const std::vector<std::pair<int, Variant>>& values) {
  std::string sets;
  for (const auto& [index, _] : values) {
    if (!sets.empty()) sets += ", ";
    sets += QuoteId(def.attributes[index].name) + " = ?";
  }
  if (sets.empty()) {
    if (!Read(def, object_id)) RaiseMissingObject(object_id);
    return;
  }
  Statement s = db_.Prepare(
      fmt::format("UPDATE {} SET {} WHERE \"OBJECT_ID\" = ?", QuoteId(def.table), sets));
  int i = 1;
  for (const auto& [_, value] : values) s.Bind(i++, value);
  s.BindInt(i, object_id);
  s.Run();
  if (db_.LastChanges() == 0) RaiseMissingObject(object_id);
}

std::vector<LinkHit> ObjectTable::LinksOf(int32_t object_id,
                                          const std::vector<int16_t>& link_classes) {
  std::vector<LinkHit> out;
  for (const ClassDef& def : model_.classes) {
    if (!def.IsLink()) continue;
    if (!link_classes.empty() &&
        std::find(link_classes.begin(), link_classes.end(), def.id) == link_classes.end())
      continue;
    const std::string table = QuoteId(def.table);
    const bool relation = def.kind == kind::kRelation;
    const char* near = relation ? "OBJECT_ID1" : "PAR_OBJECT_ID";
    const char* far = relation ? "OBJECT_ID2" : "SON_OBJECT_ID";
    Statement s =
        db_.Prepare(fmt::format("SELECT \"OBJECT_ID\", {1}, 1 FROM {0} WHERE {2} = ?1 "
                                "UNION ALL SELECT \"OBJECT_ID\", {2}, 0 FROM {0} WHERE {1} = ?1",
                                table, QuoteId(far), QuoteId(near)));
    s.BindInt(1, object_id);
    while (s.Step())
      out.push_back(LinkHit{def.id, static_cast<int32_t>(s.Int(0)), static_cast<int32_t>(s.Int(1)),
                            s.Int(2) != 0});
  }
  std::sort(out.begin(), out.end(), [](const LinkHit& a, const LinkHit& b) {
    return a.link_id != b.link_id ? a.link_id < b.link_id : a.forward > b.forward;
  });
  return out;
}

std::vector<int32_t> ObjectTable::DeleteCascade(int32_t object_id) {
  if (!ClassOf(object_id)) RaiseMissingObject(object_id);
  std::vector<int32_t> pending = {object_id};
  std::set<int32_t> doomed = {object_id};
  std::vector<int32_t> order = {object_id};
  while (!pending.empty()) {
    const int32_t id = pending.back();
    pending.pop_back();
    for (const LinkHit& hit : LinksOf(id)) {
      if (doomed.insert(hit.link_id).second) {
        pending.push_back(hit.link_id);
        order.push_back(hit.link_id);
      }
    }
  }
  const auto classes = ClassesOf(order);
  for (int32_t id : order) {
    auto it = classes.find(id);
    if (it == classes.end()) continue;
    const ClassDef* def = model_.ById(it->second);
    if (def)
      db_.Prepare(fmt::format("DELETE FROM {} WHERE \"OBJECT_ID\" = ?", QuoteId(def->table)))
          .BindInt(1, id)
          .Run();
    db_.Prepare("DELETE FROM KV_OBJECTS WHERE OBJECT_ID = ?").BindInt(1, id).Run();
  }
  return order;
}

}  // namespace vtx::emu

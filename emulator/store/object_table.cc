#include "emulator/store/object_table.h"

#include <algorithm>
#include <set>

#include <fmt/format.h>

#include "emulator/store/family_select.h"
#include "emulator/store/schema.h"
#include "emulator/store/value_convert.h"
#include "runtime/runtime_error.h"

namespace vtx::emu {

namespace {

constexpr const char* kAddEnd =
    "INSERT INTO KV_OBJECTS (OBJECT_ID, LINK_ID, FORWARD, CLASS_ID, OTHER_ID)"
    " VALUES (?1, ?2, ?3, ?4, ?5)";

// The object a link end holds, when it is set.
std::optional<int32_t> EndId(const Variant& value) {
  if (value.IsNull() || value.IsEmpty()) return std::nullopt;
  try {
    return value.ToInt32();
  } catch (const RuntimeError&) {  // not an object id: no end
    return std::nullopt;
  }
}

struct End {
  int32_t id, other;
  bool forward;
};

// The ends of a link row that are set, each with the object at the other end.
std::vector<End> EndsOf(const ClassDef& def, const std::vector<Variant>& row) {
  const bool relation = def.kind == kind::kRelation;
  const int near = def.FindAttribute(relation ? attr::kObjectId1 : attr::kParObjectId);
  const int far = def.FindAttribute(relation ? attr::kObjectId2 : attr::kSonObjectId);
  auto at = [&](int index) {
    return index >= 0 && static_cast<size_t>(index) < row.size() ? EndId(row[index]) : std::nullopt;
  };
  const std::optional<int32_t> near_id = at(near), far_id = at(far);
  std::vector<End> out;
  if (near_id) out.push_back(End{*near_id, far_id.value_or(0), true});
  if (far_id) out.push_back(End{*far_id, near_id.value_or(0), false});
  return out;
}

bool IsEndAttribute(const ClassDef& def, int index) {
  const std::string& name = def.attributes[index].name;
  return name == attr::kObjectId1 || name == attr::kObjectId2 || name == attr::kParObjectId ||
         name == attr::kSonObjectId;
}

}  // namespace

void RaiseMissingObject(int32_t object_id) {
  Raise(err::kHostFailure, fmt::format("The object {} does not exist", object_id), "Korvel");
}

std::optional<int16_t> ObjectTable::ClassOf(int32_t object_id) {
  const bool cached = db_.InCall();
  if (cached) {
    CheckRows();
    auto it = classes_.find(object_id);
    if (it != classes_.end()) return it->second;
  }
  Statement s = db_.Prepare("SELECT CLASS_ID FROM KV_OBJECTS WHERE OBJECT_ID = ? AND LINK_ID = 0");
  s.BindInt(1, object_id);
  if (!s.Step()) return std::nullopt;
  const auto class_id = static_cast<int16_t>(s.Int(0));
  if (cached) classes_[object_id] = class_id;
  return class_id;
}

std::unordered_map<int32_t, int16_t> ObjectTable::ClassesOf(const std::vector<int32_t>& ids) {
  std::unordered_map<int32_t, int16_t> out;
  if (ids.size() <= kReadOneByOne) {
    for (int32_t id : ids)
      if (const auto class_id = ClassOf(id)) out.emplace(id, *class_id);
    return out;
  }
  Statement s = db_.Prepare(
      "SELECT OBJECT_ID, CLASS_ID FROM KV_OBJECTS WHERE OBJECT_ID IN (SELECT value FROM "
      "json_each(?)) AND LINK_ID = 0");
  s.BindText(1, IdsAsJson(ids));
  while (s.Step()) out[static_cast<int32_t>(s.Int(0))] = static_cast<int16_t>(s.Int(1));
  return out;
}

const ObjectTable::ClassSql& ObjectTable::SqlOf(const ClassDef& def) {
  auto [it, added] = sql_.try_emplace(def.id);
  if (!added) return it->second;
  ClassSql& sql = it->second;
  const std::string table = QuoteId(def.table);
  std::string names, marks;
  for (const AttributeDef& a : def.attributes) {
    if (!names.empty()) {
      names += ", ";
      marks += ", ";
    }
    names += QuoteId(a.name);
    marks += "?";
  }
  sql.insert = fmt::format("INSERT INTO {} ({}) VALUES ({})", table, names, marks);
  sql.read = fmt::format("SELECT * FROM {} WHERE \"OBJECT_ID\" = ?", table);
  sql.remove = fmt::format("DELETE FROM {} WHERE \"OBJECT_ID\" = ?", table);
  return sql;
}

std::string ObjectTable::HighestIdSql() {
  return fmt::format(
      "max(ifnull((SELECT max(OBJECT_ID) FROM KV_OBJECTS), 0), ifnull((SELECT VALUE FROM "
      "KV_COUNTERS WHERE NAME = '{}'), 0))",
      kIdCounter);
}

void ObjectTable::KnowHighest(int64_t highest) {
  highest_ = highest;
  highest_mark_ = db_.CurrentWrite();
}

std::optional<int64_t> ObjectTable::KnownHighest() const {
  if (!db_.StillWriting(highest_mark_)) return std::nullopt;
  return highest_;
}

int32_t ObjectTable::Insert(const ClassDef& def, std::optional<int32_t> object_id,
                            const std::vector<Variant>& values) {
  if (object_id) rows_.erase(*object_id);
  // The registry's highest id stands for the id counter, so that a new object
  // writes no counter row: only a deletion of the highest id records it in
  // KV_COUNTERS, and a new id is above both. It is read by a statement of its
  // own (an INSERT that selects from the table it writes needs a temporary
  // table on every run), once per write transaction: under the write lock
  // only this process raises it.
  std::optional<int64_t> highest = KnownHighest();
  if (!object_id && !highest) {
    Statement read = db_.Prepare(fmt::format("SELECT {}", HighestIdSql()));
    read.Step();
    highest = read.Int(0);
  }
  const int64_t id = object_id ? *object_id : *highest + 1;
  if (id > INT32_MAX) Raise(err::kHostFailure, "No object ids are left", "Korvel");
  Statement reg = db_.Prepare(
      "INSERT INTO KV_OBJECTS (OBJECT_ID, LINK_ID, FORWARD, CLASS_ID, OTHER_ID)"
      " VALUES (?1, 0, 0, ?2, 0)");
  reg.BindInt(1, id).BindInt(2, def.id);
  try {
    reg.Run();
    // A given id that is taken is told in the store's own words: its answer
    // is awaited here, where a server would send it later with the next read.
    if (object_id) db_.LastChanges();
  } catch (const RuntimeError&) {
    if (!object_id) throw;
    Raise(err::kHostFailure, fmt::format("The object id {} is already taken", *object_id),
          "Korvel");
  }
  if (db_.InCall()) {
    // A rollback of this insert moves the generation and so drops the entry.
    CheckRows();
    classes_[static_cast<int32_t>(id)] = def.id;
  }
  Statement s = db_.Prepare(SqlOf(def).insert);
  for (size_t i = 0; i < def.attributes.size(); ++i) {
    const std::string& name = def.attributes[i].name;
    if (name == attr::kObjectId)
      s.BindInt(static_cast<int>(i) + 1, id);
    else if (name == attr::kClassId)
      s.BindInt(static_cast<int>(i) + 1, def.id);
    else
      s.Bind(static_cast<int>(i) + 1, i < values.size() ? values[i] : Variant());
  }
  s.Run();
  // The ends count too: an end need not be an object, and the registry holds it.
  const int32_t ends = def.IsLink() ? AddEnds(def, static_cast<int32_t>(id), values) : 0;
  if (highest) KnowHighest(std::max<int64_t>({*highest, id, ends}));
  return static_cast<int32_t>(id);
}

int32_t ObjectTable::AddEnds(const ClassDef& def, int32_t link_id,
                             const std::vector<Variant>& row) {
  int32_t highest = 0;
  for (const End& end : EndsOf(def, row)) {
    Statement s = db_.Prepare(kAddEnd);
    s.BindInt(1, end.id).BindInt(2, link_id).BindInt(3, end.forward ? 1 : 0);
    s.BindInt(4, def.id).BindInt(5, end.other);
    s.Run();
    highest = std::max(highest, end.id);
  }
  return highest;
}

void ObjectTable::RemoveEnds(const ClassDef& def, int32_t link_id,
                             const std::vector<Variant>& row) {
  // An end may have held the highest id (an end need not be an object), and
  // a relinked link's new ends are not counted: the highest id is read afresh.
  highest_mark_ = kNoWrite;
  for (const End& end : EndsOf(def, row)) {
    db_.Prepare("DELETE FROM KV_OBJECTS WHERE OBJECT_ID = ?1 AND LINK_ID = ?2 AND FORWARD = ?3")
        .BindInt(1, end.id)
        .BindInt(2, link_id)
        .BindInt(3, end.forward ? 1 : 0)
        .Run();
  }
}

void ObjectTable::CheckRows() {
  const uint64_t generation = db_.CallGeneration();
  if (rows_generation_ == generation) return;
  rows_.clear();
  classes_.clear();
  rows_generation_ = generation;
}

std::optional<std::vector<Variant>> ObjectTable::Read(const ClassDef& def, int32_t object_id) {
  const bool cached = db_.InCall();
  if (cached) {
    CheckRows();
    auto it = rows_.find(object_id);
    if (it != rows_.end() && it->second.class_id == def.id) return it->second.values;
  }
  Statement s = db_.Prepare(SqlOf(def).read);
  s.BindInt(1, object_id);
  if (!s.Step()) return std::nullopt;
  std::vector<Variant> out;
  out.reserve(def.attributes.size());
  for (size_t i = 0; i < def.attributes.size(); ++i)
    out.push_back(FromStorage(s.Value(static_cast<int>(i)), def.attributes[i].type));
  if (cached) rows_[object_id] = CachedRow{def.id, out};
  return out;
}

std::unordered_map<int32_t, std::vector<Variant>> ObjectTable::ReadMany(
    const ClassDef& def, const std::vector<int32_t>& ids, const std::vector<int>& attributes) {
  std::unordered_map<int32_t, std::vector<Variant>> out;
  if (ids.empty()) return out;
  FamilySql q = BuildFamilySelect(model_, def, attributes, {}, &ids, 0);
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
  // A link's ends move in the registry with its row.
  std::optional<std::vector<Variant>> before;
  if (def.IsLink() && std::any_of(values.begin(), values.end(),
                                  [&](const auto& v) { return IsEndAttribute(def, v.first); }))
    before = Read(def, object_id);
  // The row is read again as stored, so that values read back stay exactly
  // what a fresh read gives.
  rows_.erase(object_id);
  Statement s = db_.Prepare(
      fmt::format("UPDATE {} SET {} WHERE \"OBJECT_ID\" = ?", QuoteId(def.table), sets));
  int i = 1;
  for (const auto& [_, value] : values) s.Bind(i++, value);
  s.BindInt(i, object_id);
  s.Run();
  if (db_.LastChanges() == 0) RaiseMissingObject(object_id);
  if (before) {
    RemoveEnds(def, object_id, *before);
    std::vector<Variant> after = *before;
    for (const auto& [index, value] : values) after[index] = value;
    AddEnds(def, object_id, after);
  }
}

std::vector<LinkHit> ObjectTable::LinksOf(int32_t object_id,
                                          const std::vector<int16_t>& link_classes) {
  std::vector<LinkHit> out;
  Statement s = db_.Prepare(
      "SELECT LINK_ID, CLASS_ID, OTHER_ID, FORWARD FROM KV_OBJECTS WHERE OBJECT_ID = ?1 AND "
      "LINK_ID > 0");
  s.BindInt(1, object_id);
  while (s.Step()) {
    const auto link_class = static_cast<int16_t>(s.Int(1));
    if (!link_classes.empty() &&
        std::find(link_classes.begin(), link_classes.end(), link_class) == link_classes.end())
      continue;
    out.push_back(LinkHit{link_class, static_cast<int32_t>(s.Int(0)),
                          static_cast<int32_t>(s.Int(2)), s.Int(3) != 0});
  }
  std::sort(out.begin(), out.end(), [](const LinkHit& a, const LinkHit& b) {
    return a.link_id != b.link_id ? a.link_id < b.link_id : a.forward > b.forward;
  });
  return out;
}

std::vector<NearLink> ObjectTable::LinksFrom(const std::vector<int32_t>& near_ids,
                                             const std::vector<int16_t>& link_classes) {
  Statement s = db_.Prepare(
      "SELECT OBJECT_ID, OTHER_ID, LINK_ID FROM KV_OBJECTS WHERE OBJECT_ID IN (SELECT value "
      "FROM json_each(?1)) AND LINK_ID > 0 AND FORWARD = 1 AND CLASS_ID IN (SELECT value FROM "
      "json_each(?2))");
  s.BindText(1, IdsAsJson(near_ids));
  s.BindText(2, IdsAsJson(std::vector<int32_t>(link_classes.begin(), link_classes.end())));
  std::vector<NearLink> out;
  while (s.Step())
    out.push_back(NearLink{static_cast<int32_t>(s.Int(0)), static_cast<int32_t>(s.Int(1)),
                           static_cast<int32_t>(s.Int(2))});
  return out;
}

std::vector<int32_t> ObjectTable::DeleteCascade(
    int32_t object_id, const std::function<void(int32_t id, int16_t class_id)>& before_removal) {
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
  // The highest id ever held must outlive its object.
  highest_mark_ = kNoWrite;
  db_.Prepare(
         "UPDATE KV_COUNTERS SET VALUE = ?1 WHERE NAME = ?2 AND VALUE < ?1 AND ?1 >= (SELECT "
         "max(OBJECT_ID) FROM KV_OBJECTS)")
      .BindInt(1, *std::max_element(order.begin(), order.end()))
      .BindText(2, kIdCounter)
      .Run();
  const auto classes = ClassesOf(order);
  if (before_removal)
    for (int32_t id : order)
      if (auto it = classes.find(id); it != classes.end()) before_removal(id, it->second);
  for (int32_t id : order) {
    rows_.erase(id);
    classes_.erase(id);
    auto it = classes.find(id);
    if (it == classes.end()) continue;
    const ClassDef* def = model_.ById(it->second);
    if (def && def->IsLink())
      if (const auto row = Read(*def, id)) RemoveEnds(*def, id, *row);
    if (def) db_.Prepare(SqlOf(*def).remove).BindInt(1, id).Run();
    rows_.erase(id);
    // The object's own row and the ends of the links attached to it, which
    // go with it.
    db_.Prepare("DELETE FROM KV_OBJECTS WHERE OBJECT_ID = ?").BindInt(1, id).Run();
  }
  return order;
}

}  // namespace vtx::emu

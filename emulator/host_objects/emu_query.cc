#include "emulator/host_objects/emu_query.h"

#include <algorithm>
#include <map>
#include <set>

#include <fmt/format.h>

#include "emulator/host_objects/emu_class.h"
#include "emulator/host_objects/emu_record.h"
#include "emulator/host_objects/emu_record_list.h"
#include "emulator/sql/database.h"
#include "emulator/store/object_table.h"
#include "emulator/store/value_convert.h"
#include "host/kv_host.h"

namespace vtx::emu {

int16_t QueryPlan::ClassOf(std::string_view alias) const {
  for (const auto& [a, id] : classes)
    if (a == alias) return id;
  return 0;
}

EmuQuery::EmuQuery(std::shared_ptr<Store> store)
    : store_(std::move(store)), plan_(std::make_shared<QueryPlan>()) {}

Ref<KvQueryClasses> EmuQuery::GetQueryClasses() {
  store_->Monitor().Enter(op::KvQuery::GetQueryClasses);
  return MakeRef<EmuQueryClasses>(store_, plan_);
}

Ref<KvQueryConditions> EmuQuery::GetConditions() {
  store_->Monitor().Enter(op::KvQuery::GetConditions);
  return MakeRef<EmuQueryConditions>(store_, plan_);
}

Ref<KvSelectList> EmuQuery::GetSelectList() {
  store_->Monitor().Enter(op::KvQuery::GetSelectList);
  return MakeRef<EmuSelectList>(store_, plan_);
}

void EmuQuery::SetMaxRows(int32_t max_rows) {
  store_->Monitor().Enter(op::KvQuery::SetMaxRows, max_rows);
  plan_->max_rows = max_rows;
}

void EmuQuery::SetQueryFlag(int32_t flag) {
  store_->Monitor().Enter(op::KvQuery::SetQueryFlag, flag);
  plan_->flags.push_back(flag);
}

void EmuQueryClasses::AddClass(int16_t class_id, const std::string& alias) {
  store_->Monitor().Enter(op::KvQueryClasses::AddClass, class_id, alias);
  store_->ClassOrRaise(class_id);
  for (auto& entry : plan_->classes)
    if (entry.first == alias) {
      entry.second = class_id;
      return;
    }
  plan_->classes.emplace_back(alias, class_id);
}

void EmuQueryConditions::Add(const std::string& connector, const std::string& attribute,
                             const std::string& op, const Variant& value, int32_t flags,
                             const std::string& alias) {
  store_->Monitor().Enter(op::KvQueryConditions::Add, connector, attribute, op, value, flags,
                          alias);
  plan_->conditions.push_back(Condition{connector, attribute, op, value, alias});
}

void EmuSelectList::Add(const std::string& column, const std::string& alias, int32_t flags) {
  store_->Monitor().Enter(op::KvSelectList::Add, column, alias, flags);
  plan_->select.emplace_back(column, alias);
}

EmuQueryFactory::EmuQueryFactory(std::shared_ptr<Store> store)
    : store_(std::move(store)),
      query_(MakeRef<EmuQuery>(store_)),
      result_(std::make_shared<const RecordTable>()) {}

Ref<KvQuery> EmuQueryFactory::GetQuery() {
  store_->Monitor().Enter(op::KvQueryFactory::GetQuery);
  return query_;
}

void EmuQueryFactory::Run() {
  store_->Monitor().Enter(op::KvQueryFactory::Run);
  result_ = RunQuery(*store_, query_->Plan());
}

void EmuQueryFactory::RunWithOptions(const Ref<KvOptions>& options) {
  store_->Monitor().Enter(op::KvQueryFactory::RunWithOptions, Variant(Ref<Dispatch>(options)));
  result_ = RunQuery(*store_, query_->Plan());
}

int32_t EmuQueryFactory::GetRowCount() {
  store_->Monitor().Enter(op::KvQueryFactory::GetRowCount);
  return static_cast<int32_t>(result_->rows.size());
}

Ref<KvRecordList> EmuQueryFactory::GetResult() {
  store_->Monitor().Enter(op::KvQueryFactory::GetResult);
  return MakeRef<EmuRecordList>(store_->SharedMonitor(), result_);
}

namespace {

std::vector<Condition> ConditionsFor(const QueryPlan& plan, std::string_view alias,
                                     bool single_class) {
  std::vector<Condition> out;
  for (const Condition& c : plan.conditions)
    if (c.alias == alias || (single_class && c.alias.empty())) out.push_back(c);
  return out;
}

// The rows of one class's family: OBJECT_ID first, then `attributes`.
std::vector<std::vector<Variant>> SelectFamily(Store& store, const ClassDef& def,
                                               const std::vector<int>& attributes,
                                               const std::vector<Condition>& conditions,
                                               const std::vector<int32_t>* ids, int64_t limit) {
  FamilySql q = BuildFamilySelect(store.GetModel(), def, attributes, conditions, ids, limit);
  Statement s = store.Db().Prepare(q.sql);
  s.BindAll(q.binds);
  std::vector<std::vector<Variant>> out;
  while (s.Step()) {
    std::vector<Variant> row;
    row.reserve(attributes.size() + 1);
    row.emplace_back(static_cast<int32_t>(s.Int(0)));
    for (size_t i = 0; i < attributes.size(); ++i)
      row.push_back(
          FromStorage(s.Value(static_cast<int>(i) + 1), def.attributes[attributes[i]].type));
    out.push_back(std::move(row));
  }
  return out;
}

std::vector<int> SelectedAttributes(const ClassDef& def, const QueryPlan& plan,
                                    std::string_view alias, bool single_class) {
  std::vector<int> out;
  for (const auto& [column, a] : plan.select) {
    if (a != alias && !(single_class && a.empty())) continue;
    const int index = def.FindAttribute(column);
    if (index < 0) RaiseUnknownAttribute(def, column);
    out.push_back(index);
  }
  return out;
}

std::shared_ptr<const RecordTable> RunSingle(Store& store, const QueryPlan& plan) {
  const auto& [alias, class_id] = plan.classes.front();
  const ClassDef& def = store.ClassOrRaise(class_id);
  std::vector<int> attributes = SelectedAttributes(def, plan, alias, true);
  if (attributes.empty()) attributes = AllAttributes(def);
  auto table = std::make_shared<RecordTable>();
  for (int index : attributes) {
    const AttributeDef& a = def.attributes[index];
    table->columns.push_back(Column{a.name, a.length, a.type});
  }
  for (auto& row : SelectFamily(store, def, attributes, ConditionsFor(plan, alias, true), nullptr,
                                plan.max_rows)) {
    table->row_objects.push_back(row.front().ToInt32());
    row.erase(row.begin());
    table->rows.push_back(std::move(row));
  }
  return table;
}

struct Triple {
  int32_t f, s, l;
};

// The F, S, L id triples of a joined query: every link from a qualifying F
// to a qualifying S (a composition link only from parent to son), in F then
// L order, cut to the plan's row limit.
std::vector<Triple> JoinedRows(Store& store, const QueryPlan& plan, const ClassDef& f_def,
                               int16_t s_class, int16_t l_class) {
  const Model& model = store.GetModel();
  std::vector<int32_t> f_ids;
  for (auto& row : SelectFamily(store, f_def, {}, ConditionsFor(plan, "F", false), nullptr, 0))
    f_ids.push_back(row[0].AsI4());
  std::vector<int16_t> links;
  if (l_class != 0) links = model.Descendants(l_class);
  std::vector<Triple> triples;
  std::vector<int32_t> s_ids, l_ids;
  for (int32_t f : f_ids) {
    for (const LinkHit& hit : store.Objects().LinksOf(f, links)) {
      const ClassDef* link = model.ById(hit.link_class);
      if (link->kind == kind::kComposition && !hit.forward) continue;
      triples.push_back(Triple{f, hit.other_id, hit.link_id});
      s_ids.push_back(hit.other_id);
      l_ids.push_back(hit.link_id);
    }
  }
  auto keep = [&](int16_t class_id, const std::vector<int32_t>& ids, std::string_view alias) {
    std::vector<int32_t> sorted = ids;
    std::sort(sorted.begin(), sorted.end());
    sorted.erase(std::unique(sorted.begin(), sorted.end()), sorted.end());
    const std::vector<int32_t> kept = FilterIds(store, class_id, sorted, plan, alias);
    return std::set<int32_t>(kept.begin(), kept.end());
  };
  const std::set<int32_t> s_keep = keep(s_class, s_ids, "S");
  std::set<int32_t> l_keep;
  if (l_class != 0) l_keep = keep(l_class, l_ids, "L");
  std::vector<Triple> rows;
  for (const Triple& t : triples)
    if (s_keep.count(t.s) && (l_class == 0 || l_keep.count(t.l))) rows.push_back(t);
  std::stable_sort(rows.begin(), rows.end(), [](const Triple& a, const Triple& b) {
    return a.f != b.f ? a.f < b.f : a.l < b.l;
  });
  if (plan.max_rows > 0 && rows.size() > static_cast<size_t>(plan.max_rows))
    rows.resize(plan.max_rows);
  return rows;
}

// Every attribute of every object the rows name, by object id: one read per class.
std::map<int32_t, std::pair<const ClassDef*, std::vector<Variant>>> ReadRowObjects(
    Store& store, const std::vector<Triple>& rows) {
  std::map<int32_t, std::pair<const ClassDef*, std::vector<Variant>>> values;
  std::vector<int32_t> all;
  for (const Triple& t : rows) all.insert(all.end(), {t.f, t.s, t.l});
  const auto classes = store.Objects().ClassesOf(all);
  std::map<int16_t, std::vector<int32_t>> by_class;
  for (const auto& [id, class_id] : classes) by_class[class_id].push_back(id);
  for (const auto& [class_id, ids] : by_class) {
    const ClassDef& def = store.ClassOrRaise(class_id);
    for (auto& [id, v] : store.Objects().ReadMany(def, ids, AllAttributes(def)))
      values[id] = {&def, std::move(v)};
  }
  return values;
}

std::shared_ptr<const RecordTable> RunJoined(Store& store, const QueryPlan& plan) {
  const Model& model = store.GetModel();
  const int16_t f_class = plan.ClassOf("F"), s_class = plan.ClassOf("S");
  const int16_t l_class = plan.ClassOf("L");
  if (f_class == 0 || s_class == 0)
    Raise(err::kHostFailure, "A query over several classes needs the aliases F and S", "Korvel");
  const ClassDef& f_def = store.ClassOrRaise(f_class);
  store.ClassOrRaise(s_class);
  const std::vector<Triple> rows = JoinedRows(store, plan, f_def, s_class, l_class);

  // Columns: as selected, else the ids of each alias.
  std::vector<std::pair<std::string, std::string>> select = plan.select;
  if (select.empty())
    for (const char* alias : {"F", "S", "L"})
      if (plan.ClassOf(alias) != 0 || std::string_view(alias) == "L") {
        select.emplace_back(attr::kClassId, alias);
        select.emplace_back(attr::kObjectId, alias);
      }
  auto table = std::make_shared<RecordTable>();
  const auto values = ReadRowObjects(store, rows);
  for (const auto& [column, alias] : select) {
    const int16_t class_id = alias == "F" ? f_class : alias == "S" ? s_class : l_class;
    const ClassDef* def = class_id ? model.ById(class_id) : nullptr;
    Column c{alias + "." + column, 0, 0};
    if (def) {
      const int index = def->FindAttribute(column);
      if (index < 0) RaiseUnknownAttribute(*def, column);
      c.length = def->attributes[index].length;
      c.type = def->attributes[index].type;
    }
    table->columns.push_back(c);
  }
  for (const Triple& t : rows) {
    std::vector<Variant> row;
    for (const auto& [column, alias] : select) {
      const int32_t id = alias == "F" ? t.f : alias == "S" ? t.s : t.l;
      auto it = values.find(id);
      if (it == values.end()) {
        row.push_back(Variant::Null());
        continue;
      }
      const int index = it->second.first->FindAttribute(column);
      row.push_back(index < 0 ? Variant::Null() : it->second.second[index]);
    }
    table->rows.push_back(std::move(row));
  }
  return table;
}

}  // namespace

std::vector<int32_t> FilterIds(Store& store, int16_t class_id, const std::vector<int32_t>& ids,
                               const QueryPlan& plan, std::string_view alias) {
  if (ids.empty()) return {};
  const ClassDef& def = store.ClassOrRaise(class_id);
  std::vector<int32_t> out;
  for (auto& row : SelectFamily(store, def, {}, ConditionsFor(plan, alias, false), &ids, 0))
    out.push_back(row[0].AsI4());
  return out;
}

std::shared_ptr<const RecordTable> RunQuery(Store& store, const QueryPlan& plan) {
  if (plan.classes.empty()) Raise(err::kHostFailure, "The query has no class", "Korvel");
  if (plan.classes.size() == 1) return RunSingle(store, plan);
  return RunJoined(store, plan);
}

}  // namespace vtx::emu

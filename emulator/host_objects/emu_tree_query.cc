#include "emulator/host_objects/emu_tree_query.h"

#include <algorithm>
#include <fstream>
#include <map>
#include <unordered_map>
#include <unordered_set>

#include <fmt/format.h>

#include "emulator/host_objects/emu_class.h"
#include "emulator/host_objects/emu_object.h"
#include "emulator/sql/database.h"
#include "emulator/store/object_table.h"
#include "host/kv_host.h"
#include "platform/utf8_path.h"

namespace vtx::emu {

namespace {

struct TreeRow {
  int32_t par, son, link;
};

// Whether the object is of the class registered under an alias (any object
// when none is).
bool InFamily(const Model& model, const std::unordered_map<int32_t, int16_t>& classes, int32_t id,
              int16_t class_id) {
  if (class_id == 0) return true;
  auto it = classes.find(id);
  return it != classes.end() && model.IsA(it->second, class_id);
}

}  // namespace

EmuTreeQuery::EmuTreeQuery(std::shared_ptr<Store> store, Ref<KvObjectStore> object_store,
                           std::string work_file)
    : store_(std::move(store)),
      object_store_(std::move(object_store)),
      work_file_(std::move(work_file)),
      roots_(MakeRef<EmuObjects>(store_, object_store_)) {}

void EmuTreeQuery::SetOptionA(int32_t value) {
  store_->Monitor().Enter(op::KvTreeQuery::SetOptionA, value);
  options_.emplace_back("A", value);
}

void EmuTreeQuery::SetOptionB(int32_t value) {
  store_->Monitor().Enter(op::KvTreeQuery::SetOptionB, value);
  options_.emplace_back("B", value);
}

void EmuTreeQuery::SetOptionC(int32_t value) {
  store_->Monitor().Enter(op::KvTreeQuery::SetOptionC, value);
  options_.emplace_back("C", value);
}

void EmuTreeQuery::SetLevel(int16_t levels) {
  store_->Monitor().Enter(op::KvTreeQuery::SetLevel, levels);
  levels_ = levels;
}

Ref<KvObjects> EmuTreeQuery::GetRoots() {
  store_->Monitor().Enter(op::KvTreeQuery::GetRoots);
  return roots_;
}

Ref<KvQueryClasses> EmuTreeQuery::GetQueryClasses() {
  store_->Monitor().Enter(op::KvTreeQuery::GetQueryClasses);
  return MakeRef<EmuQueryClasses>(store_, plan_);
}

Ref<KvSelectList> EmuTreeQuery::GetSelectList() {
  store_->Monitor().Enter(op::KvTreeQuery::GetSelectList);
  return MakeRef<EmuSelectList>(store_, plan_);
}

void EmuTreeQuery::WriteWorkFile(const std::vector<ObjectRef>& roots) const {
  const std::string path = store_->MapPath(work_file_);
  if (path.empty()) return;
  std::ofstream out(PathFromUtf8(path), std::ios::binary | std::ios::trunc);
  if (!out)
    Raise(err::kHostFailure, fmt::format("Cannot write the work file {}", work_file_), "Korvel");
  out << "[TREE]\r\nLevel=" << levels_ << "\r\n";
  for (const ObjectRef& r : roots) out << "Root=" << r.class_id << ',' << r.object_id << "\r\n";
}

void EmuTreeQuery::Execute() {
  store_->Monitor().Enter(op::KvTreeQuery::Execute);
  const Model& model = store_->GetModel();
  const int16_t l_class = plan_->ClassOf("L");
  if (l_class == 0)
    Raise(err::kHostFailure, "The tree query has no link class under the alias L", "Korvel");
  std::vector<int16_t> link_classes;
  for (int16_t id : model.Descendants(l_class))
    if (model.ById(id)->IsLink()) link_classes.push_back(id);
  if (link_classes.empty())
    Raise(err::kHostFailure, "The tree query's class L is not a link class", "Korvel");

  std::vector<ObjectRef> roots;
  std::vector<int32_t> root_ids;
  for (const Ref<KvObject>& root : roots_->Items()) {
    roots.push_back(IdentityOf(*store_, root));
    root_ids.push_back(roots.back().object_id);
  }
  WriteWorkFile(roots);

  // Level by level from the roots; a link already found is not followed
  // again, so loops and shared sub-assemblies end, and every link gives one
  // row at the first level it is reached.
  const int16_t f_class = plan_->ClassOf("F"), s_class = plan_->ClassOf("S");
  const int64_t max = store_->MaxQuerySize();
  std::vector<TreeRow> tree;
  std::unordered_map<int32_t, int16_t> classes;
  std::unordered_set<int32_t> links_found, expanded(root_ids.begin(), root_ids.end());
  std::vector<int32_t> fathers = root_ids;
  int64_t result_rows = 0;
  for (int level = 1; !fathers.empty() && (levels_ <= 0 || level <= levels_); ++level) {
    std::vector<TreeRow> found;
    for (const NearLink& l : store_->Objects().LinksFrom(fathers, link_classes))
      if (links_found.insert(l.link_id).second)
        found.push_back(TreeRow{l.near_id, l.far_id, l.link_id});
    std::sort(found.begin(), found.end(), [](const TreeRow& a, const TreeRow& b) {
      return a.par != b.par ? a.par < b.par : a.link < b.link;
    });
    std::vector<int32_t> named;
    for (const TreeRow& t : found) named.insert(named.end(), {t.par, t.son, t.link});
    std::sort(named.begin(), named.end());
    named.erase(std::unique(named.begin(), named.end()), named.end());
    classes.merge(store_->Objects().ClassesOf(named));
    fathers.clear();
    for (const TreeRow& t : found) {
      // Only rows that pass the class filters count against the limit.
      if (InFamily(model, classes, t.par, f_class) && InFamily(model, classes, t.son, s_class) &&
          ++result_rows > max)
        Raise(err::kHostFailure,
              fmt::format("The query result exceeds the host's MaxQuerySize ({} rows)", max),
              "Korvel");
      if (expanded.insert(t.son).second) fathers.push_back(t.son);
      tree.push_back(t);
    }
  }

  // Every object named, read once per class.
  std::map<int16_t, std::vector<int32_t>> by_class;
  for (const auto& [id, class_id] : classes) by_class[class_id].push_back(id);
  std::map<int32_t, std::pair<const ClassDef*, std::vector<Variant>>> values;
  for (const auto& [class_id, ids] : by_class) {
    const ClassDef& def = store_->ClassOrRaise(class_id);
    for (auto& [id, v] : store_->Objects().ReadMany(def, ids, AllAttributes(def)))
      values[id] = {&def, std::move(v)};
  }

  auto table = std::make_shared<RecordTable>();
  for (const auto& [column, alias] : plan_->select) {
    Column c{alias + "." + column, 0, 0};
    if (const ClassDef* def = model.ById(plan_->ClassOf(alias))) {
      if (const int index = def->FindAttribute(column); index >= 0) {
        c.length = def->attributes[index].length;
        c.type = def->attributes[index].type;
      }
    }
    table->columns.push_back(std::move(c));
  }
  // Each selected column's attribute index, looked up once per class.
  std::vector<std::map<const ClassDef*, int>> index_of(plan_->select.size());
  for (const TreeRow& t : tree) {
    if (!InFamily(model, classes, t.par, f_class) || !InFamily(model, classes, t.son, s_class))
      continue;
    std::vector<Variant> row;
    row.reserve(plan_->select.size());
    for (size_t c = 0; c < plan_->select.size(); ++c) {
      const auto& [column, alias] = plan_->select[c];
      const int32_t id = alias == "F" ? t.par : alias == "S" ? t.son : t.link;
      auto it = values.find(id);
      int index = -1;
      if (it != values.end()) {
        auto [known, added] = index_of[c].try_emplace(it->second.first, -1);
        if (added) known->second = it->second.first->FindAttribute(column);
        index = known->second;
      }
      row.push_back(index < 0 ? Variant::Null() : it->second.second[index]);
    }
    table->rows.push_back(std::move(row));
  }
  result_ = std::move(table);
}

Ref<KvCompositeObjects> EmuTreeQuery::GetResult(int32_t flags, bool composite) {
  store_->Monitor().Enter(op::KvTreeQuery::GetResult, flags, composite);
  return EmuObjects::FromRows(store_, object_store_, result_);
}

}  // namespace vtx::emu

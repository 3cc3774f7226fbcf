#include "emulator/store/emu_tree_query.h"

#include <algorithm>
#include <fstream>
#include <map>

#include <fmt/format.h>

#include "emulator/store/database.h"
#include "emulator/store/emu_class.h"
#include "emulator/store/emu_object.h"
#include "emulator/store/object_table.h"
#include "host/kv_host.h"

namespace vtx::emu {

namespace {

struct TreeRow {
  int32_t par, son, link;
};

// One recursive statement over every table of the link family: roots are
// bound as a JSON array (a single root as its id), the depth and the row
// limit as numbers.
std::string TreeSql(const Model& model, const std::vector<int16_t>& link_classes, bool one_root) {
  std::vector<std::string> initial, recursive;
  for (int16_t id : link_classes) {
    const ClassDef& def = *model.ById(id);
    const bool relation = def.kind == kind::kRelation;
    const std::string near = QuoteId(relation ? attr::kObjectId1 : attr::kParObjectId);
    const std::string far = QuoteId(relation ? attr::kObjectId2 : attr::kSonObjectId);
    const std::string table = QuoteId(def.table);
    initial.push_back(
        fmt::format("SELECT {0}, {1}, \"OBJECT_ID\", 1, ',' || \"OBJECT_ID\" || ',' FROM {2} "
                    "WHERE {0} {3}",
                    near, far, table, one_root ? "= ?1" : "IN (SELECT value FROM json_each(?1))"));
    // The path of links walked so far keeps a loop from being walked again.
    recursive.push_back(fmt::format(
        "SELECT l.{0}, l.{1}, l.\"OBJECT_ID\", tree.level + 1, tree.path || l.\"OBJECT_ID\" || ',' "
        "FROM tree JOIN {2} AS l ON l.{0} = tree.son "
        "WHERE (?2 <= 0 OR tree.level < ?2) AND instr(tree.path, ',' || l.\"OBJECT_ID\" || ',') = "
        "0",
        near, far, table));
  }
  std::string body;
  for (const auto& part : initial) body += (body.empty() ? "" : " UNION ALL ") + part;
  for (const auto& part : recursive) body += " UNION ALL " + part;
  return "WITH RECURSIVE tree(par, son, link, level, path) AS (" + body +
         " LIMIT ?3) SELECT par, son, link, min(level) AS lv, (SELECT count(*) FROM tree) FROM "
         "tree "
         "GROUP BY link ORDER BY lv, par, link";
}

}  // namespace

EmuTreeQuery::EmuTreeQuery(std::shared_ptr<Store> store, Ref<KvObjectStore> object_store,
                           std::string work_file)
    : store_(std::move(store)),
      object_store_(std::move(object_store)),
      work_file_(std::move(work_file)),
      roots_(MakeRef<EmuObjects>(store_, object_store_)) {}

void EmuTreeQuery::SetOptionA(int32_t value) {
  store_->Monitor().Enter("KvTreeQuery.SetOptionA", {value});
  options_.emplace_back("A", value);
}

void EmuTreeQuery::SetOptionB(int32_t value) {
  store_->Monitor().Enter("KvTreeQuery.SetOptionB", {value});
  options_.emplace_back("B", value);
}

void EmuTreeQuery::SetOptionC(int32_t value) {
  store_->Monitor().Enter("KvTreeQuery.SetOptionC", {value});
  options_.emplace_back("C", value);
}

void EmuTreeQuery::SetLevel(int16_t levels) {
  store_->Monitor().Enter("KvTreeQuery.SetLevel", {levels});
  levels_ = levels;
}

Ref<KvObjects> EmuTreeQuery::GetRoots() {
  store_->Monitor().Enter("KvTreeQuery.GetRoots");
  return roots_;
}

Ref<KvQueryClasses> EmuTreeQuery::GetQueryClasses() {
  store_->Monitor().Enter("KvTreeQuery.GetQueryClasses");
  return MakeRef<EmuQueryClasses>(store_, plan_);
}

Ref<KvSelectList> EmuTreeQuery::GetSelectList() {
  store_->Monitor().Enter("KvTreeQuery.GetSelectList");
  return MakeRef<EmuSelectList>(store_, plan_);
}

void EmuTreeQuery::WriteWorkFile(const std::vector<ObjectRef>& roots) const {
  const std::string path = store_->MapPath(work_file_);
  if (path.empty()) return;
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out)
    Raise(err::kHostFailure, fmt::format("Cannot write the work file {}", work_file_), "Korvel");
  out << "[TREE]\r\nLevel=" << levels_ << "\r\n";
  for (const ObjectRef& r : roots) out << "Root=" << r.class_id << ',' << r.object_id << "\r\n";
}

void EmuTreeQuery::Execute() {
  store_->Monitor().Enter("KvTreeQuery.Execute");
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

  const int64_t max = store_->MaxQuerySize();
  const bool one_root = root_ids.size() == 1;
  Statement s = store_->Db().Prepare(TreeSql(model, link_classes, one_root));
  if (one_root)
    s.BindInt(1, root_ids[0]);
  else
    s.BindText(1, IdsAsJson(root_ids));
  s.BindInt(2, levels_).BindInt(3, max + 1);
  std::vector<TreeRow> tree;
  int64_t walked = 0;
  while (s.Step()) {
    tree.push_back(TreeRow{static_cast<int32_t>(s.Int(0)), static_cast<int32_t>(s.Int(1)),
                           static_cast<int32_t>(s.Int(2))});
    walked = s.Int(4);
  }
  if (walked > max || static_cast<int64_t>(tree.size()) > max)
    Raise(err::kHostFailure,
          fmt::format("The query result exceeds the host's MaxQuerySize ({} rows)", max), "Korvel");

  // Every object named, read once per class.
  std::vector<int32_t> all;
  for (const TreeRow& t : tree) all.insert(all.end(), {t.par, t.son, t.link});
  std::sort(all.begin(), all.end());
  all.erase(std::unique(all.begin(), all.end()), all.end());
  const auto classes = store_->Objects().ClassesOf(all);
  std::map<int16_t, std::vector<int32_t>> by_class;
  for (const auto& [id, class_id] : classes) by_class[class_id].push_back(id);
  std::map<int32_t, std::pair<const ClassDef*, std::vector<Variant>>> values;
  for (const auto& [class_id, ids] : by_class) {
    const ClassDef& def = store_->ClassOrRaise(class_id);
    for (auto& [id, v] : store_->Objects().ReadMany(def, ids, AllAttributes(def)))
      values[id] = {&def, std::move(v)};
  }

  const int16_t f_class = plan_->ClassOf("F"), s_class = plan_->ClassOf("S");
  auto in_family = [&](int32_t id, int16_t class_id) {
    if (class_id == 0) return true;
    auto it = classes.find(id);
    return it != classes.end() && model.IsA(it->second, class_id);
  };
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
    if (!in_family(t.par, f_class) || !in_family(t.son, s_class)) continue;
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
  store_->Monitor().Enter("KvTreeQuery.GetResult", {flags, composite});
  return EmuObjects::FromRows(store_, object_store_, result_);
}

}  // namespace vtx::emu

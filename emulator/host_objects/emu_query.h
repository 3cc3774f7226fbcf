#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "emulator/store/family_select.h"
#include "emulator/store/record_table.h"
#include "emulator/store/store.h"
#include "host/kv_query.h"

namespace vtx::emu {

// What a structured query asks for; shared by the query and its parts.
struct QueryPlan {
  std::vector<std::pair<std::string, int16_t>> classes;  // alias, class id, in order
  std::vector<Condition> conditions;
  std::vector<std::pair<std::string, std::string>> select;  // column, alias
  int32_t max_rows = 0;                                     // 0: no limit
  std::vector<int32_t> flags;                               // SetQueryFlag, recorded

  // The class registered under `alias` (exact), or 0.
  int16_t ClassOf(std::string_view alias) const;
};

// KvQuery and its parts. A class registered matches objects of that class
// and of the classes below it.
// Thread-safety: one thread. Ownership: the parts share the query's plan.
class EmuQuery : public KvQuery {
 public:
  explicit EmuQuery(std::shared_ptr<Store> store);
  const QueryPlan& Plan() const { return *plan_; }

  Ref<KvQueryClasses> GetQueryClasses() override;
  Ref<KvQueryConditions> GetConditions() override;
  Ref<KvSelectList> GetSelectList() override;
  void SetMaxRows(int32_t max_rows) override;
  void SetQueryFlag(int32_t flag) override;

 private:
  std::shared_ptr<Store> store_;
  std::shared_ptr<QueryPlan> plan_;
};

// AddClass raises the host's failure for an unknown class.
class EmuQueryClasses : public KvQueryClasses {
 public:
  EmuQueryClasses(std::shared_ptr<Store> store, std::shared_ptr<QueryPlan> plan)
      : store_(std::move(store)), plan_(std::move(plan)) {}
  void AddClass(int16_t class_id, const std::string& alias) override;

 private:
  std::shared_ptr<Store> store_;
  std::shared_ptr<QueryPlan> plan_;
};

class EmuQueryConditions : public KvQueryConditions {
 public:
  EmuQueryConditions(std::shared_ptr<Store> store, std::shared_ptr<QueryPlan> plan)
      : store_(std::move(store)), plan_(std::move(plan)) {}
  void Add(const std::string& connector, const std::string& attribute, const std::string& op,
           const Variant& value, int32_t flags, const std::string& alias) override;

 private:
  std::shared_ptr<Store> store_;
  std::shared_ptr<QueryPlan> plan_;
};

class EmuSelectList : public KvSelectList {
 public:
  EmuSelectList(std::shared_ptr<Store> store, std::shared_ptr<QueryPlan> plan)
      : store_(std::move(store)), plan_(std::move(plan)) {}
  void Add(const std::string& column, const std::string& alias, int32_t flags) override;

 private:
  std::shared_ptr<Store> store_;
  std::shared_ptr<QueryPlan> plan_;
};

// KvQueryFactory: one query, run as often as asked. Before the first run the
// result is an empty list.
class EmuQueryFactory : public KvQueryFactory {
 public:
  explicit EmuQueryFactory(std::shared_ptr<Store> store);

  Ref<KvQuery> GetQuery() override;
  void Run() override;
  void RunWithOptions(const Ref<KvOptions>& options) override;
  int32_t GetRowCount() override;
  Ref<KvRecordList> GetResult() override;

 private:
  std::shared_ptr<Store> store_;
  Ref<EmuQuery> query_;
  std::shared_ptr<const RecordTable> result_;
};

// Runs a structured query. One class: columns named by the selected
// attributes (all attributes of the class when none are selected). Several
// classes ("F", "S" and optionally "L"): one row per link joining an F object
// and an S object (through the L class, or any link class), columns named
// "F.OBJECT_ID" and so on (F.CLASS_ID, F.OBJECT_ID, S.CLASS_ID, S.OBJECT_ID,
// L.CLASS_ID, L.OBJECT_ID when none are selected). Rows in ascending
// OBJECT_ID of the class registered first (then of the link).
std::shared_ptr<const RecordTable> RunQuery(Store& store, const QueryPlan& plan);

// Ids of the objects of class `class_id` (and below) among `ids` that meet
// the conditions written for `alias`, ascending.
std::vector<int32_t> FilterIds(Store& store, int16_t class_id, const std::vector<int32_t>& ids,
                               const QueryPlan& plan, std::string_view alias);

}  // namespace vtx::emu

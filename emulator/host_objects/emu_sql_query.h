#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "emulator/store/record_table.h"
#include "emulator/store/store.h"
#include "host/kv_query.h"

namespace vtx::emu {

// KvSqlQuery: the caller's own SQL statement, run as it is against the
// database (any class table or plain table). The result's columns are those
// of the statement; each column's type code comes from its declared SQL type
// (INTEGER 3, REAL 4, TEXT 1), else from its first non-null value. The
// options are recorded and have no effect. Before Execute the result is empty.
// Thread-safety: one thread. Ownership: GetResult returns a new list.
class EmuSqlQuery : public KvSqlQuery {
 public:
  explicit EmuSqlQuery(std::shared_ptr<Store> store) : store_(std::move(store)) {}

  const std::vector<std::pair<std::string, Variant>>& Options() const { return options_; }

  void SetOptionA(int32_t value) override;
  void SetOptionB(bool value) override;
  void SetOptionC(int32_t value) override;
  void SetOptionD(int32_t value) override;
  void SetStatement(const std::string& statement) override;
  void Execute() override;
  Ref<KvRecordList> GetResult() override;

 private:
  std::shared_ptr<Store> store_;
  std::vector<std::pair<std::string, Variant>> options_;
  std::string statement_;
  std::shared_ptr<const RecordTable> result_ = std::make_shared<const RecordTable>();
};

}  // namespace vtx::emu

#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "emulator/host_objects/emu_objects.h"
#include "emulator/host_objects/emu_query.h"
#include "emulator/store/store.h"
#include "host/kv_query.h"

namespace vtx::emu {

// KvTreeQuery: expands the hierarchy below the roots through the link class
// registered as "L" (parent -> son for composition links, end 1 -> end 2 for
// relation links), `SetLevel` levels deep (0 or less: every level), with one
// recursive statement. One row per link found, ordered by level, then father
// OBJECT_ID, then link OBJECT_ID; a father or son outside the families
// registered as "F" and "S" drops the row. Columns "F.CLASS_ID", ... in
// select order. Fails when the expansion walks more rows than the model's
// host.maxQuerySize.
//
// Execute writes the work file (the level and the roots, one per line) at
// the Windows path given to CreateTreeQuery, through the store's path
// mapping; without a mapping no file is written.
// Thread-safety: one thread. Ownership: GetRoots returns the query's own
// collection; GetResult a new collection owned by the caller.
class EmuTreeQuery : public KvTreeQuery {
 public:
  EmuTreeQuery(std::shared_ptr<Store> store, Ref<KvObjectStore> object_store,
               std::string work_file);

  const std::vector<std::pair<std::string, int32_t>>& Options() const { return options_; }

  void SetOptionA(int32_t value) override;
  void SetOptionB(int32_t value) override;
  void SetOptionC(int32_t value) override;
  void SetLevel(int16_t levels) override;
  Ref<KvObjects> GetRoots() override;
  Ref<KvQueryClasses> GetQueryClasses() override;
  Ref<KvSelectList> GetSelectList() override;
  void Execute() override;
  Ref<KvCompositeObjects> GetResult(int32_t flags, bool composite) override;

 private:
  void WriteWorkFile(const std::vector<ObjectRef>& roots) const;

  std::shared_ptr<Store> store_;
  Ref<KvObjectStore> object_store_;
  std::string work_file_;
  std::vector<std::pair<std::string, int32_t>> options_;
  int16_t levels_ = 1;
  Ref<EmuObjects> roots_;
  std::shared_ptr<QueryPlan> plan_ = std::make_shared<QueryPlan>();
  std::shared_ptr<const RecordTable> result_ = std::make_shared<const RecordTable>();
};

}  // namespace vtx::emu

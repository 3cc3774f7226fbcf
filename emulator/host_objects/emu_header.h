#pragma once

#include <memory>
#include <vector>

#include "emulator/call_monitor.h"
#include "emulator/store/record_table.h"
#include "host/kv_record.h"

namespace vtx::emu {

// KvHeader: a snapshot of the columns of a record or record list, and its
// fields. Item raises 9 out of range.
// Thread-safety: one thread. Ownership: Item returns a new field.
class EmuHeader : public KvHeader {
 public:
  EmuHeader(std::shared_ptr<CallMonitor> monitor, std::vector<Column> columns)
      : monitor_(std::move(monitor)), columns_(std::move(columns)) {}

  int32_t GetCount() override;
  Ref<KvHeaderField> Item(int32_t index) override;
  bool HasColumn(const std::string& name) override;

 private:
  std::shared_ptr<CallMonitor> monitor_;
  std::vector<Column> columns_;
};

class EmuHeaderField : public KvHeaderField {
 public:
  EmuHeaderField(std::shared_ptr<CallMonitor> monitor, Column column)
      : monitor_(std::move(monitor)), column_(std::move(column)) {}

  std::string GetName() override;
  int32_t GetLength() override;
  int32_t GetType() override;

 private:
  std::shared_ptr<CallMonitor> monitor_;
  Column column_;
};

}  // namespace vtx::emu

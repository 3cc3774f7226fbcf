#pragma once

#include <memory>

#include "emulator/call_monitor.h"
#include "emulator/store/record_table.h"
#include "host/kv_record.h"

namespace vtx::emu {

// KvRecordList over a RecordTable shared copy-on-write: handing the rows of
// a collection or a query result to a new list costs nothing until one of
// them writes.
//
// Values are kept as written (no conversion to the column's type). A value
// written at row == GetRecordCount() appends a row; further out raises 9, as
// do unknown columns. Sort sorts the first `count` rows (all rows when
// `count` is out of range) stably by the rows of the sort order.
// Thread-safety: one thread. Ownership: GetRecord and GetHeader return new
// objects owned by the caller.
class EmuRecordList : public KvRecordList {
 public:
  explicit EmuRecordList(std::shared_ptr<CallMonitor> monitor,
                         std::shared_ptr<const RecordTable> table = nullptr);

  // The rows as they are now; later writes to this list do not change them.
  std::shared_ptr<const RecordTable> Snapshot() const { return table_; }

  int32_t GetRecordCount() override;
  int32_t GetColumnCount() override;
  std::string GetColumnName(int32_t column) override;
  Ref<KvHeader> GetHeader() override;
  void AddColumn(const std::string& name, int32_t length, int32_t type) override;
  Variant GetValue(const std::string& column, int32_t row) override;
  Variant GetValueAt(int32_t column, int32_t row) override;
  std::string GetStringValue(const std::string& column, int32_t row) override;
  void SetValue(const std::string& column, int32_t row, const Variant& value) override;
  void SetBooleanValue(const std::string& column, int32_t row, bool value) override;
  Ref<KvRecord> GetRecord(int32_t row) override;
  void GoToRow(int32_t row) override;
  int32_t HasGuiSelection() override;
  void Sort(const Ref<KvRecordList>& sort_spec, int32_t count, int32_t flags) override;
  int32_t FindRecord(const Ref<KvRecord>& record) override;

 private:
  RecordTable& Mutable();
  int ColumnIndex(std::string_view name) const;  // raises 9 when unknown
  void CheckRow(int32_t row) const;              // raises 9 when out of range
  void Write(const std::string& column, int32_t row, const Variant& value);

  std::shared_ptr<CallMonitor> monitor_;
  std::shared_ptr<const RecordTable> table_;
  int32_t current_row_ = 0;
};

}  // namespace vtx::emu

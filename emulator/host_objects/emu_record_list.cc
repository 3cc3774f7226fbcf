#include "emulator/host_objects/emu_record_list.h"

#include <algorithm>

#include "emulator/host_objects/emu_header.h"
#include "emulator/host_objects/emu_record.h"

namespace vtx::emu {

EmuRecordList::EmuRecordList(std::shared_ptr<CallMonitor> monitor,
                             std::shared_ptr<const RecordTable> table)
    : monitor_(std::move(monitor)),
      table_(table ? std::move(table) : std::make_shared<const RecordTable>()) {}

RecordTable& EmuRecordList::Mutable() {
  if (table_.use_count() != 1) table_ = std::make_shared<RecordTable>(*table_);
  return const_cast<RecordTable&>(*table_);
}

int EmuRecordList::ColumnIndex(std::string_view name) const {
  const int index = table_->FindColumn(name);
  if (index < 0) Raise(err::kSubscriptOutOfRange);
  return index;
}

void EmuRecordList::CheckRow(int32_t row) const {
  if (row < 0 || static_cast<size_t>(row) >= table_->rows.size()) Raise(err::kSubscriptOutOfRange);
}

int32_t EmuRecordList::GetRecordCount() {
  monitor_->Enter(op::KvRecordList::GetRecordCount);
  return static_cast<int32_t>(table_->rows.size());
}

int32_t EmuRecordList::GetColumnCount() {
  monitor_->Enter(op::KvRecordList::GetColumnCount);
  return static_cast<int32_t>(table_->columns.size());
}

std::string EmuRecordList::GetColumnName(int32_t column) {
  monitor_->Enter(op::KvRecordList::GetColumnName, column);
  if (column < 0 || static_cast<size_t>(column) >= table_->columns.size())
    Raise(err::kSubscriptOutOfRange);
  return table_->columns[column].name;
}

Ref<KvHeader> EmuRecordList::GetHeader() {
  monitor_->Enter(op::KvRecordList::GetHeader);
  return MakeRef<EmuHeader>(monitor_, table_->columns);
}

void EmuRecordList::AddColumn(const std::string& name, int32_t length, int32_t type) {
  monitor_->Enter(op::KvRecordList::AddColumn, name, length, type);
  if (table_->FindColumn(name) >= 0) return;
  Mutable().AddColumn(name, length, type);
}

Variant EmuRecordList::GetValue(const std::string& column, int32_t row) {
  monitor_->Enter(op::KvRecordList::GetValue, column, row);
  const int c = ColumnIndex(column);
  CheckRow(row);
  return table_->rows[row][c];
}

Variant EmuRecordList::GetValueAt(int32_t column, int32_t row) {
  monitor_->Enter(op::KvRecordList::GetValueAt, column, row);
  if (column < 0 || static_cast<size_t>(column) >= table_->columns.size())
    Raise(err::kSubscriptOutOfRange);
  CheckRow(row);
  return table_->rows[row][column];
}

std::string EmuRecordList::GetStringValue(const std::string& column, int32_t row) {
  monitor_->Enter(op::KvRecordList::GetStringValue, column, row);
  const int c = ColumnIndex(column);
  CheckRow(row);
  const Variant& v = table_->rows[row][c];
  return v.IsNull() ? std::string() : v.ToString();
}

void EmuRecordList::Write(const std::string& column, int32_t row, const Variant& value) {
  const int c = ColumnIndex(column);
  if (row < 0 || static_cast<size_t>(row) > table_->rows.size()) Raise(err::kSubscriptOutOfRange);
  RecordTable& t = Mutable();
  if (static_cast<size_t>(row) == t.rows.size()) t.rows.emplace_back(t.columns.size());
  t.rows[row][c] = value;
}

void EmuRecordList::SetValue(const std::string& column, int32_t row, const Variant& value) {
  monitor_->Enter(op::KvRecordList::SetValue, column, row, value);
  Write(column, row, value);
}

void EmuRecordList::SetBooleanValue(const std::string& column, int32_t row, bool value) {
  monitor_->Enter(op::KvRecordList::SetBooleanValue, column, row, value);
  Write(column, row, Variant(value));
}

Ref<KvRecord> EmuRecordList::GetRecord(int32_t row) {
  monitor_->Enter(op::KvRecordList::GetRecord, row);
  CheckRow(row);
  auto record = MakeRef<EmuRecord>(monitor_, table_->columns, table_->rows[row]);
  record->SetRowObject(table_->RowObject(row));
  return record;
}

void EmuRecordList::GoToRow(int32_t row) {
  monitor_->Enter(op::KvRecordList::GoToRow, row);
  if (row < 0 || static_cast<size_t>(row) > table_->rows.size()) Raise(err::kSubscriptOutOfRange);
  current_row_ = row;
}

int32_t EmuRecordList::HasGuiSelection() {
  monitor_->Enter(op::KvRecordList::HasGuiSelection);
  return 0;
}

void EmuRecordList::Sort(const Ref<KvRecordList>& sort_order, int32_t count, int32_t flags) {
  monitor_->Enter(op::KvRecordList::Sort, Variant(Ref<Dispatch>(sort_order)), count, flags);
  auto order = CastTo<EmuRecordList>(sort_order);
  if (!order) Raise(err::kObjectVariableNotSet);
  const RecordTable& s = *order->table_;
  const int name_col = s.FindColumn("COL_NAME");
  const int dir_col = s.FindColumn("TDM_DIRECTION");
  if (name_col < 0) Raise(err::kSubscriptOutOfRange);
  struct Key {
    int column;
    bool ascending;
  };
  std::vector<Key> keys;
  for (const auto& row : s.rows) {
    const Variant& name = row[name_col];
    if (name.IsEmpty() || name.IsNull()) continue;
    const bool ascending =
        dir_col < 0 || row[dir_col].IsEmpty() || row[dir_col].IsNull() || row[dir_col].ToBool();
    keys.push_back(Key{ColumnIndex(name.ToString()), ascending});
  }
  const size_t n = table_->rows.size();
  const size_t limit = (count <= 0 || static_cast<size_t>(count) > n) ? n : count;
  if (keys.empty() || limit < 2) return;
  RecordTable& t = Mutable();
  // Rows move with the objects they were read from.
  std::vector<size_t> order_of(limit);
  for (size_t i = 0; i < limit; ++i) order_of[i] = i;
  std::stable_sort(order_of.begin(), order_of.end(), [&](size_t a, size_t b) {
    for (const Key& k : keys) {
      const int c = CompareCells(t.rows[a][k.column], t.rows[b][k.column]);
      if (c != 0) return k.ascending ? c < 0 : c > 0;
    }
    return false;
  });
  std::vector<std::vector<Variant>> rows(limit);
  std::vector<int32_t> objects(limit);
  for (size_t i = 0; i < limit; ++i) {
    rows[i] = std::move(t.rows[order_of[i]]);
    objects[i] = t.RowObject(order_of[i]);
  }
  std::move(rows.begin(), rows.end(), t.rows.begin());
  if (t.row_objects.size() < limit) t.row_objects.resize(limit);
  std::copy(objects.begin(), objects.end(), t.row_objects.begin());
}

int32_t EmuRecordList::FindRecord(const Ref<KvRecord>& record) {
  monitor_->Enter(op::KvRecordList::FindRecord, Variant(Ref<Dispatch>(record)));
  auto r = CastTo<EmuRecord>(record);
  if (!r) Raise(err::kObjectVariableNotSet);
  std::vector<std::pair<int, Variant>> wanted;
  for (size_t i = 0; i < r->Columns().size(); ++i) {
    const int c = table_->FindColumn(r->Columns()[i].name);
    if (c < 0) return -1;
    wanted.emplace_back(c, r->ValueAt(i));
  }
  for (size_t row = 0; row < table_->rows.size(); ++row) {
    const auto& cells = table_->rows[row];
    if (std::all_of(wanted.begin(), wanted.end(),
                    [&](const auto& w) { return SameCell(cells[w.first], w.second); }))
      return static_cast<int32_t>(row);
  }
  return -1;
}

}  // namespace vtx::emu

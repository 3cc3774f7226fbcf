#pragma once

#include <memory>
#include <vector>

#include "emulator/call_monitor.h"
#include "emulator/store/model.h"
#include "emulator/store/record_table.h"
#include "host/kv_record.h"

namespace vtx::emu {

// KvRecord in two roles:
//  - a free record (a row copied out of a record list, or one built by the
//    caller): values are kept as written; writing an unknown column adds it;
//    reading an unknown column raises 9;
//  - the data record of an object (`ForClass`): its columns are the class's
//    attributes; values written are converted to the attribute's type and
//    marked as changed; an unknown attribute raises the host's failure.
// GetValueAsString gives "" for Empty and Null.
// Thread-safety: one thread. Ownership: GetHeader returns a new header (a
// snapshot of the columns) owned by the caller.
class EmuRecord : public KvRecord {
 public:
  EmuRecord(std::shared_ptr<CallMonitor> monitor, std::vector<Column> columns = {},
            std::vector<Variant> values = {});
  // The data record of an object of `def`. `epoch` is bumped on every write
  // so that cached views of objects can tell they are stale.
  static std::shared_ptr<EmuRecord> ForClass(std::shared_ptr<CallMonitor> monitor,
                                             std::shared_ptr<const std::vector<Column>> columns,
                                             const ClassDef* def, std::shared_ptr<uint64_t> epoch);

  // Unmonitored access for the store's own parts.
  const std::vector<Column>& Columns() const { return *columns_; }
  const Variant& ValueAt(size_t index) const { return values_[index]; }
  int Find(std::string_view name) const;
  // Sets a value as read from the database or given by the host: converted
  // for object data, not marked as changed.
  void Load(size_t index, Variant value);
  // Load for every column at once, from values in column order.
  void LoadAll(std::vector<Variant> values);
  // Writes a value as the caller does (converted, marked as changed).
  void Write(size_t index, const Variant& value);
  bool IsChanged(size_t index) const { return !changed_.empty() && changed_[index]; }
  void ClearChanged();
  // Resets every value to Empty and forgets changes.
  void ClearValues();
  // The object a row copied out of a query result was read from (0: none).
  int32_t RowObject() const { return row_object_; }
  void SetRowObject(int32_t object_id) { row_object_ = object_id; }

  Variant GetValue(const std::string& name) override;
  std::string GetValueAsString(const std::string& name) override;
  void SetValue(const std::string& name, const Variant& value) override;
  void SetStringValue(const std::string& name, const std::string& value) override;
  void SetBooleanValue(const std::string& name, bool value) override;
  void SetIntegerValue(const std::string& name, int16_t value) override;
  void SetLongValue(const std::string& name, int32_t value) override;
  void SetDoubleValue(const std::string& name, double value) override;
  void SetType7Value(const std::string& name, double value) override;
  void SetType8Value(const std::string& name, double value) override;
  void SetType13Value(const std::string& name, double value) override;
  Ref<KvHeader> GetHeader() override;
  void AddColumn(const std::string& name, int32_t length, int32_t type) override;

 private:
  // Object data holds each value as its attribute's type.
  void TypeAsStored(size_t index, Variant& value) const;
  int IndexForRead(std::string_view name) const;
  int IndexForWrite(const std::string& name, const Variant& value);
  void Set(OperationName operation, const std::string& name, const Variant& value) {
    Set(operation, name, value, value);
  }
  // Traces the value as the caller passed it and writes it as the host keeps it.
  void Set(OperationName operation, const std::string& name, const Variant& passed,
           const Variant& stored);
  void Bump();

  std::shared_ptr<CallMonitor> monitor_;
  std::shared_ptr<const std::vector<Column>> columns_;
  std::vector<Variant> values_;
  std::vector<bool> changed_;  // object data only
  const ClassDef* def_ = nullptr;
  std::shared_ptr<uint64_t> epoch_;
  int32_t row_object_ = 0;
};

}  // namespace vtx::emu

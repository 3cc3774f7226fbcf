#pragma once

#include <cstdint>
#include <string>

#include "host/kv_forward.h"

namespace vtx {

// Named values of one object (or a free-standing record).
class KvRecord : public Dispatch {
 public:
  // Raises when the record has no such column.
  virtual Variant GetValue(const std::string& name) = 0;
  virtual std::string GetValueAsString(const std::string& name) = 0;
  virtual void SetValue(const std::string& name, const Variant& value) = 0;
  virtual void SetStringValue(const std::string& name, const std::string& value) = 0;
  virtual void SetBooleanValue(const std::string& name, bool value) = 0;
  virtual void SetIntegerValue(const std::string& name, int16_t value) = 0;
  virtual void SetLongValue(const std::string& name, int32_t value) = 0;
  virtual void SetDoubleValue(const std::string& name, double value) = 0;
  virtual void SetType7Value(const std::string& name, double value) = 0;
  virtual void SetType8Value(const std::string& name, double value) = 0;
  virtual void SetType13Value(const std::string& name, double value) = 0;
  virtual Ref<KvHeader> GetHeader() = 0;
  virtual void AddColumn(const std::string& name, int32_t length, int32_t type) = 0;
  std::string_view GetTypeName() const override { return "KvRecord"; }
};

// Rows of named columns. Rows grow on demand when a value is written at the
// next row index.
class KvRecordList : public Dispatch {
 public:
  virtual int32_t GetRecordCount() = 0;
  virtual int32_t GetColumnCount() = 0;
  virtual std::string GetColumnName(int32_t column) = 0;
  virtual Ref<KvHeader> GetHeader() = 0;
  virtual void AddColumn(const std::string& name, int32_t length, int32_t type) = 0;
  // Raise 9 for an unknown column or a row out of range.
  virtual Variant GetValue(const std::string& column, int32_t row) = 0;
  virtual Variant GetValueAt(int32_t column, int32_t row) = 0;
  virtual std::string GetStringValue(const std::string& column, int32_t row) = 0;
  virtual void SetValue(const std::string& column, int32_t row, const Variant& value) = 0;
  virtual void SetBooleanValue(const std::string& column, int32_t row, bool value) = 0;
  // Row `row` as a record (a copy).
  virtual Ref<KvRecord> GetRecord(int32_t row) = 0;
  virtual void GoToRow(int32_t row) = 0;
  // Non-zero when the list stands for the selection of a view.
  virtual int32_t HasGuiSelection() = 0;
  // Sorts by the rows of `sort_spec` (COL_NAME, TDM_DIRECTION True = ascending).
  virtual void Sort(const Ref<KvRecordList>& sort_spec, int32_t count, int32_t flags) = 0;
  // Index of the first row whose values equal those of `record` in the
  // record's columns; -1 when none.
  virtual int32_t FindRecord(const Ref<KvRecord>& record) = 0;
  std::string_view GetTypeName() const override { return "KvRecordList"; }
};

class KvHeader : public Dispatch {
 public:
  virtual int32_t GetCount() = 0;
  virtual Ref<KvHeaderField> Item(int32_t index) = 0;
  virtual bool HasColumn(const std::string& name) = 0;
  std::string_view GetTypeName() const override { return "KvHeader"; }
};

class KvHeaderField : public Dispatch {
 public:
  virtual std::string GetName() = 0;
  virtual int32_t GetLength() = 0;
  virtual int32_t GetType() = 0;
  std::string_view GetTypeName() const override { return "KvHeaderField"; }
};

// A host list of strings.
class KvStrings : public Dispatch {
 public:
  virtual int32_t GetCount() = 0;
  virtual std::string Item(int32_t index) = 0;
  virtual void Add(const std::string& value) = 0;
  // Exact match; -1 when absent.
  virtual int32_t IndexOf(const std::string& value) = 0;
  std::string_view GetTypeName() const override { return "KvStrings"; }
};

}  // namespace vtx

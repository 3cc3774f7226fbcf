#include "emulator/host_objects/emu_record.h"

#include <fmt/format.h>

#include "emulator/host_objects/emu_header.h"
#include "emulator/store/value_convert.h"

namespace vtx::emu {

EmuRecord::EmuRecord(std::shared_ptr<CallMonitor> monitor, std::vector<Column> columns,
                     std::vector<Variant> values)
    : monitor_(std::move(monitor)),
      columns_(std::make_shared<const std::vector<Column>>(std::move(columns))),
      values_(std::move(values)) {
  values_.resize(columns_->size());
}

std::shared_ptr<EmuRecord> EmuRecord::ForClass(std::shared_ptr<CallMonitor> monitor,
                                               std::shared_ptr<const std::vector<Column>> columns,
                                               const ClassDef* def,
                                               std::shared_ptr<uint64_t> epoch) {
  auto record = std::make_shared<EmuRecord>(std::move(monitor));
  record->columns_ = std::move(columns);
  record->values_.assign(record->columns_->size(), Variant());
  record->changed_.assign(record->columns_->size(), false);
  record->def_ = def;
  record->epoch_ = std::move(epoch);
  return record;
}

int EmuRecord::Find(std::string_view name) const {
  // An object's data record holds its class's attributes: the class looks
  // them up by name without a scan.
  if (def_ && columns_->size() == def_->attributes.size()) return def_->FindAttribute(name);
  // Exact spelling first: it is the common case and needs no case fold.
  for (size_t i = 0; i < columns_->size(); ++i)
    if ((*columns_)[i].name == name) return static_cast<int>(i);
  for (size_t i = 0; i < columns_->size(); ++i)
    if (SameName((*columns_)[i].name, name)) return static_cast<int>(i);
  return -1;
}

void EmuRecord::Bump() {
  if (epoch_) ++*epoch_;
}

void EmuRecord::TypeAsStored(size_t index, Variant& value) const {
  // Values read from storage come typed already; converting them again would
  // only copy them.
  if (def_ && !value.IsEmpty() && !value.IsNull() &&
      value.Type() != VarTypeOf((*columns_)[index].type))
    value = ConvertToFieldType(value, (*columns_)[index].type);
}

void EmuRecord::Load(size_t index, Variant value) {
  TypeAsStored(index, value);
  values_[index] = std::move(value);
  if (!changed_.empty()) changed_[index] = false;
  Bump();
}

void EmuRecord::LoadAll(std::vector<Variant> values) {
  if (values.size() != values_.size()) {
    for (size_t i = 0; i < values.size(); ++i) Load(i, std::move(values[i]));
    return;
  }
  for (size_t i = 0; i < values.size(); ++i) TypeAsStored(i, values[i]);
  values_.swap(values);
  ClearChanged();
  Bump();
}

void EmuRecord::Write(size_t index, const Variant& value) {
  values_[index] = def_ ? ConvertToFieldType(value, (*columns_)[index].type) : value;
  if (!changed_.empty()) changed_[index] = true;
  Bump();
}

void EmuRecord::ClearChanged() { std::fill(changed_.begin(), changed_.end(), false); }

void EmuRecord::ClearValues() {
  std::fill(values_.begin(), values_.end(), Variant());
  ClearChanged();
  Bump();
}

int EmuRecord::IndexForRead(std::string_view name) const {
  const int index = Find(name);
  if (index >= 0) return index;
  if (def_) RaiseUnknownAttribute(*def_, name);
  Raise(err::kSubscriptOutOfRange);
}

int EmuRecord::IndexForWrite(const std::string& name, const Variant& value) {
  const int index = Find(name);
  if (index >= 0) return index;
  if (def_) RaiseUnknownAttribute(*def_, name);
  auto columns = std::make_shared<std::vector<Column>>(*columns_);
  columns->push_back(Column{name, 0, 0});
  (void)value;
  columns_ = std::move(columns);
  values_.emplace_back();
  return static_cast<int>(columns_->size()) - 1;
}

void EmuRecord::Set(OperationName operation, const std::string& name, const Variant& passed,
                    const Variant& stored) {
  monitor_->Enter(operation, name, passed);
  Write(IndexForWrite(name, stored), stored);
}

Variant EmuRecord::GetValue(const std::string& name) {
  monitor_->Enter(op::KvRecord::GetValue, name);
  return values_[IndexForRead(name)];
}

std::string EmuRecord::GetValueAsString(const std::string& name) {
  monitor_->Enter(op::KvRecord::GetValueAsString, name);
  const Variant& v = values_[IndexForRead(name)];
  return v.IsNull() ? std::string() : v.ToString();
}

void EmuRecord::SetValue(const std::string& name, const Variant& value) {
  Set(op::KvRecord::SetValue, name, value);
}
void EmuRecord::SetStringValue(const std::string& name, const std::string& value) {
  Set(op::KvRecord::SetStringValue, name, Variant(value));
}
void EmuRecord::SetBooleanValue(const std::string& name, bool value) {
  Set(op::KvRecord::SetBooleanValue, name, Variant(value));
}
void EmuRecord::SetIntegerValue(const std::string& name, int16_t value) {
  Set(op::KvRecord::SetIntegerValue, name, Variant(value));
}
void EmuRecord::SetLongValue(const std::string& name, int32_t value) {
  Set(op::KvRecord::SetLongValue, name, Variant(value));
}
void EmuRecord::SetDoubleValue(const std::string& name, double value) {
  Set(op::KvRecord::SetDoubleValue, name, Variant(value));
}
void EmuRecord::SetType7Value(const std::string& name, double value) {
  Set(op::KvRecord::SetType7Value, name, Variant(value), Variant::Date(value));
}
void EmuRecord::SetType8Value(const std::string& name, double value) {
  Set(op::KvRecord::SetType8Value, name, Variant(value), Variant::Date(value));
}
void EmuRecord::SetType13Value(const std::string& name, double value) {
  Set(op::KvRecord::SetType13Value, name, Variant(value), Variant::Date(value));
}

Ref<KvHeader> EmuRecord::GetHeader() {
  monitor_->Enter(op::KvRecord::GetHeader);
  return MakeRef<EmuHeader>(monitor_, *columns_);
}

void EmuRecord::AddColumn(const std::string& name, int32_t length, int32_t type) {
  monitor_->Enter(op::KvRecord::AddColumn, name, length, type);
  if (Find(name) >= 0) return;
  if (def_) RaiseUnknownAttribute(*def_, name);
  auto columns = std::make_shared<std::vector<Column>>(*columns_);
  columns->push_back(Column{name, length, type});
  columns_ = std::move(columns);
  values_.emplace_back();
}

}  // namespace vtx::emu

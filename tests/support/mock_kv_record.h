#pragma once

#include <gmock/gmock.h>

#include <string>

#include "host/kv_host.h"

namespace vtx::testing {

// gmock stand-ins for records and record lists. Used on the test's thread
// only.
class MockKvRecord : public KvRecord {
 public:
  MOCK_METHOD(Variant, GetValue, (const std::string& name), (override));
  MOCK_METHOD(std::string, GetValueAsString, (const std::string& name), (override));
  MOCK_METHOD(void, SetValue, (const std::string& name, const Variant& value), (override));
  MOCK_METHOD(void, SetStringValue, (const std::string& name, const std::string& value),
              (override));
  MOCK_METHOD(void, SetBooleanValue, (const std::string& name, bool value), (override));
  MOCK_METHOD(void, SetIntegerValue, (const std::string& name, int16_t value), (override));
  MOCK_METHOD(void, SetLongValue, (const std::string& name, int32_t value), (override));
  MOCK_METHOD(void, SetDoubleValue, (const std::string& name, double value), (override));
  MOCK_METHOD(void, SetType7Value, (const std::string& name, double value), (override));
  MOCK_METHOD(void, SetType8Value, (const std::string& name, double value), (override));
  MOCK_METHOD(void, SetType13Value, (const std::string& name, double value), (override));
  MOCK_METHOD(Ref<KvHeader>, GetHeader, (), (override));
  MOCK_METHOD(void, AddColumn, (const std::string& name, int32_t length, int32_t type), (override));
};

class MockKvRecordList : public KvRecordList {
 public:
  MOCK_METHOD(int32_t, GetRecordCount, (), (override));
  MOCK_METHOD(int32_t, GetColumnCount, (), (override));
  MOCK_METHOD(std::string, GetColumnName, (int32_t column), (override));
  MOCK_METHOD(Ref<KvHeader>, GetHeader, (), (override));
  MOCK_METHOD(void, AddColumn, (const std::string& name, int32_t length, int32_t type), (override));
  MOCK_METHOD(Variant, GetValue, (const std::string& column, int32_t row), (override));
  MOCK_METHOD(Variant, GetValueAt, (int32_t column, int32_t row), (override));
  MOCK_METHOD(std::string, GetStringValue, (const std::string& column, int32_t row), (override));
  MOCK_METHOD(void, SetValue, (const std::string& column, int32_t row, const Variant& value),
              (override));
  MOCK_METHOD(void, SetBooleanValue, (const std::string& column, int32_t row, bool value),
              (override));
  MOCK_METHOD(Ref<KvRecord>, GetRecord, (int32_t row), (override));
  MOCK_METHOD(void, GoToRow, (int32_t row), (override));
  MOCK_METHOD(int32_t, HasGuiSelection, (), (override));
  MOCK_METHOD(void, Sort, (const Ref<KvRecordList>& sort_spec, int32_t count, int32_t flags),
              (override));
  MOCK_METHOD(int32_t, FindRecord, (const Ref<KvRecord>& record), (override));
};

}  // namespace vtx::testing

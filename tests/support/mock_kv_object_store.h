#pragma once

#include <gmock/gmock.h>

#include <string>

#include "host/kv_host.h"

namespace vtx::testing {

// gmock stand-ins for the object store and its lookup tables. Used on the
// test's thread only.
class MockKvObjectStore : public KvObjectStore {
 public:
  MOCK_METHOD(Ref<KvSession>, GetSession, (), (override));
  MOCK_METHOD(Ref<KvObject>, CreateObject, (int16_t class_id), (override));
  MOCK_METHOD(Ref<KvObjects>, CreateObjects, (), (override));
  MOCK_METHOD(Ref<KvObject>, GetObjectById, (int16_t class_id, int32_t object_id), (override));
  MOCK_METHOD(Ref<KvObject>, ObjectFromRecord, (const Ref<KvRecord>& record, bool flag),
              (override));
  MOCK_METHOD(Ref<KvObjects>, ObjectsFromRecordList, (const Ref<KvRecordList>& list, bool flag),
              (override));
  MOCK_METHOD(Ref<KvCompositeObjects>, ObjectsFromRecords,
              (const Ref<KvRecordList>& list, bool flag), (override));
  MOCK_METHOD(Ref<KvOptions>, GetDefaultOptions, (), (override));
  MOCK_METHOD(Ref<KvQueryFactory>, GetQueryFactory, (), (override));
  MOCK_METHOD(Ref<KvQuery>, NewQuery, (), (override));
  MOCK_METHOD(Ref<KvSqlQuery>, CreateQuery, (), (override));
  MOCK_METHOD(Ref<KvTreeQuery>, CreateTreeQuery, (const std::string& work_file), (override));
  MOCK_METHOD(Ref<KvLookupTable>, GetLookupTable, (int16_t class_id), (override));
  MOCK_METHOD(Ref<KvLookupItem>, GetLookupItemById, (int16_t class_id, int32_t id), (override));
  MOCK_METHOD(Ref<KvLookupItem>, FindLookupItem, (int16_t class_id, const std::string& text),
              (override));
  MOCK_METHOD(Ref<KvObjectDisplay>, GetObjectDisplay,
              (int16_t class_id, int32_t object_id, int32_t flags), (override));
  MOCK_METHOD(Ref<KvSequences>, GetSequences, (), (override));
};

class MockKvLookupTable : public KvLookupTable {
 public:
  MOCK_METHOD(Ref<KvLookupItem>, FindItem, (const std::string& text), (override));
};

class MockKvLookupItem : public KvLookupItem {
 public:
  MOCK_METHOD(int32_t, GetId, (), (override));
  MOCK_METHOD(std::string, GetText, (), (override));
};

}  // namespace vtx::testing

#pragma once

#include <gmock/gmock.h>

#include <string>

#include "host/kv_host.h"

namespace vtx::testing {

// gmock stand-ins for business objects and their collections. Used on the
// test's thread only.
class MockKvObject : public KvObject {
 public:
  MOCK_METHOD(int32_t, GetObjectId, (), (override));
  MOCK_METHOD(int16_t, GetClassId, (), (override));
  MOCK_METHOD(Ref<KvClass>, GetClass, (), (override));
  MOCK_METHOD(Ref<KvObjectStore>, GetObjectStore, (), (override));
  MOCK_METHOD(Variant, GetValue, (const std::string& name), (override));
  MOCK_METHOD(void, SetValue, (const std::string& name, const Variant& value), (override));
  MOCK_METHOD(Ref<KvRecord>, GetData, (), (override));
  MOCK_METHOD(Ref<KvAttributes>, GetAttributes, (), (override));
  MOCK_METHOD(int32_t, GetAttributeCount, (), (override));
  MOCK_METHOD(std::string, GetKeyText, (const std::string& separator), (override));
  MOCK_METHOD(Ref<KvObject>, NewInstance, (), (override));
  MOCK_METHOD(void, PrepareNew, (), (override));
  MOCK_METHOD(void, CompleteNew, (), (override));
  MOCK_METHOD(bool, ApplyClassDefaults, (), (override));
  MOCK_METHOD(void, AddAttributeToRead, (const std::string& name), (override));
  MOCK_METHOD(void, Retrieve, (), (override));
  MOCK_METHOD(void, Refresh, (), (override));
  MOCK_METHOD(void, Insert, (const Ref<KvOptions>& options), (override));
  MOCK_METHOD(void, InsertPlain, (), (override));
  MOCK_METHOD(void, Update, (), (override));
  MOCK_METHOD(void, UpdateWithOptions, (const Ref<KvOptions>& options), (override));
  MOCK_METHOD(void, Delete, (const Ref<KvOptions>& options), (override));
  MOCK_METHOD(void, BeginStore, (), (override));
  MOCK_METHOD(void, EndStore, (), (override));
  MOCK_METHOD(Ref<KvObject>, CreateLink, (int16_t link_class_id, const Ref<KvObject>& other),
              (override));
  MOCK_METHOD(Ref<KvObject>, LinkTo,
              (int32_t mode, const Ref<KvObject>& father, const Ref<KvRecord>& link_values,
               const Ref<KvOptions>& options),
              (override));
  MOCK_METHOD(Ref<KvObjects>, GetRelatedObjects, (const Ref<KvQuery>& query), (override));
  MOCK_METHOD(Ref<KvObjects>, GetLinkedObjects,
              (const Ref<KvQuery>& query, const Ref<KvOptions>& options), (override));
  MOCK_METHOD(bool, IsOnDesktop, (), (override));
};

class MockKvObjects : public KvObjects {
 public:
  MOCK_METHOD(int32_t, GetCount, (), (override));
  MOCK_METHOD(Ref<KvObject>, Item, (int32_t index), (override));
  MOCK_METHOD(void, Add, (const Ref<KvObject>& object), (override));
  MOCK_METHOD(void, Clear, (), (override));
  MOCK_METHOD(Ref<KvObjects>, GetCopy, (), (override));
  MOCK_METHOD(Ref<KvRecordList>, GetRecordList, (), (override));
  MOCK_METHOD(int32_t, IndexOf, (const Ref<KvObject>& object), (override));
  MOCK_METHOD(void, SetAttributesToRead, (const std::string& names), (override));
  MOCK_METHOD(void, RetrieveAll, (), (override));
};

}  // namespace vtx::testing

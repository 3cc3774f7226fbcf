#pragma once

#include <gmock/gmock.h>

#include <string>

#include "host/kv_host.h"

namespace vtx::testing {

// gmock stand-ins for the class dictionary: classes, their links and
// attributes. Used on the test's thread only.
class MockKvClasses : public KvClasses {
 public:
  MOCK_METHOD(Ref<KvClass>, ClassById, (int16_t class_id), (override));
  MOCK_METHOD(Ref<KvClass>, ClassByName, (const std::string& name), (override));
  MOCK_METHOD(Ref<KvClass>, ClassByTableName, (const std::string& table_name), (override));
  MOCK_METHOD(Ref<KvClassList>, GetAllClasses, (), (override));
};

class MockKvClassList : public KvClassList {
 public:
  MOCK_METHOD(int32_t, GetCount, (), (override));
  MOCK_METHOD(Ref<KvClass>, Item, (int32_t index), (override));
};

class MockKvClass : public KvClass {
 public:
  MOCK_METHOD(int16_t, GetClassId, (), (override));
  MOCK_METHOD(int16_t, GetSuperClassId, (), (override));
  MOCK_METHOD(std::string, GetName, (), (override));
  MOCK_METHOD(std::string, GetTableName, (), (override));
  MOCK_METHOD(int32_t, GetClassKind, (), (override));
  MOCK_METHOD(Ref<KvAttributes>, GetAttributes, (), (override));
  MOCK_METHOD(Ref<KvAttributes>, GetIdentifierAttributes, (), (override));
  MOCK_METHOD(Ref<KvClassLinks>, GetClassLinks, (), (override));
  MOCK_METHOD(int16_t, GetHierarchyLinkClassId, (), (override));
  MOCK_METHOD(Ref<KvAttribute>, AttributeByName, (const std::string& name, int32_t flags),
              (override));
  MOCK_METHOD(bool, HasAttribute, (const std::string& name), (override));
};

class MockKvClassLinks : public KvClassLinks {
 public:
  MOCK_METHOD(Ref<KvClassList>, GetAll, (), (override));
  MOCK_METHOD(Ref<KvClassList>, GetTo, (int16_t class_id), (override));
};

class MockKvAttributes : public KvAttributes {
 public:
  MOCK_METHOD(int32_t, GetCount, (), (override));
  MOCK_METHOD(Ref<KvAttribute>, Item, (const Variant& index), (override));
  MOCK_METHOD(Ref<KvAttribute>, ItemByName, (const std::string& name), (override));
  MOCK_METHOD(Ref<KvClass>, GetClass, (), (override));
};

class MockKvAttribute : public KvAttribute {
 public:
  MOCK_METHOD(std::string, GetName, (), (override));
  MOCK_METHOD(std::string, GetExternalName, (), (override));
  MOCK_METHOD(int32_t, GetAttributeType, (), (override));
  MOCK_METHOD(int32_t, GetLookupClassId, (), (override));
  MOCK_METHOD(int32_t, GetLength, (), (override));
  MOCK_METHOD(bool, IsExcludedFromHistory, (), (override));
};

}  // namespace vtx::testing

#pragma once

#include <gmock/gmock.h>

#include <string>

#include "host/kv_host.h"

namespace vtx::testing {

// gmock stand-ins for the session and its value services. Create them with
// MakeRef<MockKvSession>() (or NiceMock/StrictMock) and pass them where a
// Ref<KvSession> is wanted. Used on the test's thread only.
class MockKvSession : public KvSession {
 public:
  MOCK_METHOD(Ref<KvObjectStore>, GetObjectStore, (), (override));
  MOCK_METHOD(Ref<KvClasses>, GetClasses, (), (override));
  MOCK_METHOD(Ref<KvGlobals>, GetGlobals, (), (override));
  MOCK_METHOD(Ref<KvUserInfo>, GetUserInfo, (), (override));
  MOCK_METHOD(std::string, GetLanguage, (), (override));
  MOCK_METHOD(Ref<KvConfiguration>, GetConfiguration, (), (override));
  MOCK_METHOD(Ref<Dispatch>, CreateHostComponent, (const std::string& prog_id), (override));
  MOCK_METHOD(Ref<KvStrings>, CreateStringList, (), (override));
};

class MockKvGlobals : public KvGlobals {
 public:
  MOCK_METHOD(Variant, GetValue, (const std::string& name), (override));
  MOCK_METHOD(void, SetValue, (const std::string& name, const Variant& value), (override));
};

class MockKvUserInfo : public KvUserInfo {
 public:
  MOCK_METHOD(Ref<KvObject>, GetCurrentUser, (), (override));
  MOCK_METHOD(int32_t, GetCurrentUserId, (), (override));
};

class MockKvConfiguration : public KvConfiguration {
 public:
  MOCK_METHOD(Variant, GetValue, (const std::string& path), (override));
};

}  // namespace vtx::testing

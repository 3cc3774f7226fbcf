#pragma once

#include <gmock/gmock.h>

#include <string>

#include "host/kv_host.h"

namespace vtx::testing {

// gmock stand-ins for the host's GUI services and views. Used on the test's
// thread only.
class MockKvGuiServices : public KvGuiServices {
 public:
  MOCK_METHOD(Ref<KvGuiWindow>, GetMainWindow, (), (override));
  MOCK_METHOD(Ref<KvView>, CreateView, (int32_t view_type), (override));
  MOCK_METHOD(Ref<KvGuiNotifier>, GetNotifier, (), (override));
};

class MockKvGuiWindow : public KvGuiWindow {
 public:
  MOCK_METHOD(void, Show, (), (override));
  MOCK_METHOD(void, ShowModeless, (), (override));
  MOCK_METHOD(int32_t, GetHandle, (), (override));
  MOCK_METHOD(void, SetOwner, (int32_t handle), (override));
  MOCK_METHOD(Ref<KvView>, GetActiveView, (), (override));
};

class MockKvView : public KvView {
 public:
  MOCK_METHOD(void, SetCaption, (const std::string& caption), (override));
  MOCK_METHOD(Ref<KvViewContent>, GetContents, (), (override));
  MOCK_METHOD(Ref<KvViewContent>, GetSelection, (), (override));
  MOCK_METHOD(Ref<KvGuiWindow>, GetWindow, (), (override));
};

class MockKvViewContent : public KvViewContent {
 public:
  MOCK_METHOD(void, AddObjects, (const Ref<KvObjects>& objects), (override));
  MOCK_METHOD(Ref<KvObjects>, GetObjects, (), (override));
  MOCK_METHOD(Ref<KvObject>, GetSelectedObject, (), (override));
};

}  // namespace vtx::testing

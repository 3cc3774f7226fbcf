#pragma once

#include <gmock/gmock.h>

#include <optional>
#include <string>

#include "platform/platform.h"

namespace vtx::testing {

// gmock stand-in for the operating system. Install it with ScopedPlatform for
// the test's scope; used on the test's thread only.
class MockPlatform : public Platform {
 public:
  MOCK_METHOD(std::string, GetComputerName, (), (override));
  MOCK_METHOD(std::string, GetUserName, (), (override));
  MOCK_METHOD(std::optional<std::string>, GetEnvironmentVariable, (const std::string& name),
              (override));
  MOCK_METHOD(int32_t, MessageBox,
              (const std::string& text, int32_t style, const std::optional<std::string>& title),
              (override));
  MOCK_METHOD(DialogAction, AskDialog, (const DialogSnapshot& dialog), (override));
  MOCK_METHOD(double, Now, (), (override));
  MOCK_METHOD(Ref<Dispatch>, CreateObject, (const std::string& prog_id), (override));
};

}  // namespace vtx::testing

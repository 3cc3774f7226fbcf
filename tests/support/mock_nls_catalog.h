#pragma once

#include <gmock/gmock.h>

#include <string>

#include "host/kv_components.h"

namespace vtx::testing {

// gmock stand-in for the maker's language catalog. Used on the test's thread
// only.
class MockNlsCatalog : public NlsCatalog {
 public:
  MOCK_METHOD(void, SetLanguage, (const std::string& language), (override));
  MOCK_METHOD(bool, HasText,
              (const std::string& language, const std::string& name_space, const std::string& key,
               const std::string& appendix, const std::string& version),
              (override));
  MOCK_METHOD(std::string, GetText,
              (const std::string& name_space, const std::string& key, const std::string& appendix,
               const std::string& version),
              (override));
};

}  // namespace vtx::testing

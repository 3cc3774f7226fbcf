#pragma once

#include <map>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "host/kv_components.h"
#include "runtime/runtime_error.h"

namespace vtx::testing {

// A language catalog that answers from a table and records every call as
// one line ("SetLanguage fr", "HasText fr|ns|key|appendix|1.0",
// "GetText ns|key|appendix|1.0"). HasText answers only for the exact language
// it is given, and only for texts stored under version "1.0". `fail_on`
// makes the n-th call (1-based, any operation) raise a host error.
// Used on the test's thread only.
class FakeNlsCatalog : public NlsCatalog {
 public:
  void AddText(const std::string& language, const std::string& name_space, const std::string& key,
               const std::string& appendix, const std::string& text) {
    texts_[{language, name_space, key, appendix, "1.0"}] = text;
  }
  void FailOnCall(int call) { fail_on_ = call; }

  void SetLanguage(const std::string& language) override {
    Record("SetLanguage " + language);
    language_ = language;
  }
  bool HasText(const std::string& language, const std::string& name_space, const std::string& key,
               const std::string& appendix, const std::string& version) override {
    Record("HasText " + language + "|" + name_space + "|" + key + "|" + appendix + "|" + version);
    return texts_.count({language, name_space, key, appendix, version}) != 0;
  }
  std::string GetText(const std::string& name_space, const std::string& key,
                      const std::string& appendix, const std::string& version) override {
    Record("GetText " + name_space + "|" + key + "|" + appendix + "|" + version);
    auto found = texts_.find({language_, name_space, key, appendix, version});
    return found == texts_.end() ? std::string() : found->second;
  }

  const std::vector<std::string>& Calls() const { return calls_; }
  int CountOf(const std::string& operation) const {
    int count = 0;
    for (const std::string& call : calls_) count += call.rfind(operation + " ", 0) == 0;
    return count;
  }

 private:
  void Record(std::string call) {
    calls_.push_back(std::move(call));
    if (fail_on_ && static_cast<int>(calls_.size()) == *fail_on_)
      Raise(err::kHostFailure, "Catalog failed");
  }

  using Key = std::tuple<std::string, std::string, std::string, std::string, std::string>;
  std::map<Key, std::string> texts_;
  std::string language_;
  std::vector<std::string> calls_;
  std::optional<int> fail_on_;
};

}  // namespace vtx::testing

#include "cli/scenario/fault_loop.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/scenario/fault_verdict.h"

namespace vtx::cli {
namespace {

// The clean step changed part 1, created part 2 and two new links, and kept
// the link 3 that was there before.
const StepOutcome kClean{
    Json::parse(R"({"result": true, "error": null, "messages": []})"),
    Json::parse(R"({"100:1": {"T": "old"}, "link 120:3": {"OBJECT_ID": 3, "TO": 1}})")
        .get<StoreState>(),
    Json::parse(R"({"100:1": {"T": "new"}, "100:2": {"T": "two"},
                    "link 120:3": {"OBJECT_ID": 3, "TO": 1},
                    "link 120:5": {"OBJECT_ID": 5, "TO": 2}, "link 120:6": {"OBJECT_ID": 6, "TO": 3}})")
        .get<StoreState>()};

constexpr const char* kQuiet = R"({"result": true, "error": null, "messages": []})";
constexpr const char* kError =
    R"({"result": true, "error": {"number": -2147467259, "description": "x"}, "messages": []})";
constexpr const char* kBefore =
    R"({"100:1": {"T": "old"}, "link 120:3": {"OBJECT_ID": 3, "TO": 1}})";
constexpr const char* kAfter = R"({"100:1": {"T": "new"}, "100:2": {"T": "two"},
  "link 120:3": {"OBJECT_ID": 3, "TO": 1}, "link 120:5": {"OBJECT_ID": 5, "TO": 2},
  "link 120:6": {"OBJECT_ID": 6, "TO": 3}})";

struct VerdictCase {
  const char* name;
  const char* class_name;
  std::string entry;
  std::string store;
  const char* verdict;  // "" when the step keeps the rules
  const char* clean_result = "true";
};

void ExpectVerdicts(const std::vector<VerdictCase>& cases) {
  for (const VerdictCase& c : cases) {
    StepOutcome clean = kClean;
    clean.entry["result"] = Json::parse(c.clean_result);
    EXPECT_EQ(FaultVerdict(c.class_name, Json::parse(c.entry),
                           Json::parse(c.store).get<StoreState>(), clean),
              c.verdict)
        << c.name;
  }
}

TEST(FaultVerdictTest, ShownFailuresLeaveEachObjectAsBeforeOrAsClean) {
  const std::vector<VerdictCase> cases = {
      {"error, nothing written", "clsUtils", kError, kBefore, ""},
      {"error, all written", "clsUtils", kError, kAfter, ""},
      {"error, part written, part not", "clsUtils", kError,
       R"({"100:1": {"T": "new"}, "link 120:3": {"OBJECT_ID": 3, "TO": 1}})", ""},
      {"result False, as clean", "clsUtils", R"({"result": false, "error": null, "messages": []})",
       kBefore, "", "false"},
      {"status 1 of Application, as clean", "Application",
       R"({"result": {"i2": 1}, "error": null, "messages": []})", kBefore, "", R"({"i2": 1})"},
      {"another result", "clsUtils", R"({"result": "x", "error": null, "messages": []})", kBefore,
       ""},
      {"another message", "clsUtils", R"({"result": true, "error": null, "messages": ["m"]})",
       kBefore, ""},
      {"values neither old nor new", "clsUtils", kError,
       R"({"100:1": {"T": "half"}, "link 120:3": {"OBJECT_ID": 3, "TO": 1}})",
       "object 100:1 half-written"},
      {"an object nobody wrote", "clsUtils", kError,
       R"({"100:1": {"T": "old"}, "100:9": {}, "link 120:3": {"OBJECT_ID": 3, "TO": 1}})",
       "object 100:9 half-written"},
      {"an object both runs kept is gone", "clsUtils", kError, R"({"100:1": {"T": "old"}})",
       "object link 120:3 lost"},
  };
  ExpectVerdicts(cases);
}

TEST(FaultVerdictTest, QuietStepsLeaveWhatTheCleanStepLeftButNewLinks) {
  const char* const kSuccess = "a failure reported as success";
  const std::vector<VerdictCase> cases = {
      {"as clean", "clsUtils", kQuiet, kAfter, ""},
      {"a new link left out, the next renumbered", "clsUtils", kQuiet,
       R"({"100:1": {"T": "new"}, "100:2": {"T": "two"},
           "link 120:3": {"OBJECT_ID": 3, "TO": 1}, "link 120:5": {"OBJECT_ID": 5, "TO": 3}})",
       ""},
      {"nothing written", "clsUtils", kQuiet, kBefore, kSuccess},
      {"status 1 of another class", "clsUtils",
       R"({"result": {"i2": 1}, "error": null, "messages": []})", kBefore, kSuccess,
       R"({"i2": 1})"},
      {"an old link gone", "clsUtils", kQuiet,
       R"({"100:1": {"T": "new"}, "100:2": {"T": "two"}, "link 120:5": {"OBJECT_ID": 5, "TO": 2},
           "link 120:6": {"OBJECT_ID": 6, "TO": 3}})",
       kSuccess},
      {"a link the clean step did not write", "clsUtils", kQuiet,
       R"({"100:1": {"T": "new"}, "100:2": {"T": "two"}, "link 120:3": {"OBJECT_ID": 3, "TO": 1},
           "link 120:5": {"OBJECT_ID": 5, "TO": 9}, "link 120:6": {"OBJECT_ID": 6, "TO": 3}})",
       kSuccess},
  };
  ExpectVerdicts(cases);
}

TEST(FaultPositionsTest, SampleHoldsTheFirstAndTheLastAndSpreadsTheRest) {
  struct Case {
    int64_t calls, sample;
    std::vector<int64_t> positions;
  };
  const std::vector<Case> cases = {
      {4, 0, {1, 2, 3, 4}},   {3, 3, {1, 2, 3}}, {2, 3, {1, 2}}, {9, 3, {1, 5, 9}},
      {10, 4, {1, 4, 7, 10}}, {5, 1, {1}},       {0, 3, {}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FaultPositions(c.calls, c.sample), c.positions)
        << c.calls << " calls, sample " << c.sample;
  }
}

}  // namespace
}  // namespace vtx::cli

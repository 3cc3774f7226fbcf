#include "cli/scenario/scenario_runner.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "cli/scenario/run_error.h"
#include "cli/scenario/scenario_parser.h"

namespace vtx::cli {
namespace {

using ::testing::HasSubstr;

// A part with one history record, seen by jdoe; `steps` and `extra` (more
// top-level members) complete the scenario.
Json RunText(const std::string& steps, const std::string& extra = "") {
  std::string text = R"({
    "model": "builtin:demo",
    "objects": [
      {"class": "User", "id": 7, "values": {"LOGIN": "jdoe", "FIRST_NAME": "Jane", "LAST_NAME": "Doe"}},
      {"class": "Part", "id": 1, "values": {"PART_NUMBER": "4711", "REVISION": "A", "TITLE": "Bolt"}}],
    "environment": {"user": {"class": "User", "id": 7}, "computerName": "WS-1"},
    "steps": )" + steps +
                     extra + "}";
  return RunScenario(ParseScenario(Json::parse(text), "s.json", ""));
}

const char* kCheckin = R"({"call": "Application.ExecuteCreateNewERObject",
  "args": {"Operation": "CHECKIN", "RecordList": {"recordList": {"objects": [{"class": "Part", "id": 1}]}}}})";

TEST(ScenarioRunnerTest, FaultsCountOnlyTheAddInsCalls) {
  // Building the argument reads and creates host objects: none of that may
  // count, so the add-in's first KvObjectStore.ObjectsFromRecordList fails.
  Json t = RunText(std::string("[") + kCheckin + "]",
                   R"(, "faults": [{"operation": "KvObjectStore.ObjectsFromRecordList", "call": 1,
                               "number": 1234, "description": "boom"}])");
  EXPECT_EQ(t["steps"][0]["error"], Json({{"number", 1234}, {"description", "boom"}}));
}

TEST(ScenarioRunnerTest, PersistentFaultFailsEveryLaterCall) {
  Json t =
      RunText(std::string("[") + kCheckin + ", " + kCheckin + "]",
              R"(, "faults": [{"operation": "KvObject.Insert", "number": 7, "persistent": true}],
                  "dump": ["Electronic Record"])");
  EXPECT_EQ(t["steps"][0]["error"]["number"], 7);
  EXPECT_EQ(t["steps"][1]["error"]["number"], 7);
  EXPECT_TRUE(t["dump"]["Electronic Record"].empty());
}

TEST(ScenarioRunnerTest, TraceListsTheStepsHostCallsOnlyWhenAsked) {
  Json traced = RunText(std::string("[") + kCheckin + "]", R"(, "trace": true)");
  const Json& trace = traced["steps"][0]["trace"];
  ASSERT_FALSE(trace.empty());
  EXPECT_EQ(trace[0], Json({{"op", "KvSession.GetLanguage"}, {"args", Json::array()}}));
  Json plain = RunText(std::string("[") + kCheckin + "]");
  EXPECT_FALSE(plain["steps"][0].contains("trace"));
}

TEST(ScenarioRunnerTest, EnvironmentStepTakesEffectAtTheNextCall) {
  Json t = RunText(
      std::string("[") + kCheckin +
          R"(, {"host": "environment", "computerName": "WS-2", "user": null}, )" + kCheckin + ", " +
          R"({"host": "environment", "environment": {"user": {"class": "User", "key": "jdoe"}}}, )" +
          kCheckin + "]",
      R"(, "dump": ["Electronic Record"])");
  const Json& records = t["dump"]["Electronic Record"];
  ASSERT_EQ(records.size(), 2u);  // no user, no record
  EXPECT_EQ(records[0]["CN_MACHINE_NAME"], "WS-1");
  EXPECT_EQ(records[1]["CN_MACHINE_NAME"], "WS-2");
  EXPECT_EQ(t["steps"][2]["result"], Json({{"i2", 1}}));
}

TEST(ScenarioRunnerTest, HostStepsReportTheirOwnErrorsAndTheRunGoesOn) {
  Json t = RunText(
      R"([{"host": "update", "object": {"class": "Part", "id": 1}, "values": {"QUANTITY": "x"}},
                   {"host": "insert", "class": "Part", "values": {"NO_SUCH": 1}},
                   {"host": "insert", "class": "Part", "values": {"PART_NUMBER": "9"}, "label": "p"},
                   {"host": "delete", "object": {"label": "p"}},
                   {"host": "delete", "object": {"label": "p"}}])");
  EXPECT_EQ(t["steps"][0], Json({{"step", 0},
                                 {"host", "update"},
                                 {"error", {{"number", 13}, {"description", "Type mismatch"}}}}));
  EXPECT_FALSE(t["steps"][1]["error"].is_null());
  EXPECT_TRUE(t["steps"][2]["error"].is_null());
  EXPECT_TRUE(t["steps"][3]["error"].is_null());
  EXPECT_EQ(t["steps"][4]["error"]["description"], "no stored object labelled \"p\"");
}

TEST(ScenarioRunnerTest, OmittedParametersFollowTheirDeclaration) {
  // Separateur is optional (Missing: the operation uses its default "");
  // Result is by reference and omitted (starts as "").
  Json t = RunText(R"([{"call": "clsUtils.ConvertKvStringsToString",
                    "args": {"KvStrings": {"strings": ["a", "b"]}}}])");
  EXPECT_EQ(t["steps"][0]["result"], true);
  EXPECT_EQ(t["steps"][0]["out"]["Result"], "ab");
  EXPECT_EQ(t["steps"][0]["out"]["Separateur"], Json({{"missing", true}}));
}

TEST(ScenarioRunnerTest, ProceduresHaveNoResult) {
  Json t = RunText(R"([{"call": "Application.GenerateHistoryReport",
                    "args": {"FirstRec": {"recordList": [{"CLASS_ID": 100, "OBJECT_ID": 1}]}}}])");
  EXPECT_FALSE(t["steps"][0].contains("result"));
  ASSERT_EQ(t["steps"][0]["messages"].size(), 1u);
  EXPECT_EQ(t["steps"][0]["messages"][0]["title"], "VTX");
}

TEST(ScenarioRunnerTest, UnknownObjectInAnArgumentStopsTheRun) {
  try {
    RunText(
        R"([{"call": "clsUtils.Null2Zero", "args": {"anyVal": {"object": {"class": "Part", "id": 5}}}}])");
    FAIL() << "ran with an object that does not exist";
  } catch (const RunError& e) {
    EXPECT_EQ(std::string(e.what()),
              "s.json: steps[0].args.anyVal.object: no stored object Part 5");
  }
}

TEST(ScenarioRunnerTest, SeedRefusedByTheStoreIsAnInvalidFile) {
  try {
    RunScenario(ParseScenario(Json::parse(R"({"model": "builtin:demo",
        "objects": [{"class": "Part", "values": {"COLOUR": "red"}}]})"),
                              "s.json", ""));
    FAIL() << "stored an attribute the class does not have";
  } catch (const InvalidFileError& e) {
    EXPECT_THAT(e.what(), ::testing::StartsWith("s.json: objects[0]: "));
  }
}

}  // namespace
}  // namespace vtx::cli

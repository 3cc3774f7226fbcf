#include "cli/run_command.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "cli/scenario/json_format.h"
#include "support/temp_folder.h"

namespace vtx::cli {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;

class RunCommandTest : public ::testing::Test {
 protected:
  std::string Write(const std::string& name, const std::string& text) {
    fs::path path = dir_ / name;
    fs::create_directories(path.parent_path());
    std::ofstream(path) << text;
    return path.string();
  }

  int Run(const std::string& file, const std::string& out_file = "") {
    out_.str("");
    err_.str("");
    return RunCommand(file, out_file, out_, err_);
  }

  const test::TempFolder folder_{"vtx_run_command_test"};
  const fs::path dir_ = folder_.Path();
  std::ostringstream out_;
  std::ostringstream err_;
};

constexpr const char* kScenario = R"({
  "model": "builtin:demo",
  "objects": [
    {"class": "User", "id": 7, "values": {"LOGIN": "jdoe", "FIRST_NAME": "Jane", "LAST_NAME": "Doe"}},
    {"class": "Part", "id": 1, "values": {"PART_NUMBER": "4711", "REVISION": "A", "TITLE": "Bolt"}}],
  "environment": {"user": {"class": "User", "key": "jdoe"}},
  "steps": [
    {"call": "Application.ExecuteCreateNewERObject",
     "args": {"Operation": "CHECKIN", "RecordList": {"recordList": {"objects": [{"class": "Part", "id": 1}]}}}},
    {"host": "delete", "object": {"class": "Part", "id": 99}}],
  "dump": ["Electronic Record"]})";

TEST_F(RunCommandTest, RanScenarioExitsZeroAndIsIdenticalFromRunToRun) {
  std::string file = Write("s.json", kScenario);
  ASSERT_EQ(Run(file), kExitOk) << err_.str();
  std::string first = out_.str();
  ASSERT_EQ(Run(file), kExitOk);
  EXPECT_EQ(out_.str(), first);
  Json transcript = Json::parse(first);
  EXPECT_EQ(transcript["steps"][0]["result"], Json({{"i2", 0}}));
  EXPECT_EQ(transcript["steps"][1]["error"]["description"], "no stored object Part 99");
  ASSERT_EQ(transcript["dump"]["Electronic Record"].size(), 1u);
  EXPECT_EQ(transcript["dump"]["Electronic Record"][0]["KV_CREATED_AT"],
            Json({{"date", "2026-01-05T09:00:00"}}));
  EXPECT_EQ(first.back(), '\n');
}

TEST_F(RunCommandTest, OutWritesTheTranscriptFile) {
  std::string file = Write("s.json", kScenario);
  std::string out_file = (dir_ / "t.json").string();
  ASSERT_EQ(Run(file, out_file), kExitOk);
  EXPECT_TRUE(out_.str().empty());
  std::ifstream in(out_file);
  std::stringstream text;
  text << in.rdbuf();
  EXPECT_THAT(text.str(), HasSubstr("\"call\": \"Application.ExecuteCreateNewERObject\""));
}

TEST_F(RunCommandTest, InvalidScenarioExitsTwoNamingFileAndPath) {
  std::string file = Write(
      "bad.json",
      R"({"model": "builtin:demo", "steps": [{"call": "Application.ExecuteCreateNewERObject", "args": {"Operation": 1}}]})");
  EXPECT_EQ(Run(file), kExitUsage);
  EXPECT_EQ(err_.str(), file + ": steps[0].args.Operation: expected a string\n");
  EXPECT_TRUE(out_.str().empty());
}

TEST_F(RunCommandTest, InvalidModelFileIsNamedRelativeToTheScenario) {
  Write("models/m.json", R"({"classes": [{"id": 1, "name": "A", "table": "T", "super": 1,
                             "kind": 1, "colour": "red"}]})");
  std::string file = Write("s.json", R"({"model": "models/m.json"})");
  EXPECT_EQ(Run(file), kExitUsage);
  EXPECT_THAT(err_.str(),
              ::testing::StartsWith((dir_ / "models/m.json").string() + ": classes[0]"));
}

TEST_F(RunCommandTest, MissingObjectOrAnswerExitsOne) {
  std::string no_object = Write("o.json", R"({"model": "builtin:demo", "steps": [
    {"call": "Application.ViewHistory", "args": {"FirstRec": {"recordList": {"objects": [{"class": "Part", "key": "none"}]}}}}]})");
  EXPECT_EQ(Run(no_object), kExitFailed);
  EXPECT_THAT(err_.str(), HasSubstr("no stored object Part \"none\""));

  std::string no_answer = Write("a.json", R"({"model": "builtin:demo",
    "objects": [{"class": "Part", "id": 1, "values": {"PART_NUMBER": "4711", "REVISION": "A"}},
                {"class": "Electronic Record", "id": 2},
                {"class": "Part_History", "id": 3, "values": {"CLASS_ID1": 410, "OBJECT_ID1": 2, "CLASS_ID2": 100, "OBJECT_ID2": 1}}],
    "steps": [{"call": "Application.ViewHistory", "args": {"FirstRec": {"recordList": [{"CLASS_ID": 100, "OBJECT_ID": 1}]}}}]})");
  EXPECT_EQ(Run(no_answer), kExitFailed);
  EXPECT_THAT(err_.str(), HasSubstr("steps[0]: the scenario gives no (usable) answer"));
}

// records_update_delete leaves pairs the loop reports, by design (see
// tests/CMakeLists.txt): found problems are the loop's status.
TEST_F(RunCommandTest, AFaultLoopThatFoundProblemsExitsOne) {
  EXPECT_EQ(FaultLoopCommand(VTX_TEST_MODELS_DIR "/../records_update_delete.json", 3, out_, err_),
            kExitFailed);
}

TEST(JsonFormatTest, ShortContainersStayOnOneLineLongOnesBreak) {
  Json value = Json::parse(R"({"a": {"i2": 0}, "b": [1, 2], "c": [], "d": {}})");
  EXPECT_EQ(FormatJson(value), R"({"a": {"i2": 0}, "b": [1, 2], "c": [], "d": {}})");
  EXPECT_EQ(FormatJson(value, 20),
            "{\n  \"a\": {\"i2\": 0},\n  \"b\": [1, 2],\n  \"c\": [],\n  \"d\": {}\n}");
  EXPECT_EQ(FormatJson(Json("caf\xc3\xa9")), "\"caf\xc3\xa9\"");
  EXPECT_EQ(FormatJson(Json("\xff")), "\"\xef\xbf\xbd\"");
}

}  // namespace
}  // namespace vtx::cli

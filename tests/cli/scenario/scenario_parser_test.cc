#include "cli/scenario/scenario_parser.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

namespace vtx::cli {
namespace {

struct InvalidCase {
  std::string name;
  std::string scenario;  // JSON text of scenario.json
  std::string message;   // what `vtx run` prints: "scenario.json: path: message"
};
void PrintTo(const InvalidCase& c, std::ostream* os) { *os << c.name; }

// Wraps steps in a scenario over the demo model.
std::string WithSteps(const std::string& steps) {
  return R"({"model": "builtin:demo", "steps": )" + steps + "}";
}

const char* kCheckin =
    R"("Operation": "CHECKIN", "RecordList": {"recordList": [{"CLASS_ID": 100, "OBJECT_ID": 1}]})";

class InvalidScenarioTest : public ::testing::TestWithParam<InvalidCase> {};

TEST_P(InvalidScenarioTest, NamesFileAndJsonPath) {
  const InvalidCase& c = GetParam();
  try {
    ParseScenario(Json::parse(c.scenario), "scenario.json", "");
    FAIL() << "accepted: " << c.scenario;
  } catch (const InvalidFileError& e) {
    EXPECT_EQ(e.what(), c.message);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, InvalidScenarioTest,
    ::testing::Values(
        InvalidCase{"MissingModel", R"({"steps": []})", R"(scenario.json: missing key "model")"},
        InvalidCase{"UnknownTopKey", R"({"model": "builtin:demo", "stepz": []})",
                    "scenario.json: stepz: unknown key"},
        InvalidCase{"ModelNeitherObjectNorName", R"({"model": 3})",
                    "scenario.json: model: expected a model object or a file name"},
        InvalidCase{"StringArgumentGivenNumber",
                    WithSteps(R"([{"call": "Application.ExecuteCreateNewERObject",
                                   "args": {"Operation": 5}}])"),
                    "scenario.json: steps[0].args.Operation: expected a string"},
        InvalidCase{"UnknownClass", WithSteps(R"([{"call": "Widget.Run"}])"),
                    "scenario.json: steps[0].call: unknown class \"Widget\" (Application, "
                    "clsNLS, clsElectronicRecord, clsUtils, ClsAdminSettings)"},
        InvalidCase{"CallWithoutOperation", WithSteps(R"([{"call": "Application"}])"),
                    "scenario.json: steps[0].call: expected \"Class.Operation\""},
        InvalidCase{"UnknownOperation", WithSteps(R"([{"call": "Application.Launch"}])"),
                    "scenario.json: steps[0].call: Application has no operation \"Launch\""},
        InvalidCase{"UnknownParameter",
                    WithSteps(std::string(R"([{"call": "Application.ExecuteCreateNewERObject",
                                   "args": {)") +
                              kCheckin + R"(, "Bogus": 1}}])"),
                    "scenario.json: steps[0].args.Bogus: ExecuteCreateNewERObject has no "
                    "parameter \"Bogus\""},
        InvalidCase{"SessionWritten", WithSteps(R"([{"call": "Application.ViewHistory",
                                   "args": {"KvSession": {"nothing": true}}}])"),
                    "scenario.json: steps[0].args.KvSession: the session is the scenario's "
                    "own: leave it out"},
        InvalidCase{"RecordListForObject", WithSteps(R"([{"call": "clsUtils.GetLinkClassID",
                                   "args": {"ReltaedObj": {"recordList": []}}}])"),
                    "scenario.json: steps[0].args.ReltaedObj: expected {\"object\": ...} or "
                    "{\"nothing\": true} for a KvObject parameter"},
        InvalidCase{"MissingByValueArgument",
                    WithSteps(R"([{"call": "clsElectronicRecord.RetrieveObjectsDelta",
                                   "args": {"Operation": "UPDATE"}}])"),
                    "scenario.json: steps[0].args: missing argument \"KvClassType\""},
        InvalidCase{
            "Int16OutOfRange",
            WithSteps(R"([{"call": "clsUtils.Null2Zero", "args": {"anyVal": {"i2": 40000}}}])"),
            "scenario.json: steps[0].args.anyVal.i2: expected a whole number from -32768 "
            "to 32767"},
        InvalidCase{
            "UnknownValueForm",
            WithSteps(R"([{"call": "clsUtils.Null2Zero", "args": {"anyVal": {"int": 4}}}])"),
            "scenario.json: steps[0].args.anyVal.int: unknown value form"},
        InvalidCase{"UnknownColumnInLongForm",
                    WithSteps(R"([{"call": "clsUtils.Null2Zero", "args": {"anyVal": {"recordList":
                        {"columns": [{"name": "A"}], "rows": [{"B": 1}]}}}}])"),
                    "scenario.json: steps[0].args.anyVal.recordList.rows[0].B: no such column in "
                    "\"columns\""},
        InvalidCase{"TextInNumberColumn",
                    WithSteps(R"([{"call": "clsUtils.Null2Zero", "args": {"anyVal": {"recordList":
                        [{"OBJECT_ID": "one"}]}}}])"),
                    "scenario.json: steps[0].args.anyVal.recordList[0].OBJECT_ID: expected a value "
                    "of field type 3"},
        InvalidCase{"StepWithCallAndHost",
                    WithSteps(R"([{"call": "Application.ViewHistory", "host": "delete"}])"),
                    "scenario.json: steps[0]: a step has exactly one of \"call\" and \"host\""},
        InvalidCase{"UnknownHostAction", WithSteps(R"([{"host": "explode"}])"),
                    "scenario.json: steps[0].host: unknown host action (update, insert, delete, "
                    "link, setGlobal, environment)"},
        InvalidCase{"UnknownKeyInHostStep",
                    WithSteps(R"([{"host": "delete", "object": {"class": "Part", "id": 1},
                                   "values": {}}])"),
                    "scenario.json: steps[0].values: unknown key"},
        InvalidCase{"ReferenceWithIdAndKey",
                    WithSteps(R"([{"host": "delete", "object": {"class": "Part", "id": 1,
                                   "key": "4711 A"}}])"),
                    "scenario.json: steps[0].object: expected exactly one of \"id\" and \"key\""},
        InvalidCase{"LabelUsedBeforeGiven",
                    WithSteps(R"([{"host": "delete", "object": {"label": "nut"}},
                                  {"host": "insert", "class": "Part", "label": "nut"}])"),
                    "scenario.json: steps[0].object.label: no earlier seed or step is labelled "
                    "\"nut\""},
        InvalidCase{"LabelGivenTwice",
                    WithSteps(R"([{"host": "insert", "class": "Part", "label": "nut"},
                                  {"host": "insert", "class": "Part", "label": "nut"}])"),
                    "scenario.json: steps[1].label: label already given"},
        InvalidCase{"UnknownClassOfSeed",
                    R"({"model": "builtin:demo", "objects": [{"class": "Widget"}]})",
                    "scenario.json: objects[0].class: unknown class \"Widget\""},
        InvalidCase{"UnknownDumpClass", R"({"model": "builtin:demo", "dump": ["Part", "Gizmo"]})",
                    "scenario.json: dump[1]: unknown class \"Gizmo\""},
        InvalidCase{"MalformedClock",
                    R"({"model": "builtin:demo", "environment": {"clock": "tomorrow"}})",
                    "scenario.json: environment.clock: expected a local date and time like "
                    "\"2026-12-05T10:11:12\""},
        InvalidCase{"BadDriveLetter",
                    R"({"model": "builtin:demo", "environment": {"drives": {"CC:": "x"}}})",
                    "scenario.json: environment.drives.CC:: expected a drive letter like \"C:\""},
        InvalidCase{
            "ConfigurationPathWithSpaces",
            R"({"model": "builtin:demo", "environment": {"configuration":
                        {"$Admin\\System Font\\FontName": {"foo": 1}}}})",
            "scenario.json: environment.configuration[\"$Admin\\\\System Font\\\\FontName\"]"
            ".foo: unknown value form"},
        InvalidCase{"FaultWithoutNumber",
                    R"({"model": "builtin:demo", "faults": [{"operation": "KvObject.Insert"}]})",
                    "scenario.json: faults[0]: missing key \"number\""},
        InvalidCase{"FaultCallZero",
                    R"({"model": "builtin:demo", "faults": [{"operation": "KvObject.Insert",
                        "call": 0, "number": 5}]})",
                    "scenario.json: faults[0].call: expected a whole number from 1 to "
                    "9223372036854775807"},
        InvalidCase{"DialogAnswer",
                    R"({"model": "builtin:demo", "answers": {"templateDialog": [0, "yes"]}})",
                    "scenario.json: answers.templateDialog[1]: expected a line number, \"ok\" or "
                    "\"cancel\""},
        InvalidCase{"EditorAnswerKey",
                    R"({"model": "builtin:demo", "answers": {"integrationEditor":
                        [{"result": true, "value": {}}]}})",
                    "scenario.json: answers.integrationEditor[0].value: unknown key"},
        InvalidCase{"TraceNotBoolean", R"({"model": "builtin:demo", "trace": "yes"})",
                    "scenario.json: trace: expected true or false"}),
    [](const ::testing::TestParamInfo<InvalidCase>& info) { return info.param.name; });

TEST(InvalidScenarioTest, InlineModelErrorsAreNamedUnderModel) {
  try {
    ParseScenario(Json::parse(R"({"model": {"classes": [{"id": 1, "name": "A", "table": "T",
                                  "super": 999, "kind": 1}]}})"),
                  "scenario.json", "");
    FAIL() << "accepted a superclass that does not exist";
  } catch (const InvalidFileError& e) {
    EXPECT_THAT(e.what(), ::testing::StartsWith("scenario.json: model.classes[0]"));
  }
}

TEST(ScenarioParserTest, ReadsEveryPartOfAValidScenario) {
  Scenario s = ParseScenario(Json::parse(R"({
    "model": "builtin:demo",
    "objects": [{"class": "Part", "id": 1, "label": "bolt", "values": {"PART_NUMBER": "4711"}}],
    "environment": {"user": null, "language": "fr-FR", "catalog": null,
                    "variables": {"DEBUG": "true"}, "drives": {"C:": "work/c"}},
    "faults": [{"operation": "KvObject.Insert", "call": 2, "number": 5, "persistent": true}],
    "answers": {"templateDialog": [1, "ok", "cancel"], "integrationEditor": [false],
                "modalViews": [null, {"class": "Part", "id": 1}]},
    "trace": true,
    "steps": [{"call": "Application.ViewHistory", "comment": "look"},
              {"host": "environment", "language": "de", "environment": {"computerName": "X"}}],
    "dump": ["Part"]})"),
                             "scenario.json", "/base");
  ASSERT_EQ(s.objects.size(), 1u);
  EXPECT_EQ(s.objects[0].label, "bolt");
  ASSERT_TRUE(s.environment.user.has_value());
  EXPECT_FALSE(s.environment.user->has_value());
  ASSERT_TRUE(s.environment.catalog.has_value());
  EXPECT_FALSE(s.environment.catalog->has_value());
  EXPECT_EQ((*s.environment.drives)[0].second, "/base/work/c");
  EXPECT_TRUE(s.faults[0].persistent);
  EXPECT_EQ(s.faults[0].description, "");
  ASSERT_EQ(s.answers.template_dialog.size(), 3u);
  EXPECT_EQ(s.answers.template_dialog[0].line, 1);
  EXPECT_EQ(s.answers.template_dialog[1].kind, DialogAnswer::Kind::kOk);
  EXPECT_TRUE(s.trace);
  EXPECT_EQ(s.steps[0].comment, "look");
  EXPECT_EQ(*s.steps[1].host->environment.language, "de");
  EXPECT_EQ(*s.steps[1].host->environment.computer_name, "X");
  EXPECT_EQ(s.dump, std::vector<std::string>{"Part"});
}

}  // namespace
}  // namespace vtx::cli

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "history/history_model.h"
#include "history/test_host.h"
#include "utils/cls_utils.h"

namespace vtx::testing {
namespace {

class GenerateHistoryReportTest : public ::testing::Test {
 protected:
  GenerateHistoryReportTest() : t_(HistoryModel()) {
    t_.Insert("Document", {{"DOC_NUMBER", "A-100"}}, 1);
    t_.Insert("Datasheet", {{"DOC_NUMBER", "A-200"}}, 2);
    t_.Insert("Document", {{"DOC_NUMBER", "A-300"}}, 3);
    t_.Insert("Tool", {{"TOOL_NUMBER", "T-1"}}, 4);
    for (int32_t id : {11, 12, 13}) t_.Insert("History", {{"H_TEXT", "h"}}, id);
    t_.Link("Document_History", {kDatasheet, 2}, {kHistory, 12});
    t_.Link("Document_History", {kDatasheet, 2}, {kHistory, 11});
    t_.Link("Document_History", {kDocument, 3}, {kHistory, 12});
  }

  int16_t Report(const std::vector<emu::ObjectRef>& rows) {
    Ref<KvSession> session = t_.Session();
    Ref<KvRecordList> selection = t_.Selection(rows);
    return utils_.GenerateHistoryReport(session, selection);
  }

  TestHost t_;
  clsUtils utils_;
};

struct ReportCase {
  const char* label;
  std::vector<emu::ObjectRef> rows;
  std::vector<int32_t> reported;  // empty: no report requested
  int16_t result;
  std::vector<std::string> messages;
};

class GenerateHistoryReportCaseTest : public GenerateHistoryReportTest,
                                      public ::testing::WithParamInterface<ReportCase> {};

TEST_P(GenerateHistoryReportCaseTest, CollectsRowByRowAndReportsOnce) {
  const ReportCase& c = GetParam();
  const int16_t result = Report(c.rows);
  emu::StepRecordings seen = t_.Take();

  EXPECT_EQ(result, c.result) << c.label;
  std::vector<std::string> texts;
  for (const auto& m : seen.platform.messages) texts.push_back(m.text);
  EXPECT_EQ(texts, c.messages) << c.label;
  if (c.reported.empty()) {
    EXPECT_TRUE(seen.host.reports.empty()) << c.label;
  } else {
    ASSERT_EQ(seen.host.reports.size(), 1u) << c.label;
    EXPECT_EQ(Ids(seen.host.reports[0].objects), c.reported) << c.label;
  }
}

const char* const kDataModel =
    "Data Model error: this object has no link class with History class. \r\n"
    "Please contact your administrator.";
const char* const kNoHistory =
    "You just select objects which are not linked to History objects !!!";

INSTANTIATE_TEST_SUITE_P(
    Cases, GenerateHistoryReportCaseTest,
    ::testing::Values(ReportCase{"only the second row has history",
                                 {{kDocument, 1}, {kDatasheet, 2}, {kDocument, 1}},
                                 {11, 12},
                                 2,
                                 {}},
                      ReportCase{"shared history objects appended twice",
                                 {{kDatasheet, 2}, {kDocument, 3}},
                                 {11, 12, 12},
                                 3,
                                 {}},
                      ReportCase{"missing link class stops before any report",
                                 {{kTool, 4}, {kDatasheet, 2}},
                                 {},
                                 0,
                                 {kDataModel}},
                      ReportCase{"missing link class after collected rows",
                                 {{kDatasheet, 2}, {kTool, 4}},
                                 {},
                                 0,
                                 {kDataModel}},
                      ReportCase{"no history at all", {{kDocument, 1}}, {}, 0, {kNoHistory}}),
    [](const auto& info) { return "Case" + std::to_string(info.index); });

TEST_F(GenerateHistoryReportTest, ReportsFreshlyReadInstancesAndEmptiesTheCollection) {
  t_.Host().Monitor().SetTracing(true);
  Report({{kDatasheet, 2}});
  emu::StepRecordings seen = t_.Take();

  std::vector<std::string> per_object;
  for (const auto& entry : seen.trace) {
    if (entry.op == "KvObject.NewInstance" || entry.op == "KvObject.PrepareNew" ||
        entry.op == "KvObject.Retrieve" || entry.op == "KvObjects.Add")
      per_object.push_back(entry.op);
  }
  const std::vector<std::string> once = {"KvObject.NewInstance", "KvObject.PrepareNew",
                                         "KvObject.Retrieve", "KvObjects.Add"};
  std::vector<std::string> twice = once;
  twice.insert(twice.end(), once.begin(), once.end());
  EXPECT_EQ(per_object, twice);
  ASSERT_FALSE(seen.trace.empty());
  EXPECT_EQ(seen.trace.back().op, "KvObjects.Clear");
}

TEST_F(GenerateHistoryReportTest, LetsHostFailuresReachTheCaller) {
  t_.Host().Monitor().AddFault({"KvObject.GetRelatedObjects", 1, 440, "Query failed", false});
  try {
    Report({{kDatasheet, 2}});
    FAIL() << "the failure was swallowed";
  } catch (const RuntimeError& error) {
    EXPECT_EQ(error.Number(), 440);
  }
  EXPECT_TRUE(t_.Take().host.reports.empty());
}

}  // namespace
}  // namespace vtx::testing

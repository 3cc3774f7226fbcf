#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "history/history_model.h"
#include "history/test_host.h"
#include "utils/cls_utils.h"

namespace vtx::testing {
namespace {

class DeleteRelatedHistoryTest : public ::testing::Test {
 protected:
  DeleteRelatedHistoryTest() : t_(HistoryModel()) { Populate(t_); }

  static void Populate(TestHost& t) {
    t.Insert("Document", {{"DOC_NUMBER", "A-100"}}, 1);
    t.Insert("Document", {{"DOC_NUMBER", "A-200"}}, 2);
    for (int32_t id : {11, 12, 13, 14}) t.Insert("History", {{"H_TEXT", "h"}}, id);
    t.Link("Document_History", {kDocument, 1}, {kHistory, 12});
    t.Link("Document_History", {kDocument, 1}, {kHistory, 11});
    // Another link class than the viewer's: deleted all the same.
    t.Link("Document_History_Archive", {kDocument, 1}, {kHistory, 13});
    t.Link("Document_History", {kDocument, 2}, {kHistory, 14});
  }

  static Ref<KvRecordList> Rows(TestHost& t) {
    return t.Selection({{kDocument, 1}, {kDocument, 2}});
  }
  static bool Delete(TestHost& t, clsUtils& utils, Ref<KvRecordList> selection) {
    Ref<KvSession> session = t.Session();
    return utils.DeleteRelatedHistory(session, selection);
  }
  bool Delete() { return Delete(t_, utils_, Rows(t_)); }

  static std::vector<int32_t> Remaining(TestHost& t) {
    std::vector<int32_t> ids;
    for (const auto& object : t.Store().Dump("History")) ids.push_back(object.ref.object_id);
    return ids;
  }

  TestHost t_;
  clsUtils utils_;
};

TEST_F(DeleteRelatedHistoryTest, DeletesInIndexOrderThenNotifiesOnce) {
  Ref<KvRecordList> rows = Rows(t_);
  t_.Host().Monitor().SetTracing(true);
  EXPECT_TRUE(Delete(t_, utils_, rows));
  emu::StepRecordings seen = t_.Take();

  EXPECT_EQ(Remaining(t_), (std::vector<int32_t>{14}));  // only the first row's object
  ASSERT_EQ(seen.host.notifications.size(), 1u);
  EXPECT_EQ(seen.host.notifications[0].kind, 2);
  EXPECT_FALSE(seen.host.notifications[0].flag);
  EXPECT_EQ(Ids(seen.host.notifications[0].objects), (std::vector<int32_t>{11, 12, 13}));

  std::vector<std::string> steps;
  for (const auto& entry : seen.trace) {
    if (entry.op == "KvOptions.SetModeC" || entry.op == "KvOptions.SetMode" ||
        entry.op == "KvOptions.SetModeB") {
      ASSERT_EQ(entry.args.size(), 1u);
      EXPECT_EQ(entry.args[0].ToInt32(), 2) << entry.op;
      steps.push_back(entry.op);
    } else if (entry.op == "KvObjects.Item") {
      steps.push_back("Item " + entry.args.at(0).ToString());
    } else if (entry.op == "KvObject.Delete" || entry.op == "KvGuiNotifier.NotifyObjectsChanged") {
      steps.push_back(entry.op);
    }
  }
  EXPECT_EQ(steps, (std::vector<std::string>{
                       "KvOptions.SetModeC", "KvOptions.SetMode", "KvOptions.SetModeB", "Item 0",
                       "KvObject.Delete", "Item 1", "KvObject.Delete", "Item 2", "KvObject.Delete",
                       "KvGuiNotifier.NotifyObjectsChanged"}));
}

TEST_F(DeleteRelatedHistoryTest, NothingToDeleteIsSuccessWithoutNotification) {
  EXPECT_TRUE(Delete());
  t_.Take();
  EXPECT_TRUE(Delete());
  EXPECT_TRUE(t_.Take().host.notifications.empty());
}

// Makes each host call of a successful deletion fail in turn: the result is
// False, nobody is notified, and what was deleted is a prefix of the order.
TEST_F(DeleteRelatedHistoryTest, EveryFailingHostCallStopsWithFalseAndNoNotification) {
  Ref<KvRecordList> rows = Rows(t_);
  t_.Host().Monitor().SetTracing(true);
  ASSERT_TRUE(Delete(t_, utils_, rows));
  const std::vector<emu::TraceEntry> calls = t_.Take().trace;

  std::map<std::string, int64_t> seen_so_far;
  for (size_t k = 0; k < calls.size(); ++k) {
    const int64_t nth = ++seen_so_far[calls[k].op];
    TestHost t(HistoryModel());
    Populate(t);
    Ref<KvRecordList> selection = Rows(t);
    const int64_t before = t.Host().Monitor().CallCount(calls[k].op);
    t.Host().Monitor().AddFault({calls[k].op, before + nth, -2147467259, "Injected", false});
    clsUtils utils;

    EXPECT_FALSE(Delete(t, utils, selection)) << "failing call " << k << " " << calls[k].op;
    emu::StepRecordings seen = t.Take();
    EXPECT_TRUE(seen.host.notifications.empty()) << calls[k].op;
    EXPECT_TRUE(seen.platform.messages.empty()) << calls[k].op;
    const std::vector<int32_t> left = Remaining(t);
    const std::vector<std::vector<int32_t>> prefixes = {
        {11, 12, 13, 14}, {12, 13, 14}, {13, 14}, {14}};
    EXPECT_NE(std::find(prefixes.begin(), prefixes.end(), left), prefixes.end())
        << "failing call " << k << " " << calls[k].op << " left " << left.size();
  }
}

}  // namespace
}  // namespace vtx::testing

#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "emulator/call_monitor.h"
#include "settings/cls_admin_settings.h"
#include "support/model_host.h"

namespace vtx::testing {
namespace {

constexpr int16_t kAdminSetting = 220;

// Stores administrator setting number `k` under `section` and `subject`.
void AddAdmin(ModelHost& t, int k, const std::string& section, const std::string& subject) {
  const int32_t id = 1001 + k;
  t.Store().Insert("Admin Setting",
                   {{"SETTING_ID", Variant("S" + std::to_string(id))},
                    {"CN_SECTION", Variant(section)},
                    {"CN_SUBJECT", Variant(subject)},
                    {"CN_USER_ID", Variant(0)}},
                   id);
}

// The search for doubles done literally through the host: every pair of
// candidates compared, each double added unless the collection already finds
// it (IndexOf). The list GetBackTheDoubles shows must be this one.
std::vector<int32_t> PairwiseThroughTheHost(ModelHost& t) {
  Ref<KvObjectStore> store = t.Session()->GetObjectStore();
  Ref<KvQueryFactory> factory = store->GetQueryFactory();
  Ref<KvQuery> query = factory->GetQuery();
  query->GetQueryClasses()->AddClass(kAdminSetting, "F");
  for (const char* column : {"CLASS_ID", "OBJECT_ID", "SETTING_ID", "CN_SECTION", "CN_SUBJECT"})
    query->GetSelectList()->Add(column, "F", 0);
  factory->Run();
  Ref<KvObjects> candidates = store->ObjectsFromRecordList(factory->GetResult(), false);
  Ref<KvObjects> doubles = store->CreateObjects();
  for (int32_t i = 0; i < candidates->GetCount(); ++i) {
    for (int32_t j = i + 1; j < candidates->GetCount(); ++j) {
      Ref<KvObject> a = candidates->Item(i);
      Ref<KvObject> b = candidates->Item(j);
      if (CompareEqual(a->GetData()->GetValue("CN_SECTION"),
                       b->GetData()->GetValue("CN_SECTION")) &&
          CompareEqual(a->GetData()->GetValue("CN_SUBJECT"),
                       b->GetData()->GetValue("CN_SUBJECT")) &&
          a->GetObjectId() != b->GetObjectId()) {
        if (doubles->IndexOf(a) == -1) doubles->Add(a->NewInstance());
        if (doubles->IndexOf(b) == -1) doubles->Add(b->NewInstance());
      }
    }
  }
  std::vector<int32_t> ids;
  for (int32_t k = 0; k < doubles->GetCount(); ++k) ids.push_back(doubles->Item(k)->GetObjectId());
  return ids;
}

TEST(DoublesThroughTheHostTest, ShowsWhatThePairwiseSearchFindsOnRandomSettings) {
  const char* sections[] = {"A", "B", "C", "a"};
  const char* subjects[] = {"X", "Y", "x", "X "};
  std::mt19937 rng(7301u);
  for (int trial = 0; trial < 25; ++trial) {
    ModelHost t("settings");
    std::uniform_int_distribution<int> size(0, 30);
    std::uniform_int_distribution<int> pick(0, 3);
    const int n = size(rng);
    for (int k = 0; k < n; ++k) AddAdmin(t, k, sections[pick(rng)], subjects[pick(rng)]);
    const std::vector<int32_t> expected = PairwiseThroughTheHost(t);
    t.Take();

    ClsAdminSettings settings;
    ASSERT_TRUE(settings.GetBackTheDoubles(t.Session())) << "trial " << trial;
    const emu::StepRecordings seen = t.Take();
    if (expected.empty()) {
      EXPECT_TRUE(seen.host.views.empty()) << "trial " << trial;
    } else {
      EXPECT_EQ(ModelHost::ViewIds(seen), expected) << "trial " << trial;
    }
  }
}

TEST(DoublesThroughTheHostTest, ReadsEachSettingOnceWhateverTheirNumber) {
  for (int n : {50, 400}) {
    ModelHost t("settings");
    for (int k = 0; k < n; ++k) AddAdmin(t, k, "S" + std::to_string(k % (n / 2)), "T");
    emu::CallMonitor& monitor = t.Host().Monitor();
    const int64_t reads_before = monitor.CallCount("KvObject.GetData");
    const int64_t retrieves_before = monitor.CallCount("KvObject.Retrieve");
    ClsAdminSettings settings;
    ASSERT_TRUE(settings.GetBackTheDoubles(t.Session()));
    // Two values of every candidate; one full read of each double.
    EXPECT_EQ(monitor.CallCount("KvObject.GetData") - reads_before, 2 * n) << n;
    EXPECT_EQ(monitor.CallCount("KvObject.Retrieve") - retrieves_before, n) << n;
    EXPECT_EQ(ModelHost::ViewIds(t.Take()).size(), static_cast<size_t>(n)) << n;
  }
}

}  // namespace
}  // namespace vtx::testing

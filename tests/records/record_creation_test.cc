#include <string>
#include <vector>

#include "records/electronic_record_fixture.h"

namespace vtx::records_test {
namespace {

TEST_F(ElectronicRecordTest, CheckinStoresEveryFieldAndLinksTheRecord) {
  ASSERT_TRUE(CreateRecord("CHECKIN", kPart, kBolt));

  const auto records = Records();
  ASSERT_EQ(records.size(), 1u);
  const auto& record = records[0];
  EXPECT_EQ(ValueOf(record, "CN_USER_ID"), Variant(kJane));
  EXPECT_EQ(ValueOf(record, "CN_USER_NAME"), Variant("Doe, Jane"));
  EXPECT_EQ(ValueOf(record, "CN_MACHINE_NAME"), Variant("WS-042"));
  EXPECT_EQ(ValueOf(record, "CN_USER_NT_ID"), Variant("jdoe"));
  EXPECT_EQ(ValueOf(record, "CN_OBJECT_ID"), Variant(kBolt));
  EXPECT_EQ(ValueOf(record, "CN_CLASS_ID"), Variant(kPart));
  EXPECT_EQ(ValueOf(record, "CN_HOOK_OPERATION"), Variant("Checkin"));
  EXPECT_EQ(DescriptionOf(record), "Checkin object: '4711 A' of class: 'Part'");
  EXPECT_EQ(LinkedEnds(record.ref.object_id), std::vector<std::string>{"100:1"});
}

// One field of the record, written from the operation, the user's names and
// the machine; Null stands for "not written".
struct FieldCase {
  const char* name;
  std::string operation;
  Variant last_name, first_name;
  std::string computer_name, logon_name;
  std::string field;
  Variant stored;
};

class RecordFieldTest : public ElectronicRecordTest,
                        public ::testing::WithParamInterface<FieldCase> {};

TEST_P(RecordFieldTest, StoresTheField) {
  const FieldCase& c = GetParam();
  Store().Update({400, kJane}, {{"LAST_NAME", c.last_name}, {"FIRST_NAME", c.first_name}});
  ChangeEnvironment([&](emu::Environment& e) {
    e.computer_name = c.computer_name;
    e.logon_name = c.logon_name;
  });

  ASSERT_TRUE(CreateRecord(c.operation, kPart, kBolt));

  EXPECT_EQ(ValueOf(Records().at(0), c.field), c.stored);
}

const Variant kDoe("Doe"), kJaneName("Jane"), kNull = Variant::Null();
const std::string kWs = "WS-042";

INSTANTIATE_TEST_SUITE_P(
    Fields, RecordFieldTest,
    ::testing::Values(
        FieldCase{"MixedCase", "checkIN", kDoe, kJaneName, kWs, "jdoe", "CN_HOOK_OPERATION",
                  Variant("Checkin")},
        FieldCase{"TwoWords", "View Object", kDoe, kJaneName, kWs, "jdoe", "CN_HOOK_OPERATION",
                  Variant("View object")},
        FieldCase{"NonAscii", "éTÉ", kDoe, kJaneName, kWs, "jdoe", "CN_HOOK_OPERATION",
                  Variant("Été")},
        FieldCase{"NoFirstName", "ADD", kDoe, kNull, kWs, "jdoe", "CN_USER_NAME", Variant("Doe, ")},
        FieldCase{"NoNames", "ADD", kNull, kNull, kWs, "jdoe", "CN_USER_NAME", Variant(", ")},
        FieldCase{"LongestMachineName", "ADD", kDoe, kJaneName, std::string(254, 'M'), "jdoe",
                  "CN_MACHINE_NAME", Variant(std::string(254, 'M'))},
        FieldCase{"MachineNameTooLong", "ADD", kDoe, kJaneName, std::string(255, 'M'), "jdoe",
                  "CN_MACHINE_NAME", Variant("")},
        FieldCase{"NoLogonName", "ADD", kDoe, kJaneName, kWs, "", "CN_USER_NT_ID", kNull}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ElectronicRecordTest, NoLoggedInUserCreatesNothing) {
  ChangeEnvironment([](emu::Environment& e) { e.user.reset(); });

  EXPECT_FALSE(CreateRecord("CHECKIN", kPart, kBolt));
  EXPECT_TRUE(Records().empty());
  EXPECT_EQ(host_.Monitor().CallCount("KvObjectStore.CreateObject"), 0);
}

// Every host call up to the storing of the record may fail: the error must
// reach the caller unchanged and nothing may be stored.
class RecordFailingStepTest : public ElectronicRecordTest,
                              public ::testing::WithParamInterface<const char*> {};

TEST_P(RecordFailingStepTest, EscapesAndStoresNothing) {
  FailCall(GetParam());
  try {
    CreateRecord("CHECKIN", kPart, kBolt);
    FAIL() << GetParam() << " failed without the error reaching the caller";
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.Number(), err::kHostFailure);
    EXPECT_EQ(e.Description(), "Injected failure");
  }
  EXPECT_TRUE(Records().empty());
}

INSTANTIATE_TEST_SUITE_P(HostCalls, RecordFailingStepTest,
                         ::testing::Values("KvUserInfo.GetCurrentUser", "KvObject.Refresh",
                                           "KvClasses.ClassByName", "KvObjectStore.CreateObject",
                                           "KvAttributes.ItemByName", "KvRecord.SetLongValue",
                                           "KvRecord.SetStringValue", "KvObject.NewInstance",
                                           "KvObject.Retrieve", "KvRecord.SetIntegerValue",
                                           "KvObject.GetKeyText", "KvOptions.Copy",
                                           "KvObject.Insert"));

TEST_F(ElectronicRecordTest, LinkingErrorLeavesTheStoredRecordUnlinked) {
  // The description loads both ends of the link once; linking loads them again.
  FailCall("KvObjectStore.GetObjectById", 3);

  EXPECT_THROW(CreateRecord("CHECKIN", kPartDoc, kBoltDrawing), RuntimeError);

  const auto records = Records();
  ASSERT_EQ(records.size(), 1u);
  EXPECT_TRUE(LinkedEnds(records[0].ref.object_id).empty());
}

TEST_F(ElectronicRecordTest, RecordAndLinkAreStoredWithTheirOptionsInOrder) {
  host_.Monitor().SetTracing(true);

  ASSERT_TRUE(CreateRecord("CHECKIN", kPart, kBolt));

  std::vector<std::string> calls;
  for (const auto& entry : host_.Monitor().Trace()) {
    if (entry.op.rfind("KvOptions.Set", 0) != 0 && entry.op != "KvObject.Insert") continue;
    std::string call = entry.op;
    for (const auto& arg : entry.args)
      if (!arg.IsObject()) call += " " + arg.ToString();
    calls.push_back(call);
  }
  EXPECT_EQ(calls, (std::vector<std::string>{"KvOptions.SetMode 2", "KvOptions.SetFlagA False",
                                             "KvOptions.SetFlagB False", "KvOptions.SetFlagC False",
                                             "KvObject.Insert", "KvOptions.SetMode 2",
                                             "KvOptions.SetFlagB False", "KvObject.Insert"}));
}

TEST_F(ElectronicRecordTest, SaveObjectAsGlobalKeepsTheStoredState) {
  EXPECT_EQ(SaveOriginal(kPart, kBolt), -1);

  Ref<KvObject> copy = host_.GetGlobal("OriginalObject").ToObjectAs<KvObject>();
  emu::CallMonitor::Pause pause(host_.Monitor());
  EXPECT_EQ(copy->GetObjectId(), kBolt);
  EXPECT_EQ(copy->GetValue("TITLE"), Variant("Bolt"));
}

}  // namespace
}  // namespace vtx::records_test

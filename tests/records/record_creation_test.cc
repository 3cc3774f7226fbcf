#include <string>
#include <vector>

#include "records/electronic_record_fixture.h"

namespace vtx::records_test {
namespace {

std::string TextOf(const Variant& value) { return value.IsNull() ? "" : value.ToString(); }

TEST_F(ElectronicRecordTest, CheckinStoresEveryFieldAndLinksTheRecord) {
  const int32_t part = InsertPart("4711", "Bolt");

  ASSERT_TRUE(CreateRecord("CHECKIN", kPart, part));

  const auto records = Records();
  ASSERT_EQ(records.size(), 1u);
  const auto& record = records[0];
  EXPECT_EQ(ValueOf(record, "CN_USER_ID"), Variant(user_id_));
  EXPECT_EQ(ValueOf(record, "CN_USER_NAME"), Variant("Doe, Jane"));
  EXPECT_EQ(ValueOf(record, "CN_MACHINE_NAME"), Variant("WS-042"));
  EXPECT_EQ(ValueOf(record, "CN_USER_NT_ID"), Variant("jdoe"));
  EXPECT_EQ(ValueOf(record, "CN_OBJECT_ID"), Variant(part));
  EXPECT_EQ(ValueOf(record, "CN_CLASS_ID"), Variant(kPart));
  EXPECT_EQ(ValueOf(record, "CN_HOOK_OPERATION"), Variant("Checkin"));
  EXPECT_EQ(DescriptionOf(record), "Checkin object: '4711 A' of class: 'Part'");
  EXPECT_EQ(LinkedEnds(record.ref.object_id),
            std::vector<std::string>{"100:" + std::to_string(part)});
}

struct OperationCase {
  std::string operation;
  std::string stored;
};

class OperationNameTest : public ElectronicRecordTest,
                          public ::testing::WithParamInterface<OperationCase> {};

TEST_P(OperationNameTest, StoresTheOperationCapitalised) {
  const int32_t part = InsertPart("4711", "Bolt");
  ASSERT_TRUE(CreateRecord(GetParam().operation, kPart, part));
  EXPECT_EQ(TextOf(ValueOf(Records().at(0), "CN_HOOK_OPERATION")), GetParam().stored);
}

INSTANTIATE_TEST_SUITE_P(Operations, OperationNameTest,
                         ::testing::Values(OperationCase{"checkIN", "Checkin"},
                                           OperationCase{"NEWRELEASE", "Newrelease"},
                                           OperationCase{"View Object", "View object"},
                                           OperationCase{"a", "A"}, OperationCase{"éTÉ", "Été"},
                                           OperationCase{"", ""}));

struct UserNameCase {
  const char* name;
  Variant last_name;
  Variant first_name;
  std::string stored;
};

class UserNameTest : public ElectronicRecordTest,
                     public ::testing::WithParamInterface<UserNameCase> {};

TEST_P(UserNameTest, JoinsLastAndFirstNameWithNullAsNothing) {
  Store().Update(emu::ObjectRef{kUser, user_id_},
                 {{"LAST_NAME", GetParam().last_name}, {"FIRST_NAME", GetParam().first_name}});
  const int32_t part = InsertPart("4711", "Bolt");

  ASSERT_TRUE(CreateRecord("CHECKIN", kPart, part));

  EXPECT_EQ(ValueOf(Records().at(0), "CN_USER_NAME"), Variant(GetParam().stored));
}

INSTANTIATE_TEST_SUITE_P(
    Names, UserNameTest,
    ::testing::Values(UserNameCase{"Both", Variant("Doe"), Variant("Jane"), "Doe, Jane"},
                      UserNameCase{"NoFirstName", Variant("Doe"), Variant::Null(), "Doe, "},
                      UserNameCase{"NoLastName", Variant::Null(), Variant("Jane"), ", Jane"},
                      UserNameCase{"NoNames", Variant::Null(), Variant::Null(), ", "}),
    [](const auto& info) { return std::string(info.param.name); });

struct MachineNameCase {
  const char* name;
  std::string computer_name;
  std::string stored;
};

class MachineNameTest : public ElectronicRecordTest,
                        public ::testing::WithParamInterface<MachineNameCase> {};

TEST_P(MachineNameTest, KeepsWhatFitsTheBuffer) {
  static std::string computer_name;
  computer_name = GetParam().computer_name;
  ChangeEnvironment([](emu::Environment& e) { e.computer_name = computer_name; });
  const int32_t part = InsertPart("4711", "Bolt");

  ASSERT_TRUE(CreateRecord("CHECKIN", kPart, part));

  EXPECT_EQ(TextOf(ValueOf(Records().at(0), "CN_MACHINE_NAME")), GetParam().stored);
}

INSTANTIATE_TEST_SUITE_P(Names, MachineNameTest,
                         ::testing::Values(MachineNameCase{"Short", "WS-042", "WS-042"},
                                           MachineNameCase{"Longest", std::string(254, 'M'),
                                                           std::string(254, 'M')},
                                           MachineNameCase{"TooLong", std::string(255, 'M'), ""},
                                           MachineNameCase{"None", "", ""}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ElectronicRecordTest, EmptyLogonNameLeavesTheLogonFieldUnwritten) {
  ChangeEnvironment([](emu::Environment& e) { e.logon_name = ""; });
  const int32_t part = InsertPart("4711", "Bolt");

  ASSERT_TRUE(CreateRecord("CHECKIN", kPart, part));

  EXPECT_TRUE(ValueOf(Records().at(0), "CN_USER_NT_ID").IsNull());
}

TEST_F(ElectronicRecordTest, NoLoggedInUserCreatesNothing) {
  ChangeEnvironment([](emu::Environment& e) { e.user.reset(); });
  const int32_t part = InsertPart("4711", "Bolt");

  EXPECT_FALSE(CreateRecord("CHECKIN", kPart, part));
  EXPECT_TRUE(Records().empty());
  EXPECT_EQ(host_.Monitor().CallCount("KvObjectStore.CreateObject"), 0);
}

TEST_F(ElectronicRecordTest, ObjectWithoutRecordLinkClassGetsAnUnlinkedRecord) {
  const int32_t tool = Store().Insert("Tool", {{"TOOL_NUMBER", "T-9"}});

  EXPECT_TRUE(CreateRecord("CHECKOUT", kTool, tool));

  const auto records = Records();
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(DescriptionOf(records[0]), "Checkout object: 'T-9' of class: 'Tool'");
  EXPECT_TRUE(LinkedEnds(records[0].ref.object_id).empty());
}

TEST_F(ElectronicRecordTest, EmptyRecordListFailsWithoutStoring) {
  Ref<KvRecordList> list = ListOf(kPart, InsertPart("4711", "Bolt"));
  {
    emu::CallMonitor::Pause pause(host_.Monitor());
    list = Store().NewRecordList();
    list->AddColumn("CLASS_ID", 0, 2);
    list->AddColumn("OBJECT_ID", 0, 3);
  }
  clsElectronicRecord record;
  try {
    record.CreateNewERObject(Session(), "CHECKIN", list);
    FAIL() << "an empty record list must fail";
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.Number(), err::kObjectVariableNotSet);
  }
  EXPECT_TRUE(Records().empty());
}

// Every host call before the record is stored may fail; the failure must
// reach the caller unchanged and nothing may be stored.
class FailingStepTest : public ElectronicRecordTest,
                        public ::testing::WithParamInterface<const char*> {};

TEST_P(FailingStepTest, EscapesAndStoresNothing) {
  const int32_t part = InsertPart("4711", "Bolt");
  FailCall(GetParam());
  try {
    CreateRecord("CHECKIN", kPart, part);
    FAIL() << GetParam() << " failed without the error reaching the caller";
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.Number(), err::kHostFailure);
    EXPECT_EQ(e.Description(), "Injected failure");
  }
  EXPECT_TRUE(Records().empty());
}

INSTANTIATE_TEST_SUITE_P(HostCalls, FailingStepTest,
                         ::testing::Values("KvUserInfo.GetCurrentUser", "KvObject.Refresh",
                                           "KvClasses.ClassByName", "KvObjectStore.CreateObject",
                                           "KvObject.PrepareNew", "KvAttributes.ItemByName",
                                           "KvRecord.SetLongValue", "KvRecord.SetStringValue",
                                           "KvObject.NewInstance", "KvObject.Retrieve",
                                           "KvRecord.SetIntegerValue", "KvObject.GetKeyText",
                                           "KvOptions.Copy", "KvObject.Insert"));

TEST_F(ElectronicRecordTest, LinkingErrorLeavesTheStoredRecordUnlinked) {
  const int32_t part = InsertPart("4711", "Bolt");
  const int32_t doc = Store().Insert("Doc", {{"DOC_NUMBER", "D-1"}});
  const int32_t link = Store().Link("Part_Doc", {kPart, part}, {kDoc, doc});
  // The description loads both ends once; linking loads them again.
  FailCall("KvObjectStore.GetObjectById", 3);

  EXPECT_THROW(CreateRecord("CHECKIN", kPartDoc, link), RuntimeError);

  const auto records = Records();
  ASSERT_EQ(records.size(), 1u);
  EXPECT_TRUE(LinkedEnds(records[0].ref.object_id).empty());
}

TEST_F(ElectronicRecordTest, RecordAndLinkAreStoredWithTheirOptionsInOrder) {
  const int32_t part = InsertPart("4711", "Bolt");
  host_.Monitor().SetTracing(true);

  ASSERT_TRUE(CreateRecord("CHECKIN", kPart, part));

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
  const int32_t part = InsertPart("4711", "Bolt");

  EXPECT_EQ(SaveOriginal(kPart, part), -1);

  const Variant saved = host_.GetGlobal("OriginalObject");
  ASSERT_TRUE(saved.IsObject());
  Ref<KvObject> copy = saved.ToObjectAs<KvObject>();
  emu::CallMonitor::Pause pause(host_.Monitor());
  EXPECT_EQ(copy->GetObjectId(), part);
  EXPECT_EQ(copy->GetValue("TITLE"), Variant("Bolt"));
}

TEST_F(ElectronicRecordTest, SaveObjectAsGlobalWithoutObjectsFailsAndKeepsTheGlobal) {
  host_.SetGlobal("OriginalObject", Variant("earlier"));
  Ref<KvRecordList> list;
  {
    emu::CallMonitor::Pause pause(host_.Monitor());
    list = Store().NewRecordList();
  }
  clsElectronicRecord record;

  EXPECT_THROW(record.SaveObjectAsGlobal(Session(), "UPDATE", list), RuntimeError);
  EXPECT_EQ(host_.GetGlobal("OriginalObject"), Variant("earlier"));
}

}  // namespace
}  // namespace vtx::records_test

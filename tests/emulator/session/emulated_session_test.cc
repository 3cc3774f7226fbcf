#include "emulator/session/emulated_session.h"

#include <gtest/gtest.h>

#include "emulator/emulated_host.h"
#include "tests/emulator/session/host_test_support.h"

namespace vtx::emu {
namespace {

using testing::TestModel;

class SessionTest : public ::testing::Test {
 protected:
  EmulatedHost host_{":memory:", TestModel()};
  Ref<KvSession> session_ = host_.Session();
};

TEST_F(SessionTest, ReportsTheEnvironmentLanguageAtEachCall) {
  Environment env = host_.GetEnvironment();
  env.language = "fr-FR";
  host_.SetEnvironment(env);
  EXPECT_EQ(session_->GetLanguage(), "fr-FR");
  env.language = "";
  host_.SetEnvironment(env);
  EXPECT_EQ(session_->GetLanguage(), "");
}

TEST_F(SessionTest, ConfigurationGivesTheValueOrAnEmptyString) {
  Environment env = host_.GetEnvironment();
  env.configuration = {{"$Admin\\System Font\\FontName", Variant("Tahoma")},
                       {"$Admin\\Limits\\Rows", Variant(int32_t{50})}};
  host_.SetEnvironment(env);
  Ref<KvConfiguration> configuration = session_->GetConfiguration();
  struct Case {
    const char* path;
    Variant expected;
  } cases[] = {
      {"$Admin\\System Font\\FontName", Variant("Tahoma")},
      {"$ADMIN\\system font\\fontname", Variant("Tahoma")},  // paths ignore letter case
      {"$Admin\\Limits\\Rows", Variant(int32_t{50})},
      {"$Admin\\System Font\\FontSize", Variant("")},
      {"", Variant("")},
  };
  for (const Case& c : cases) EXPECT_EQ(configuration->GetValue(c.path), c.expected) << c.path;
}

TEST_F(SessionTest, GlobalsReadNullUntilSetAndKeepObjectsAsGiven) {
  Ref<KvGlobals> globals = session_->GetGlobals();
  EXPECT_TRUE(globals->GetValue("OriginalObject").IsNull());

  host_.GetStore().Insert("Part", {{"PART_NUMBER", "4711"}}, 1);
  Ref<KvObject> part = LoadObject(host_.GetStore(), host_.ObjectStore(), ObjectRef{100, 1});
  globals->SetValue("OriginalObject", Variant(part));
  Variant back = session_->GetGlobals()->GetValue("OriginalObject");
  ASSERT_TRUE(back.IsObject());
  EXPECT_EQ(back.AsObject().get(), part.get());  // the very instance, not a copy

  globals->SetValue("Count", Variant(int16_t{3}));
  EXPECT_EQ(globals->GetValue("Count"), Variant(int16_t{3}));
  EXPECT_TRUE(globals->GetValue("count").IsNull());  // names compare exactly

  host_.SetGlobal("FromKorvel", Variant("x"));
  EXPECT_EQ(globals->GetValue("FromKorvel"), Variant("x"));
  globals->SetValue("FromKorvel", Variant::Null());
  EXPECT_TRUE(host_.GetGlobal("FromKorvel").IsNull());
}

TEST_F(SessionTest, CurrentUserIsTheEnvironmentUserFreshlyLoaded) {
  host_.GetStore().Insert("User", {{"LAST_NAME", "Doe"}, {"FIRST_NAME", "Jane"}}, 7);
  Ref<KvUserInfo> info = session_->GetUserInfo();
  EXPECT_TRUE(info->GetCurrentUser().IsNothing());
  EXPECT_EQ(info->GetCurrentUserId(), 0);

  Environment env = host_.GetEnvironment();
  env.user = ObjectKey{"User", 7};
  host_.SetEnvironment(env);
  Ref<KvObject> user = info->GetCurrentUser();
  ASSERT_FALSE(user.IsNothing());
  EXPECT_EQ(user->GetObjectId(), 7);
  EXPECT_EQ(user->GetValue("LAST_NAME"), Variant("Doe"));
  EXPECT_EQ(info->GetCurrentUserId(), 7);

  host_.GetStore().Update(ObjectRef{10, 7}, {{"LAST_NAME", "Roe"}});
  EXPECT_EQ(info->GetCurrentUser()->GetValue("LAST_NAME"), Variant("Roe"));
  EXPECT_NE(info->GetCurrentUser().get(), info->GetCurrentUser().get());
}

TEST_F(SessionTest, CurrentUserIsNothingWhenTheNamedObjectIsNotStored) {
  Environment env = host_.GetEnvironment();
  env.user = ObjectKey{"User", 99};
  host_.SetEnvironment(env);
  EXPECT_TRUE(session_->GetUserInfo()->GetCurrentUser().IsNothing());
  EXPECT_EQ(session_->GetUserInfo()->GetCurrentUserId(), 99);
}

TEST_F(SessionTest, ObjectStoreLeadsBackToTheSession) {
  Ref<KvObjectStore> store = session_->GetObjectStore();
  EXPECT_EQ(store.get(), session_->GetObjectStore().get());
  EXPECT_EQ(store->GetSession().get(), session_.get());
  EXPECT_FALSE(session_->GetClasses()->ClassByName("Part").IsNothing());
}

TEST_F(SessionTest, StringListStartsEmpty) {
  Ref<KvStrings> strings = session_->CreateStringList();
  EXPECT_EQ(strings->GetCount(), 0);
  strings->Add("a");
  EXPECT_EQ(session_->CreateStringList()->GetCount(), 0);
}

TEST_F(SessionTest, CreatesHostComponentsByProgIdInAnyLetterCase) {
  struct Case {
    const char* prog_id;
    const char* type;
  } cases[] = {
      {"KvGUISrv.KvGUIServices", "KvGuiServices"},
      {"KvGuiSrv.KVGuiServices", "KvGuiServices"},
      {"kvguisrv.kvguiservices", "KvGuiServices"},
      {"KvGUISrv.KvCommonGUI", "KvCommonGui"},
      {"KvIntegrationTool.KvIntegrationStore", "KvIntegrationStore"},
      {"KVUTIL.KVSESSIONUTIL", "KvSessionUtil"},
  };
  for (const Case& c : cases) {
    Ref<Dispatch> component = session_->CreateHostComponent(c.prog_id);
    ASSERT_FALSE(component.IsNothing()) << c.prog_id;
    EXPECT_EQ(component->GetTypeName(), c.type) << c.prog_id;
  }
}

TEST_F(SessionTest, UnknownProgIdRaises429) {
  for (const char* prog_id : {"KvQuickReport.GenerateRpt", "KvGUISrv", "", "Orbent.NlsCatalog"}) {
    try {
      session_->CreateHostComponent(prog_id);
      ADD_FAILURE() << prog_id << " was created";
    } catch (const RuntimeError& e) {
      EXPECT_EQ(e.Number(), err::kCannotCreateObject) << prog_id;
    }
  }
}

TEST_F(SessionTest, TracesOperationsByInterfaceAndComponentName) {
  host_.Monitor().SetTracing(true);
  session_->GetLanguage();
  session_->CreateHostComponent("KvGuiSrv.KVGuiServices");
  session_->GetConfiguration()->GetValue("p");
  std::vector<std::string> ops;
  for (const TraceEntry& e : host_.TakeRecordings().trace) ops.push_back(e.op);
  EXPECT_EQ(ops,
            (std::vector<std::string>{"KvSession.GetLanguage", "KvSession.CreateHostComponent",
                                      "CreateHostComponent:KvGuiSrv.KVGuiServices",
                                      "KvSession.GetConfiguration", "KvConfiguration.GetValue"}));
}

TEST_F(SessionTest, FaultOnOneComponentLeavesTheOthersAlone) {
  host_.Monitor().AddFault(
      Fault{"CreateHostComponent:KvGUISrv.KvCommonGUI", 2, -2147467259, "No GUI", false});
  EXPECT_NO_THROW(session_->CreateHostComponent("KvGUISrv.KvCommonGUI"));
  EXPECT_NO_THROW(session_->CreateHostComponent("KvGUISrv.KvGUIServices"));
  try {
    session_->CreateHostComponent("KvGUISrv.KvCommonGUI");
    ADD_FAILURE() << "the second creation did not fail";
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.Number(), -2147467259);
    EXPECT_EQ(e.Description(), "No GUI");
  }
  EXPECT_NO_THROW(session_->CreateHostComponent("KvGUISrv.KvCommonGUI"));  // transient
}

TEST_F(SessionTest, PersistentFaultOnASessionOperation) {
  host_.Monitor().AddFault(Fault{"KvSession.GetLanguage", 1, 5, "Gone", true});
  for (int i = 0; i < 3; ++i) EXPECT_THROW(session_->GetLanguage(), RuntimeError);
  EXPECT_NO_THROW(session_->GetClasses());
}

}  // namespace
}  // namespace vtx::emu

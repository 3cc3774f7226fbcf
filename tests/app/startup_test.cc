#include "app/startup.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "app/application.h"
#include "app/globals.h"
#include "nls/translation.h"
#include "support/case_name.h"
#include "support/fake_nls_catalog.h"
#include "support/mock_application_workers.h"
#include "support/mock_kv_record.h"
#include "support/mock_kv_session.h"
#include "support/mock_platform.h"
#include "support/scoped_module_values.h"

namespace vtx::testing {
namespace {

using ::testing::_;
using ::testing::NiceMock;
using ::testing::Return;
using ::testing::StrictMock;

constexpr const char* kFontPath = "$Admin\\System Font\\FontName";

Ref<Dispatch> NoCatalog(const std::string&) { Raise(err::kCannotCreateObject); }

// How the session answers the font question.
struct FontCase {
  std::string name;
  std::function<void(MockKvSession&, Ref<MockKvConfiguration>&)> configure;
  std::string expected_font;
  bool expected_result;
};
VTX_PRINT_CASE_BY_NAME(FontCase)

class ReadInterfaceFontTest : public ::testing::TestWithParam<FontCase> {};

TEST_P(ReadInterfaceFontTest, FallsBackToMsSansSerif) {
  ScopedModuleValues saved;
  auto session = MakeRef<StrictMock<MockKvSession>>();
  Ref<MockKvConfiguration> configuration = MakeRef<StrictMock<MockKvConfiguration>>();
  GetParam().configure(*session, configuration);
  Globals().InterfaceFontName = "left over";

  EXPECT_EQ(ReadInterfaceFont(session), GetParam().expected_result);
  EXPECT_EQ(Globals().InterfaceFontName, GetParam().expected_font);
}

void Answers(MockKvSession& s, Ref<MockKvConfiguration>& c, Variant value) {
  EXPECT_CALL(s, GetConfiguration()).WillOnce(Return(c));
  EXPECT_CALL(*c, GetValue(kFontPath)).WillOnce(Return(value));
}

INSTANTIATE_TEST_SUITE_P(
    Configuration, ReadInterfaceFontTest,
    ::testing::Values(
        FontCase{"Configured", [](auto& s, auto& c) { Answers(s, c, "Tahoma"); }, "Tahoma", true},
        FontCase{"EmptyText", [](auto& s, auto& c) { Answers(s, c, ""); }, "MS Sans Serif", true},
        FontCase{"NoValue", [](auto& s, auto& c) { Answers(s, c, Variant::Empty()); },
                 "MS Sans Serif", true},
        FontCase{"NullValue", [](auto& s, auto& c) { Answers(s, c, Variant::Null()); },
                 "MS Sans Serif", false},
        FontCase{"ValueFails",
                 [](auto& s, auto& c) {
                   EXPECT_CALL(s, GetConfiguration()).WillOnce(Return(c));
                   EXPECT_CALL(*c, GetValue(kFontPath)).WillOnce([](const std::string&) -> Variant {
                     Raise(err::kHostFailure, "No such path");
                   });
                 },
                 "MS Sans Serif", false},
        FontCase{"StoreUnreachable",
                 [](auto& s, auto&) {
                   EXPECT_CALL(s, GetConfiguration()).WillOnce([]() -> Ref<KvConfiguration> {
                     Raise(err::kHostFailure, "Configuration unavailable");
                   });
                 },
                 "MS Sans Serif", false},
        FontCase{"NoConfigurationObject",
                 [](auto& s, auto&) {
                   EXPECT_CALL(s, GetConfiguration()).WillOnce(Return(Ref<KvConfiguration>()));
                 },
                 "MS Sans Serif", false}),
    [](const auto& info) { return info.param.name; });

TEST(ReadSessionLanguage, StoresWhatTheSessionReports) {
  ScopedModuleValues saved;
  auto session = MakeRef<NiceMock<MockKvSession>>();
  ON_CALL(*session, GetLanguage()).WillByDefault(Return("fr-FR"));
  EXPECT_TRUE(ReadSessionLanguage(session));
  EXPECT_EQ(Globals().SessionLanguage, "fr-FR");

  ON_CALL(*session, GetLanguage()).WillByDefault(Return(""));
  EXPECT_FALSE(ReadSessionLanguage(session));
  EXPECT_EQ(Globals().SessionLanguage, "");
}

// The real start-up in front of workers that only count.
class StartUpTest : public ::testing::Test {
 protected:
  void SetUp() override {
    catalog_ = MakeRef<FakeNlsCatalog>();
    ON_CALL(platform_, CreateObject("Orbent.NlsCatalog")).WillByDefault(Return(catalog_));
    ON_CALL(*session_, GetConfiguration()).WillByDefault(Return(configuration_));
    ON_CALL(*configuration_, GetValue(kFontPath)).WillByDefault(Return(Variant("Arial")));
    // A worker that fails tells a call that got through the start-up (1)
    // from one stopped by it (0).
    ON_CALL(workers_, DeleteRelatedHistory).WillByDefault(Return(false));
  }

  int16_t DeleteHistory() {
    Ref<KvSession> session = session_;
    Ref<KvRecordList> list = MakeRef<NiceMock<MockKvRecordList>>();
    return app_.DeleteHistory(session, list);
  }

  ScopedModuleValues saved_;
  NiceMock<MockPlatform> platform_;
  ScopedPlatform installed_{&platform_};
  Ref<FakeNlsCatalog> catalog_;
  Ref<NiceMock<MockKvSession>> session_ = MakeRef<NiceMock<MockKvSession>>();
  Ref<NiceMock<MockKvConfiguration>> configuration_ = MakeRef<NiceMock<MockKvConfiguration>>();
  NiceMock<MockApplicationWorkers> workers_;
  Application app_{workers_};
};

TEST_F(StartUpTest, EmptyLanguageProceedsWithoutCatalog) {
  ON_CALL(*session_, GetLanguage()).WillByDefault(Return(""));
  EXPECT_CALL(platform_, CreateObject(_)).Times(0);
  EXPECT_CALL(workers_, DeleteRelatedHistory).Times(1);

  EXPECT_EQ(DeleteHistory(), 1);
  EXPECT_EQ(Globals().SessionLanguage, "");
  EXPECT_EQ(Globals().InterfaceFontName, "Arial");
  EXPECT_EQ(translation::Text("Common.Button.MoveUp"), "Move Up");
}

TEST_F(StartUpTest, FailingFontReadStillProceeds) {
  ON_CALL(*session_, GetLanguage()).WillByDefault(Return("en"));
  ON_CALL(*session_, GetConfiguration()).WillByDefault([]() -> Ref<KvConfiguration> {
    Raise(err::kHostFailure, "Configuration unavailable");
  });
  EXPECT_CALL(workers_, DeleteRelatedHistory).Times(1);

  EXPECT_EQ(DeleteHistory(), 1);
  EXPECT_EQ(Globals().InterfaceFontName, "MS Sans Serif");
}

TEST_F(StartUpTest, RegionalLanguageFallsBackAndIsShortened) {
  catalog_->AddText("fr", "orbent.solutions.NLS.Controls.VT9", "Common.Button.MoveUp", "CONTROLS",
                    "Monter");
  ON_CALL(*session_, GetLanguage()).WillByDefault(Return("fr-FR"));

  EXPECT_EQ(DeleteHistory(), 1);
  EXPECT_EQ(translation::Text("Common.Button.MoveUp"), "Monter");
  EXPECT_EQ(translation::Text("Common.Button.MoveDwn"), "Move Down");
  EXPECT_EQ(Globals().SessionLanguage, "fr");
}

TEST_F(StartUpTest, EveryCallReadsTheLanguageAgain) {
  catalog_->AddText("fr", "orbent.solutions.NLS.Controls.VT9", "Common.Button.Close", "CONTROLS",
                    "Fermer");
  EXPECT_CALL(*session_, GetLanguage()).WillOnce(Return("fr")).WillOnce(Return("en"));

  EXPECT_EQ(DeleteHistory(), 1);
  EXPECT_EQ(translation::Text("Common.Button.Close"), "Fermer");
  EXPECT_EQ(DeleteHistory(), 1);
  EXPECT_EQ(translation::Text("Common.Button.Close"), "Close");
}

TEST_F(StartUpTest, MissingOrFailingCatalogKeepsDefaultsAndProceeds) {
  ON_CALL(*session_, GetLanguage()).WillByDefault(Return("de"));
  ON_CALL(platform_, CreateObject(_)).WillByDefault(NoCatalog);
  EXPECT_EQ(DeleteHistory(), 1);
  EXPECT_EQ(translation::Text("Common.Errors.MsgTitleKR"), "KORVEL");

  ON_CALL(platform_, CreateObject(_)).WillByDefault(Return(catalog_));
  catalog_->FailOnCall(1);
  EXPECT_EQ(DeleteHistory(), 1);
  EXPECT_EQ(translation::Text("Common.Errors.ErrInFunc"), "Error in function \"{0}\" !");
}

TEST_F(StartUpTest, FailingLanguageReachesTheCallerFromEveryOperation) {
  ON_CALL(*session_, GetLanguage()).WillByDefault([]() -> std::string {
    Raise(err::kHostFailure, "Session lost");
  });
  StrictMock<MockApplicationWorkers> workers;
  Application app(workers);
  Ref<KvSession> session = session_;
  Ref<KvRecordList> list = MakeRef<NiceMock<MockKvRecordList>>();
  std::string operation = "CHECKOUT";

  const std::function<void()> calls[] = {
      [&] { app.ViewHistory(session, list); },
      [&] { app.GenerateHistoryReport(session, list); },
      [&] { app.DeleteHistory(session, list); },
      [&] { app.ExecuteCreateNewERObject(session, operation, list); },
      [&] { app.ExecuteSaveObjectAsGlobal(session, operation, list); },
  };
  for (const auto& call : calls) {
    try {
      call();
      ADD_FAILURE() << "the host's error was trapped";
    } catch (const RuntimeError& error) {
      EXPECT_EQ(error.Number(), err::kHostFailure);
      EXPECT_EQ(error.Description(), "Session lost");
    }
  }
}

}  // namespace
}  // namespace vtx::testing

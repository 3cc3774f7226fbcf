#include "nls/cls_nls.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "app/globals.h"
#include "support/fake_nls_catalog.h"
#include "support/mock_nls_catalog.h"
#include "support/mock_platform.h"
#include "support/scoped_module_values.h"

namespace vtx::testing {
namespace {

using ::testing::_;
using ::testing::InSequence;
using ::testing::NiceMock;
using ::testing::Return;

constexpr const char* kNs = "orbent.solutions.NLS.Controls.VT9";
constexpr const char* kKey = "Common.Button.OK";

struct CatalogText {
  std::string language;
  std::string text;
};

struct LookupCase {
  std::string name;
  std::string session_language;
  std::vector<CatalogText> catalog;
  std::string expected;
  std::string language_after;
  int has_text_calls;
};

class GetTranslationTest : public ::testing::TestWithParam<LookupCase> {
 protected:
  void SetUp() override {
    catalog_ = MakeRef<FakeNlsCatalog>();
    ON_CALL(platform_, CreateObject("Orbent.NlsCatalog")).WillByDefault(Return(catalog_));
  }

  ScopedModuleValues saved_;
  NiceMock<MockPlatform> platform_;
  ScopedPlatform installed_{&platform_};
  Ref<FakeNlsCatalog> catalog_;
};

TEST_P(GetTranslationTest, FallsBackThroughBaseLanguageToDefault) {
  const LookupCase& c = GetParam();
  for (const CatalogText& t : c.catalog)
    catalog_->AddText(t.language, kNs, kKey, "CONTROLS", t.text);
  Globals().SessionLanguage = c.session_language;

  EXPECT_EQ(clsNLS().GetTranslation(kNs, kKey, "CONTROLS", "OK"), c.expected);
  EXPECT_EQ(Globals().SessionLanguage, c.language_after);
  EXPECT_EQ(catalog_->CountOf("HasText"), c.has_text_calls);
}

INSTANTIATE_TEST_SUITE_P(
    Languages, GetTranslationTest,
    ::testing::Values(
        LookupCase{"ExactLanguage", "fr-FR", {{"fr-FR", "Valider"}}, "Valider", "fr-FR", 1},
        LookupCase{"BaseLanguageShortensSession", "fr-FR", {{"fr", "Valider"}}, "Valider", "fr", 2},
        LookupCase{"NeitherLanguage", "fr-FR", {{"de", "Gut"}}, "OK", "fr-FR", 2},
        LookupCase{"NoRegionAskedOnce", "de", {}, "OK", "de", 1},
        LookupCase{"BaseIsBeforeFirstDash", "zh-Hant-TW", {{"zh", "Que"}}, "Que", "zh", 2},
        LookupCase{"EmptyTextGivesDefault", "fr", {{"fr", ""}}, "OK", "fr", 1},
        LookupCase{"EmptyBaseTextGivesDefault", "fr-FR", {{"fr", ""}}, "OK", "fr", 2}),
    [](const auto& info) { return info.param.name; });

TEST(GetTranslation, EmptyLanguageNeverCreatesTheCatalog) {
  ScopedModuleValues saved;
  ::testing::StrictMock<MockPlatform> platform;
  ScopedPlatform installed(&platform);
  Globals().SessionLanguage = "";

  EXPECT_EQ(clsNLS().GetTranslation(kNs, kKey, "CONTROLS", "OK"), "OK");
}

TEST(GetTranslation, CallsTheCatalogInOrderWithVersionOnePointZero) {
  ScopedModuleValues saved;
  NiceMock<MockPlatform> platform;
  ScopedPlatform installed(&platform);
  auto catalog = MakeRef<::testing::StrictMock<MockNlsCatalog>>();
  EXPECT_CALL(platform, CreateObject("Orbent.NlsCatalog")).WillOnce(Return(catalog));
  {
    InSequence order;
    EXPECT_CALL(*catalog, SetLanguage("pt-BR"));
    EXPECT_CALL(*catalog, HasText("pt-BR", kNs, kKey, "CONTROLS", "1.0")).WillOnce(Return(false));
    EXPECT_CALL(*catalog, SetLanguage("pt"));
    EXPECT_CALL(*catalog, HasText("pt", kNs, kKey, "CONTROLS", "1.0")).WillOnce(Return(true));
    EXPECT_CALL(*catalog, GetText(kNs, kKey, "CONTROLS", "1.0")).WillOnce(Return("Confirmar"));
  }
  Globals().SessionLanguage = "pt-BR";

  EXPECT_EQ(clsNLS().GetTranslation(kNs, kKey, "CONTROLS", "OK"), "Confirmar");
}

// Whatever fails, the caller gets the default and no error.
struct FailureCase {
  std::string name;
  int failing_call;  // 0: the catalog cannot be created
};

class GetTranslationFailureTest : public ::testing::TestWithParam<FailureCase> {};

TEST_P(GetTranslationFailureTest, ReturnsTheDefault) {
  ScopedModuleValues saved;
  NiceMock<MockPlatform> platform;
  ScopedPlatform installed(&platform);
  auto catalog = MakeRef<FakeNlsCatalog>();
  catalog->AddText("fr", kNs, kKey, "CONTROLS", "Valider");
  if (GetParam().failing_call == 0) {
    ON_CALL(platform, CreateObject(_)).WillByDefault([](const std::string&) -> Ref<Dispatch> {
      Raise(err::kCannotCreateObject);
    });
  } else {
    catalog->FailOnCall(GetParam().failing_call);
    ON_CALL(platform, CreateObject(_)).WillByDefault(Return(catalog));
  }
  Globals().SessionLanguage = "fr-FR";

  EXPECT_EQ(clsNLS().GetTranslation(kNs, kKey, "CONTROLS", "OK"), "OK");
  EXPECT_EQ(Globals().SessionLanguage, "fr-FR");
}

INSTANTIATE_TEST_SUITE_P(Steps, GetTranslationFailureTest,
                         ::testing::Values(FailureCase{"CatalogNotInstalled", 0},
                                           FailureCase{"SetLanguage", 1}, FailureCase{"HasText", 2},
                                           FailureCase{"SetBaseLanguage", 3},
                                           FailureCase{"HasTextInBase", 4},
                                           FailureCase{"GetText", 5}),
                         [](const auto& info) { return info.param.name; });

TEST(GetTranslation, LateBoundCallUsesTheDeclaredNames) {
  ScopedModuleValues saved;
  const MethodInfo* method = clsNLS::Methods().Find("gettranslation");
  ASSERT_NE(method, nullptr);
  std::vector<std::string> names;
  for (const ParamInfo& p : method->params) {
    names.push_back(p.name);
    EXPECT_TRUE(p.by_ref) << p.name;
    EXPECT_EQ(p.type, ParamType::kString) << p.name;
  }
  EXPECT_THAT(names,
              ::testing::ElementsAre("Namespace", "MessageID", "AppendixID", "DefaultValue"));

  Globals().SessionLanguage = "";
  std::vector<Variant> args{"ns", "key", "CONTROLS", "Default"};
  clsNLS nls;
  EXPECT_EQ(nls.Invoke("GetTranslation", InvokeKind::kMethod, args).ToString(), "Default");
}

}  // namespace
}  // namespace vtx::testing

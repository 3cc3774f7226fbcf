#include "nls/translation.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "app/globals.h"
#include "support/fake_nls_catalog.h"
#include "support/mock_platform.h"

namespace vtx::testing {
namespace {

using ::testing::_;
using ::testing::ElementsAre;
using ::testing::NiceMock;
using ::testing::Return;

constexpr const char* kControls = "orbent.solutions.NLS.Controls.VT9";
constexpr const char* kErrors = "orbent.solutions.NLS.Errors.VT9";

// The text table is per thread: each test body runs on a thread of its own so
// that it starts from an empty table.
template <class Body>
void OnFreshThread(Body body) {
  std::thread thread(body);
  thread.join();
}

struct Entry {
  const char* key;
  const char* english;
};

constexpr Entry kStartUpTexts[] = {
    {"Common.Button.MoveUp", "Move Up"},
    {"Common.Button.MoveDwn", "Move Down"},
    {"Common.Button.ApplyChanges", "Apply Changes"},
    {"Common.Button.EdtProfCard", "Edit Profile Card"},
    {"Common.Button.Close", "Close"},
    {"Common.Button.OK", "OK"},
    {"Common.Button.Cancel", "Cancel"},
    {"Common.Errors.ErrInFunc", "Error in function \"{0}\" !"},
    {"Common.Errors.MsgTitleKR", "KORVEL"},
    {"Common.Errors.MsgTitleWarning", "WARNING"},
};

class TranslationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    catalog_ = MakeRef<FakeNlsCatalog>();
    ON_CALL(platform_, CreateObject("Orbent.NlsCatalog")).WillByDefault(Return(catalog_));
  }

  NiceMock<MockPlatform> platform_;
  ScopedPlatform installed_{&platform_};
  Ref<FakeNlsCatalog> catalog_;
};

TEST_F(TranslationTest, DefaultsCoverTheTenStartUpEntriesOnly) {
  OnFreshThread([] {
    EXPECT_EQ(translation::Text("Common.Button.OK"), "");
    ASSERT_TRUE(translation::SetDefaultTexts());
    for (const Entry& e : kStartUpTexts) EXPECT_EQ(translation::Text(e.key), e.english) << e.key;
    EXPECT_EQ(translation::Text("frmTemplates.Caption"), "");
  });
}

TEST_F(TranslationTest, LoadsControlsThenErrorsInTableOrder) {
  OnFreshThread([] {
    Globals().SessionLanguage = "de";
    translation::SetDefaultTexts();
    EXPECT_TRUE(translation::LoadTranslations());
  });
  std::vector<std::string> asked;
  for (const std::string& call : catalog_->Calls())
    if (call.rfind("HasText ", 0) == 0) asked.push_back(call);
  ASSERT_EQ(asked.size(), 10u);
  for (size_t i = 0; i < 10; ++i) {
    const bool control = i < 7;
    EXPECT_EQ(asked[i], std::string("HasText de|") + (control ? kControls : kErrors) + "|" +
                            kStartUpTexts[i].key + "|" + (control ? "CONTROLS" : "ERRORS") +
                            "|1.0");
  }
}

TEST_F(TranslationTest, TranslatedTextsReplaceDefaultsOthersKeepThem) {
  catalog_->AddText("fr", kControls, "Common.Button.OK", "CONTROLS", "Valider");
  catalog_->AddText("fr", kErrors, "Common.Errors.MsgTitleWarning", "ERRORS", "ATTENTION");
  OnFreshThread([] {
    Globals().SessionLanguage = "fr-FR";
    translation::SetDefaultTexts();
    translation::LoadTranslations();
    EXPECT_EQ(translation::Text("Common.Button.OK"), "Valider");
    EXPECT_EQ(translation::Text("Common.Errors.MsgTitleWarning"), "ATTENTION");
    EXPECT_EQ(translation::Text("Common.Button.Cancel"), "Cancel");
    // The first base-language hit sends later lookups straight to "fr".
    EXPECT_EQ(Globals().SessionLanguage, "fr");
  });
}

TEST_F(TranslationTest, MissingCatalogKeepsDefaultsAndStillSucceeds) {
  ON_CALL(platform_, CreateObject(_)).WillByDefault([](const std::string&) -> Ref<Dispatch> {
    Raise(err::kCannotCreateObject);
  });
  OnFreshThread([] {
    Globals().SessionLanguage = "fr-FR";
    ASSERT_TRUE(translation::SetDefaultTexts());
    EXPECT_TRUE(translation::LoadTranslations());
    for (const Entry& e : kStartUpTexts) EXPECT_EQ(translation::Text(e.key), e.english) << e.key;
  });
}

TEST_F(TranslationTest, TemplateCaptionIsSetAndTranslatedOnItsOwn) {
  catalog_->AddText("it", kControls, "frmTemplates.Caption", "CONTROLS", "Scegli un modello");
  OnFreshThread([] {
    Globals().SessionLanguage = "it";
    ASSERT_TRUE(translation::SetTemplateCaption());
    EXPECT_EQ(translation::Text("frmTemplates.Caption"), "Select a template");
    EXPECT_EQ(translation::Text("Common.Button.OK"), "");
    ASSERT_TRUE(translation::TranslateTemplateCaption());
    EXPECT_EQ(translation::Text("frmTemplates.Caption"), "Scegli un modello");
  });
  EXPECT_THAT(
      catalog_->Calls(),
      ElementsAre("SetLanguage it",
                  std::string("HasText it|") + kControls + "|frmTemplates.Caption|CONTROLS|1.0",
                  std::string("GetText ") + kControls + "|frmTemplates.Caption|CONTROLS|1.0"));
}

TEST_F(TranslationTest, EachThreadKeepsItsOwnTexts) {
  catalog_->AddText("es", kControls, "Common.Button.Close", "CONTROLS", "Cerrar");
  OnFreshThread([] {
    Globals().SessionLanguage = "es";
    translation::SetDefaultTexts();
    translation::LoadTranslations();
    EXPECT_EQ(translation::Text("Common.Button.Close"), "Cerrar");
    OnFreshThread([] {
      EXPECT_EQ(translation::Text("Common.Button.Close"), "");
      EXPECT_EQ(Globals().SessionLanguage, "");
    });
  });
}

}  // namespace
}  // namespace vtx::testing

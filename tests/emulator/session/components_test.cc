#include <filesystem>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

#include "emulator/emulated_host.h"
#include "platform/platform.h"
#include "support/temp_folder.h"
#include "tests/emulator/session/host_test_support.h"

namespace vtx::emu {
namespace {

using testing::CollectionOf;
using testing::InsertParts;
using testing::TestModel;

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

class ComponentsTest : public ::testing::Test {
 protected:
  Ref<KvIntegrationEditor> Editor() {
    return CastTo<KvIntegrationStore>(
               session_->CreateHostComponent("KvIntegrationTool.KvIntegrationStore"))
        ->GetEditor();
  }

  EmulatedHost host_{":memory:", TestModel()};
  Ref<KvSession> session_ = host_.Session();
  ScopedPlatform platform_{&host_.GetPlatform()};
};

TEST_F(ComponentsTest, EditorAppliesValuesThenAnswersInOrder) {
  host_.AddAnswers(HostAnswers{
      {}, {EditorAnswer{false, {}}, EditorAnswer{true, {{"TITLE", "Edited"}, {"QTY", "7"}}}}, {}});
  Ref<KvObject> part = host_.ObjectStore()->CreateObject(100);
  Ref<KvObject> out;
  int16_t status = 9;
  EXPECT_FALSE(Editor()->EditObject(part, out, status));
  EXPECT_TRUE(part->GetValue("TITLE").IsEmpty());
  EXPECT_TRUE(Editor()->EditObject(part, out, status));
  EXPECT_EQ(part->GetValue("TITLE"), Variant("Edited"));
  EXPECT_EQ(part->GetValue("QTY"), Variant(int32_t{7}));  // converted by the attribute's type
  EXPECT_EQ(out.get(), part.get());
  EXPECT_EQ(status, 0);
  EXPECT_FALSE(host_.AnswerWasMissing());
}

TEST_F(ComponentsTest, EditorWithoutAnswerRaisesAndMarksTheRun) {
  Ref<KvObject> part = host_.ObjectStore()->CreateObject(100);
  Ref<KvObject> out;
  int16_t status = 0;
  try {
    Editor()->EditObject(part, out, status);
    ADD_FAILURE() << "EditObject returned without an answer";
  } catch (const RuntimeError& e) {
    EXPECT_NE(e.Description().find("integrationEditor"), std::string::npos) << e.Description();
  }
  EXPECT_TRUE(host_.AnswerWasMissing());
}

TEST_F(ComponentsTest, QuickReportWritesHtmlAndCsvAndReturnsTheCountAsI2) {
  InsertParts(host_, 2);
  host_.GetStore().Update(ObjectRef{100, 2}, {{"TITLE", "Nut, \"large\""}});
  Ref<KvObjects> objects = CollectionOf(host_, "Part", {2, 1, 2});
  Ref<Dispatch> report = Platform::Current().CreateObject("KvQuickReport.GenerateRpt");
  std::vector<Variant> args = {Variant(session_), Variant(objects)};
  Variant returned = report->CallMethod("GenerateReportByObjects", args);
  EXPECT_EQ(returned, Variant(int16_t{3}));
  EXPECT_EQ(args[0].AsObject().get(), session_.get());
  EXPECT_EQ(args[1].AsObject().get(), objects.get());

  StepRecordings seen = host_.TakeRecordings();
  ASSERT_EQ(seen.host.reports.size(), 1u);
  const ReportRecord& record = seen.host.reports[0];
  EXPECT_EQ(record.objects, (std::vector<ObjectRef>{{100, 2}, {100, 1}, {100, 2}}));
  EXPECT_EQ(record.returned, Variant(int16_t{3}));
  ASSERT_EQ(record.files.size(), 2u);
  EXPECT_EQ(record.files[0], "C:\\Korvel\\Reports\\Report_0001.html");
  EXPECT_EQ(record.files[1], "C:\\Korvel\\Reports\\Report_0001.csv");

  const std::string csv = ReadFile(record.host_files[1]);
  EXPECT_EQ(csv.substr(0, csv.find("\r\n")),
            "\"Section\",\"Class\",\"Object Id\",\"Key\",\"Time\",\"Created By\",\"PART_NUMBER\","
            "\"Title\",\"QTY\",\"Ledger\",\"Ledger Head\"")
      << csv;
  EXPECT_NE(csv.find("\"Part P-2\",\"Part\",\"2\",\"P-2\","), std::string::npos) << csv;
  EXPECT_NE(csv.find("\"Nut, \"\"large\"\"\""), std::string::npos) << csv;
  const std::string html = ReadFile(record.host_files[0]);
  EXPECT_NE(html.find("<h2>Part P-1</h2>"), std::string::npos) << html;
  EXPECT_NE(html.find("Nut, &quot;large&quot;"), std::string::npos) << html;
}

TEST_F(ComponentsTest, QuickReportRejectsWrongCalls) {
  Ref<Dispatch> report = Platform::Current().CreateObject("kvquickreport.generaterpt");
  struct Case {
    const char* method;
    std::vector<Variant> args;
    int32_t number;
  } cases[] = {
      {"GenerateReport", {Variant(session_), Variant(nullptr)}, err::kNotSupported},
      {"GenerateReportByObjects", {Variant(session_)}, 450},
      {"GenerateReportByObjects",
       {Variant(session_), Variant(nullptr)},
       err::kObjectVariableNotSet},
      {"GenerateReportByObjects", {Variant(session_), Variant("x")}, err::kTypeMismatch},
  };
  for (Case& c : cases) {
    try {
      report->CallMethod(c.method, c.args);
      ADD_FAILURE() << c.method << " with " << c.args.size() << " arguments succeeded";
    } catch (const RuntimeError& e) {
      EXPECT_EQ(e.Number(), c.number) << c.method << " with " << c.args.size() << " arguments";
    }
  }
  EXPECT_TRUE(host_.TakeRecordings().host.reports.empty());
}

TEST_F(ComponentsTest, ReportsCountUpAndGoToTheConfiguredFolder) {
  const std::filesystem::path folder = host_.Scripted().Paths().ToHost("D:\\Out");
  host_.SetReportFolder(folder);
  Ref<Dispatch> report = Platform::Current().CreateObject("KvQuickReport.GenerateRpt");
  for (int i = 0; i < 2; ++i) {
    std::vector<Variant> args = {Variant(session_), Variant(host_.ObjectStore()->CreateObjects())};
    EXPECT_EQ(report->CallMethod("GenerateReportByObjects", args), Variant(int16_t{0}));
  }
  HostRecordings seen = host_.TakeRecordings().host;
  ASSERT_EQ(seen.reports.size(), 2u);
  EXPECT_EQ(seen.reports[1].files[0], "D:\\Out\\Report_0002.html");
  EXPECT_TRUE(std::filesystem::exists(folder / "Report_0002.csv"));
}

class CatalogTest : public ComponentsTest {
 protected:
  void SetUp() override {
    Environment env = host_.GetEnvironment();
    env.catalog = std::vector<CatalogText>{
        {"fr", "orbent.solutions.NLS.Controls.VT9", "Common.Button.OK", "CONTROLS", "Valider"},
        {"fr-FR", "orbent.solutions.NLS.Controls.VT9", "Common.Button.Cancel", "CONTROLS",
         "Annuler"},
    };
    host_.SetEnvironment(env);
  }
  Ref<NlsCatalog> Catalog() {
    return CastTo<NlsCatalog>(Platform::Current().CreateObject("Orbent.NlsCatalog"));
  }
};

TEST_F(CatalogTest, HasTextOnlyForTheExactLanguage) {
  struct Case {
    const char* language;
    const char* key;
    bool expected;
  } cases[] = {
      {"fr", "Common.Button.OK", true},      {"fr-FR", "Common.Button.OK", false},
      {"FR", "Common.Button.OK", false},     {"fr-FR", "Common.Button.Cancel", true},
      {"fr", "Common.Button.Cancel", false}, {"fr", "common.button.ok", false},
      {"", "Common.Button.OK", false},
  };
  Ref<NlsCatalog> catalog = Catalog();
  for (const Case& c : cases)
    EXPECT_EQ(
        catalog->HasText(c.language, "orbent.solutions.NLS.Controls.VT9", c.key, "CONTROLS", "1.0"),
        c.expected)
        << c.language << " " << c.key;
  EXPECT_FALSE(catalog->HasText("fr", "orbent.solutions.NLS.Errors.VT9", "Common.Button.OK",
                                "CONTROLS", "1.0"));
}

TEST_F(CatalogTest, GetTextAnswersInTheLanguageLastSet) {
  Ref<NlsCatalog> catalog = Catalog();
  const std::string ns = "orbent.solutions.NLS.Controls.VT9";
  EXPECT_EQ(catalog->GetText(ns, "Common.Button.OK", "CONTROLS", "1.0"), "");
  catalog->SetLanguage("fr-FR");
  EXPECT_EQ(catalog->GetText(ns, "Common.Button.OK", "CONTROLS", "1.0"), "");
  catalog->SetLanguage("fr");
  EXPECT_EQ(catalog->GetText(ns, "Common.Button.OK", "CONTROLS", "2.7"), "Valider");

  std::vector<Variant> args = {Variant("fr-FR")};
  catalog->CallMethod("SetLanguage", args);
  std::vector<Variant> get = {Variant(ns), Variant("Common.Button.Cancel"), Variant("CONTROLS"),
                              Variant("1.0")};
  EXPECT_EQ(catalog->CallMethod("gettext", get), Variant("Annuler"));
}

TEST_F(CatalogTest, NotInstalledCatalogCannotBeCreated) {
  Environment env = host_.GetEnvironment();
  env.catalog.reset();
  host_.SetEnvironment(env);
  try {
    Catalog();
    ADD_FAILURE() << "the catalog was created";
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.Number(), err::kCannotCreateObject);
  }
}

TEST_F(CatalogTest, CreationAndCallsAreTracedAndCanFail) {
  host_.Monitor().SetTracing(true);
  Catalog()->HasText("fr", "n", "k", "a", "1.0");
  std::vector<TraceEntry> trace = host_.TakeRecordings().trace;
  ASSERT_EQ(trace.size(), 2u);
  EXPECT_EQ(trace[0].op, "CreateObject:Orbent.NlsCatalog");
  EXPECT_EQ(trace[1].op, "NlsCatalog.HasText");
  EXPECT_EQ(trace[1].args.back().value, Variant("1.0"));  // the version is recorded

  host_.Monitor().AddFault(Fault{"CreateObject:Orbent.NlsCatalog", 2, 429, "Not here", false});
  EXPECT_THROW(Catalog(), RuntimeError);
}

TEST_F(ComponentsTest, TwoHostsKeepTheirComponentsApart) {
  EmulatedHost other(":memory:", TestModel());
  Environment env = other.GetEnvironment();
  env.catalog.reset();
  other.SetEnvironment(env);
  {
    ScopedPlatform inner(&other.GetPlatform());
    EXPECT_THROW(Platform::Current().CreateObject("Orbent.NlsCatalog"), RuntimeError);
  }
  EXPECT_NO_THROW(Platform::Current().CreateObject("Orbent.NlsCatalog"));
  EXPECT_FALSE(ClassRegistry::Global().IsRegistered("Orbent.NlsCatalog"));
}

TEST_F(ComponentsTest, RecordListsAndRecordsComeEmpty) {
  Ref<KvRecordList> list =
      CastTo<KvRecordList>(Platform::Current().CreateObject("KvRecList.KvRecordList"));
  EXPECT_EQ(list->GetRecordCount(), 0);
  EXPECT_EQ(list->GetColumnCount(), 0);
  Ref<KvRecord> record = CastTo<KvRecord>(Platform::Current().CreateObject("KvRecList.KvRecord"));
  EXPECT_EQ(record->GetHeader()->GetCount(), 0);
}

TEST_F(ComponentsTest, NewIdentifierValuesNeverRepeatAndFollowTheFieldType) {
  Ref<KvSessionUtil> util =
      CastTo<KvSessionUtil>(session_->CreateHostComponent("KvUtil.KvSessionUtil"));
  Ref<KvClass> setting = session_->GetClasses()->ClassByName("Setting");
  struct Case {
    const char* attribute;
    const char* text;
    Variant expected;
  } cases[] = {
      {"CN_NAME", "", Variant("ID000001")},  {"CN_NAME", "SET", Variant("SET000002")},
      {"CN_SMALL", "", Variant(int16_t{3})}, {"CN_NUMBER", "", Variant(int32_t{4})},
      {"CN_REAL", "", Variant(5.0)},
  };
  for (const Case& c : cases)
    EXPECT_EQ(util->NewIdentifierValue(setting->AttributeByName(c.attribute, 0), c.text),
              c.expected)
        << c.attribute;
}

TEST(SessionUtilFileTest, CounterSurvivesReopeningTheDatabase) {
  const test::TempFolder folder("vtx_session_util_test");
  const std::filesystem::path& dir = folder.Path();
  const std::string db = (dir / "host.db").string();
  for (const char* expected : {"ID000001", "ID000002"}) {
    EmulatedHost host(db, TestModel());
    Ref<KvSessionUtil> util =
        CastTo<KvSessionUtil>(host.Session()->CreateHostComponent("KvUtil.KvSessionUtil"));
    EXPECT_EQ(util->NewIdentifierValue(nullptr, ""), Variant(expected));
    EXPECT_EQ(host.ReportFolder(), std::filesystem::absolute(dir / "host_reports"));
  }
}

}  // namespace
}  // namespace vtx::emu

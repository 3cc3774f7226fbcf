#include <gtest/gtest.h>

#include <sqlite3.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include <fmt/format.h>

#include "emulator/sql/database.h"
#include "emulator/sql/database_location.h"
#include "emulator/sql/database_open_error.h"
#include "emulator/store/store.h"
#include "store_fixture.h"
#include "support/case_name.h"
#include "support/temp_folder.h"

namespace vtx::emu {
namespace {

using nlohmann::ordered_json;
using testing::PlantModel;

struct BadModel {
  const char* name;
  const char* patch;  // JSON Patch applied to the plant model
  const char* error;  // what() of the ModelError
};
VTX_PRINT_CASE_BY_NAME(BadModel)

class ModelValidationTest : public ::testing::TestWithParam<BadModel> {};

TEST_P(ModelValidationTest, NamesTheOffendingEntry) {
  const BadModel& c = GetParam();
  const ordered_json model = PlantModel().patch(ordered_json::parse(c.patch));
  try {
    ParseModel(model);
    FAIL() << "accepted";
  } catch (const ModelError& e) {
    EXPECT_EQ(e.what(), std::string(c.error));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ModelValidationTest,
    ::testing::Values(
        BadModel{"UnknownSuper", R"([{"op":"replace","path":"/classes/1/super","value":999}])",
                 "classes[1].super: unknown class 999"},
        BadModel{"SuperNotTop", R"([{"op":"replace","path":"/classes/7/super","value":101}])",
                 "classes[7].super: class 101 is not a top class"},
        BadModel{"DuplicateId", R"([{"op":"replace","path":"/classes/3/id","value":100}])",
                 "classes[3].id: duplicate class id 100"},
        BadModel{"DuplicateName", R"([{"op":"replace","path":"/classes/3/name","value":"Part"}])",
                 "classes[3].name: duplicate class name Part"},
        BadModel{"DuplicateTableAnyCase",
                 R"([{"op":"replace","path":"/classes/3/table","value":"tn_parts"}])",
                 "classes[3].table: duplicate table tn_parts"},
        BadModel{"TableNotAName",
                 R"([{"op":"replace","path":"/classes/3/table","value":"X; DROP"}])",
                 "classes[3].table: 'X; DROP' is not a valid name"},
        BadModel{"ReservedTable",
                 R"([{"op":"replace","path":"/classes/3/table","value":"KV_OBJECTS"}])",
                 "classes[3].table: KV_OBJECTS is reserved for the host"},
        BadModel{"UnknownKind", R"([{"op":"replace","path":"/classes/3/kind","value":3}])",
                 "classes[3].kind: unknown kind 3"},
        BadModel{"UnknownClassKey", R"([{"op":"add","path":"/classes/0/colour","value":1}])",
                 "classes[0].colour: unknown key"},
        BadModel{"UnknownTopKey", R"([{"op":"add","path":"/extra","value":1}])",
                 "extra: unknown key"},
        BadModel{"UnknownAttributeKey",
                 R"([{"op":"add","path":"/classes/0/attributes/2/size","value":1}])",
                 "classes[0].attributes[2].size: unknown key"},
        BadModel{"UnknownType",
                 R"([{"op":"replace","path":"/classes/0/attributes/2/type","value":5}])",
                 "classes[0].attributes[2].type: unknown type 5"},
        BadModel{
            "AttributeRepeatsStandard",
            R"([{"op":"add","path":"/classes/1/attributes/-","value":{"name":"object_id","type":3}}])",
            "classes[1].attributes[1].name: attribute object_id is already defined"},
        BadModel{
            "AttributeRepeatsInherited",
            R"([{"op":"add","path":"/classes/1/attributes/-","value":{"name":"TITLE","type":1}}])",
            "classes[1].attributes[1].name: attribute TITLE is already defined"},
        BadModel{"UnknownLookup",
                 R"([{"op":"replace","path":"/classes/0/attributes/3/lookup","value":901}])",
                 "classes[0].attributes[3].lookup: unknown class 901"},
        BadModel{"UnknownIdentifier",
                 R"([{"op":"add","path":"/classes/0/identifiers/-","value":"COLOUR"}])",
                 "classes[0].identifiers[2]: unknown attribute COLOUR"},
        BadModel{"HierarchyLinkNotComposition",
                 R"([{"op":"replace","path":"/classes/0/hierarchyLink","value":250}])",
                 "classes[0].hierarchyLink: class 250 is not a composition link"},
        BadModel{"LinkWithoutEnds", R"([{"op":"remove","path":"/classes/4/ends"}])",
                 "classes[4]: missing key ends"},
        BadModel{"EndUnknown", R"([{"op":"replace","path":"/classes/4/ends/1","value":7}])",
                 "classes[4].ends[1]: unknown class 7"},
        BadModel{"EndsOnKeyedClass", R"([{"op":"add","path":"/classes/3/ends","value":[100,100]}])",
                 "classes[3].ends: only link classes (kind 6 or 7) have ends"},
        BadModel{"ItemsOnKeyedClass",
                 R"([{"op":"add","path":"/classes/3/items","value":[{"id":1,"text":"x"}]}])",
                 "classes[3].items: only lookup tables (kind 5 or 9) have items"},
        BadModel{"DuplicateItem", R"([{"op":"replace","path":"/classes/8/items/1/id","value":1}])",
                 "classes[8].items[1].id: duplicate item id 1"},
        BadModel{"SequenceOnUnknownAttribute",
                 R"([{"op":"add","path":"/classes/0/sequences/COLOUR","value":{"next":1}}])",
                 "classes[0].sequences.COLOUR: unknown attribute COLOUR"},
        BadModel{
            "SequenceBadFormat",
            R"([{"op":"replace","path":"/classes/0/sequences/PART_NUMBER/format","value":"PN-{:q}"}])",
            "classes[0].sequences.PART_NUMBER.format: invalid format: invalid type specifier"},
        BadModel{"DefaultDoesNotConvert",
                 R"([{"op":"replace","path":"/classes/0/defaults/STATE","value":"high"}])",
                 "classes[0].defaults.STATE: cannot be converted to type 10: Type mismatch"},
        BadModel{
            "TableColumnType",
            R"([{"op":"replace","path":"/tables/TDM_TITLES/columns/COL_NAME","value":"blob"}])",
            "tables.TDM_TITLES.columns.COL_NAME: unknown column type blob"},
        BadModel{"TableRowUnknownColumn",
                 R"([{"op":"add","path":"/tables/TDM_TITLES/rows/0/WIDTH","value":3}])",
                 "tables.TDM_TITLES.rows[0].WIDTH: unknown column"},
        BadModel{"TableNamedLikeClass",
                 R"([{"op":"add","path":"/tables/TN_PARTS","value":{"columns":{"A":"text"}}}])",
                 "tables.TN_PARTS: duplicate table TN_PARTS"},
        BadModel{"MaxQuerySizeNotPositive",
                 R"([{"op":"replace","path":"/host/maxQuerySize","value":0}])",
                 "host.maxQuerySize: 0 is out of range (1 to 9223372036854775807)"},
        BadModel{"ClassIdTooLarge", R"([{"op":"replace","path":"/classes/3/id","value":40000}])",
                 "classes[3].id: 40000 is out of range (1 to 32767)"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ModelTest, AttributesComeInTheFixedOrder) {
  const Model model = ParseModel(PlantModel());
  auto names = [&](int16_t id) {
    std::vector<std::string> out;
    for (const AttributeDef& a : model.ById(id)->attributes) out.push_back(a.name);
    return out;
  };
  const std::vector<std::string> assembly = names(101);
  EXPECT_EQ(std::vector<std::string>(assembly.begin(), assembly.begin() + 6),
            (std::vector<std::string>{"CLASS_ID", "OBJECT_ID", "KV_CREATED_AT", "KV_CREATED_BY",
                                      "PART_NUMBER", "REVISION"}));
  EXPECT_EQ(assembly.back(), "LEVEL");
  EXPECT_EQ(names(250), (std::vector<std::string>{"CLASS_ID", "OBJECT_ID", "CLASS_ID1",
                                                  "OBJECT_ID1", "CLASS_ID2", "OBJECT_ID2",
                                                  "KV_CREATED_AT", "KV_CREATED_BY"}));
  EXPECT_EQ(names(150),
            (std::vector<std::string>{"CLASS_ID", "OBJECT_ID", "PAR_OBJECT_ID", "SON_OBJECT_ID",
                                      "KV_CREATED_AT", "KV_CREATED_BY", "TDMX_ORDERING"}));
  const ClassDef& part = *model.ById(100);
  EXPECT_TRUE(part.attributes[2].excluded_from_history);
  EXPECT_TRUE(part.attributes[3].excluded_from_history);
}

TEST(ModelTest, SubclassesInheritIdentifiersAndHierarchyLinkUnlessTheyGiveTheirOwn) {
  ordered_json json = PlantModel();
  const Model inherited = ParseModel(json);
  EXPECT_EQ(inherited.ById(101)->identifiers,
            (std::vector<std::string>{"PART_NUMBER", "REVISION"}));
  EXPECT_EQ(inherited.ById(101)->hierarchy_link, 150);
  EXPECT_EQ(inherited.ById(200)->hierarchy_link, 0);

  json["classes"][1]["identifiers"] = {"LEVEL"};
  EXPECT_EQ(ParseModel(json).ById(101)->identifiers, (std::vector<std::string>{"LEVEL"}));
}

TEST(ModelTest, AnInvalidModelCreatesNothing) {
  const test::TempFolder folder("vtx_store_invalid_model");
  const auto path = folder / "invalid_model.db";
  ordered_json bad = PlantModel();
  bad["classes"][8]["super"] = 901;
  EXPECT_THROW(Store::Open(path.string(), bad), ModelError);
  EXPECT_FALSE(std::filesystem::exists(path));
}

TEST(ModelTest, AFileIsNeverReopenedUnderAnotherModel) {
  const test::TempFolder folder("vtx_store_other_model");
  const auto path = folder / "other_model.db";
  {
    auto store = Store::Open(path.string(), PlantModel());
    store->Insert("Part", {{"PART_NUMBER", Variant("1")}});
  }
  auto again = Store::Open(path.string(), PlantModel());
  EXPECT_EQ(again->Dump("Part").size(), 1u);
  ordered_json other = PlantModel();
  other["host"]["maxQuerySize"] = 41;
  EXPECT_THROW(Store::Open(path.string(), other), DatabaseOpenError);
  // Nor one whose registry does not hold the ends of links.
  sqlite3* older = nullptr;
  ASSERT_EQ(sqlite3_open(path.string().c_str(), &older), SQLITE_OK);
  sqlite3_exec(older, "DELETE FROM KV_META WHERE KEY = 'layout'", nullptr, nullptr, nullptr);
  sqlite3_close(older);
  try {
    Store::Open(path.string(), PlantModel());
    ADD_FAILURE() << "an older layout was opened";
  } catch (const DatabaseOpenError& e) {
    EXPECT_NE(std::string(e.what()).find("made by an older version"), std::string::npos);
  }
}

std::string FileBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// Only a database of this model is opened: anything else (a directory and a
// device too) is refused with its path and left byte for byte as it was, and
// only kCreate makes a file. Readers open while a writer holds the lock, and
// change nothing.
TEST(ModelTest, OpensOnlyItsOwnDatabases) {
  const test::TempFolder folder("vtx_store_open");
  const std::filesystem::path& dir = folder.Path();
  std::filesystem::create_directories(dir / "folder.db");
  const auto ours = dir / "ours.db";
  Store::Open(ours.string(), PlantModel());
  sqlite3* writer = nullptr;
  ASSERT_EQ(sqlite3_open(ours.string().c_str(), &writer), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(writer, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
  const std::string sql = "CREATE TABLE TN_STATES (X INTEGER)";
  const std::string our_bytes = FileBytes(ours);
  struct Case {
    const char* file;
    std::string bytes;  // "-": no file; "sql:" + statement: an SQLite file of its own
    OpenMode mode;
    bool opens;
  } cases[] = {
      {"missing.db", "-", OpenMode::kWrite, false},
      {"missing.db", "-", OpenMode::kRead, false},
      {"empty.db", "", OpenMode::kWrite, false},
      {"text.db", "not a database at all, but long enough to look like a header......",
       OpenMode::kCreate, false},
      {"foreign.db", "sql:" + sql, OpenMode::kCreate, false},
      {"foreign.db", "sql:" + sql, OpenMode::kRead, false},
      {"corrupt.db", our_bytes.substr(0, 1500) + std::string(2600, 'x'), OpenMode::kRead, false},
      {"ours.db", "", OpenMode::kRead, true},
      {"folder.db", "-", OpenMode::kCreate, false},
#ifndef _WIN32
      // A Windows path names no device file: "/dev/null" would be C:\dev\null.
      {"/dev/null", "-", OpenMode::kCreate, false},
#endif
  };
  for (const Case& c : cases) {
    const auto path = dir / c.file;
    if (c.bytes.rfind("sql:", 0) == 0) {
      std::filesystem::remove(path);
      sqlite3* db = nullptr;
      ASSERT_EQ(sqlite3_open(path.string().c_str(), &db), SQLITE_OK);
      ASSERT_EQ(sqlite3_exec(db, c.bytes.c_str() + 4, nullptr, nullptr, nullptr), SQLITE_OK);
      sqlite3_close(db);
    } else if (c.bytes != "-" && path != ours) {
      std::ofstream(path, std::ios::binary) << c.bytes;
    }
    const bool existed = std::filesystem::exists(path);
    const std::string before = std::filesystem::is_regular_file(path) ? FileBytes(path) : "";
    try {
      Store::Open(path.string(), PlantModel(), {}, nullptr, c.mode);
      EXPECT_TRUE(c.opens) << c.file;
    } catch (const DatabaseOpenError& e) {
      EXPECT_FALSE(c.opens) << c.file;
      EXPECT_NE(std::string(e.what()).find(path.string()), std::string::npos) << e.what();
    }
    EXPECT_EQ(std::filesystem::exists(path), existed) << c.file;
    if (std::filesystem::is_regular_file(path)) {
      EXPECT_EQ(FileBytes(path), before) << c.file;
    }
  }
  sqlite3_close(writer);
}

// A server database made before the store counted its changes learns to
// when opened for writing; opened for reading it is left as it was, and opens.
TEST(OlderDatabaseTest, LearnsToCountItsChangesWhenOpenedForWriting) {
  const char* cluster = std::getenv("VTX_TEST_PG_CLUSTER");
  if (!cluster) GTEST_SKIP() << "VTX_TEST_PG_CLUSTER is not set";
  const DatabaseLocation location(
      fmt::format("postgresql:///vtx_older_{}?host={}", ::getpid(), cluster));
  auto triggers = [](Store& store) {
    Statement s =
        store.Db().Prepare("SELECT count(*) FROM pg_trigger WHERE tgname = 'vtx_changed'");
    s.Step();
    return s.Int(0);
  };
  int64_t all = 0;
  {
    auto made = Store::Open(location, PlantModel());
    all = triggers(*made);
    EXPECT_GT(all, 1);
    made->Db().Exec("DROP TRIGGER vtx_changed ON tn_parts");
  }
  {
    auto reader = Store::Open(location, PlantModel(), {}, nullptr, OpenMode::kRead);
    EXPECT_EQ(triggers(*reader), all - 1);
  }
  auto writer = Store::Open(location, PlantModel(), {}, nullptr, OpenMode::kWrite);
  EXPECT_EQ(triggers(*writer), all);
}

}  // namespace
}  // namespace vtx::emu

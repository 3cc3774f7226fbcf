#include "cli/verify_command.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <sstream>

#include <fmt/format.h>
#include <nlohmann/json.hpp>

#include "cli/audit_database.h"
#include "cli/db_commands.h"
#include "cli/demo_command.h"
#include "cli/export_command.h"
#include "emulator/store/database.h"
#include "support/temp_folder.h"

namespace vtx::cli {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;

void Sql(const fs::path& db, const std::string& sql) {
  sqlite3* handle = nullptr;
  ASSERT_EQ(sqlite3_open(db.c_str(), &handle), SQLITE_OK);
  EXPECT_EQ(sqlite3_exec(handle, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK) << sql;
  sqlite3_close(handle);
}

// Each way of tampering with a copy of the demo's database is named by
// `vtx verify`, with the record concerned; the host's own deletion is not.
TEST(VerifyCommandTest, NamesEveryTampering) {
  const test::TempFolder folder("vtx_verify");
  const fs::path& dir = folder.Path();
  std::ostringstream out, err;
  ASSERT_EQ(DemoCommand((dir / "demo.db").string(), out, err), 0) << err.str();
  // The first record about PN-00100 A (object 100).
  int32_t record = 0;
  {
    auto store = OpenAuditDatabase((dir / "demo.db").string());
    emu::Statement s = store->Db().Prepare(
        "SELECT MIN(OBJECT_ID) FROM TN_ELECTRONIC_RECORD WHERE CN_OBJECT_ID = 100");
    ASSERT_TRUE(s.Step());
    record = static_cast<int32_t>(s.Int(0));
  }
  const std::string swap = fmt::format(
      "UPDATE KV_LEDGER SET SEQ = -SEQ WHERE SEQ IN (2, 3);"
      "UPDATE KV_LEDGER SET SEQ = 5 + SEQ WHERE SEQ < 0;");
  struct Case {
    const char* name;
    std::string sql;
    std::function<void(emu::Store&)> host;
    int exit;
    std::string says;
  } cases[] = {
      {"untouched", "", nullptr, 0, "0 problems: the audit trail holds"},
      {"host deletes a record", "",
       [&](emu::Store& s) {
         s.Delete({410, record});
       },
       0, "0 problems"},
      {"host updates a record", "",
       [&](emu::Store& s) {
         EXPECT_THROW(s.Update({410, record}, {{"CN_DESCRIPTION", "x"}}), RuntimeError);
       },
       0, "0 problems"},
      {"description changed",
       fmt::format("UPDATE TN_ELECTRONIC_RECORD SET CN_DESCRIPTION = 'x' WHERE OBJECT_ID = {}",
                   record),
       nullptr, 1, fmt::format("record {} was altered", record)},
      {"record row deleted",
       fmt::format("DELETE FROM TN_ELECTRONIC_RECORD WHERE OBJECT_ID = {}", record), nullptr, 1,
       fmt::format("record {} was removed without a ledger entry", record)},
      {"ledger row deleted", "DELETE FROM KV_LEDGER WHERE SEQ = 2", nullptr, 1,
       "ledger entries #2 to #2 are missing"},
      {"two entries swapped", swap, nullptr, 1, "chain broken at entry #2"},
      {"link deleted",
       fmt::format("DELETE FROM TN_PART_HISTORY WHERE {} IN (OBJECT_ID1, OBJECT_ID2)", record),
       nullptr, 1, fmt::format("record {} is not linked to object 100", record)},
      {"record written around the host",
       "INSERT INTO TN_ELECTRONIC_RECORD (OBJECT_ID, CLASS_ID) VALUES (99999, 410)", nullptr, 1,
       "record 99999 has no ledger entry"},
  };
  for (const Case& c : cases) {
    const fs::path copy = dir / (std::string(c.name) + ".db");
    fs::copy_file(dir / "demo.db", copy);
    if (!c.sql.empty()) Sql(copy, c.sql);
    if (c.host) c.host(*OpenAuditDatabase(copy.string(), emu::OpenMode::kWrite));
    out.str("");
    EXPECT_EQ(VerifyCommand(copy.string(), out, err), c.exit) << c.name << "\n" << out.str();
    EXPECT_THAT(out.str(), HasSubstr(c.says)) << c.name;
  }

  // The object's trail with its hashes: the four records about PN-00100 A.
  out.str("");
  ASSERT_EQ(ExportCommand((dir / "demo.db").string(), "json", {{"Part", "PN-00100 A"}}, out, err),
            0);
  const nlohmann::json trail = nlohmann::json::parse(out.str());
  ASSERT_EQ(trail.size(), 4u) << trail.dump(1);
  EXPECT_EQ(trail[0]["Hash"].get<std::string>().size(), 64u);
  EXPECT_EQ(trail[0]["Values"]["Operation"], "Update");
  EXPECT_EQ(VerifyCommand((dir / "none.db").string(), out, err), 2);
}

// The CSV is for a spreadsheet: a value that would be a formula is written
// behind an apostrophe, the JSON keeps it as stored.
TEST(ExportCommandTest, CsvNeverHoldsAFormulaJsonKeepsTheValue) {
  const test::TempFolder folder("vtx_export");
  const std::string db = (folder / "demo.db").string();
  std::ostringstream out, err;
  ASSERT_EQ(InitCommand({db, "", "jdoe"}, false, out, err), 0) << err.str();
  ASSERT_EQ(HookCommand({db, "", "jdoe"}, "=1+1", "Part", "#101", {}, out, err), 0) << err.str();
  out.str("");
  ASSERT_EQ(ExportCommand(db, "csv", {{"Part", "#101"}}, out, err), 0) << err.str();
  EXPECT_THAT(out.str(), HasSubstr(",\"'=1+1\","));
  EXPECT_THAT(out.str(), ::testing::Not(HasSubstr(",\"=1+1\",")));
  out.str("");
  ASSERT_EQ(ExportCommand(db, "json", {{"Part", "#101"}}, out, err), 0) << err.str();
  EXPECT_EQ(nlohmann::json::parse(out.str()).back()["Values"]["Operation"], "=1+1");
}

}  // namespace
}  // namespace vtx::cli

#include "cli/verify_command.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <openssl/evp.h>
#include <openssl/pem.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <fmt/format.h>
#include <fmt/ranges.h>
#include <nlohmann/json.hpp>

#include "cli/checkpoint_command.h"
#include "cli/db_commands.h"
#include "cli/demo_command.h"
#include "cli/export_command.h"
#include "emulator/store/ledger_anchor.h"
#include "support/temp_folder.h"

namespace vtx::cli {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;

// An Ed25519 key pair in PEM files.
void WriteKeys(const fs::path& private_file, const fs::path& public_file) {
  EVP_PKEY* key = EVP_PKEY_Q_keygen(nullptr, nullptr, "ED25519");
  ASSERT_NE(key, nullptr);
  FILE* out = std::fopen(private_file.c_str(), "w");
  PEM_write_PrivateKey(out, key, nullptr, nullptr, 0, nullptr, nullptr);
  std::fclose(out);
  out = std::fopen(public_file.c_str(), "w");
  PEM_write_PUBKEY(out, key);
  std::fclose(out);
  EVP_PKEY_free(key);
}

std::string Read(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// Anchors come from checkpoint files (signed or not), SEQ:HASH heads and the
// report files `vtx report` writes; an anchor that cannot be read, or one
// before --since, is a wrong invocation.
TEST(VerifyCommandTest, ReadsAnchorsFromEverySource) {
  const test::TempFolder folder("vtx_verify");
  const fs::path& dir = folder.Path();
  const std::string db = (dir / "demo.db").string();
  std::ostringstream out, err;
  ASSERT_EQ(DemoCommand(db, out, err), 0) << err.str();
  WriteKeys(dir / "key.pem", dir / "key.pub");
  WriteKeys(dir / "other.pem", dir / "other.pub");
  const std::string signed_file = (dir / "signed").string(), plain = (dir / "plain").string();
  ASSERT_EQ(CheckpointCommand(db, signed_file, (dir / "key.pem").string(), out, err), 0)
      << err.str();
  ASSERT_EQ(CheckpointCommand(db, plain, "", out, err), 0);
  const std::string line = Read(signed_file);
  std::string forged = line;
  std::ofstream(dir / "forged") << forged.replace(forged.find("entry="), 6, "entry=1");
  const auto anchor = emu::ParseHeadText(line.substr(line.find("entry=")), "");
  ASSERT_TRUE(anchor) << line;
  const std::string head = fmt::format("{}:{}", anchor->seq, anchor->hash);
  const std::string other = (dir / "other.db").string();
  ASSERT_EQ(InitCommand({other, "", "", emu::OpenMode::kCreate}, false, out, err), 0);
  const DatabaseOptions options{db, "", "jdoe", emu::OpenMode::kRead};
  out.str("");
  ASSERT_EQ(ReportCommand(options, "Part", {"PN-00100 A"}, out, err), 0) << err.str();
  EXPECT_THAT(Read(dir / "demo_reports" / "Report_0001.html"), HasSubstr("entry #"));
  ASSERT_EQ(HookCommand({db, "", "jdoe", emu::OpenMode::kWrite}, "CHECKIN", "Part", "PN-00100 A",
                        {}, out, err),
            0);

  struct Case {
    VerifyRequest request;
    int status;
    const char* says;
  } cases[] = {
      {{db, {signed_file}, "", (dir / "key.pub").string()}, 0, "still reaches the anchor"},
      {{db, {signed_file}, "", ""}, 0, "Signatures of the checkpoints not checked"},
      {{db, {signed_file}, "", (dir / "other.pub").string()}, 1, "the signature does not verify"},
      {{db, {(dir / "forged").string()}, "", (dir / "key.pub").string()},
       1,
       "the signature does not verify"},
      {{db, {plain}, "", (dir / "key.pub").string()}, 1, "not signed"},
      {{db, {head}, "", ""}, 0, "the audit trail holds"},
      {{other, {signed_file}, "", ""}, 1, "another database: it was taken of database"},
      {{db, {(dir / "demo_reports" / "Report_0001.html").string()}, "", ""}, 0, "holds"},
      {{db, {(dir / "demo_reports" / "Report_0001.csv").string()}, "", ""}, 0, "holds"},
      {{db, {}, signed_file, ""}, 0, "2 ledger entries after entry #"},
      {{db, {"1:" + std::string(64, 'f')}, signed_file, ""}, 2, "comes before --since"},
      {{db, {(dir / "nothing").string()}, "", ""}, 2, "neither SEQ:HASH nor a file"},
      {{db, {(dir / "key.pub").string()}, "", ""}, 2, "holds no head of the ledger"},
      {{(dir / "none.db").string(), {}, "", ""}, 2, "no such database"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(fmt::format("{} {} {}", fmt::join(c.request.against, " "), c.request.since,
                             c.request.pubkey));
    out.str("");
    err.str("");
    EXPECT_EQ(VerifyCommand(c.request, out, err), c.status) << out.str() << err.str();
    EXPECT_THAT(out.str() + err.str(), HasSubstr(c.says));
  }

  // The object's trail with its hashes: the five records about PN-00100 A.
  out.str("");
  ASSERT_EQ(ExportCommand(db, "json", {{"Part", "PN-00100 A"}}, out, err), 0);
  const nlohmann::json trail = nlohmann::json::parse(out.str());
  ASSERT_EQ(trail.size(), 5u) << trail.dump(1);
  EXPECT_EQ(trail[0]["Hash"].get<std::string>().size(), 64u);
  EXPECT_EQ(trail[0]["Values"]["Operation"], "Update");
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

// A record about a link names the link: only its links to the link's ends
// put it in their trails.
TEST(ExportCommandTest, AnObjectsTrailHoldsTheRecordsOfItsLinks) {
  const test::TempFolder folder("vtx_export_link");
  const std::string db = (folder / "demo.db").string();
  std::ostringstream out, err;
  ASSERT_EQ(InitCommand({db, "", "jdoe"}, false, out, err), 0) << err.str();
  ASSERT_EQ(HookCommand({db, "", "jdoe"}, "UPDATE", "Part_Tree", "#300", {"QUANTITY=2"}, out, err),
            0)
      << err.str();
  for (const char* end : {"PN-00100 A", "PN-00101 A"}) {
    out.str("");
    ASSERT_EQ(ExportCommand(db, "json", {{"Part", end}}, out, err), 0) << err.str();
    const nlohmann::json trail = nlohmann::json::parse(out.str());
    ASSERT_EQ(trail.size(), 1u) << end;
    EXPECT_EQ(trail[0]["Values"]["Object Id"], "300") << end;
  }
}

}  // namespace
}  // namespace vtx::cli

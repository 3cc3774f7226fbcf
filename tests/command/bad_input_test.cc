// The built vtx given input it must refuse: each case ends with its exit
// status (never a signal), says why, prints no password, and leaves every
// database and input file as it was.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "support/temp_folder.h"

namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;
using ::testing::Not;

std::string Read(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// Runs vtx in `dir` (through the shell, so `$(printf ...)` makes bytes) as a
// logon name no user has (`args` may send output elsewhere); returns the exit status (128 + N for
// signal N) and what it wrote to standard output and error.
std::pair<int, std::string> Vtx(const fs::path& dir, const std::string& args) {
  const std::string line =
      "cd '" + dir.string() + "' && USER=nobody-here >out.txt 2>err.txt '" + VTX_BINARY "' " + args;
  const int raw = std::system(line.c_str());
  const int status = WIFSIGNALED(raw) ? 128 + WTERMSIG(raw) : WEXITSTATUS(raw);
  return {status, Read(dir / "out.txt") + Read(dir / "err.txt")};
}

struct BadInput {
  const char* args;
  int status;
  const char* message;
  // false: the add-in drew a number (an identifier, a sequence) before the
  // store refused what it wrote; like a database's sequence, that stays.
  bool unchanged = true;
};

constexpr const char* kDamaged = "the model stored in the database is damaged";

TEST(BadInputTest, EndsWithItsStatusAMessageAndTheDatabaseUntouched) {
  const vtx::test::TempFolder folder("vtx_bad_input_test");
  const fs::path& dir = folder.Path();
  std::ofstream(dir / "deep.json") << std::string(100000, '[') << std::string(100000, ']');
  std::ofstream(dir / "twice.json") << R"({"model": "builtin:demo", "steps": [], "steps": []})";
  std::ofstream(dir / "huge.json")
      << R"({"model": "builtin:demo", "steps": [{"call": "clsUtils.Null2Zero", "args": {"x": 1e400}}]})";
  std::ofstream(dir / "ok.json") << R"({"model": "builtin:demo"})";
  std::ofstream(dir / "cut.json") << R"({"model": )";
  std::ofstream(dir / "notes.db") << "not a database of ours";
  fs::create_directory(dir / "folder.db");
  ASSERT_EQ(Vtx(dir, "init --db d.db").first, 0);
  // A copy whose stored model no longer reads as one.
  std::string damaged = Read(dir / "d.db");
  const size_t classes = damaged.find("{\"classes\"");
  ASSERT_NE(classes, std::string::npos);
  damaged[classes + 2] = 'k';
  std::ofstream(dir / "broken.db", std::ios::binary) << damaged;
  std::map<std::string, std::string> before;
  for (const char* file : {"d.db", "broken.db", "notes.db", "ok.json"})
    before[file] = Read(dir / file);

  const BadInput cases[] = {
      // Objects, classes and users the database does not hold.
      {"hook CHECKIN Part '#99999999999999999999' --db d.db --user jdoe", 2,
       "#99999999999999999999"},
      {"hook CHECKIN Part 'PN-NONE' --db d.db --user jdoe", 2, "no stored object Part"},
      {"hook CHECKIN Nothing x --db d.db --user jdoe", 2, "unknown class \"Nothing\""},
      {"hook CHECKIN Part '#101' --db d.db --user nosuch", 2, "--user \"nosuch\""},
      {"hook CHECKIN Part '#101' --db d.db", 2, "\"nobody-here\" is no User's LOGIN"},
      {"history Part '#101' --db d.db --user nosuch", 2, "stored: jdoe, msmith"},
      {"settings get NoSuch Setting --db d.db --user jdoe", 1, ""},
      // Empty names and arguments that are no text: never taken for a default.
      {"hook CHECKIN Part '' --db d.db --user jdoe", 2, "KEY: must not be empty"},
      {"hook CHECKIN '' '#101' --db d.db --user jdoe", 2, "CLASS: must not be empty"},
      {"hook CHECKIN Part '#101' --db d.db --user ''", 2, "--user: must not be empty"},
      {"init --db ''", 2, "--db: must not be empty"},
      {"hook \"$(printf 'CHECK\\377')\" Part '#101' --db d.db --user jdoe", 2,
       "argument 2 is not valid UTF-8"},
      // Arguments a command cannot use.
      {"settings get S T --db d.db --user-id 99999999999 --user jdoe", 2, "--user-id"},
      {"settings set S T --db d.db --user jdoe", 2, "usage: vtx settings set"},
      {"hook CHECKIN --db d.db", 2, "CLASS is required"},
      {"run ok.json --fault-loop --sample -5", 2, "--sample"},
      {"run ok.json --fault-loop --sample 0", 2, "--sample"},
      {"hook UPDATE Part '#101' --db d.db --user jdoe", 2, "an UPDATE needs the values"},
      {"hook UPDATE Part '#101' --set NOPE=1 --db d.db --user jdoe", 2, "no attribute NOPE"},
      {"hook UPDATE Part '#101' --set QUANTITY=many --db d.db --user jdoe", 2, "Type mismatch"},
      {"hook CHECKIN Part '#101' --set TITLE=x --db d.db --user jdoe", 2, "only an UPDATE"},
      // Scenario files and transcripts.
      {"run deep.json", 2, "nested deeper than 512 levels"},
      {"init --db d.db --model deep.json", 2, "nested deeper than 512 levels"},
      {"run twice.json", 2, "twice.json: steps: duplicate key"},
      {"run huge.json", 2, "steps[0].args.x: number out of range"},
      {"run ok.json --out /dev/full", 1, "cannot write the transcript"},
      {"--help >/dev/full", 1, "cannot write to standard output"},
      {"run missing.json", 2, "missing.json: cannot open the file"},
      {"run cut.json", 2, "cut.json: not valid JSON"},
      {"run ok.json --out ok.json", 2, "--out ok.json: that is an input of the run"},
      {"run ok.json --db d.db --out d.db", 2, "--out d.db: that is an input of the run"},
      // Databases that are missing, not ours, no file, or hold a damaged model:
      // every command says so alike.
      {"hook CHECKIN Part '#101' --db none.db --user jdoe", 2, "none.db"},
      {"history Part '#101' --db none.db --user jdoe", 2, "none.db"},
      {"hook CHECKIN Part '#101' --db notes.db --user jdoe", 2, "notes.db"},
      {"hook CHECKIN Part '#101' --db folder.db --user jdoe", 2, "folder.db: a directory"},
      {"history Part '#101' --db /dev/null --user jdoe", 2, "/dev/null: a device"},
      {"hook CHECKIN Part '#101' --db broken.db --user jdoe", 2, kDamaged},
      {"history Part '#101' --db broken.db --user jdoe", 2, kDamaged},
      {"report Part '#101' --db broken.db --user jdoe", 2, kDamaged},
      {"delete-history Part '#101' --db broken.db --user jdoe", 2, kDamaged},
      {"settings get S T --db broken.db --user jdoe", 2, kDamaged},
      {"verify --db broken.db", 2, kDamaged},
      {"export --db broken.db", 2, kDamaged},
      {"check-model --db broken.db", 2, kDamaged},
      {"init --db broken.db", 2, kDamaged},
      {"run ok.json --db broken.db", 2, kDamaged},
      // Texts longer than their attribute: the store refuses them as a
      // database would, a host failure.
      {"hook \"$(printf '%0100000d' 0)\" Part '#101' --db d.db --user jdoe", 1,
       "is 100000 characters long; the attribute holds 40"},
      {"settings set S T \"$(printf '%0300d' 0)\" --db d.db --user jdoe", 1, "= false", false},
      {"settings long S T --text \"$(printf '%0100000d' 0)\" --db d.db --user jdoe", 1,
       "is 100000 characters long; the attribute holds 32000", false},
      // Passwords, whatever fails.
      {"verify --db 'postgresql://u:Secret@/x?host=/nowhere&password=Secret'", 1,
       "postgresql://u@/x?host=/nowhere"},
      {"verify --db d.db 'postgresql://u:Secret@/x?password=Secret'", 2, "postgresql://u@/x"},
      {"check-model --db 'postgresql://u:Secret@/x?host=/nowhere&password=Secret'", 2,
       "postgresql://u@/x?host=/nowhere"},
      {"hook CHECKIN Part '#1' --db 'postgresql://u:Sec%zzret@/x' --user jdoe", 2,
       "not a valid PostgreSQL connection URI"},
  };
  for (const BadInput& c : cases) {
    SCOPED_TRACE(c.args);
    const auto [status, said] = Vtx(dir, c.args);
    EXPECT_EQ(status, c.status) << said;
    EXPECT_THAT(said, HasSubstr(c.message));
    EXPECT_THAT(said, Not(HasSubstr("Secret")));
    EXPECT_THAT(said, Not(HasSubstr("Sec%zzret")));
    for (auto& [file, bytes] : before) {
      EXPECT_TRUE(!c.unchanged || Read(dir / file) == bytes) << file;
      bytes = Read(dir / file);
    }
  }
  EXPECT_FALSE(fs::exists(dir / "none.db"));
}

}  // namespace

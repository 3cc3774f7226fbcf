// The built vtx given input it must refuse: each case ends with its exit
// status (never a signal), says why, and leaves the database as it was.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

namespace fs = std::filesystem;

std::string Read(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// Runs vtx in `dir` as a logon name no user has; returns the exit status
// (128 + N for signal N) and what it wrote to standard error.
std::pair<int, std::string> Vtx(const fs::path& dir, const std::string& args) {
  const std::string line = "cd '" + dir.string() + "' && USER=nobody-here '" VTX_BINARY "' " +
                           args + " >out.txt 2>err.txt";
  const int raw = std::system(line.c_str());
  const int status = WIFSIGNALED(raw) ? 128 + WTERMSIG(raw) : WEXITSTATUS(raw);
  return {status, Read(dir / "err.txt")};
}

struct BadInput {
  const char* args;
  int status;
  const char* message;
};

TEST(BadInputTest, EndsWithItsStatusAMessageAndTheDatabaseUntouched) {
  const fs::path dir =
      fs::temp_directory_path() / ("vtx_bad_input_test_" + std::to_string(getpid()));
  fs::remove_all(dir);
  fs::create_directories(dir);
  std::ofstream(dir / "deep.json") << std::string(100000, '[') << std::string(100000, ']');
  std::ofstream(dir / "twice.json") << R"({"model": "builtin:demo", "steps": [], "steps": []})";
  std::ofstream(dir / "huge.json")
      << R"({"model": "builtin:demo", "steps": [{"call": "clsUtils.Null2Zero", "args": {"x": 1e400}}]})";
  std::ofstream(dir / "ok.json") << R"({"model": "builtin:demo"})";
  std::ofstream(dir / "cut.json") << R"({"model": )";
  std::ofstream(dir / "notes.db") << "not a database of ours";
  ASSERT_EQ(Vtx(dir, "init --db d.db").first, 0);
  const std::string before = Read(dir / "d.db");

  const BadInput cases[] = {
      {"hook CHECKIN Part '#99999999999999999999' --db d.db --user jdoe", 2,
       "#99999999999999999999"},
      {"hook CHECKIN Part 'PN-NONE' --db d.db --user jdoe", 2, "no stored object Part"},
      {"hook CHECKIN Nothing x --db d.db --user jdoe", 2, "unknown class \"Nothing\""},
      {"hook CHECKIN Part '#101' --db d.db --user nosuch", 2, "--user \"nosuch\""},
      {"hook CHECKIN Part '#101' --db d.db", 2, "\"nobody-here\" is no User's LOGIN"},
      {"history Part '#101' --db d.db --user nosuch", 2, "stored: jdoe, msmith"},
      {"settings get S T --db d.db --user-id 99999999999 --user jdoe", 2, "--user-id"},
      {"settings set S T --db d.db --user jdoe", 2, "usage: vtx settings set"},
      {"settings get NoSuch Setting --db d.db --user jdoe", 1, ""},
      {"hook CHECKIN --db d.db", 2, "CLASS is required"},
      {"run deep.json", 2, "nested deeper than 512 levels"},
      {"init --db d.db --model deep.json", 2, "nested deeper than 512 levels"},
      {"run twice.json", 2, "twice.json: steps: duplicate key"},
      {"run huge.json", 2, "steps[0].args.x: number out of range"},
      {"run ok.json --out /dev/full", 1, "cannot write the transcript"},
      {"run missing.json", 2, "missing.json: cannot open the file"},
      {"run cut.json", 2, "cut.json: not valid JSON"},
      {"hook CHECKIN Part '#101' --db none.db --user jdoe", 2, "none.db"},
      {"history Part '#101' --db none.db --user jdoe", 2, "none.db"},
      {"hook CHECKIN Part '#101' --db notes.db --user jdoe", 2, "notes.db"},
  };
  for (const BadInput& c : cases) {
    SCOPED_TRACE(c.args);
    const auto [status, err] = Vtx(dir, c.args);
    EXPECT_EQ(status, c.status) << err;
    EXPECT_THAT(err, ::testing::HasSubstr(c.message));
    EXPECT_EQ(Read(dir / "d.db"), before);
  }
  EXPECT_FALSE(fs::exists(dir / "none.db"));
  EXPECT_EQ(Read(dir / "notes.db"), "not a database of ours");
  fs::remove_all(dir);
}

}  // namespace

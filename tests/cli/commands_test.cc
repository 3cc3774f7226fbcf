#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "cli/db_commands.h"
#include "cli/demo_command.h"
#include "cli/demo_model.h"
#include "cli/json_path.h"

namespace vtx::cli {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;
using ::testing::Not;

class DatabaseCommandsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("vtx_commands_test_" +
            std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    options_.database = (dir_ / "demo.db").string();
    options_.user = "jdoe";
  }
  void TearDown() override { fs::remove_all(dir_); }

  fs::path dir_;
  DatabaseOptions options_;
  std::ostringstream out_;
  std::ostringstream err_;
};

TEST_F(DatabaseCommandsTest, AWorkingDayOnOwnDatabase) {
  ASSERT_EQ(InitCommand(options_, false, out_, err_), 0) << err_.str();
  EXPECT_THAT(out_.str(), HasSubstr("Created"));
  ASSERT_EQ(InitCommand(options_, false, out_, err_), 0) << err_.str();
  EXPECT_THAT(out_.str(), HasSubstr("Reused"));

  ASSERT_EQ(HookCommand(options_, "CHECKOUT", "Part", "PN-00101 A", out_, err_), 0) << err_.str();
  ASSERT_EQ(HookCommand(options_, "CHECKIN", "Part", "#101", out_, err_), 0) << err_.str();
  out_.str("");
  ASSERT_EQ(HistoryCommand(options_, "Part", "PN-00101 A", out_, err_), 0) << err_.str();
  EXPECT_THAT(out_.str(), HasSubstr("History of object PN-00101"));
  EXPECT_THAT(out_.str(), HasSubstr("Checkout"));
  EXPECT_THAT(out_.str(), HasSubstr("Doe, Jane"));

  out_.str("");
  ASSERT_EQ(ReportCommand(options_, "Part", {"PN-00101 A", "PN-00100 A"}, out_, err_), 0);
  EXPECT_THAT(out_.str(), HasSubstr(".html"));
  EXPECT_THAT(out_.str(), HasSubstr(".csv"));

  out_.str("");
  ASSERT_EQ(DeleteHistoryCommand(options_, "Part", "PN-00101 A", out_, err_), 0);
  EXPECT_THAT(out_.str(), HasSubstr("2 object(s) were deleted"));
  out_.str("");
  ASSERT_EQ(HistoryCommand(options_, "Part", "PN-00101 A", out_, err_), 0);
  EXPECT_THAT(out_.str(), HasSubstr("No History on this object"));
}

TEST_F(DatabaseCommandsTest, UnknownObjectOrDatabaseOfAnotherModelFails) {
  ASSERT_EQ(InitCommand(options_, true, out_, err_), 0) << err_.str();
  EXPECT_EQ(HookCommand(options_, "CHECKIN", "Part", "nothing here", out_, err_), 1);
  EXPECT_THAT(err_.str(), HasSubstr("no stored object Part \"nothing here\""));

  fs::path other_model = dir_ / "other.json";
  std::ofstream(other_model) << R"({"classes": [{"id": 1, "name": "A", "table": "TN_A",
                                    "super": 1, "kind": 1}]})";
  options_.model_file = other_model.string();
  err_.str("");
  EXPECT_EQ(HistoryCommand(options_, "A", "#1", out_, err_), 1);
  EXPECT_THAT(err_.str(), Not(::testing::IsEmpty()));
}

TEST_F(DatabaseCommandsTest, DemoRunsInMemoryAndAgainOnItsDatabase) {
  ASSERT_EQ(DemoCommand("", out_, err_), 0) << err_.str();
  std::string text = out_.str();
  EXPECT_THAT(text, HasSubstr("Update object: 'PN-00100 A' of class: 'Part'"));
  EXPECT_THAT(text, HasSubstr("No History on this object"));
  EXPECT_THAT(text, HasSubstr("Audit trail of Part PN-00100 A"));
  EXPECT_THAT(text, HasSubstr("Report file: "));

  out_.str("");
  ASSERT_EQ(DemoCommand(options_.database, out_, err_), 0) << err_.str();
  EXPECT_THAT(out_.str(), HasSubstr("(new)"));
  out_.str("");
  ASSERT_EQ(DemoCommand(options_.database, out_, err_), 0) << err_.str();
  EXPECT_THAT(out_.str(), HasSubstr("(reused)"));
}

TEST(DemoModelTest, IsTheModelScenariosNameAsBuiltin) {
  Json model = Json::parse(DemoModelJson());
  std::vector<std::string> names;
  for (const auto& c : model["classes"]) names.push_back(c["name"]);
  for (const char* required : {"History", "Electronic Record", "Part_History", "User",
                               "Admin Setting", "User Setting", "Settings Folder", "Admin"}) {
    EXPECT_THAT(names, ::testing::Contains(required));
  }
  EXPECT_TRUE(model["tables"].contains("TDM_TITLES"));
}

}  // namespace
}  // namespace vtx::cli

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <sstream>
#include <string>

#include "cli/db_commands.h"
#include "cli/demo_command.h"
#include "cli/exit_status.h"
#include "cli/scenario/demo_model.h"
#include "cli/scenario/json_path.h"
#include "cli/settings_commands.h"
#include "support/temp_folder.h"

namespace vtx::cli {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;
using ::testing::Not;

class DatabaseCommandsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    options_.database = (dir_ / "demo.db").string();
    options_.user = "jdoe";
  }
  const test::TempFolder folder_{"vtx_commands_test"};
  const fs::path dir_ = folder_.Path();
  DatabaseOptions options_;
  std::ostringstream out_;
  std::ostringstream err_;
};

TEST_F(DatabaseCommandsTest, AWorkingDayOnOwnDatabase) {
  ASSERT_EQ(InitCommand(options_, false, out_, err_), 0) << err_.str();
  EXPECT_THAT(out_.str(), HasSubstr("Created"));
  ASSERT_EQ(InitCommand(options_, false, out_, err_), 0) << err_.str();
  EXPECT_THAT(out_.str(), HasSubstr("Reused"));

  ASSERT_EQ(HookCommand(options_, "CHECKOUT", "Part", "PN-00101 A", {}, out_, err_), 0)
      << err_.str();
  ASSERT_EQ(HookCommand(options_, "CHECKIN", "Part", "#101", {}, out_, err_), 0) << err_.str();
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

TEST_F(DatabaseCommandsTest, SettingsAreWrittenReadAndSearchedOnTheDemoData) {
  ASSERT_EQ(InitCommand(options_, false, out_, err_), 0) << err_.str();
  auto settings = [&](const std::string& action, std::vector<std::string> args) {
    out_.str("");
    return SettingsCommand(options_, MakeSettingsRequest(action, std::move(args)), out_, err_);
  };
  // A new setting is created from the values' columns, an existing one
  // rewritten through its subject's column: both must read back.
  ASSERT_EQ(settings("set", {"Viewer", "Colors", "red", "blue"}), 0) << err_.str();
  ASSERT_EQ(settings("get", {"Viewer", "Colors"}), 0) << err_.str();
  EXPECT_THAT(out_.str(), HasSubstr("red"));
  ASSERT_EQ(settings("set", {"Viewer", "Colors", "green"}), 0) << err_.str();
  ASSERT_EQ(settings("section", {"Viewer"}), 0) << err_.str();
  EXPECT_THAT(out_.str(), HasSubstr("COLORS"));
  EXPECT_THAT(out_.str(), HasSubstr("green"));
  EXPECT_THAT(out_.str(), HasSubstr("blue"));

  SettingsRequest long_text = MakeSettingsRequest("long", {"History", "REPORT FOLDER"});
  long_text.long_text = "kept for ten years";
  ASSERT_EQ(SettingsCommand(options_, long_text, out_, err_), 0) << err_.str();
  ASSERT_EQ(settings("long", {"History", "REPORT FOLDER"}), 0);
  EXPECT_THAT(out_.str(), HasSubstr("= \"kept for ten years\""));

  ASSERT_EQ(settings("doubles", {}), 0);
  EXPECT_THAT(out_.str(), HasSubstr("There is no duplicate item among the Admin Settings"));
  ASSERT_EQ(settings("outside-tree", {}), 0);
  EXPECT_THAT(out_.str(), HasSubstr("Admin Setting AS-00004"));
  EXPECT_THAT(out_.str(), Not(HasSubstr("Admin Setting AS-00002")));
  // One template of the stem: chosen without asking.
  ASSERT_EQ(settings("template", {"SEARCH1"}), 0);
  EXPECT_THAT(out_.str(), HasSubstr("SelectedTemplate = \"SEARCH1\""));
}

struct SettingsUsageCase {
  std::string action;
  std::vector<std::string> args;
  bool valid;
};

TEST(SettingsRequestTest, ArgumentsMustFitTheAction) {
  const SettingsUsageCase cases[] = {
      {"get", {"S", "T"}, true},        {"get", {"S"}, false},
      {"set", {"S", "T"}, false},       {"set", {"S", "T", "1", "2"}, true},
      {"long", {"S", "T", "x"}, false}, {"long", {"S"}, false},
      {"section", {"S"}, true},         {"doubles", {"x"}, false},
      {"outside-tree", {}, true},       {"outside-tree", {"F", "G"}, false},
      {"template", {}, false},          {"remove", {"S"}, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.action + " with " + std::to_string(c.args.size()) + " arguments");
    if (c.valid) {
      EXPECT_NO_THROW(MakeSettingsRequest(c.action, c.args));
    } else {
      EXPECT_THROW(MakeSettingsRequest(c.action, c.args), std::invalid_argument);
    }
  }
  SettingsRequest set = MakeSettingsRequest("set", {"S", "T", "1", "2"});
  EXPECT_EQ(set.values, (std::vector<std::string>{"1", "2"}));
  EXPECT_EQ(MakeSettingsRequest("outside-tree", {"F"}).folder, "F");
}

TEST(ExitStatusTest, AStepFailsOnAnErrorFalseOrAStatusOtherThanZero) {
  const std::pair<const char*, int> cases[] = {
      {R"({"result": {"i2": 0}, "error": null})", 0},
      {R"({"result": {"i2": 1}, "error": null})", 1},
      {R"({"result": false, "error": null})", 1},
      {R"({"result": "", "error": null})", 0},
      {R"({"error": {"number": 5}})", 1},
      {R"({"error": null})", 0},
  };
  for (const auto& [entry, status] : cases)
    EXPECT_EQ(StepExitStatus(Json::parse(entry)), status) << entry;
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

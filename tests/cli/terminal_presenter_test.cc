#include "cli/terminal_presenter.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "platform/message_box_style.h"
#include "support/case_name.h"

namespace vtx::cli {
namespace {

TEST(TerminalPresenterTest, FramesTheBoxWithTitleAndStyle) {
  std::istringstream in;
  std::ostringstream out;
  TerminalPresenter presenter(in, out);
  EXPECT_EQ(presenter.ShowMessage("Data Model error\r\nPlease contact", 65552, "VTX"), 1);
  EXPECT_EQ(out.str(),
            "+- VTX ----------------------+\n"
            "| (Critical, OK, foreground) |\n"
            "|                            |\n"
            "| Data Model error           |\n"
            "| Please contact             |\n"
            "|                            |\n"
            "| [ OK ]                     |\n"
            "+----------------------------+\n");
}

TEST(TerminalPresenterTest, UntitledBoxShowsTheProgramName) {
  std::istringstream in;
  std::ostringstream out;
  TerminalPresenter presenter(in, out);
  presenter.ShowMessage("Warning", 0, std::nullopt);
  EXPECT_EQ(out.str().rfind("+- VTX_HA ", 0), 0u) << out.str();
}

struct AskCase {
  const char* name;
  std::string input;
  DialogAction::Kind kind;
  int32_t line;
};
VTX_PRINT_CASE_BY_NAME(AskCase)

class TerminalAskTest : public testing::TestWithParam<AskCase> {};

TEST_P(TerminalAskTest, ReadsTheAnswer) {
  const AskCase& c = GetParam();
  std::istringstream in(c.input);
  std::ostringstream out;
  TerminalPresenter presenter(in, out);
  DialogAction action = presenter.Ask(DialogSnapshot{
      "frmTemplates", "Select a template", {"A", "B"}, {"OK", "Cancel"}, "MS Sans Serif", -1});
  EXPECT_EQ(action.kind, c.kind);
  EXPECT_EQ(action.line, c.line);
  EXPECT_NE(out.str().find("  2. B\n"), std::string::npos) << out.str();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TerminalAskTest,
    testing::Values(AskCase{"LineNumberFromOne", "2\n", DialogAction::Kind::kSelectAndOk, 1},
                    AskCase{"Ok", " OK \n", DialogAction::Kind::kOk, -1},
                    AskCase{"Cancel", "cancel\n", DialogAction::Kind::kCancel, -1},
                    AskCase{"EndOfInputCancels", "", DialogAction::Kind::kCancel, -1},
                    AskCase{"OutOfRangeAsksAgain", "3\n0\nx\n1\n", DialogAction::Kind::kSelectAndOk,
                            0},
                    AskCase{"RubbishThenEnd", "maybe\n", DialogAction::Kind::kCancel, -1}),
    [](const testing::TestParamInfo<AskCase>& info) { return info.param.name; });

TEST(MessageBoxStyleTest, DefaultButtonFollowsTheStyle) {
  struct Case {
    int32_t style;
    int32_t button;
  };
  const Case cases[] = {{0, message_box::kOk},           {16, message_box::kOk},
                        {1, message_box::kOk},           {1 + 256, message_box::kCancel},
                        {3 + 512, message_box::kCancel}, {4 + 256, message_box::kNo},
                        {4 + 512, message_box::kYes}};  // no third button: the first
  for (const Case& c : cases) EXPECT_EQ(message_box::DefaultButton(c.style), c.button) << c.style;
}

}  // namespace
}  // namespace vtx::cli

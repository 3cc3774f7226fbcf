#include "com/template_dialog.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "com/windows_api.h"
#include "runtime/text.h"

namespace vtx::com {
namespace {

// What the simulated user saw, and what they do once the dialog is active.
struct User {
  enum class Answer { kSelectSecondAndOk, kOk, kCancel };
  explicit User(Answer given) : answer(given) {}
  Answer answer;
  std::string caption;
  LRESULT lines = 0;
  std::string ok_button;
};
User* g_user = nullptr;

std::string WindowText(HWND window) {
  wchar_t text[256] = {};
  GetWindowTextW(window, text, 256);
  return text::ToUtf8(std::u16string(text, text + wcslen(text)));
}

// Sees the dialog activated (after WM_INITDIALOG filled it), reads it, and
// answers as the user would.
LRESULT CALLBACK WatchDialog(int code, WPARAM wparam, LPARAM lparam) {
  if (code == HCBT_ACTIVATE && g_user) {
    HWND dialog = reinterpret_cast<HWND>(wparam);
    g_user->caption = WindowText(dialog);
    g_user->lines = SendDlgItemMessageW(dialog, 100, LB_GETCOUNT, 0, 0);
    g_user->ok_button = WindowText(GetDlgItem(dialog, IDOK));
    if (g_user->answer == User::Answer::kSelectSecondAndOk)
      SendDlgItemMessageW(dialog, 100, LB_SETCURSEL, 1, 0);
    PostMessageW(dialog, WM_COMMAND, g_user->answer == User::Answer::kCancel ? IDCANCEL : IDOK, 0);
    g_user = nullptr;
  }
  return CallNextHookEx(nullptr, code, wparam, lparam);
}

DialogAction RunAs(User& user) {
  DialogSnapshot dialog;
  dialog.name = "frmTemplates";
  dialog.caption = "Vorlage w\xC3\xA4hlen";
  dialog.lines = {"Drawing A3", "Drawing A4", "Part list"};
  dialog.buttons = {
      "\xC3\x9C"
      "bernehmen",
      "Abbrechen"};
  dialog.font = "Tahoma";
  g_user = &user;
  HHOOK hook = SetWindowsHookExW(WH_CBT, WatchDialog, nullptr, GetCurrentThreadId());
  const DialogAction action = RunTemplateDialog(dialog);
  UnhookWindowsHookEx(hook);
  return action;
}

// A real window needs a display: the test runs only where the runner
// provides one (xvfb-run) and says so.
class TemplateDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!std::getenv("VTX_DIALOG_TESTS")) GTEST_SKIP() << "no display for dialogs";
  }
};

TEST_F(TemplateDialogTest, ShowsTheDialogAndReturnsTheSelectedLine) {
  User user(User::Answer::kSelectSecondAndOk);
  const DialogAction action = RunAs(user);
  EXPECT_EQ(user.caption, "Vorlage w\xC3\xA4hlen");
  EXPECT_EQ(user.lines, 3);
  EXPECT_EQ(user.ok_button,
            "\xC3\x9C"
            "bernehmen");
  EXPECT_EQ(action.kind, DialogAction::Kind::kSelectAndOk);
  EXPECT_EQ(action.line, 1);
}

TEST_F(TemplateDialogTest, OkWithoutSelectionAndCancelAreTold) {
  User ok(User::Answer::kOk);
  EXPECT_EQ(RunAs(ok).kind, DialogAction::Kind::kOk);
  User cancel(User::Answer::kCancel);
  EXPECT_EQ(RunAs(cancel).kind, DialogAction::Kind::kCancel);
}

}  // namespace
}  // namespace vtx::com

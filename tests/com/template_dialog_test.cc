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
  enum class Answer { kSelectSecondAndOk, kOk, kCancel, kDoubleClickSecondThenCancel };
  explicit User(Answer given) : answer(given) {}
  Answer answer;
  std::string caption;
  LRESULT lines = 0;
  std::string ok_button;
  RECT client = {};
  RECT controls[3] = {};  // list, OK, Cancel, in client coordinates
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
    GetClientRect(dialog, &g_user->client);
    const int ids[] = {100, IDOK, IDCANCEL};
    for (int i = 0; i < 3; ++i) {
      GetWindowRect(GetDlgItem(dialog, ids[i]), &g_user->controls[i]);
      MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&g_user->controls[i]), 2);
    }
    const User::Answer answer = g_user->answer;
    if (answer != User::Answer::kOk && answer != User::Answer::kCancel)
      SendDlgItemMessageW(dialog, 100, LB_SETCURSEL, 1, 0);
    if (answer == User::Answer::kDoubleClickSecondThenCancel)
      PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(100, LBN_DBLCLK),
                   reinterpret_cast<LPARAM>(GetDlgItem(dialog, 100)));
    PostMessageW(
        dialog, WM_COMMAND,
        answer == User::Answer::kSelectSecondAndOk || answer == User::Answer::kOk ? IDOK : IDCANCEL,
        0);
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

  // The form as designed in twips, at the screen's resolution.
  HDC screen = GetDC(nullptr);
  const int dpi_x = GetDeviceCaps(screen, LOGPIXELSX);
  const int dpi_y = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  auto x = [&](int twips) { return MulDiv(twips, dpi_x, 1440); };
  auto y = [&](int twips) { return MulDiv(twips, dpi_y, 1440); };
  EXPECT_EQ(user.client.right, x(4095));
  EXPECT_EQ(user.client.bottom, y(4485));
  const int designed[3][4] = {
      {360, 240, 3375, 3375}, {360, 3960, 1095, 375}, {2640, 3960, 1095, 375}};
  for (int i = 0; i < 3; ++i) {
    const RECT& got = user.controls[i];
    EXPECT_EQ(got.left, x(designed[i][0])) << "control " << i;
    EXPECT_EQ(got.top, y(designed[i][1])) << "control " << i;
    EXPECT_EQ(got.right - got.left, x(designed[i][2])) << "control " << i;
    EXPECT_EQ(got.bottom - got.top, y(designed[i][3])) << "control " << i;
  }
}

TEST_F(TemplateDialogTest, OkWithoutSelectionAndCancelAreTold) {
  User ok(User::Answer::kOk);
  EXPECT_EQ(RunAs(ok).kind, DialogAction::Kind::kOk);
  User cancel(User::Answer::kCancel);
  EXPECT_EQ(RunAs(cancel).kind, DialogAction::Kind::kCancel);
  // Only the buttons answer: a double click on a line does not close it.
  User double_click(User::Answer::kDoubleClickSecondThenCancel);
  EXPECT_EQ(RunAs(double_click).kind, DialogAction::Kind::kCancel);
}

}  // namespace
}  // namespace vtx::com

#pragma once

#include <optional>
#include <string>

#include "platform/platform.h"

namespace vtx {

// The real Windows machine: computer and logon names (GetComputerNameA,
// GetUserNameA), the process environment, modal message boxes and the
// template dialog, the local clock, and COM classes created by ProgID.
//
// Headless runs: when the environment variable VTX_MESSAGE_LOG names a file,
// message boxes and dialogs are not shown but appended to that file (UTF-8,
// one line each: "box<TAB>style<TAB>title<TAB>text" or
// "dialog<TAB>caption<TAB>lines joined by |", with CR, LF and TAB inside a
// field written \r, \n, \t), and answered with the box's default button and
// Cancel, so that nothing waits for a user.
// Thread-safety: used on the thread that calls the add-in.
class WindowsPlatform : public Platform {
 public:
  std::string GetComputerName() override;
  std::string GetUserName() override;
  std::optional<std::string> GetEnvironmentVariable(const std::string& name) override;
  int32_t MessageBox(const std::string& text, int32_t style,
                     const std::optional<std::string>& title) override;
  DialogAction AskDialog(const DialogSnapshot& dialog) override;
  double Now() override;
  // Raises 429 when no class is registered for the ProgID or it cannot be
  // created.
  Ref<Dispatch> CreateObject(const std::string& prog_id) override;
};

}  // namespace vtx

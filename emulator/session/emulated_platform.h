#pragma once

#include <memory>
#include <optional>
#include <string>

#include "emulator/session/host_state.h"
#include "platform/platform.h"

namespace vtx::emu {

// The platform the add-in sees while it runs against an emulated host: the
// host's ScriptedPlatform (names, environment variables, message boxes,
// dialogs, clock, drives, the file-system object), with object creation
// routed through the host. Every CreateObject passes the monitor as
// "CreateObject:" + ProgID (as the caller spelled it), then looks in the
// host's own registry, then in the platform's (the process-wide one and the
// file-system object).
// Thread-safety: used on the host's thread. Install it with ScopedPlatform
// while the add-in runs.
class EmulatedPlatform : public Platform {
 public:
  explicit EmulatedPlatform(std::shared_ptr<HostState> state) : state_(std::move(state)) {}

  std::string GetComputerName() override { return Base().GetComputerName(); }
  std::string GetUserName() override { return Base().GetUserName(); }
  std::optional<std::string> GetEnvironmentVariable(const std::string& name) override {
    return Base().GetEnvironmentVariable(name);
  }
  int32_t MessageBox(const std::string& text, int32_t style,
                     const std::optional<std::string>& title) override {
    state_->BeforeUserWait();
    return Base().MessageBox(text, style, title);
  }
  DialogAction AskDialog(const DialogSnapshot& dialog) override {
    state_->BeforeUserWait();
    return Base().AskDialog(dialog);
  }
  double Now() override { return state_->Now(); }
  Ref<Dispatch> CreateObject(const std::string& prog_id) override;

 private:
  ScriptedPlatform& Base() { return *state_->platform; }

  std::shared_ptr<HostState> state_;
};

}  // namespace vtx::emu

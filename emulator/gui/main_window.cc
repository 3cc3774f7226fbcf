#include "emulator/gui/main_window.h"

namespace vtx::emu {

void EmulatedMainWindow::Show() { state_->Enter(op::KvGuiWindow::Show); }

void EmulatedMainWindow::ShowModeless() { state_->Enter(op::KvGuiWindow::ShowModeless); }

int32_t EmulatedMainWindow::GetHandle() {
  state_->Enter(op::KvGuiWindow::GetHandle);
  return ViewRecord::kMainWindowHandle;
}

void EmulatedMainWindow::SetOwner(int32_t handle) {
  state_->Enter(op::KvGuiWindow::SetOwner, handle);
}

Ref<KvView> EmulatedMainWindow::GetActiveView() {
  state_->Enter(op::KvGuiWindow::GetActiveView);
  std::shared_ptr<const ViewRecord> on_screen = state_->recorder.OnScreen();
  return on_screen ? on_screen->ViewObject() : nullptr;
}

}  // namespace vtx::emu

#pragma once

#include <memory>

#include "emulator/session/host_state.h"
#include "host/kv_gui.h"

namespace vtx::emu {

// The host's main window (KvGuiServices.GetMainWindow). Its handle is
// ViewRecord::kMainWindowHandle; showing it changes nothing; its active view
// is the view on screen, or Nothing.
// Thread-safety: none.
class EmulatedMainWindow : public KvGuiWindow {
 public:
  explicit EmulatedMainWindow(std::shared_ptr<HostState> state) : state_(std::move(state)) {}

  void Show() override;
  void ShowModeless() override;
  int32_t GetHandle() override;
  void SetOwner(int32_t handle) override;
  Ref<KvView> GetActiveView() override;

 private:
  std::shared_ptr<HostState> state_;
};

}  // namespace vtx::emu

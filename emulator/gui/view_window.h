#pragma once

#include <memory>

#include "emulator/gui/emulated_view.h"
#include "emulator/session/host_state.h"
#include "host/kv_gui.h"

namespace vtx::emu {

// KvGuiWindow of a view.
//  - Show: the view is shown modally and becomes the one on screen; the user
//    selects the object named by the next modalViews answer (none for a null
//    answer). An answer that is missing, or that names an object the view
//    does not show, raises a RuntimeError and is noted as a script fault.
//  - ShowModeless: the view is shown and becomes the one on screen.
//  - GetHandle: 1000 + the view's sequence number. SetOwner is recorded.
//  - GetActiveView: the window's own view.
// Thread-safety: none.
class EmulatedViewWindow : public KvGuiWindow {
 public:
  EmulatedViewWindow(std::shared_ptr<HostState> state, Ref<EmulatedView> view)
      : state_(std::move(state)), view_(std::move(view)) {}

  void Show() override;
  void ShowModeless() override;
  int32_t GetHandle() override;
  void SetOwner(int32_t handle) override;
  Ref<KvView> GetActiveView() override;

 private:
  Ref<KvObject> FindInView(const ObjectKey& key);

  std::shared_ptr<HostState> state_;
  Ref<EmulatedView> view_;
};

}  // namespace vtx::emu

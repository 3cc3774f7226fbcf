#include "emulator/gui/gui_services.h"

#include "emulator/gui/emulated_view.h"
#include "emulator/gui/gui_notifier.h"
#include "emulator/gui/main_window.h"

namespace vtx::emu {

Ref<KvGuiWindow> EmulatedGuiServices::GetMainWindow() {
  state_->Enter(op::KvGuiServices::GetMainWindow);
  return MakeRef<EmulatedMainWindow>(state_);
}

Ref<KvView> EmulatedGuiServices::CreateView(int32_t view_type) {
  state_->Enter(op::KvGuiServices::CreateView, view_type);
  return EmulatedView::Create(state_, object_store_, view_type);
}

Ref<KvGuiNotifier> EmulatedGuiServices::GetNotifier() {
  state_->Enter(op::KvGuiServices::GetNotifier);
  return MakeRef<EmulatedGuiNotifier>(state_);
}

}  // namespace vtx::emu

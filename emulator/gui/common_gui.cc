#include "emulator/gui/common_gui.h"

#include "emulator/gui/emulated_view.h"

namespace vtx::emu {

Ref<KvViewFactory> EmulatedCommonGui::GetViewFactory() {
  state_->Enter(op::KvCommonGui::GetViewFactory);
  return MakeRef<EmulatedViewFactory>(state_, object_store_);
}

Ref<KvView> EmulatedViewFactory::CreateView(int32_t view_type) {
  state_->Enter(op::KvViewFactory::CreateView, view_type);
  return EmulatedView::Create(state_, object_store_, view_type);
}

}  // namespace vtx::emu

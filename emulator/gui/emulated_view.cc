#include "emulator/gui/emulated_view.h"

#include "emulator/gui/view_content.h"
#include "emulator/gui/view_window.h"

namespace vtx::emu {

Ref<EmulatedView> EmulatedView::Create(const std::shared_ptr<HostState>& state,
                                       const Ref<KvObjectStore>& object_store, int32_t view_type) {
  auto view = MakeRef<EmulatedView>(state, object_store, state->recorder.NewView(view_type));
  view->record_->SetViewObject(view);
  return view;
}

EmulatedView::EmulatedView(std::shared_ptr<HostState> state, Ref<KvObjectStore> object_store,
                           std::shared_ptr<ViewRecord> record)
    : state_(std::move(state)),
      object_store_(std::move(object_store)),
      record_(std::move(record)) {}

void EmulatedView::SetCaption(const std::string& caption) {
  state_->Enter(op::KvView::SetCaption, caption);
  record_->SetCaption(caption);
}

Ref<KvViewContent> EmulatedView::GetContents() {
  state_->Enter(op::KvView::GetContents);
  return MakeRef<EmulatedViewContent>(state_, object_store_, record_,
                                      EmulatedViewContent::Part::kContents);
}

Ref<KvViewContent> EmulatedView::GetSelection() {
  state_->Enter(op::KvView::GetSelection);
  return MakeRef<EmulatedViewContent>(state_, object_store_, record_,
                                      EmulatedViewContent::Part::kSelection);
}

Ref<KvGuiWindow> EmulatedView::GetWindow() {
  state_->Enter(op::KvView::GetWindow);
  return MakeRef<EmulatedViewWindow>(
      state_, Ref<EmulatedView>(std::static_pointer_cast<EmulatedView>(shared_from_this())));
}

}  // namespace vtx::emu

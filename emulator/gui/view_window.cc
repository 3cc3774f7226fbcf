#include "emulator/gui/view_window.h"

#include <fmt/format.h>

namespace vtx::emu {

void EmulatedViewWindow::Show() {
  state_->Enter(op::KvGuiWindow::Show);
  const std::shared_ptr<ViewRecord>& record = view_->Record();
  state_->recorder.Shown(record, true);
  state_->BeforeUserWait();
  std::optional<ObjectKey> answer = state_->answers.NextModalViewAnswer();
  record->SetSelection(answer ? FindInView(*answer) : nullptr);
}

void EmulatedViewWindow::ShowModeless() {
  state_->Enter(op::KvGuiWindow::ShowModeless);
  state_->recorder.Shown(view_->Record(), false);
}

int32_t EmulatedViewWindow::GetHandle() {
  state_->Enter(op::KvGuiWindow::GetHandle);
  return view_->Record()->WindowHandle();
}

void EmulatedViewWindow::SetOwner(int32_t handle) {
  state_->Enter(op::KvGuiWindow::SetOwner, handle);
  view_->Record()->SetOwnerHandle(handle);
}

Ref<KvView> EmulatedViewWindow::GetActiveView() {
  state_->Enter(op::KvGuiWindow::GetActiveView);
  return view_;
}

Ref<KvObject> EmulatedViewWindow::FindInView(const ObjectKey& key) {
  const int16_t wanted_class = state_->ClassIdOf(key.class_name);
  if (wanted_class != 0) {
    const Model& model = state_->store->GetModel();
    for (const Ref<KvObject>& object : view_->Record()->Objects()) {
      CallMonitor::Pause pause(*state_->monitor);
      if (object->GetObjectId() == key.object_id && model.IsA(object->GetClassId(), wanted_class))
        return object;
    }
  }
  state_->answers.NoteUnusableAnswer();
  Raise(err::kHostFailure,
        fmt::format("The modalViews answer {} {} is not an object of the view", key.class_name,
                    key.object_id),
        "Korvel");
}

}  // namespace vtx::emu

#include "emulator/components/integration_store.h"

#include "host/kv_object.h"

namespace vtx::emu {

Ref<KvIntegrationEditor> EmulatedIntegrationStore::GetEditor() {
  state_->Enter(op::KvIntegrationStore::GetEditor);
  return MakeRef<EmulatedIntegrationEditor>(state_);
}

bool EmulatedIntegrationEditor::EditObject(const Ref<KvObject>& object, Ref<KvObject>& out_object,
                                           int16_t& out_status) {
  state_->Enter(op::KvIntegrationEditor::EditObject, object);
  if (!object) Raise(err::kObjectVariableNotSet);
  state_->BeforeUserWait();
  EditorAnswer answer = state_->answers.NextEditorAnswer();
  {
    CallMonitor::Pause pause(*state_->monitor);
    try {
      for (const auto& [name, value] : answer.values) object->SetValue(name, value);
    } catch (const RuntimeError&) {
      state_->answers.NoteUnusableAnswer();
      throw;
    }
  }
  out_object = object;
  out_status = 0;
  return answer.result;
}

}  // namespace vtx::emu

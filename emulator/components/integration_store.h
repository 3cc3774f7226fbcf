#pragma once

#include <memory>
#include <string>

#include "emulator/session/host_state.h"
#include "host/kv_components.h"

namespace vtx::emu {

// "KvIntegrationTool.KvIntegrationStore": hands out the integration editor.
// Ownership: GetEditor returns a new editor owned by the caller.
// Thread-safety: none.
class EmulatedIntegrationStore : public KvIntegrationStore {
 public:
  explicit EmulatedIntegrationStore(std::shared_ptr<HostState> state) : state_(std::move(state)) {}

  Ref<KvIntegrationEditor> GetEditor() override;

 private:
  std::shared_ptr<HostState> state_;
};

// The integration editor: the user edits the object and closes the editor.
// Each EditObject consumes the next integrationEditor answer: its values are
// written into the object (not stored), then its result is returned. The out
// object becomes the edited object and the out status 0. A missing answer, or
// values the object refuses, raise a RuntimeError and are noted as a script
// fault; a Nothing object raises 91 before any answer is consumed.
class EmulatedIntegrationEditor : public KvIntegrationEditor {
 public:
  explicit EmulatedIntegrationEditor(std::shared_ptr<HostState> state) : state_(std::move(state)) {}

  bool EditObject(const Ref<KvObject>& object, Ref<KvObject>& out_object,
                  int16_t& out_status) override;

 private:
  std::shared_ptr<HostState> state_;
};

}  // namespace vtx::emu

#include "emulator/components/host_components.h"

#include "emulator/components/integration_store.h"
#include "emulator/components/nls_catalog.h"
#include "emulator/components/quick_report.h"
#include "emulator/components/session_util.h"
#include "emulator/gui/common_gui.h"
#include "emulator/gui/gui_services.h"
#include "emulator/host_objects/emu_record.h"
#include "emulator/host_objects/store_interfaces.h"
#include "emulator/session/no_case.h"
#include "host/kv_components.h"

namespace vtx::emu {

Ref<Dispatch> NewHostComponent(const std::shared_ptr<HostState>& state,
                               const Ref<KvObjectStore>& object_store, const std::string& prog_id) {
  // The two GUI-services spellings are one ProgID once letter case is ignored.
  if (SameNoCase(prog_id, progid::kGuiServices) || SameNoCase(prog_id, progid::kGuiServicesNotify))
    return MakeRef<EmulatedGuiServices>(state, object_store);
  if (SameNoCase(prog_id, progid::kCommonGui))
    return MakeRef<EmulatedCommonGui>(state, object_store);
  if (SameNoCase(prog_id, progid::kIntegrationStore))
    return MakeRef<EmulatedIntegrationStore>(state);
  if (SameNoCase(prog_id, progid::kSessionUtil)) return MakeRef<EmulatedSessionUtil>(state);
  return nullptr;
}

void RegisterCreatableComponents(HostState& state) {
  // The factories live in the state's own registry, so a raw pointer cannot
  // outlive it; each object created takes a shared reference of its own.
  HostState* host = &state;
  state.registry.Register(progid::kRecordList, "{7D1C5A40-3E2B-4C11-9A10-000000000001}",
                          [host]() -> Ref<Dispatch> { return NewRecordList(*host->store); });
  state.registry.Register(
      progid::kRecord, "{7D1C5A40-3E2B-4C11-9A10-000000000004}",
      [host]() -> Ref<Dispatch> { return MakeRef<EmuRecord>(host->store->SharedMonitor()); });
  state.registry.Register(
      progid::kQuickReport, "{7D1C5A40-3E2B-4C11-9A10-000000000002}",
      [host]() -> Ref<Dispatch> { return MakeRef<QuickReport>(host->shared_from_this()); });
  state.registry.Register(progid::kNlsCatalog, "{7D1C5A40-3E2B-4C11-9A10-000000000003}",
                          [host]() -> Ref<Dispatch> {
                            if (!host->environment.catalog) Raise(err::kCannotCreateObject);
                            return MakeRef<EmulatedNlsCatalog>(host->shared_from_this());
                          });
}

}  // namespace vtx::emu

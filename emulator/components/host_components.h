#pragma once

#include <memory>
#include <string>

#include "emulator/session/host_state.h"

namespace vtx::emu {

// The component KvSession.CreateHostComponent gives for `prog_id` (matched in
// any letter case), or Nothing when the host has none of that name:
// "KvGUISrv.KvGUIServices" (= "KvGuiSrv.KVGuiServices"), "KvGUISrv.KvCommonGUI",
// "KvIntegrationTool.KvIntegrationStore", "KvUtil.KvSessionUtil".
// The new component is owned by the caller.
Ref<Dispatch> NewHostComponent(const std::shared_ptr<HostState>& state,
                               const Ref<KvObjectStore>& object_store, const std::string& prog_id);

// Registers in `state.registry` the components created by CreateObject:
// "KvRecList.KvRecordList" (a new empty record list of the store),
// "KvRecList.KvRecord" (a new empty free-standing record),
// "KvQuickReport.GenerateRpt" and "Orbent.NlsCatalog" (which fails with 429
// while the environment's catalog is not installed).
// REQUIRES: `state` is owned by a shared_ptr.
void RegisterCreatableComponents(HostState& state);

}  // namespace vtx::emu

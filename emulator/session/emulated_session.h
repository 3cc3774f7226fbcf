#pragma once

#include <memory>
#include <string>

#include "emulator/session/emulated_globals.h"
#include "emulator/session/host_state.h"
#include "host/kv_session.h"

namespace vtx::emu {

// KvSession of the emulated host: the store's class dictionary and object
// store, the session globals, the environment's user, language and
// configuration, and the host components by ProgID.
//
// Ownership: the session owns its object store, globals, user info and
// configuration and returns the same ones on every call; components from
// CreateHostComponent are new objects owned by the caller.
// Thread-safety: none; used on the host's thread.
class EmulatedSession : public KvSession {
 public:
  // A session over `state`, with its own object store.
  static Ref<EmulatedSession> Create(std::shared_ptr<HostState> state);
  explicit EmulatedSession(std::shared_ptr<HostState> state);

  Ref<KvObjectStore> GetObjectStore() override;
  Ref<KvClasses> GetClasses() override;
  Ref<KvGlobals> GetGlobals() override;
  Ref<KvUserInfo> GetUserInfo() override;
  std::string GetLanguage() override;
  Ref<KvConfiguration> GetConfiguration() override;
  // ProgIDs match in any letter case, as COM matches them. Besides the call
  // itself, "CreateHostComponent:" + `prog_id` (as the caller spelled it)
  // passes the monitor, so the creation of one component can be made to fail.
  // An unknown ProgID raises 429.
  Ref<Dispatch> CreateHostComponent(const std::string& prog_id) override;
  Ref<KvStrings> CreateStringList() override;

  // The host's own access, not monitored.
  const Ref<KvObjectStore>& ObjectStore() const { return object_store_; }
  EmulatedGlobals& Globals() { return *globals_; }

 private:
  std::shared_ptr<HostState> state_;
  Ref<KvObjectStore> object_store_;
  Ref<KvClasses> classes_;  // one per session
  Ref<EmulatedGlobals> globals_;
  Ref<KvUserInfo> user_info_;
  Ref<KvConfiguration> configuration_;
};

}  // namespace vtx::emu

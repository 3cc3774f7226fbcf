#include "emulator/session/emulated_session.h"

#include "emulator/components/host_components.h"
#include "emulator/host_objects/store_interfaces.h"
#include "emulator/session/emulated_configuration.h"
#include "emulator/session/emulated_user_info.h"

namespace vtx::emu {

Ref<EmulatedSession> EmulatedSession::Create(std::shared_ptr<HostState> state) {
  auto session = MakeRef<EmulatedSession>(state);
  session->object_store_ = NewObjectStore(state->store, session);
  session->classes_ = NewClasses(*state->store);
  session->user_info_ = MakeRef<EmulatedUserInfo>(state, session->object_store_);
  return session;
}

EmulatedSession::EmulatedSession(std::shared_ptr<HostState> state)
    : state_(std::move(state)),
      globals_(MakeRef<EmulatedGlobals>(state_)),
      configuration_(MakeRef<EmulatedConfiguration>(state_)) {}

Ref<KvObjectStore> EmulatedSession::GetObjectStore() {
  state_->Enter(op::KvSession::GetObjectStore);
  return object_store_;
}

Ref<KvClasses> EmulatedSession::GetClasses() {
  state_->Enter(op::KvSession::GetClasses);
  return classes_;
}

Ref<KvGlobals> EmulatedSession::GetGlobals() {
  state_->Enter(op::KvSession::GetGlobals);
  return globals_;
}

Ref<KvUserInfo> EmulatedSession::GetUserInfo() {
  state_->Enter(op::KvSession::GetUserInfo);
  return user_info_;
}

std::string EmulatedSession::GetLanguage() {
  state_->Enter(op::KvSession::GetLanguage);
  return state_->environment.language;
}

Ref<KvConfiguration> EmulatedSession::GetConfiguration() {
  state_->Enter(op::KvSession::GetConfiguration);
  return configuration_;
}

Ref<Dispatch> EmulatedSession::CreateHostComponent(const std::string& prog_id) {
  state_->Enter(op::KvSession::CreateHostComponent, prog_id);
  state_->EnterNamed("CreateHostComponent:" + prog_id);
  Ref<Dispatch> component = NewHostComponent(state_, object_store_, prog_id);
  if (!component) Raise(err::kCannotCreateObject);
  return component;
}

Ref<KvStrings> EmulatedSession::CreateStringList() {
  state_->Enter(op::KvSession::CreateStringList);
  return NewStrings(*state_->store);
}

}  // namespace vtx::emu

#pragma once

#include <map>
#include <memory>
#include <string>

#include "emulator/session/host_state.h"
#include "host/kv_session.h"

namespace vtx::emu {

// KvGlobals: session values by name. Names compare exactly. A name never set
// reads as Null; an object value is kept as the very reference given, so the
// same instance comes back.
// Thread-safety: none. Values live as long as the globals object (one per
// session).
class EmulatedGlobals : public KvGlobals {
 public:
  explicit EmulatedGlobals(std::shared_ptr<HostState> state) : state_(std::move(state)) {}

  Variant GetValue(const std::string& name) override;
  void SetValue(const std::string& name, const Variant& value) override;

  // The host's own access (not monitored): Korvel setting a global itself.
  void Put(const std::string& name, const Variant& value) { values_[name] = value; }
  Variant Peek(const std::string& name) const;

 private:
  std::shared_ptr<HostState> state_;
  std::map<std::string, Variant> values_;
};

}  // namespace vtx::emu

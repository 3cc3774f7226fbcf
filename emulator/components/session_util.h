#pragma once

#include <memory>
#include <string>

#include "emulator/session/host_state.h"
#include "host/kv_components.h"

namespace vtx::emu {

// "KvUtil.KvSessionUtil".
// NewIdentifierValue draws the next number n of a counter kept in the
// database itself (table KV_HOST_COUNTERS, so it survives reopening and is
// shared by every process on the file; never reused) and gives, by the
// attribute's field type: a 16-bit integer n (type 2), a 32-bit integer n
// (type 3), a double n (type 4), otherwise text: `text` (or "ID" when empty)
// followed by n in at least six digits ("ID000001").
// Thread-safety: none.
class EmulatedSessionUtil : public KvSessionUtil {
 public:
  explicit EmulatedSessionUtil(std::shared_ptr<HostState> state) : state_(std::move(state)) {}

  Variant NewIdentifierValue(const Ref<KvAttribute>& attribute, const std::string& text) override;

 private:
  std::shared_ptr<HostState> state_;
};

// Advances the database counter `name` and returns its new value (1 first).
int64_t NextDatabaseCounter(Store& store, const std::string& name);

}  // namespace vtx::emu

#pragma once

#include <memory>
#include <string>

#include "emulator/session/host_state.h"
#include "host/kv_session.h"

namespace vtx::emu {

// KvConfiguration over the environment's configuration values.
// Thread-safety: none.
class EmulatedConfiguration : public KvConfiguration {
 public:
  explicit EmulatedConfiguration(std::shared_ptr<HostState> state) : state_(std::move(state)) {}

  // The value configured at `path` (letter case ignored); the empty string
  // when the path has none, as an unset configuration entry reads.
  Variant GetValue(const std::string& path) override;

 private:
  std::shared_ptr<HostState> state_;
};

}  // namespace vtx::emu

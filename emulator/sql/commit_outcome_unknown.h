#pragma once

#include <string>

#include "runtime/runtime_error.h"

namespace vtx::emu {

// The connection to the database server broke (or the server stopped
// answering) while it committed, and the server could not be asked whether
// the transaction committed: what it wrote may be stored or not. A host
// failure to the add-in; front ends report it as its own outcome (exit
// status 3), never as a plain failure a caller would retry.
class CommitOutcomeUnknown : public RuntimeError {
 public:
  explicit CommitOutcomeUnknown(std::string description)
      : RuntimeError(err::kHostFailure, std::move(description), "Korvel") {}
};

}  // namespace vtx::emu

// A scenario that cannot go on: an object or class it names does not exist,
// an answer it owes is missing. `vtx run` prints what() and exits with
// status 1; the database commands exit with 2 for an unknown object or class
// (the invocation named it).
#pragma once

#include <stdexcept>
#include <string>

namespace vtx::cli {

class RunError : public std::runtime_error {
 public:
  explicit RunError(const std::string& message, bool unknown_reference = false)
      : std::runtime_error(message), unknown_reference_(unknown_reference) {}
  // The run named an object or class the host does not have.
  bool UnknownReference() const noexcept { return unknown_reference_; }

 private:
  bool unknown_reference_;
};

}  // namespace vtx::cli

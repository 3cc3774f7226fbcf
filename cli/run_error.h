// A scenario that cannot go on: an object it names does not exist, an answer
// it owes is missing, the database cannot be opened. `vtx run` prints what()
// and exits with status 1.
#pragma once

#include <stdexcept>
#include <string>

namespace vtx::cli {

class RunError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace vtx::cli

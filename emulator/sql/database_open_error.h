#pragma once

#include <stdexcept>

namespace vtx::emu {

// The database named to a command cannot be used as asked: missing where it must
// exist, not one of ours, or corrupt. The message names the path. Front ends
// report it as a wrong invocation (exit status 2), never as a host failure.
class DatabaseOpenError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace vtx::emu

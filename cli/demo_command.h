// `vtx demo [--db FILE]`: a realistic working session, printed step by step.
#pragma once

#include <iosfwd>
#include <string>

namespace vtx::cli {

// Plays the built-in session on `database` (created, or reused when it
// already holds the demo model; ":memory:" when empty), printing every step,
// message box and view, then the audit trail of the pump assembly and the
// report files. Returns the process exit status.
int DemoCommand(const std::string& database, std::ostream& out, std::ostream& err);

}  // namespace vtx::cli

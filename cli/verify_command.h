#pragma once

#include <iosfwd>
#include <string>

#include "emulator/store/ledger_verify.h"

namespace vtx::cli {

// `vtx verify --db FILE`: checks the ledger of electronic records against the
// stored records and prints each problem and a summary line. Exit 0 when all
// holds, 1 when something does not, 2 for a missing or foreign file.
int VerifyCommand(const std::string& database, std::ostream& out, std::ostream& err);

// Prints the problems and the summary line; returns the exit status (0 or 1).
int PrintLedgerCheck(const emu::LedgerCheck& check, std::ostream& out);

}  // namespace vtx::cli

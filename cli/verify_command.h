#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "emulator/store/ledger_verify.h"

namespace vtx::cli {

// What `vtx verify` is asked.
struct VerifyRequest {
  std::string database;
  // --against: anchors ("SEQ:HASH", checkpoint files, report files).
  std::vector<std::string> against;
  // --since: check only what came after this anchor (the latest one a file holds).
  std::string since;
  // --pubkey: the public key checkpoint lines must be signed with.
  std::string pubkey;
};

// `vtx verify --db D [--against A]... [--since A] [--pubkey KEY.pem]`: checks
// the ledger of electronic records against the stored records and links, and
// against each anchor given, prints each problem, a summary line saying what
// was checked and what could not be, and the head it checked. Exit 0 when
// the ledger is consistent (and holds against every anchor), 1 when
// something does not hold, 2 for a wrong invocation (a missing or foreign
// database, an anchor that cannot be read).
int VerifyCommand(const VerifyRequest& request, std::ostream& out, std::ostream& err);

// Prints the problems, the summary line and the head; returns the exit
// status (0 or 1).
int PrintLedgerCheck(const emu::LedgerCheck& check, std::ostream& out);

}  // namespace vtx::cli

#pragma once

#include <iosfwd>
#include <string>

namespace vtx::cli {

// `vtx checkpoint --db D [--out FILE] [--sign KEY.pem]`: the ledger's head
// (last entry and its hash), the time and the database's id as one line,
// appended to FILE (printed without --out), signed with the Ed25519 key when
// one is given. Kept where the database's writers cannot write, the lines
// are anchors for `vtx verify --against`. Exit 0; 2 for a wrong invocation
// (missing or foreign database, unreadable key); 1 when the line cannot be
// written or the database read.
int CheckpointCommand(const std::string& database, const std::string& out_file,
                      const std::string& key_file, std::ostream& out, std::ostream& err);

}  // namespace vtx::cli

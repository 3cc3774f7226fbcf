#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <utility>

namespace vtx::cli {

// `vtx export --db FILE [--format csv|json] [--object CLASS KEY]`: the audit
// trail as the ledger holds it, one entry per row (sequence, action, record,
// time, user, digest, previous hash, hash) with the record's stored values
// under their external names; with an object, only the entries of the
// records about it (CN_OBJECT_ID, or linked to it) that are still stored.
// Exit 0, or 2 for a wrong invocation, 1 when the database cannot be read.
int ExportCommand(const std::string& database, const std::string& format,
                  const std::optional<std::pair<std::string, std::string>>& object,
                  std::ostream& out, std::ostream& err);

}  // namespace vtx::cli

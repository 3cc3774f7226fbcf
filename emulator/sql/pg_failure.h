#pragma once

#include <libpq-fe.h>

#include <memory>
#include <string>
#include <string_view>

#include "emulator/sql/pg_wait.h"

namespace vtx::emu {

bool PgSucceeded(const PGresult* result);

std::string PgLower(std::string_view text);

// `name` as the SQL text spells it (identifiers match without regard to
// case), or as given when the text does not hold it.
std::string AsSpelled(std::string_view sql, const std::string& name);

// Raises the failure of `result` (RuntimeError, err::kHostFailure) in the
// words SQLite uses for the same fault where there are such words, so that
// what the add-in is told does not depend on the backend. `display` names the
// database in a lock timeout's message.
[[noreturn]] void RaisePgFailure(PGconn* conn, const PGresult* result, std::string_view sql,
                                 const std::string& display);

}  // namespace vtx::emu

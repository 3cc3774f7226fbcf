#pragma once

#include <string>

#include "emulator/sql/database.h"

namespace vtx::emu {

// A database's identity: a random id stored in KV_META (KEY 'database_id')
// when the database is created, so that a head kept outside it (a
// checkpoint, a printed report) names the database it was taken of, and a
// copy keeps the id of its original.

// 32 lower-case hexadecimal digits from the system's random source.
std::string NewDatabaseId();
// The stored id; "" for a database made before databases had one.
std::string ReadDatabaseId(Database& db);
// REQUIRES: a write transaction, and no id stored yet.
void StoreDatabaseId(Database& db, const std::string& id);

}  // namespace vtx::emu

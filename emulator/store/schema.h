#pragma once

#include "emulator/sql/database.h"
#include "emulator/store/model.h"

namespace vtx::emu {

// The store's own tables (besides one table per class and the model's plain
// tables):
//   KV_META(KEY, VALUE)                  the model the file was made for ("model")
//                                        and the database's id ("database_id")
//   KV_OBJECTS(OBJECT_ID, CLASS_ID)      which class holds each object
//   KV_COUNTERS(NAME, VALUE)             "OBJECT_ID": the highest id deleted
//   KV_SEQUENCES(CLASS_ID, ATTRIBUTE, NEXT, FORMAT)
//   KV_LOOKUP_ITEMS(CLASS_ID, ITEM_ID, TEXT)
inline constexpr const char* kIdCounter = "OBJECT_ID";

// Checks that the file holds exactly this model, reading only; an empty file
// opened with kCreate gets the schema of `model` in one transaction (WAL
// mode). Raises DatabaseOpenError for a file that is not ours, is corrupt or
// holds another model (left untouched), RuntimeError when the schema cannot
// be created (nothing is left behind). Returns true when it created it.
bool EnsureSchema(Database& db, const Model& model, OpenMode mode);

// The model the database was created with, as it keeps it in KV_META.
// Raises DatabaseOpenError naming the path for a file that is not ours or is
// corrupt, and for a stored model that is no valid model (damaged): every
// command tells that in the same words.
Model ReadStoredModel(Database& db);

}  // namespace vtx::emu

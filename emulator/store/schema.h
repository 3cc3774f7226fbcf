#pragma once

#include "emulator/sql/database.h"
#include "emulator/store/model.h"

namespace vtx::emu {

// The store's own tables (besides one table per class and the model's plain
// tables):
//   KV_META(KEY, VALUE)                  the model the file was made for ("model"),
//                                        the database's id ("database_id") and the
//                                        layout of these tables ("layout")
//   KV_OBJECTS(OBJECT_ID, LINK_ID, FORWARD, CLASS_ID, OTHER_ID)
//                                        the registry, keyed by its first three
//                                        columns: (id, 0, 0, class) says which
//                                        class holds each object; (end, link, 1|0,
//                                        link class, other end) is one end of a
//                                        link (1: end 1 or the parent), so that
//                                        the links of an object are found in the
//                                        registry's own tree, next to the object
//   KV_COUNTERS(NAME, VALUE)             "OBJECT_ID": the highest id deleted
//   KV_SEQUENCES(CLASS_ID, ATTRIBUTE, NEXT, FORMAT)
//   KV_LOOKUP_ITEMS(CLASS_ID, ITEM_ID, TEXT)
inline constexpr const char* kIdCounter = "OBJECT_ID";

// Checks that the file holds exactly this model, reading only; an empty file
// opened with kCreate gets the schema of `model` in one transaction (WAL
// mode). Raises DatabaseOpenError for a file that is not ours, is corrupt or
// holds another model or was made with an older layout of these tables (left
// untouched), RuntimeError when the schema cannot
// be created (nothing is left behind). Returns true when it created it.
bool EnsureSchema(Database& db, const Model& model, OpenMode mode);

// The model the database was created with, as it keeps it in KV_META.
// Raises DatabaseOpenError naming the path for a file that is not ours or is
// corrupt, and for a stored model that is no valid model (damaged): every
// command tells that in the same words.
Model ReadStoredModel(Database& db);

}  // namespace vtx::emu

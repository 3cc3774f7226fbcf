#pragma once

#include "emulator/store/database.h"
#include "emulator/store/model.h"

namespace vtx::emu {

// The store's own tables (besides one table per class and the model's plain
// tables):
//   KV_META(KEY, VALUE)                  the model the file was made for
//   KV_OBJECTS(OBJECT_ID, CLASS_ID)      which class holds each object
//   KV_COUNTERS(NAME, VALUE)             "OBJECT_ID": the highest id deleted
//   KV_SEQUENCES(CLASS_ID, ATTRIBUTE, NEXT, FORMAT)
//   KV_LOOKUP_ITEMS(CLASS_ID, ITEM_ID, TEXT)
inline constexpr const char* kIdCounter = "OBJECT_ID";

// Creates the schema of `model` in one transaction, or checks that the file
// already holds exactly this model. Raises RuntimeError when the file holds
// another model or the schema cannot be created (nothing is left behind).
void EnsureSchema(Database& db, const Model& model);

}  // namespace vtx::emu

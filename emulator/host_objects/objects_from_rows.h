#pragma once

#include <string>
#include <vector>

#include "emulator/store/record_table.h"
#include "emulator/store/store.h"
#include "host/kv_object.h"

namespace vtx::emu {

// The objects that rows name, each holding its stored values overlaid with
// the other columns of its row (a value that does not convert to the
// attribute's type is left out). A row names its object by OBJECT_ID (and
// CLASS_ID when present); composite rows by "S.OBJECT_ID", else
// "F.OBJECT_ID", else "L.OBJECT_ID", overlaid with that alias's columns.
// One read per class. Raises the host's failure for a row that names no
// object or an object that does not exist.
std::vector<Ref<KvObject>> ObjectsFromRows(const std::shared_ptr<Store>& store,
                                           const Ref<KvObjectStore>& object_store,
                                           const RecordTable& rows);

// The prefix ("S.", "F.", "L." or "") whose columns name the objects of rows.
std::string RowPrefix(const RecordTable& rows);

// Instances of stored objects with all their values read, in the order of
// `refs`; one read per class. Raises for an object that does not exist.
std::vector<Ref<KvObject>> LoadObjects(const std::shared_ptr<Store>& store,
                                       const Ref<KvObjectStore>& object_store,
                                       const std::vector<ObjectRef>& refs);

}  // namespace vtx::emu

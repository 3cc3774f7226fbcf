#pragma once

#include <memory>

#include "emulator/store/store.h"
#include "host/kv_forward.h"

namespace vtx::emu {

// Where the Korvel interfaces over a store begin: the host objects (Emu*)
// that the emulated host hands to the add-in. Each operation on them enters
// the store's monitor; making them does not.
// Thread-safety: the store's thread. Ownership: every object returned is
// new, owned by the caller, and keeps the store alive.

// A class dictionary of the store's model (KvSession.GetClasses).
Ref<KvClasses> NewClasses(const Store& store);
// A new object store bound to `session` (KvObjectStore.GetSession returns
// it), which it holds weakly: the session owns it, makes one and returns it
// from every GetObjectStore.
Ref<KvObjectStore> NewObjectStore(const std::shared_ptr<Store>& store,
                                  const Ref<KvSession>& session);
// A new, empty record list ("KvRecList.KvRecordList").
Ref<KvRecordList> NewRecordList(const Store& store);
// A new, empty string list (KvSession.CreateStringList).
Ref<KvStrings> NewStrings(const Store& store);
// Korvel's own work, not monitored: a KvObject of the stored object with its
// values read, through `object_store` (one from NewObjectStore). Raises when
// it does not exist.
Ref<KvObject> LoadObject(Store& store, const Ref<KvObjectStore>& object_store, ObjectRef object);

}  // namespace vtx::emu

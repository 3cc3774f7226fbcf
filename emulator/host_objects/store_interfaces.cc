#include "emulator/host_objects/store_interfaces.h"

#include "emulator/host_objects/emu_class.h"
#include "emulator/host_objects/emu_object_store.h"
#include "emulator/host_objects/emu_record_list.h"
#include "emulator/host_objects/emu_strings.h"

namespace vtx::emu {

Ref<KvClasses> NewClasses(const Store& store) { return MakeRef<EmuClasses>(ContextOf(store)); }

Ref<KvObjectStore> NewObjectStore(const std::shared_ptr<Store>& store,
                                  const Ref<KvSession>& session) {
  return MakeRef<EmuObjectStore>(store, session);
}

Ref<KvRecordList> NewRecordList(const Store& store) {
  return MakeRef<EmuRecordList>(store.SharedMonitor());
}

Ref<KvStrings> NewStrings(const Store& store) { return MakeRef<EmuStrings>(store.SharedMonitor()); }

Ref<KvObject> LoadObject(Store& store, const Ref<KvObjectStore>& object_store, ObjectRef object) {
  CallMonitor::Pause pause(store.Monitor());
  auto own = CastTo<EmuObjectStore>(Ref<Dispatch>(object_store));
  if (!own) Raise(err::kObjectVariableNotSet);
  return own->Load(object);
}

}  // namespace vtx::emu

#include "emulator/host_objects/emu_sequence.h"

#include <fmt/format.h>

#include "emulator/host_objects/emu_class.h"
#include "emulator/sql/database.h"
#include "emulator/store/store.h"

namespace vtx::emu {

Ref<KvSequence> EmuSequences::GetSequenceOfAttribute(const Ref<KvAttribute>& attribute) {
  store_->Monitor().Enter(op::KvSequences::GetSequenceOfAttribute,
                          Variant(Ref<Dispatch>(attribute)));
  auto a = CastTo<EmuAttribute>(attribute);
  if (!a) Raise(err::kObjectVariableNotSet);
  const ClassDef& owner = a->Owner();
  const std::string& name = a->Def().name;
  for (const ClassDef* def : {&owner, store_->GetModel().ById(owner.super)}) {
    if (def && def->sequences.count(name)) return MakeRef<EmuSequence>(store_, def->id, name);
  }
  return nullptr;
}

Variant EmuSequence::NextValue() {
  store_->Monitor().Enter(op::KvSequence::NextValue);
  Database& db = store_->Db();
  Database::Transaction tx(db);
  db.Prepare("UPDATE KV_SEQUENCES SET NEXT = NEXT + 1 WHERE CLASS_ID = ? AND ATTRIBUTE = ?")
      .BindInt(1, class_id_)
      .BindText(2, attribute_)
      .Run();
  Statement s =
      db.Prepare("SELECT NEXT - 1, FORMAT FROM KV_SEQUENCES WHERE CLASS_ID = ? AND ATTRIBUTE = ?");
  s.BindInt(1, class_id_).BindText(2, attribute_);
  if (!s.Step()) Raise(err::kHostFailure, "The sequence does not exist", "Korvel");
  const int64_t number = s.Int(0);
  const std::string format = s.Text(1);
  s.Reset();
  tx.Commit();
  return Variant(fmt::format(fmt::runtime(format), number));
}

}  // namespace vtx::emu

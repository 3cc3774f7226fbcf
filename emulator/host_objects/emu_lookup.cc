#include "emulator/host_objects/emu_lookup.h"

#include "emulator/sql/database.h"
#include "emulator/store/store.h"

namespace vtx::emu {

Ref<KvLookupItem> FindLookupItemByText(const std::shared_ptr<Store>& store, int16_t class_id,
                                       const std::string& text) {
  Statement s = store->Db().Prepare(
      "SELECT ITEM_ID, TEXT FROM KV_LOOKUP_ITEMS WHERE CLASS_ID = ? AND TEXT = ? "
      "ORDER BY ITEM_ID LIMIT 1");
  s.BindInt(1, class_id).BindText(2, text);
  if (!s.Step()) return nullptr;
  return MakeRef<EmuLookupItem>(store, static_cast<int32_t>(s.Int(0)), s.Text(1));
}

Ref<KvLookupItem> FindLookupItemById(const std::shared_ptr<Store>& store, int16_t class_id,
                                     int32_t id) {
  Statement s = store->Db().Prepare(
      "SELECT ITEM_ID, TEXT FROM KV_LOOKUP_ITEMS WHERE CLASS_ID = ? AND ITEM_ID = ?");
  s.BindInt(1, class_id).BindInt(2, id);
  if (!s.Step()) return nullptr;
  return MakeRef<EmuLookupItem>(store, static_cast<int32_t>(s.Int(0)), s.Text(1));
}

Ref<KvLookupItem> EmuLookupTable::FindItem(const std::string& text) {
  store_->Monitor().Enter(op::KvLookupTable::FindItem, text);
  return FindLookupItemByText(store_, class_id_, text);
}

int32_t EmuLookupItem::GetId() {
  store_->Monitor().Enter(op::KvLookupItem::GetId);
  return id_;
}

std::string EmuLookupItem::GetText() {
  store_->Monitor().Enter(op::KvLookupItem::GetText);
  return text_;
}

std::string EmuObjectDisplay::GetText(int32_t flags) {
  store_->Monitor().Enter(op::KvObjectDisplay::GetText, flags);
  return text_;
}

}  // namespace vtx::emu

#include "emulator/host_objects/emu_object_store.h"

#include <fmt/format.h>

#include "emulator/host_objects/emu_class.h"
#include "emulator/host_objects/emu_lookup.h"
#include "emulator/host_objects/emu_object.h"
#include "emulator/host_objects/emu_objects.h"
#include "emulator/host_objects/emu_options.h"
#include "emulator/host_objects/emu_query.h"
#include "emulator/host_objects/emu_record.h"
#include "emulator/host_objects/emu_record_list.h"
#include "emulator/host_objects/emu_sequence.h"
#include "emulator/host_objects/emu_sql_query.h"
#include "emulator/host_objects/emu_tree_query.h"
#include "emulator/host_objects/objects_from_rows.h"
#include "emulator/store/object_table.h"

namespace vtx::emu {

namespace {

Variant Arg(const Ref<Dispatch>& object) { return Variant(object); }

// The rows of a record list, whatever implements it.
std::shared_ptr<const RecordTable> RowsOf(Store& store, const Ref<KvRecordList>& list) {
  if (!list) Raise(err::kObjectVariableNotSet);
  if (auto* own = dynamic_cast<EmuRecordList*>(list.get())) return own->Snapshot();
  CallMonitor::Pause pause(store.Monitor());
  auto table = std::make_shared<RecordTable>();
  const int32_t columns = list->GetColumnCount();
  for (int32_t c = 0; c < columns; ++c)
    table->columns.push_back(Column{list->GetColumnName(c), 0, 0});
  const int32_t rows = list->GetRecordCount();
  for (int32_t r = 0; r < rows; ++r) {
    std::vector<Variant> row;
    for (int32_t c = 0; c < columns; ++c) row.push_back(list->GetValueAt(c, r));
    table->rows.push_back(std::move(row));
  }
  return table;
}

}  // namespace

EmuObjectStore::EmuObjectStore(std::shared_ptr<Store> store, const Ref<KvSession>& session)
    : store_(std::move(store)),
      session_(session.shared()),
      defaults_(MakeRef<EmuOptions>(store_->SharedMonitor())) {}

Ref<KvObjectStore> EmuObjectStore::Self() {
  return Ref<KvObjectStore>(std::static_pointer_cast<EmuObjectStore>(shared_from_this()));
}

Ref<KvObject> EmuObjectStore::Load(ObjectRef object) {
  const auto stored = store_->Objects().ClassOf(object.object_id);
  if (!stored || !store_->GetModel().IsA(*stored, object.class_id))
    Raise(
        err::kHostFailure,
        fmt::format("The object {} of class {} does not exist", object.object_id, object.class_id),
        "Korvel");
  return LoadObjects(store_, Self(), {ObjectRef{*stored, object.object_id}}).front();
}

Ref<KvSession> EmuObjectStore::GetSession() {
  store_->Monitor().Enter(op::KvObjectStore::GetSession);
  return Ref<KvSession>(session_.lock());
}

Ref<KvObject> EmuObjectStore::CreateObject(int16_t class_id) {
  store_->Monitor().Enter(op::KvObjectStore::CreateObject, class_id);
  return MakeRef<EmuObject>(store_, Self(), store_->ClassOrRaise(class_id), 0);
}

Ref<KvObjects> EmuObjectStore::CreateObjects() {
  store_->Monitor().Enter(op::KvObjectStore::CreateObjects);
  return MakeRef<EmuObjects>(store_, Self());
}

Ref<KvObject> EmuObjectStore::GetObjectById(int16_t class_id, int32_t object_id) {
  store_->Monitor().Enter(op::KvObjectStore::GetObjectById, class_id, object_id);
  return Load(ObjectRef{class_id, object_id});
}

Ref<KvObject> EmuObjectStore::ObjectFromRecord(const Ref<KvRecord>& record, const Variant& flag) {
  store_->Monitor().Enter(op::KvObjectStore::ObjectFromRecord, Arg(record), flag);
  if (!record) Raise(err::kObjectVariableNotSet);
  RecordTable table;
  if (auto* own = dynamic_cast<EmuRecord*>(record.get())) {
    table.columns = own->Columns();
    std::vector<Variant> row;
    for (size_t i = 0; i < table.columns.size(); ++i) row.push_back(own->ValueAt(i));
    table.rows.push_back(std::move(row));
    if (own->RowObject() != 0) table.row_objects.push_back(own->RowObject());
  } else {
    Raise(err::kTypeMismatch);
  }
  return ObjectsFromRows(store_, Self(), table).front();
}

Ref<KvObjects> EmuObjectStore::ObjectsFromRecordList(const Ref<KvRecordList>& list,
                                                     const Variant& flag) {
  store_->Monitor().Enter(op::KvObjectStore::ObjectsFromRecordList, Arg(list), flag);
  auto rows = RowsOf(*store_, list);
  return EmuObjects::FromItems(store_, Self(), ObjectsFromRows(store_, Self(), *rows));
}

Ref<KvCompositeObjects> EmuObjectStore::ObjectsFromRecords(const Ref<KvRecordList>& list,
                                                           const Variant& flag) {
  store_->Monitor().Enter(op::KvObjectStore::ObjectsFromRecords, Arg(list), flag);
  return EmuObjects::FromRows(store_, Self(), RowsOf(*store_, list));
}

Ref<KvOptions> EmuObjectStore::GetDefaultOptions() {
  store_->Monitor().Enter(op::KvObjectStore::GetDefaultOptions);
  return defaults_;
}

Ref<KvQueryFactory> EmuObjectStore::GetQueryFactory() {
  store_->Monitor().Enter(op::KvObjectStore::GetQueryFactory);
  return MakeRef<EmuQueryFactory>(store_);
}

Ref<KvQuery> EmuObjectStore::NewQuery() {
  store_->Monitor().Enter(op::KvObjectStore::NewQuery);
  return MakeRef<EmuQuery>(store_);
}

Ref<KvSqlQuery> EmuObjectStore::CreateQuery() {
  store_->Monitor().Enter(op::KvObjectStore::CreateQuery);
  return MakeRef<EmuSqlQuery>(store_);
}

Ref<KvTreeQuery> EmuObjectStore::CreateTreeQuery(const std::string& work_file) {
  store_->Monitor().Enter(op::KvObjectStore::CreateTreeQuery, work_file);
  return MakeRef<EmuTreeQuery>(store_, Self(), work_file);
}

Ref<KvLookupTable> EmuObjectStore::GetLookupTable(int16_t class_id) {
  store_->Monitor().Enter(op::KvObjectStore::GetLookupTable, class_id);
  store_->ClassOrRaise(class_id);
  return MakeRef<EmuLookupTable>(store_, class_id);
}

Ref<KvLookupItem> EmuObjectStore::GetLookupItemById(int16_t class_id, int32_t id) {
  store_->Monitor().Enter(op::KvObjectStore::GetLookupItemById, class_id, id);
  store_->ClassOrRaise(class_id);
  return FindLookupItemById(store_, class_id, id);
}

Ref<KvLookupItem> EmuObjectStore::FindLookupItem(int16_t class_id, const std::string& text) {
  store_->Monitor().Enter(op::KvObjectStore::FindLookupItem, class_id, text);
  store_->ClassOrRaise(class_id);
  return FindLookupItemByText(store_, class_id, text);
}

Ref<KvObjectDisplay> EmuObjectStore::GetObjectDisplay(int16_t class_id, int32_t object_id,
                                                      int32_t flags) {
  store_->Monitor().Enter(op::KvObjectStore::GetObjectDisplay, class_id, object_id, flags);
  auto object = Load(ObjectRef{class_id, object_id});
  auto* own = static_cast<EmuObject*>(object.get());
  return MakeRef<EmuObjectDisplay>(store_, KeyTextOf(own->Def(), own->Data(), " "));
}

Ref<KvSequences> EmuObjectStore::GetSequences() {
  store_->Monitor().Enter(op::KvObjectStore::GetSequences);
  return MakeRef<EmuSequences>(store_);
}

}  // namespace vtx::emu

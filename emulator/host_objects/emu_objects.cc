#include "emulator/host_objects/emu_objects.h"

#include <map>

#include "emulator/host_objects/emu_object.h"
#include "emulator/host_objects/emu_record_list.h"
#include "emulator/host_objects/objects_from_rows.h"
#include "emulator/store/object_table.h"

namespace vtx::emu {

namespace {

uint64_t Key(const ObjectRef& r) {
  return (static_cast<uint64_t>(static_cast<uint16_t>(r.class_id)) << 32) |
         static_cast<uint32_t>(r.object_id);
}

}  // namespace

EmuObjects::EmuObjects(std::shared_ptr<Store> store, Ref<KvObjectStore> object_store)
    : store_(std::move(store)),
      object_store_(std::move(object_store)),
      state_(std::make_shared<State>()) {}

Ref<EmuObjects> EmuObjects::FromItems(std::shared_ptr<Store> store, Ref<KvObjectStore> object_store,
                                      std::vector<Ref<KvObject>> items) {
  auto out = MakeRef<EmuObjects>(std::move(store), std::move(object_store));
  out->state_->items = std::move(items);
  return out;
}

Ref<EmuObjects> EmuObjects::FromRows(std::shared_ptr<Store> store, Ref<KvObjectStore> object_store,
                                     std::shared_ptr<const RecordTable> rows) {
  auto out = MakeRef<EmuObjects>(std::move(store), std::move(object_store));
  out->state_->pending = !rows->rows.empty();
  out->state_->source = std::move(rows);
  return out;
}

void EmuObjects::Materialize() {
  if (!state_->pending) return;
  // Every sharer sees the same instances: making them is not a change.
  state_->items = ObjectsFromRows(store_, object_store_, *state_->source);
  state_->pending = false;
}

const std::vector<Ref<KvObject>>& EmuObjects::Items() {
  Materialize();
  return state_->items;
}

EmuObjects::State& EmuObjects::Mutable(bool keep_index) {
  Materialize();
  if (state_.use_count() != 1) {
    auto copy = std::make_shared<State>();
    copy->items = state_->items;
    if (keep_index && state_->index_valid) {
      copy->index = state_->index;
      copy->unindexed = state_->unindexed;
      copy->index_valid = true;
    }
    state_ = std::move(copy);
  }
  state_->source.reset();
  state_->rows_cache.reset();
  if (!keep_index) {
    state_->index_valid = false;
    state_->index.clear();
    state_->unindexed.clear();
  }
  return *state_;
}

void EmuObjects::IndexItem(State& state, int32_t position) {
  const ObjectRef r = IdentityOf(*store_, state.items[position]);
  if (r.object_id == 0) {
    state.unindexed.push_back(position);
    return;
  }
  auto [it, added] = state.index.emplace(Key(r), position);
  if (!added && it->second > position) it->second = position;
}

std::shared_ptr<const RecordTable> EmuObjects::Rows() {
  if (state_->source) return state_->source;
  const uint64_t epoch = *store_->ValuesEpoch();
  if (state_->rows_cache && state_->rows_epoch == epoch) return state_->rows_cache;

  auto table = std::make_shared<RecordTable>();
  table->columns = {Column{attr::kClassId, 0, 2}, Column{attr::kObjectId, 0, 3}};
  std::map<std::string, int, std::less<>> column_of;
  struct Cell {
    int column;
    Variant value;
  };
  std::vector<std::vector<Cell>> cells(state_->items.size());
  std::vector<ObjectRef> ids(state_->items.size());
  for (size_t r = 0; r < state_->items.size(); ++r) {
    const Ref<KvObject>& item = state_->items[r];
    ids[r] = IdentityOf(*store_, item);
    auto* object = dynamic_cast<EmuObject*>(item.get());
    if (!object) continue;
    const EmuRecord& data = object->Data();
    for (size_t i = 2; i < data.Columns().size(); ++i) {
      const Variant& v = data.ValueAt(i);
      if (v.IsEmpty()) continue;
      const Column& c = data.Columns()[i];
      auto it = column_of.find(c.name);
      if (it == column_of.end()) {
        it = column_of.emplace(c.name, static_cast<int>(table->columns.size())).first;
        table->columns.push_back(c);
      }
      cells[r].push_back(Cell{it->second, v});
    }
  }
  table->rows.reserve(cells.size());
  for (size_t r = 0; r < cells.size(); ++r) {
    std::vector<Variant> row(table->columns.size());
    row[0] = Variant(ids[r].class_id);
    row[1] = Variant(ids[r].object_id);
    for (Cell& c : cells[r]) row[c.column] = std::move(c.value);
    table->rows.push_back(std::move(row));
  }
  // Building the rows reads identities only, so the epoch taken above holds.
  state_->rows_cache = std::move(table);
  state_->rows_epoch = epoch;
  return state_->rows_cache;
}

int32_t EmuObjects::GetCount() {
  store_->Monitor().Enter(op::KvObjects::GetCount);
  return static_cast<int32_t>(state_->pending ? state_->source->rows.size() : state_->items.size());
}

Ref<KvObject> EmuObjects::Item(int32_t index) {
  store_->Monitor().Enter(op::KvObjects::Item, index);
  const auto& items = Items();
  if (index < 0 || static_cast<size_t>(index) >= items.size()) Raise(err::kSubscriptOutOfRange);
  return items[index];
}

void EmuObjects::Add(const Ref<KvObject>& object) {
  store_->Monitor().Enter(op::KvObjects::Add, Variant(Ref<Dispatch>(object)));
  if (!object) Raise(err::kObjectVariableNotSet);
  // Kept up to date: a loop of IndexOf and Add must not rebuild it each time.
  State& state = Mutable(true);
  state.items.push_back(object);
  if (state.index_valid) IndexItem(state, static_cast<int32_t>(state.items.size() - 1));
}

void EmuObjects::Clear() {
  store_->Monitor().Enter(op::KvObjects::Clear);
  Mutable().items.clear();
}

Ref<KvObjects> EmuObjects::GetCopy() {
  store_->Monitor().Enter(op::KvObjects::GetCopy);
  auto copy = MakeRef<EmuObjects>(store_, object_store_);
  copy->state_ = state_;
  copy->to_read_ = to_read_;
  return copy;
}

Ref<KvRecordList> EmuObjects::GetRecordList() {
  store_->Monitor().Enter(op::KvObjects::GetRecordList);
  return MakeRef<EmuRecordList>(store_->SharedMonitor(), Rows());
}

int32_t EmuObjects::IndexOf(const Ref<KvObject>& object) {
  store_->Monitor().Enter(op::KvObjects::IndexOf, Variant(Ref<Dispatch>(object)));
  if (!object) Raise(err::kObjectVariableNotSet);
  const ObjectRef wanted = IdentityOf(*store_, object);
  const auto& items = Items();
  if (wanted.object_id == 0) {
    for (size_t i = 0; i < items.size(); ++i)
      if (items[i] == object) return static_cast<int32_t>(i);
    return -1;
  }
  State& state = *state_;
  if (!state.index_valid) {
    state.index.clear();
    state.unindexed.clear();
    for (size_t i = 0; i < items.size(); ++i) IndexItem(state, static_cast<int32_t>(i));
    state.index_valid = true;
  } else if (!state.unindexed.empty()) {
    // New objects stored since they were indexed have an identity now.
    std::vector<int32_t> waiting;
    waiting.swap(state.unindexed);
    for (int32_t position : waiting) IndexItem(state, position);
  }
  auto it = state.index.find(Key(wanted));
  return it == state.index.end() ? -1 : it->second;
}

void EmuObjects::SetAttributesToRead(const std::string& names) {
  store_->Monitor().Enter(op::KvObjects::SetAttributesToRead, names);
  to_read_.clear();
  size_t start = 0;
  while (start <= names.size()) {
    size_t end = names.find(';', start);
    if (end == std::string::npos) end = names.size();
    std::string name = names.substr(start, end - start);
    name.erase(0, name.find_first_not_of(' '));
    name.erase(name.find_last_not_of(' ') + 1);
    if (!name.empty()) to_read_.push_back(std::move(name));
    start = end + 1;
  }
}

void EmuObjects::RetrieveAll() {
  store_->Monitor().Enter(op::KvObjects::RetrieveAll);
  Materialize();
  std::map<int16_t, std::vector<EmuObject*>> by_class;
  for (const Ref<KvObject>& item : state_->items)
    if (auto* object = dynamic_cast<EmuObject*>(item.get()); object && object->IsStored())
      by_class[object->Def().id].push_back(object);
  for (auto& [class_id, objects] : by_class) {
    const ClassDef& def = objects.front()->Def();
    std::vector<int> attributes;
    if (to_read_.empty()) {
      for (size_t i = 0; i < def.attributes.size(); ++i) attributes.push_back(static_cast<int>(i));
    } else {
      for (const std::string& name : to_read_) {
        const int index = def.FindAttribute(name);
        if (index < 0) RaiseUnknownAttribute(def, name);
        attributes.push_back(index);
      }
    }
    std::vector<int32_t> ids;
    for (EmuObject* o : objects) ids.push_back(o->Identity().object_id);
    auto values = store_->Objects().ReadMany(def, ids, attributes);
    for (EmuObject* o : objects) {
      auto it = values.find(o->Identity().object_id);
      if (it == values.end()) RaiseMissingObject(o->Identity().object_id);
      o->LoadSome(attributes, it->second);
    }
  }
  // The values changed: the rows the collection came from no longer tell.
  state_->source.reset();
}

}  // namespace vtx::emu

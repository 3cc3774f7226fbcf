#include "emulator/store/store.h"

#include <chrono>

#include <fmt/format.h>

#include "emulator/sql/database.h"
#include "emulator/store/ledger.h"
#include "emulator/store/ledger_writer.h"
#include "emulator/store/object_table.h"
#include "emulator/store/record_table.h"
#include "emulator/store/schema.h"
#include "emulator/store/value_convert.h"
#include "platform/local_clock.h"
#include "runtime/ole_date.h"
#include "runtime/text.h"

namespace vtx::emu {

namespace {

[[noreturn]] void Fail(const std::string& message) { Raise(err::kHostFailure, message, "Korvel"); }

// A text longer than its attribute's declared length is refused before
// anything is written, as a database refuses it for its column.
void CheckLength(const ClassDef& def, int index, const Variant& value) {
  const AttributeDef& a = def.attributes[index];
  if (a.length <= 0 || !value.IsString()) return;
  const int32_t length = text::Len(value.AsString());
  if (length > a.length)
    Fail(fmt::format("The value of {} in {} is {} characters long; the attribute holds {}", a.name,
                     def.name, length, a.length));
}

}  // namespace

Store::Store(Model model, std::shared_ptr<CallMonitor> monitor, StoreHooks hooks)
    : model_(std::make_shared<const Model>(std::move(model))),
      monitor_(monitor ? std::move(monitor) : std::make_shared<CallMonitor>()),
      hooks_(std::move(hooks)) {}

Store::~Store() = default;

std::shared_ptr<Store> Store::Open(const DatabaseLocation& location, Model model, StoreHooks hooks,
                                   std::shared_ptr<CallMonitor> monitor, OpenMode mode) {
  std::shared_ptr<Store> store(new Store(std::move(model), std::move(monitor), std::move(hooks)));
  store->db_ = std::make_unique<Database>(location, mode);
  std::vector<std::string> spellings;
  for (const ClassDef& def : store->model_->classes)
    for (const AttributeDef& a : def.attributes) spellings.push_back(a.name);
  for (const TableDef& table : store->model_->tables)
    for (const auto& [name, _] : table.columns) spellings.push_back(name);
  store->db_->KnowSpellings(spellings);
  store->created_ = EnsureSchema(*store->db_, *store->model_, mode);
  store->objects_ = std::make_unique<ObjectTable>(*store->db_, *store->model_);
  store->chain_ = std::make_unique<LedgerChain>(*store->db_);
  if (mode != OpenMode::kRead) AdoptOlderDatabase(*store->chain_, *store->model_, *store->objects_);
  return store;
}

std::shared_ptr<Store> Store::Open(const DatabaseLocation& location, const nlohmann::json& model,
                                   StoreHooks hooks, std::shared_ptr<CallMonitor> monitor,
                                   OpenMode mode) {
  return Open(location, ParseModel(model), std::move(hooks), std::move(monitor), mode);
}

std::shared_ptr<Store> Store::Open(const DatabaseLocation& location,
                                   const nlohmann::ordered_json& model, StoreHooks hooks,
                                   std::shared_ptr<CallMonitor> monitor, OpenMode mode) {
  return Open(location, ParseModel(model), std::move(hooks), std::move(monitor), mode);
}

void Store::SetClock(std::function<double()> clock) { hooks_.clock = std::move(clock); }

void Store::SetCurrentUser(std::function<int32_t()> current_user) {
  hooks_.current_user = std::move(current_user);
}

void Store::SetPathMapper(std::function<std::string(const std::string&)> map_path) {
  hooks_.map_path = std::move(map_path);
}

std::shared_ptr<const std::vector<Column>> Store::ColumnsOf(const ClassDef& def) {
  auto& columns = columns_[def.id];
  if (!columns) {
    auto list = std::make_shared<std::vector<Column>>();
    for (const AttributeDef& a : def.attributes) list->push_back(Column{a.name, a.length, a.type});
    columns = std::move(list);
  }
  return columns;
}

const ClassDef& Store::ClassOrRaise(int16_t class_id) const {
  const ClassDef* def = model_->ById(class_id);
  if (!def) Fail(fmt::format("The class {} does not exist", class_id));
  return *def;
}

const ClassDef& Store::ClassByNameOrRaise(std::string_view name) const {
  const ClassDef* def = model_->ByName(name);
  if (!def) Fail(fmt::format("The class {} does not exist", name));
  return *def;
}

double Store::Now() const {
  if (hooks_.clock) return hooks_.clock();
  return LocalNowAsOleDate();
}

int32_t Store::CurrentUser() const { return hooks_.current_user ? hooks_.current_user() : 0; }

std::string Store::MapPath(const std::string& windows_path) const {
  return hooks_.map_path ? hooks_.map_path(windows_path) : std::string();
}

void Store::KnowHeads() {
  if (objects_->KnownHighest() || chain_->Known()) return;
  // A new record takes the next id and the next entry of the chain: both
  // ends are read in one statement (one round trip to a server), once per
  // write transaction.
  chain_->EnsureTable();
  Statement heads = db_->Prepare(
      fmt::format("SELECT {}, {}", ObjectTable::HighestIdSql(), LedgerChain::HeadSql()));
  heads.Step();
  objects_->KnowHighest(heads.Int(0));
  chain_->Know(heads.IsNull(1) ? std::nullopt : std::optional<int64_t>(heads.Int(1)),
               heads.IsNull(2) ? std::string() : heads.Text(2));
}

int32_t Store::StoreNew(const ClassDef& def, std::vector<Variant>& values,
                        std::optional<int32_t> id) {
  values.resize(def.attributes.size());
  const int at = def.FindAttribute(attr::kCreatedAt);
  const int by = def.FindAttribute(attr::kCreatedBy);
  values[at] = Variant::Date(Now());
  values[by] = Variant(CurrentUser());
  if (id && *id <= 0) Fail(fmt::format("{} is not a valid object id", *id));
  for (size_t i = 0; i < values.size(); ++i) CheckLength(def, static_cast<int>(i), values[i]);
  Database::Transaction tx(*db_);
  if (!id && IsLedgered(*model_, def)) KnowHeads();
  const int32_t object_id = objects_->Insert(def, id, values);
  values[0] = Variant(def.id);
  values[1] = Variant(object_id);
  LedgerStored(*chain_, *model_, *objects_, def, object_id, values, values[at].AsDate(),
               CurrentUser());
  tx.Commit();
  stored_.push_back(ObjectRef{def.id, object_id});
  return object_id;
}

void Store::StoreChanges(const ClassDef& def, int32_t object_id,
                         const std::vector<std::pair<int, Variant>>& changes) {
  LedgerRefuseUpdate(*model_, def, object_id);
  for (const auto& [index, value] : changes) CheckLength(def, index, value);
  // A change that re-points a link away from a record is chained too.
  const bool joined = JoinsRecord(*model_, *objects_, def, object_id);
  Database::Transaction tx(*db_);
  objects_->Update(def, object_id, changes);
  if (joined || JoinsRecord(*model_, *objects_, def, object_id))
    LedgerRelinked(*chain_, def, object_id, Now(), CurrentUser());
  tx.Commit();
}

void Store::DeleteStored(int32_t object_id) {
  Database::Transaction tx(*db_);
  const double now = Now();
  const int32_t user = CurrentUser();
  objects_->DeleteCascade(object_id, [&](int32_t id, int16_t class_id) {
    LedgerDeleting(*chain_, *model_, *objects_, id, class_id, now, user);
  });
  tx.Commit();
}

std::vector<Variant> Store::ConvertValues(const ClassDef& def, const Values& values) const {
  std::vector<Variant> out(def.attributes.size());
  for (const auto& [name, value] : values) {
    const int index = def.FindAttribute(name);
    if (index < 0) RaiseUnknownAttribute(def, name);
    out[index] = ConvertToFieldType(value, def.attributes[index].type);
  }
  return out;
}

int32_t Store::Insert(std::string_view class_name, const Values& values,
                      std::optional<int32_t> id) {
  CallMonitor::Pause pause(*monitor_);
  const ClassDef& def = ClassByNameOrRaise(class_name);
  std::vector<Variant> converted = ConvertValues(def, values);
  return StoreNew(def, converted, id);
}

void Store::Update(ObjectRef object, const Values& values) {
  CallMonitor::Pause pause(*monitor_);
  const auto stored = objects_->ClassOf(object.object_id);
  if (!stored || !model_->IsA(*stored, object.class_id)) RaiseMissingObject(object.object_id);
  const ClassDef& def = ClassOrRaise(*stored);
  const std::vector<Variant> converted = ConvertValues(def, values);
  std::vector<std::pair<int, Variant>> changes;
  for (const auto& [name, _] : values) {
    const int index = def.FindAttribute(name);
    changes.emplace_back(index, converted[index]);
  }
  StoreChanges(def, object.object_id, changes);
}

void Store::Delete(ObjectRef object) {
  CallMonitor::Pause pause(*monitor_);
  const auto stored = objects_->ClassOf(object.object_id);
  if (!stored || !model_->IsA(*stored, object.class_id)) RaiseMissingObject(object.object_id);
  DeleteStored(object.object_id);
}

int32_t Store::Link(std::string_view link_class_name, ObjectRef from, ObjectRef to,
                    const Values& values, std::optional<int32_t> id) {
  CallMonitor::Pause pause(*monitor_);
  const ClassDef& def = ClassByNameOrRaise(link_class_name);
  if (!def.IsLink()) Fail(fmt::format("The class {} is not a link class", def.name));
  for (const ObjectRef& end : {from, to}) {
    const auto stored = objects_->ClassOf(end.object_id);
    if (!stored || !model_->IsA(*stored, end.class_id)) RaiseMissingObject(end.object_id);
  }
  std::vector<Variant> converted = ConvertValues(def, values);
  auto set = [&](const char* name, Variant v) {
    converted[def.FindAttribute(name)] = std::move(v);
  };
  if (def.kind == kind::kRelation) {
    set(attr::kClassId1, Variant(*objects_->ClassOf(from.object_id)));
    set(attr::kObjectId1, Variant(from.object_id));
    set(attr::kClassId2, Variant(*objects_->ClassOf(to.object_id)));
    set(attr::kObjectId2, Variant(to.object_id));
  } else {
    set(attr::kParObjectId, Variant(from.object_id));
    set(attr::kSonObjectId, Variant(to.object_id));
  }
  return StoreNew(def, converted, id);
}

std::optional<ObjectRef> Store::Find(std::string_view class_name, int32_t object_id) {
  const ClassDef& def = ClassByNameOrRaise(class_name);
  const auto stored = objects_->ClassOf(object_id);
  if (!stored || !model_->IsA(*stored, def.id)) return std::nullopt;
  return ObjectRef{*stored, object_id};
}

std::optional<ObjectRef> Store::FindByKey(std::string_view class_name, std::string_view key_text) {
  for (const DumpedObject& object : Dump(class_name)) {
    const ClassDef& def = ClassOrRaise(object.ref.class_id);
    std::string key;
    for (size_t i = 0; i < def.identifiers.size(); ++i) {
      if (i > 0) key += ' ';
      const Variant& v = object.values[def.FindAttribute(def.identifiers[i])].second;
      if (!v.IsNull() && !v.IsEmpty()) key += v.ToString();
    }
    if (key == key_text) return object.ref;
  }
  return std::nullopt;
}

std::vector<DumpedObject> Store::Dump(std::string_view class_name) {
  const ClassDef& top = ClassByNameOrRaise(class_name);
  std::vector<DumpedObject> out;
  for (int16_t id : model_->Descendants(top.id)) {
    const ClassDef& def = *model_->ById(id);
    Statement s = db_->Prepare(fmt::format("SELECT * FROM {}", QuoteId(def.table)));
    while (s.Step()) {
      DumpedObject object;
      object.class_name = def.name;
      object.values.reserve(def.attributes.size());
      for (size_t i = 0; i < def.attributes.size(); ++i)
        object.values.emplace_back(def.attributes[i].name, FromStorage(s.Value(static_cast<int>(i)),
                                                                       def.attributes[i].type));
      object.ref = ObjectRef{def.id, object.values[1].second.AsI4()};
      out.push_back(std::move(object));
    }
  }
  std::sort(out.begin(), out.end(), [](const DumpedObject& a, const DumpedObject& b) {
    return a.ref.object_id < b.ref.object_id;
  });
  return out;
}

}  // namespace vtx::emu

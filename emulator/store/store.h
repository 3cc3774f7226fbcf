#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <nlohmann/json.hpp>

#include "emulator/call_monitor.h"
#include "emulator/sql/database_location.h"
#include "emulator/sql/open_mode.h"
#include "emulator/store/model.h"
#include "emulator/store/model_error.h"

namespace vtx::emu {

class Database;
class LedgerChain;
class ObjectTable;
struct Column;

// Attribute values by name, in the order given.
using Values = std::vector<std::pair<std::string, Variant>>;

// The identity of a stored object.
struct ObjectRef {
  int16_t class_id = 0;
  int32_t object_id = 0;
  friend bool operator==(const ObjectRef&, const ObjectRef&) = default;
};

// One stored object as the runner dumps it: every attribute of its class, in
// attribute order, each value a Variant of the attribute's type (Null when
// stored without a value).
struct DumpedObject {
  ObjectRef ref;
  std::string class_name;
  Values values;
};

// Hooks the embedding host supplies. Each may be left empty.
struct StoreHooks {
  // Local date and time as an OLE date; empty: the real clock.
  std::function<double()> clock;
  // Object id of the logged-in user, stamped as creator; empty: 0.
  std::function<int32_t()> current_user;
  // Maps a Windows path ("C:\Temp\VTX_Temp\TREE.inf") to a path of this
  // machine; empty: work files are not written.
  std::function<std::string(const std::string&)> map_path;
};

// The emulated Korvel object store: a model of classes over a database of
// the SQL layer (SQLite or PostgreSQL), its objects and links, and the ledger
// of electronic records. The Korvel interfaces over it (KvClasses,
// KvObjectStore, objects, collections, record lists, queries) are the host
// objects' (emulator/host_objects/store_interfaces.h): the store names none.
//
// Opening: `Open(path, model)` with a file path, ":memory:" or a PostgreSQL
// URI. A new database gets the model's tables, lookup items, plain tables and
// sequences; one that already holds the same model is used as it is (several
// processes may open one database and write concurrently, one transaction
// per write). An invalid model raises ModelError and creates nothing.
//
// Every Kv* operation of the host objects begins with
// Monitor().Enter(op::Interface::Operation), so it can be traced and made to
// fail. The host actions below run under CallMonitor::Pause: they are
// Korvel's own work, not the add-in's.
//
// Thread-safety: a Store and everything it hands out are used on one thread.
// Ownership: Open returns shared ownership; host objects keep the store alive.
class Store : public std::enable_shared_from_this<Store> {
 public:
  // Raises ModelError for an invalid model, DatabaseOpenError for a file
  // that is missing (unless `mode` is kCreate), not ours, corrupt or made for
  // another model, RuntimeError when the database cannot be opened.
  static std::shared_ptr<Store> Open(const DatabaseLocation& location, const nlohmann::json& model,
                                     StoreHooks hooks = {},
                                     std::shared_ptr<CallMonitor> monitor = nullptr,
                                     OpenMode mode = OpenMode::kCreate);
  static std::shared_ptr<Store> Open(const DatabaseLocation& location,
                                     const nlohmann::ordered_json& model, StoreHooks hooks = {},
                                     std::shared_ptr<CallMonitor> monitor = nullptr,
                                     OpenMode mode = OpenMode::kCreate);
  static std::shared_ptr<Store> Open(const DatabaseLocation& location, Model model,
                                     StoreHooks hooks = {},
                                     std::shared_ptr<CallMonitor> monitor = nullptr,
                                     OpenMode mode = OpenMode::kCreate);
  ~Store();
  Store(const Store&) = delete;
  Store& operator=(const Store&) = delete;

  const Model& GetModel() const { return *model_; }
  const std::shared_ptr<const Model>& SharedModel() const { return model_; }
  CallMonitor& Monitor() { return *monitor_; }
  const std::shared_ptr<CallMonitor>& SharedMonitor() const { return monitor_; }

  // True when Open created the schema (false: the file held it already).
  bool CreatedSchema() const { return created_; }

  // Hooks may be changed at any time (e.g. a scenario changes the clock).
  void SetClock(std::function<double()> clock);
  void SetCurrentUser(std::function<int32_t()> current_user);
  void SetPathMapper(std::function<std::string(const std::string&)> map_path);
  int64_t MaxQuerySize() const { return model_->max_query_size; }

  // --- Host actions (Korvel's own work, not monitored) -------------------
  // All raise RuntimeError (number err::kHostFailure) for an unknown class,
  // attribute or object, and error 13 for a value that does not convert.
  // Inserts an object of the class; `id` forces its OBJECT_ID (it must be
  // unused). Returns the OBJECT_ID.
  int32_t Insert(std::string_view class_name, const Values& values,
                 std::optional<int32_t> id = std::nullopt);
  void Update(ObjectRef object, const Values& values);
  // Deletes the object and every link object attached to it.
  void Delete(ObjectRef object);
  // Links `from` to `to` through the link class: CLASS_ID1/OBJECT_ID1 =
  // `from` for relation links, PAR_OBJECT_ID = `from` for composition links.
  // Returns the link object's OBJECT_ID.
  int32_t Link(std::string_view link_class_name, ObjectRef from, ObjectRef to,
               const Values& values = {}, std::optional<int32_t> id = std::nullopt);
  // The object with that id, when it is of the class or of a class below it.
  std::optional<ObjectRef> Find(std::string_view class_name, int32_t object_id);
  // The first object (lowest OBJECT_ID) of the class or below whose key text
  // (identifier values joined with " ") equals `key_text`.
  std::optional<ObjectRef> FindByKey(std::string_view class_name, std::string_view key_text);
  // Every stored object of the class and of the classes below it, ascending
  // OBJECT_ID.
  std::vector<DumpedObject> Dump(std::string_view class_name);
  // The objects this store inserted since the last call, in order: what a
  // call made, never what another process stored meanwhile.
  std::vector<ObjectRef> TakeStored() { return std::exchange(stored_, {}); }

  // --- For the store's own parts -----------------------------------------
  Database& Db() { return *db_; }
  ObjectTable& Objects() { return *objects_; }
  // The columns of an object's data record: the class's attributes.
  std::shared_ptr<const std::vector<Column>> ColumnsOf(const ClassDef& def);
  // Bumped whenever any object instance's values change.
  const std::shared_ptr<uint64_t>& ValuesEpoch() const { return epoch_; }
  const ClassDef& ClassOrRaise(int16_t class_id) const;
  const ClassDef& ClassByNameOrRaise(std::string_view name) const;
  double Now() const;
  int32_t CurrentUser() const;
  // The host path of a Windows path, or "" when no mapper is installed.
  std::string MapPath(const std::string& windows_path) const;

  // Stores a new object of `def` in one transaction: `values` has one entry
  // per attribute (converted already); the class and object ids and the
  // creation stamps are set in it.
  // Returns the new OBJECT_ID (`id` when given).
  int32_t StoreNew(const ClassDef& def, std::vector<Variant>& values,
                   std::optional<int32_t> id = std::nullopt);
  // Reads the highest id and the ledger's last entry together, when this
  // write transaction knows neither.
  void KnowHeads();
  // Writes the attributes (index, value) of a stored object in one transaction.
  void StoreChanges(const ClassDef& def, int32_t object_id,
                    const std::vector<std::pair<int, Variant>>& changes);
  // Deletes the object and its links in one transaction.
  void DeleteStored(int32_t object_id);

 private:
  Store(Model model, std::shared_ptr<CallMonitor> monitor, StoreHooks hooks);
  std::vector<Variant> ConvertValues(const ClassDef& def, const Values& values) const;

  std::shared_ptr<const Model> model_;
  std::shared_ptr<CallMonitor> monitor_;
  StoreHooks hooks_;
  std::unique_ptr<Database> db_;
  std::unique_ptr<ObjectTable> objects_;
  std::unique_ptr<LedgerChain> chain_;
  std::shared_ptr<uint64_t> epoch_ = std::make_shared<uint64_t>(0);
  std::map<int16_t, std::shared_ptr<const std::vector<Column>>> columns_;
  std::vector<ObjectRef> stored_;
  bool created_ = false;
};

}  // namespace vtx::emu

#include "emulator/store/schema.h"

#include <fmt/format.h>

#include "emulator/sql/database_open_error.h"
#include "emulator/store/database_identity.h"
#include "emulator/store/value_convert.h"

namespace vtx::emu {

namespace {

void CreateClassTable(Database& db, const ClassDef& def) {
  std::string columns;
  for (const AttributeDef& a : def.attributes) {
    if (!columns.empty()) columns += ", ";
    columns += QuoteId(a.name);
    // OBJECT_ID is the table's row id: looking an object up never scans.
    columns +=
        a.name == attr::kObjectId ? " INTEGER PRIMARY KEY" : std::string(" ") + SqlTypeOf(a.type);
  }
  // A link's ends are looked up in the registry (KV_OBJECTS), not through
  // indexes of the link's table.
  db.Exec(fmt::format("CREATE TABLE {} ({})", QuoteId(def.table), columns));
}

void CreatePlainTable(Database& db, const TableDef& table) {
  std::string columns, names, marks;
  for (const auto& [name, type] : table.columns) {
    if (!columns.empty()) {
      columns += ", ";
      names += ", ";
      marks += ", ";
    }
    columns += QuoteId(name) + " " + type;
    names += QuoteId(name);
    marks += "?";
  }
  db.Exec(fmt::format("CREATE TABLE {} ({})", QuoteId(table.name), columns));
  Statement insert =
      db.Prepare(fmt::format("INSERT INTO {} ({}) VALUES ({})", QuoteId(table.name), names, marks));
  for (const auto& row : table.rows) {
    insert.Reset();
    int i = 1;
    for (const auto& [name, _] : table.columns) {
      if (!row.contains(name)) {
        insert.Bind(i++, Variant::Null());
        continue;
      }
      const auto& v = row[name];
      if (v.is_null())
        insert.Bind(i++, Variant::Null());
      else if (v.is_boolean())
        insert.Bind(i++, Variant(v.get<bool>()));
      else if (v.is_number_integer())
        insert.BindInt(i++, v.get<int64_t>());
      else if (v.is_number())
        insert.Bind(i++, Variant(v.get<double>()));
      else
        insert.BindText(i++, v.get<std::string>());
    }
    insert.Run();
  }
}

}  // namespace

namespace {

enum class Content { kEmpty, kOurs, kForeign };

// The layout of the store's own tables; KV_META keeps it under "layout". A
// database without one was made before the registry held the links' ends.
constexpr const char* kLayout = "2";

void RefuseOlderLayout(Database& db) {
  Statement read = db.Prepare("SELECT VALUE FROM KV_META WHERE KEY = 'layout'");
  if (read.Step() && read.Text(0) == kLayout) return;
  throw DatabaseOpenError(fmt::format(
      "{}: the database was made by an older version whose object registry does not hold "
      "the ends of links, so this version cannot use it",
      db.Path()));
}

Model ParseStoredModel(const std::string& path, const std::string& text) {
  try {
    return ParseModel(nlohmann::ordered_json::parse(text));
  } catch (const std::exception&) {
    throw DatabaseOpenError(fmt::format(
        "{}: the model stored in the database is damaged (it is no valid model), so the "
        "database cannot be used",
        path));
  }
}

// What the file holds, read without writing anything. Raises
// DatabaseOpenError for a file that is not ours, is corrupt, or was made for
// another model.
Content Inspect(Database& db, const Model& model) {
  try {
    if (db.TableCount() == 0) return Content::kEmpty;
    if (!db.HasTable("KV_META")) return Content::kForeign;
    Statement read = db.Prepare("SELECT VALUE FROM KV_META WHERE KEY = 'model'");
    if (!read.Step()) return Content::kForeign;
    if (read.Text(0) != model.canonical) {
      ParseStoredModel(db.Path(), read.Text(0));
      throw DatabaseOpenError(
          fmt::format("{}: the database was created for another model", db.Path()));
    }
    RefuseOlderLayout(db);
    return Content::kOurs;
  } catch (const RuntimeError&) {
    db.RefuseIfDamaged();
    throw;
  }
}

void CreateSchema(Database& db, const Model& model);

// The tables whose rows the store keeps in memory within a call (see
// ObjectTable): the database tells when another process changed them.
std::vector<std::string> CachedTables(const Model& model) {
  std::vector<std::string> tables = {"KV_OBJECTS"};
  for (const ClassDef& def : model.classes) tables.push_back(def.table);
  return tables;
}

}  // namespace

bool EnsureSchema(Database& db, const Model& model, OpenMode mode) {
  bool created = false;
  Content content = Inspect(db, model);
  if (content == Content::kEmpty && mode == OpenMode::kCreate) {
    db.PrepareForSharing();
    // Another process may be creating the same file: look again under the
    // write lock, so that one of them creates it and the others find it ready.
    Database::Transaction tx(db);
    content = Inspect(db, model);
    if (content == Content::kEmpty) {
      CreateSchema(db, model);
      content = Content::kOurs;
      created = true;
    }
    tx.Commit();
  }
  if (content != Content::kOurs)
    throw DatabaseOpenError(fmt::format("{}: not a database of this system", db.Path()));
  // A server database made before it counted its changes learns to, unless
  // it is only read (its version then moves with every commit).
  const std::vector<std::string> cached = CachedTables(model);
  if (!created && !db.WatchesTables(cached) && mode != OpenMode::kRead) {
    Database::Transaction tx(db);
    if (!db.WatchesTables(cached)) db.WatchTables(cached);
    tx.Commit();
  }
  return created;
}

Model ReadStoredModel(Database& db) {
  std::string text;
  try {
    Statement read = db.Prepare("SELECT VALUE FROM KV_META WHERE KEY = 'model'");
    if (read.Step()) text = read.Text(0);
  } catch (const RuntimeError&) {
    db.RefuseIfDamaged();
  }
  if (text.empty())
    throw DatabaseOpenError(fmt::format("{}: not a database of this system", db.Path()));
  return ParseStoredModel(db.Path(), text);
}

namespace {

void CreateSchema(Database& db, const Model& model) {
  db.Exec("CREATE TABLE KV_META (KEY TEXT PRIMARY KEY, VALUE TEXT)");
  db.Exec(
      "CREATE TABLE KV_OBJECTS (OBJECT_ID INTEGER NOT NULL, LINK_ID INTEGER NOT NULL DEFAULT 0,"
      " FORWARD INTEGER NOT NULL DEFAULT 0, CLASS_ID INTEGER NOT NULL,"
      " OTHER_ID INTEGER NOT NULL DEFAULT 0, PRIMARY KEY (OBJECT_ID, LINK_ID, FORWARD))"
      " WITHOUT ROWID;"
      "CREATE TABLE KV_COUNTERS (NAME TEXT PRIMARY KEY, VALUE INTEGER NOT NULL);"
      "CREATE TABLE KV_SEQUENCES (CLASS_ID INTEGER, ATTRIBUTE TEXT, NEXT INTEGER NOT NULL,"
      " FORMAT TEXT NOT NULL, PRIMARY KEY (CLASS_ID, ATTRIBUTE));"
      "CREATE TABLE KV_LOOKUP_ITEMS (CLASS_ID INTEGER, ITEM_ID INTEGER, TEXT TEXT,"
      " PRIMARY KEY (CLASS_ID, ITEM_ID));"
      "CREATE INDEX KV_LOOKUP_ITEMS_TEXT ON KV_LOOKUP_ITEMS (CLASS_ID, TEXT);");
  db.Prepare("INSERT INTO KV_COUNTERS (NAME, VALUE) VALUES (?, 0)").BindText(1, kIdCounter).Run();

  Statement sequence = db.Prepare(
      "INSERT INTO KV_SEQUENCES (CLASS_ID, ATTRIBUTE, NEXT, FORMAT) VALUES (?, ?, ?, ?)");
  Statement item =
      db.Prepare("INSERT INTO KV_LOOKUP_ITEMS (CLASS_ID, ITEM_ID, TEXT) VALUES (?, ?, ?)");
  for (const ClassDef& def : model.classes) {
    CreateClassTable(db, def);
    for (const auto& [attribute, seq] : def.sequences) {
      sequence.Reset();
      sequence.BindInt(1, def.id)
          .BindText(2, attribute)
          .BindInt(3, seq.next)
          .BindText(4, seq.format);
      sequence.Run();
    }
    for (const LookupItemDef& i : def.items) {
      item.Reset();
      item.BindInt(1, def.id).BindInt(2, i.id).BindText(3, i.text);
      item.Run();
    }
  }
  for (const TableDef& table : model.tables) CreatePlainTable(db, table);
  db.Prepare("INSERT INTO KV_META (KEY, VALUE) VALUES ('model', ?), ('layout', ?)")
      .BindText(1, model.canonical)
      .BindText(2, kLayout)
      .Run();
  StoreDatabaseId(db, NewDatabaseId());
  db.WatchTables(CachedTables(model));
}

}  // namespace

}  // namespace vtx::emu

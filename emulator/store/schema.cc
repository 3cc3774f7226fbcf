#include "emulator/store/schema.h"

#include <fmt/format.h>

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
  db.Exec(fmt::format("CREATE TABLE {} ({})", QuoteId(def.table), columns));
  auto index = [&](const char* suffix, const std::string& cols) {
    db.Exec(fmt::format("CREATE INDEX {} ON {} ({})", QuoteId(def.table + "_" + suffix),
                        QuoteId(def.table), cols));
  };
  // Object ids are unique over the whole store, so the object id leads: the
  // same index serves a look-up by end object and by (object, class).
  if (def.kind == kind::kRelation) {
    index("KV_END1", "\"OBJECT_ID1\", \"CLASS_ID1\"");
    index("KV_END2", "\"OBJECT_ID2\", \"CLASS_ID2\"");
  } else if (def.kind == kind::kComposition) {
    index("KV_PAR", "\"PAR_OBJECT_ID\"");
    index("KV_SON", "\"SON_OBJECT_ID\"");
  }
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

void EnsureSchema(Database& db, const Model& model) {
  Database::Transaction tx(db);
  db.Exec("CREATE TABLE IF NOT EXISTS KV_META (KEY TEXT PRIMARY KEY, VALUE TEXT)");
  {
    Statement read = db.Prepare("SELECT VALUE FROM KV_META WHERE KEY = 'model'");
    if (read.Step()) {
      if (read.Text(0) != model.canonical)
        Raise(err::kHostFailure, "The database was created for another model", "Korvel");
      tx.Commit();
      return;
    }
  }
  db.Exec(
      "CREATE TABLE KV_OBJECTS (OBJECT_ID INTEGER PRIMARY KEY, CLASS_ID INTEGER NOT NULL);"
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
  db.Prepare("INSERT INTO KV_META (KEY, VALUE) VALUES ('model', ?)")
      .BindText(1, model.canonical)
      .Run();
  tx.Commit();
}

}  // namespace vtx::emu

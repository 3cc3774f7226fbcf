#include "emulator/store/model.h"

#include <algorithm>
#include <cctype>
#include <set>

#include <fmt/format.h>

#include "emulator/store/model_error.h"
#include "emulator/store/value_convert.h"
#include "runtime/runtime_error.h"

namespace vtx::emu {

namespace {

using Json = nlohmann::ordered_json;

bool SameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::toupper(static_cast<unsigned char>(x)) ==
                  std::toupper(static_cast<unsigned char>(y));
         });
}

std::string Upper(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return out;
}

// Names that end up in SQL text must be plain identifiers: they are the only
// text spliced into statements.
bool IsIdentifier(std::string_view s) {
  if (s.empty() || s.size() > 128) return false;
  if (!std::isalpha(static_cast<unsigned char>(s[0])) && s[0] != '_') return false;
  return std::all_of(s.begin(), s.end(), [](char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
  });
}

[[noreturn]] void Fail(const std::string& path, const std::string& message) {
  throw ModelError(path, message);
}

void CheckKeys(const Json& object, const std::string& path,
               std::initializer_list<std::string_view> allowed) {
  if (!object.is_object()) Fail(path, "expected an object");
  for (const auto& [key, _] : object.items()) {
    if (std::find(allowed.begin(), allowed.end(), key) == allowed.end())
      Fail(path.empty() ? key : path + "." + key, "unknown key");
  }
}

int64_t Integer(const Json& j, const std::string& path, int64_t min, int64_t max) {
  if (!j.is_number_integer()) Fail(path, "expected a whole number");
  const int64_t v = j.get<int64_t>();
  if (v < min || v > max) Fail(path, fmt::format("{} is out of range ({} to {})", v, min, max));
  return v;
}

std::string String(const Json& j, const std::string& path) {
  if (!j.is_string()) Fail(path, "expected a string");
  return j.get<std::string>();
}

std::string Identifier(const Json& j, const std::string& path) {
  std::string s = String(j, path);
  if (!IsIdentifier(s)) Fail(path, fmt::format("'{}' is not a valid name", s));
  return s;
}

bool Boolean(const Json& j, const std::string& path) {
  if (!j.is_boolean()) Fail(path, "expected true or false");
  return j.get<bool>();
}

Variant ScalarToVariant(const Json& j, const std::string& path) {
  if (j.is_null()) return Variant::Null();
  if (j.is_boolean()) return Variant(j.get<bool>());
  if (j.is_number_integer()) {
    const int64_t v = j.get<int64_t>();
    if (v >= INT32_MIN && v <= INT32_MAX) return Variant(static_cast<int32_t>(v));
    return Variant(static_cast<double>(v));
  }
  if (j.is_number()) return Variant(j.get<double>());
  if (j.is_string()) return Variant(j.get<std::string>());
  Fail(path, "expected a text, number, Boolean or null");
}

// The index of the attribute `name` names in `def`; fails at `path` when it has none.
int AttributeIndex(const ClassDef& def, const std::string& name, const std::string& path) {
  const int index = def.FindAttribute(name);
  if (index < 0) Fail(path, fmt::format("unknown attribute {}", name));
  return index;
}

// The standard attributes every class of `kind` starts with, then the host's
// own time stamps.
std::vector<AttributeDef> StandardAttributes(int32_t class_kind) {
  auto def = [](const char* name, int32_t type, bool excluded = false) {
    return AttributeDef{name, name, type, 0, 0, excluded};
  };
  std::vector<AttributeDef> out = {def(attr::kClassId, ftype::kInt16),
                                   def(attr::kObjectId, ftype::kInt32)};
  if (class_kind == kind::kRelation) {
    out.push_back(def(attr::kClassId1, ftype::kInt16));
    out.push_back(def(attr::kObjectId1, ftype::kInt32));
    out.push_back(def(attr::kClassId2, ftype::kInt16));
    out.push_back(def(attr::kObjectId2, ftype::kInt32));
  } else if (class_kind == kind::kComposition) {
    out.push_back(def(attr::kParObjectId, ftype::kInt32));
    out.push_back(def(attr::kSonObjectId, ftype::kInt32));
  }
  out.push_back(def(attr::kCreatedAt, ftype::kDate, true));
  out.push_back(def(attr::kCreatedBy, ftype::kInt32, true));
  return out;
}

struct RawClass {
  const Json* json;
  std::string path;
  ClassDef def;
  std::vector<AttributeDef> own;
};

std::vector<AttributeDef> ParseAttributes(const Json& list, const std::string& path) {
  if (!list.is_array()) Fail(path, "expected an array");
  std::vector<AttributeDef> out;
  for (size_t i = 0; i < list.size(); ++i) {
    const std::string p = fmt::format("{}[{}]", path, i);
    const Json& a = list[i];
    CheckKeys(a, p, {"name", "external", "type", "length", "lookup", "excludedFromHistory"});
    AttributeDef def;
    if (!a.contains("name")) Fail(p, "missing key name");
    def.name = Identifier(a["name"], p + ".name");
    def.external = a.contains("external") ? String(a["external"], p + ".external") : def.name;
    if (!a.contains("type")) Fail(p, "missing key type");
    def.type = static_cast<int32_t>(Integer(a["type"], p + ".type", 0, 1000));
    if (!IsKnownFieldType(def.type)) Fail(p + ".type", fmt::format("unknown type {}", def.type));
    if (a.contains("length"))
      def.length = static_cast<int32_t>(Integer(a["length"], p + ".length", 0, INT32_MAX));
    if (a.contains("lookup")) {
      def.lookup = static_cast<int32_t>(Integer(a["lookup"], p + ".lookup", 1, INT16_MAX));
    }
    if (a.contains("excludedFromHistory"))
      def.excluded_from_history = Boolean(a["excludedFromHistory"], p + ".excludedFromHistory");
    for (const AttributeDef& other : out)
      if (SameName(other.name, def.name))
        Fail(p + ".name", fmt::format("duplicate attribute {}", def.name));
    out.push_back(std::move(def));
  }
  return out;
}

void ParseClassHead(RawClass& raw) {
  const Json& c = *raw.json;
  const std::string& p = raw.path;
  CheckKeys(c, p,
            {"id", "name", "table", "super", "kind", "attributes", "identifiers", "hierarchyLink",
             "ends", "items", "sequences", "defaults"});
  for (const char* key : {"id", "name", "table", "super", "kind"})
    if (!c.contains(key)) Fail(p, fmt::format("missing key {}", key));
  raw.def.id = static_cast<int16_t>(Integer(c["id"], p + ".id", 1, INT16_MAX));
  raw.def.name = String(c["name"], p + ".name");
  if (raw.def.name.empty()) Fail(p + ".name", "the name is empty");
  raw.def.table = Identifier(c["table"], p + ".table");
  if (Upper(raw.def.table).rfind("KV_", 0) == 0 || Upper(raw.def.table).rfind("SQLITE_", 0) == 0)
    Fail(p + ".table", fmt::format("{} is reserved for the host", raw.def.table));
  raw.def.super = static_cast<int16_t>(Integer(c["super"], p + ".super", 1, INT16_MAX));
  raw.def.kind = static_cast<int32_t>(Integer(c["kind"], p + ".kind", 0, 100));
  const int32_t k = raw.def.kind;
  if (!kind::IsKeyed(k) && !kind::IsLookup(k) && !kind::IsLink(k))
    Fail(p + ".kind", fmt::format("unknown kind {}", raw.def.kind));
  if (c.contains("attributes")) raw.own = ParseAttributes(c["attributes"], p + ".attributes");
}

// The top class of `raw`'s family, which must name itself as its super.
const RawClass& TopClass(const RawClass& raw, const std::vector<RawClass>& all) {
  const RawClass* top = nullptr;
  for (const RawClass& r : all)
    if (r.def.id == raw.def.super) top = &r;
  if (!top) Fail(raw.path + ".super", fmt::format("unknown class {}", raw.def.super));
  if (top->def.super != top->def.id)
    Fail(raw.path + ".super", fmt::format("class {} is not a top class", raw.def.super));
  return *top;
}

// The standard attributes, the top class's own (for a subclass), then the
// class's own.
void ResolveAttributes(RawClass& raw, const RawClass* top, const Model& model) {
  ClassDef& def = raw.def;
  def.attributes = StandardAttributes(def.kind);
  if (top)
    for (const AttributeDef& a : top->own) def.attributes.push_back(a);
  for (size_t i = 0; i < raw.own.size(); ++i) {
    const AttributeDef& a = raw.own[i];
    if (def.FindAttribute(a.name) >= 0)
      Fail(fmt::format("{}.attributes[{}].name", raw.path, i),
           fmt::format("attribute {} is already defined", a.name));
    if (a.lookup != 0 && !model.ById(static_cast<int16_t>(a.lookup)))
      Fail(fmt::format("{}.attributes[{}].lookup", raw.path, i),
           fmt::format("unknown class {}", a.lookup));
    def.attributes.push_back(a);
  }
}

// Identifiers and hierarchy link: the class's own, else its top class's.
void ResolveInherited(RawClass& raw, const RawClass* top, const Model& model) {
  const Json& c = *raw.json;
  const std::string& p = raw.path;
  ClassDef& def = raw.def;
  if (c.contains("identifiers")) {
    const Json& ids = c["identifiers"];
    if (!ids.is_array()) Fail(p + ".identifiers", "expected an array");
    for (size_t i = 0; i < ids.size(); ++i) {
      const std::string ip = fmt::format("{}.identifiers[{}]", p, i);
      const int index = AttributeIndex(def, String(ids[i], ip), ip);
      def.identifiers.push_back(def.attributes[index].name);
    }
  } else if (top) {
    def.identifiers = top->def.identifiers;
  }

  if (c.contains("hierarchyLink")) {
    const std::string hp = p + ".hierarchyLink";
    def.hierarchy_link = static_cast<int16_t>(Integer(c["hierarchyLink"], hp, 1, INT16_MAX));
    const ClassDef* link = model.ById(def.hierarchy_link);
    if (!link) Fail(hp, fmt::format("unknown class {}", def.hierarchy_link));
    if (link->kind != kind::kComposition)
      Fail(hp, fmt::format("class {} is not a composition link", def.hierarchy_link));
  } else if (top) {
    def.hierarchy_link = top->def.hierarchy_link;
  }
}

// The two end classes a link class must have and no other class may.
void ResolveEnds(RawClass& raw, const Model& model) {
  const Json& c = *raw.json;
  const std::string& p = raw.path;
  if (!raw.def.IsLink()) {
    if (c.contains("ends")) Fail(p + ".ends", "only link classes (kind 6 or 7) have ends");
    return;
  }
  if (!c.contains("ends")) Fail(p, "missing key ends");
  const Json& ends = c["ends"];
  if (!ends.is_array() || ends.size() != 2) Fail(p + ".ends", "expected two class ids");
  for (size_t i = 0; i < 2; ++i) {
    const std::string ep = fmt::format("{}.ends[{}]", p, i);
    const auto end = static_cast<int16_t>(Integer(ends[i], ep, 1, INT16_MAX));
    if (!model.ById(end)) Fail(ep, fmt::format("unknown class {}", end));
    raw.def.ends.push_back(end);
  }
}

// The entries of a lookup table.
void ParseItems(const Json& items, const std::string& ip, ClassDef& def) {
  if (!kind::IsLookup(def.kind)) Fail(ip, "only lookup tables (kind 5 or 9) have items");
  if (!items.is_array()) Fail(ip, "expected an array");
  for (size_t i = 0; i < items.size(); ++i) {
    const std::string itp = fmt::format("{}[{}]", ip, i);
    const Json& item = items[i];
    CheckKeys(item, itp, {"id", "text"});
    if (!item.contains("id") || !item.contains("text")) Fail(itp, "expected id and text");
    LookupItemDef d{static_cast<int32_t>(Integer(item["id"], itp + ".id", INT32_MIN, INT32_MAX)),
                    String(item["text"], itp + ".text")};
    for (const LookupItemDef& other : def.items)
      if (other.id == d.id) Fail(itp + ".id", fmt::format("duplicate item id {}", d.id));
    def.items.push_back(std::move(d));
  }
}

// Numbering sequences by attribute: the next number and its text format.
void ParseSequences(const Json& sequences, const std::string& sp, ClassDef& def) {
  if (!sequences.is_object()) Fail(sp, "expected an object");
  for (const auto& [name, seq] : sequences.items()) {
    const std::string np = sp + "." + name;
    const int index = AttributeIndex(def, name, np);
    CheckKeys(seq, np, {"next", "format"});
    SequenceDef s;
    if (seq.contains("next")) s.next = Integer(seq["next"], np + ".next", INT32_MIN, INT32_MAX);
    if (seq.contains("format")) s.format = String(seq["format"], np + ".format");
    try {
      (void)fmt::format(fmt::runtime(s.format), s.next);
    } catch (const fmt::format_error& e) {
      Fail(np + ".format", fmt::format("invalid format: {}", e.what()));
    }
    def.sequences[def.attributes[index].name] = s;
  }
}

// Default values by attribute, each converted to the attribute's type.
void ParseDefaults(const Json& defaults, const std::string& dp, ClassDef& def) {
  if (!defaults.is_object()) Fail(dp, "expected an object");
  for (const auto& [name, value] : defaults.items()) {
    const std::string np = dp + "." + name;
    const int index = AttributeIndex(def, name, np);
    const AttributeDef& a = def.attributes[index];
    Variant v;
    try {
      v = ConvertToFieldType(ScalarToVariant(value, np), a.type);
    } catch (const RuntimeError& e) {
      Fail(np, fmt::format("cannot be converted to type {}: {}", a.type, e.Description()));
    }
    auto same = [&](const auto& d) { return d.first == a.name; };
    def.defaults.erase(std::remove_if(def.defaults.begin(), def.defaults.end(), same),
                       def.defaults.end());
    def.defaults.emplace_back(a.name, std::move(v));
  }
}

void ResolveClass(RawClass& raw, const std::vector<RawClass>& all, const Model& model) {
  const Json& c = *raw.json;
  const std::string& p = raw.path;
  const RawClass& top_class = TopClass(raw, all);
  // What a subclass inherits from; null for the top class itself.
  const RawClass* top = &top_class == &raw ? nullptr : &top_class;

  ResolveAttributes(raw, top, model);
  ResolveInherited(raw, top, model);
  ResolveEnds(raw, model);
  if (c.contains("items")) ParseItems(c["items"], p + ".items", raw.def);
  if (c.contains("sequences")) ParseSequences(c["sequences"], p + ".sequences", raw.def);
  // A subclass starts from its top class's defaults; its own override them.
  if (top) raw.def.defaults = top->def.defaults;
  if (c.contains("defaults")) ParseDefaults(c["defaults"], p + ".defaults", raw.def);
}

void ParseTables(const Json& tables, Model& model) {
  if (!tables.is_object()) Fail("tables", "expected an object");
  for (const auto& [name, t] : tables.items()) {
    const std::string p = "tables." + name;
    if (!IsIdentifier(name)) Fail(p, fmt::format("'{}' is not a valid name", name));
    if (model.ByTable(name) ||
        std::any_of(model.tables.begin(), model.tables.end(),
                    [&](const TableDef& o) { return SameName(o.name, name); }))
      Fail(p, fmt::format("duplicate table {}", name));
    if (Upper(name).rfind("KV_", 0) == 0 || Upper(name).rfind("SQLITE_", 0) == 0)
      Fail(p, fmt::format("{} is reserved for the host", name));
    CheckKeys(t, p, {"columns", "rows"});
    if (!t.contains("columns") || !t["columns"].is_object() || t["columns"].empty())
      Fail(p + ".columns", "expected an object of column types");
    TableDef def{name, {}, {}};
    for (const auto& [column, type] : t["columns"].items()) {
      const std::string cp = p + ".columns." + column;
      if (!IsIdentifier(column)) Fail(cp, fmt::format("'{}' is not a valid name", column));
      const std::string sql_type = Upper(String(type, cp));
      if (sql_type != "INTEGER" && sql_type != "TEXT" && sql_type != "REAL" &&
          sql_type != "NUMERIC")
        Fail(cp, fmt::format("unknown column type {}", type.get<std::string>()));
      def.columns.emplace_back(column, sql_type);
    }
    if (t.contains("rows")) {
      if (!t["rows"].is_array()) Fail(p + ".rows", "expected an array");
      for (size_t i = 0; i < t["rows"].size(); ++i) {
        const std::string rp = fmt::format("{}.rows[{}]", p, i);
        const Json& row = t["rows"][i];
        if (!row.is_object()) Fail(rp, "expected an object");
        for (const auto& [column, value] : row.items()) {
          if (std::none_of(def.columns.begin(), def.columns.end(),
                           [&](const auto& c) { return c.first == column; }))
            Fail(rp + "." + column, "unknown column");
          (void)ScalarToVariant(value, rp + "." + column);
        }
        def.rows.push_back(row);
      }
    }
    model.tables.push_back(std::move(def));
  }
}

}  // namespace

int ClassDef::FindAttribute(std::string_view attribute_name) const {
  // Callers nearly always spell the name as the model does: a plain
  // comparison first spares a case fold per attribute.
  if (!exact_names_.empty()) {
    // Callers mostly walk the attributes in order, asking for each by name
    // more than once: the last answer and the one after it come first.
    for (const size_t guess : {last_found_, last_found_ + 1})
      if (guess < attributes.size() && attributes[guess].name == attribute_name) {
        last_found_ = guess;
        return static_cast<int>(guess);
      }
    if (auto it = exact_names_.find(attribute_name); it != exact_names_.end()) {
      last_found_ = static_cast<size_t>(it->second);
      return it->second;
    }
  } else {
    for (size_t i = 0; i < attributes.size(); ++i)
      if (attributes[i].name == attribute_name) return static_cast<int>(i);
  }
  for (size_t i = 0; i < attributes.size(); ++i)
    if (SameName(attributes[i].name, attribute_name)) return static_cast<int>(i);
  return -1;
}

void ClassDef::IndexAttributes() {
  exact_names_.clear();
  for (size_t i = 0; i < attributes.size(); ++i)
    exact_names_.try_emplace(attributes[i].name, static_cast<int>(i));
}

const ClassDef* Model::ById(int16_t id) const {
  auto it = std::lower_bound(classes.begin(), classes.end(), id,
                             [](const ClassDef& c, int16_t v) { return c.id < v; });
  return it != classes.end() && it->id == id ? &*it : nullptr;
}

const ClassDef* Model::ByName(std::string_view name) const {
  for (const ClassDef& c : classes)
    if (c.name == name) return &c;
  return nullptr;
}

const ClassDef* Model::ByTable(std::string_view table) const {
  for (const ClassDef& c : classes)
    if (SameName(c.table, table)) return &c;
  return nullptr;
}

bool Model::IsA(int16_t class_id, int16_t ancestor_id) const {
  if (class_id == ancestor_id) return true;
  const ClassDef* c = ById(class_id);
  return c && c->super == ancestor_id;
}

std::vector<int16_t> Model::Descendants(int16_t id) const {
  const ClassDef* self = ById(id);
  if (!self) return {};
  if (self->super != id) return {id};
  std::vector<int16_t> out;
  for (const ClassDef& c : classes)
    if (c.super == id) out.push_back(c.id);
  return out;
}

Model ParseModel(const nlohmann::ordered_json& json) {
  CheckKeys(json, "", {"classes", "tables", "host"});
  Model model;
  model.canonical = json.dump();
  if (!json.contains("classes") || !json["classes"].is_array())
    Fail("classes", "expected an array of classes");

  std::vector<RawClass> raw;
  const Json& classes = json["classes"];
  raw.reserve(classes.size());
  for (size_t i = 0; i < classes.size(); ++i) {
    RawClass r{&classes[i], fmt::format("classes[{}]", i), {}, {}};
    ParseClassHead(r);
    for (const RawClass& other : raw) {
      if (other.def.id == r.def.id)
        Fail(r.path + ".id", fmt::format("duplicate class id {}", r.def.id));
      if (other.def.name == r.def.name)
        Fail(r.path + ".name", fmt::format("duplicate class name {}", r.def.name));
      if (SameName(other.def.table, r.def.table))
        Fail(r.path + ".table", fmt::format("duplicate table {}", r.def.table));
    }
    raw.push_back(std::move(r));
  }
  // Heads first, so that references between classes may point forward.
  for (const RawClass& r : raw) model.classes.push_back(r.def);
  std::sort(model.classes.begin(), model.classes.end(),
            [](const ClassDef& a, const ClassDef& b) { return a.id < b.id; });
  // Top classes resolve before the classes that inherit from them.
  std::vector<RawClass*> order;
  for (RawClass& r : raw)
    if (r.def.super == r.def.id) order.push_back(&r);
  for (RawClass& r : raw)
    if (r.def.super != r.def.id) order.push_back(&r);
  for (RawClass* r : order) {
    ResolveClass(*r, raw, model);
    *const_cast<ClassDef*>(model.ById(r->def.id)) = r->def;
  }

  for (ClassDef& def : model.classes) def.IndexAttributes();

  if (json.contains("tables")) ParseTables(json["tables"], model);
  if (json.contains("host")) {
    const Json& host = json["host"];
    CheckKeys(host, "host", {"maxQuerySize", "ledger"});
    if (host.contains("maxQuerySize"))
      model.max_query_size = Integer(host["maxQuerySize"], "host.maxQuerySize", 1, INT64_MAX);
    if (host.contains("ledger")) {
      if (!host["ledger"].is_boolean()) throw ModelError("host.ledger", "must be true or false");
      model.ledger = host["ledger"].get<bool>();
    }
  }
  return model;
}

Model ParseModel(const nlohmann::json& json) {
  return ParseModel(nlohmann::ordered_json::parse(json.dump()));
}

void RaiseUnknownAttribute(const ClassDef& def, std::string_view name) {
  Raise(err::kHostFailure, fmt::format("The class {} has no attribute {}", def.name, name),
        "Korvel");
}

}  // namespace vtx::emu

#include "emulator/store/family_select.h"

#include <fmt/format.h>

#include "emulator/sql/database.h"
#include "emulator/store/record_table.h"
#include "emulator/store/value_convert.h"

namespace vtx::emu {

namespace {

int32_t CodePoints(std::string_view s) {
  int32_t n = 0;
  for (unsigned char c : s)
    if ((c & 0xC0) != 0x80) ++n;
  return n;
}

// The column of `def`'s attribute in the table of `table_def` (`def` itself
// or a class below it), or NULL when that table lacks it.
std::string ColumnIn(const ClassDef& def, const ClassDef& table_def, const std::string& attribute) {
  if (&def == &table_def) return QuoteId(attribute);
  return table_def.FindAttribute(attribute) >= 0 ? QuoteId(attribute) : "NULL";
}

// The WHERE text of one table of the family; binds its values in order.
std::string Where(const ClassDef& def, const ClassDef& table_def,
                  const std::vector<Condition>& conditions, std::vector<Variant>& binds) {
  std::string out;
  for (size_t i = 0; i < conditions.size(); ++i) {
    const Condition& c = conditions[i];
    const int index = def.FindAttribute(c.attribute);
    if (index < 0) RaiseUnknownAttribute(def, c.attribute);
    const AttributeDef& a = def.attributes[index];
    static constexpr const char* kOps[] = {"=", "<>", "<", ">", "<=", ">="};
    if (std::find(std::begin(kOps), std::end(kOps), c.op) == std::end(kOps))
      Raise(err::kHostFailure, fmt::format("Unknown query operator {}", c.op), "Korvel");
    if (i > 0) out += SameName(c.connector, "OR") ? " OR " : " AND ";
    const std::string column = ColumnIn(def, table_def, a.name);
    if (c.value.IsNull() || c.value.IsEmpty()) {
      if (c.op == "=")
        out += column + " IS NULL";
      else if (c.op == "<>")
        out += column + " IS NOT NULL";
      else
        out += "1 = 0";
      continue;
    }
    const bool text = VarTypeOf(a.type) == VarType::kString;
    if (text && c.op == "=" && c.value.IsString() && !c.value.AsString().empty() &&
        c.value.AsString().back() == '*') {
      const std::string prefix = c.value.AsString().substr(0, c.value.AsString().size() - 1);
      out += fmt::format("substr({}, 1, {}) = ?", column, CodePoints(prefix));
      binds.emplace_back(prefix);
      continue;
    }
    out += fmt::format("{} {} ?", column, c.op);
    binds.push_back(ConvertToFieldType(c.value, a.type));
  }
  return out;
}

}  // namespace

FamilySql BuildFamilySelect(const Model& model, const ClassDef& def,
                            const std::vector<int>& attributes,
                            const std::vector<Condition>& conditions,
                            const std::vector<int32_t>* id_filter, int64_t limit) {
  FamilySql out;
  // One id is bound as it is: a JSON array would cost a temporary table.
  const bool one_id = id_filter && id_filter->size() == 1;
  const std::string ids_json = id_filter && !one_id ? IdsAsJson(*id_filter) : std::string();
  for (int16_t id : model.Descendants(def.id)) {
    const ClassDef& table_def = *model.ById(id);
    std::string arm = "SELECT \"OBJECT_ID\"";
    for (int index : attributes) arm += ", " + ColumnIn(def, table_def, def.attributes[index].name);
    arm += " FROM " + QuoteId(table_def.table);
    std::vector<std::string> filters;
    if (!conditions.empty())
      filters.push_back("(" + Where(def, table_def, conditions, out.binds) + ")");
    if (id_filter)
      filters.push_back(one_id ? "\"OBJECT_ID\" = ?"
                               : "\"OBJECT_ID\" IN (SELECT value FROM json_each(?))");
    for (size_t i = 0; i < filters.size(); ++i) arm += (i == 0 ? " WHERE " : " AND ") + filters[i];
    if (!out.sql.empty()) out.sql += " UNION ALL ";
    out.sql += arm;
    if (one_id)
      out.binds.emplace_back(id_filter->front());
    else if (id_filter)
      out.binds.emplace_back(ids_json);
  }
  out.sql += " ORDER BY 1";
  if (limit > 0) out.sql += fmt::format(" LIMIT {}", limit);
  return out;
}

std::string IdsAsJson(const std::vector<int32_t>& ids) {
  std::string out = "[";
  for (size_t i = 0; i < ids.size(); ++i) {
    if (i > 0) out += ',';
    out += std::to_string(ids[i]);
  }
  out += ']';
  return out;
}

}  // namespace vtx::emu

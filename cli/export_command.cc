#include "cli/export_command.h"

#include <algorithm>
#include <ostream>

#include <nlohmann/json.hpp>

#include "cli/audit_database.h"
#include "emulator/components/report_writer.h"
#include "emulator/store/ledger.h"
#include "emulator/store/object_table.h"

namespace vtx::cli {

namespace {

struct ExportRow {
  const emu::LedgerEntry* entry;
  const emu::ClassDef* def;
  std::optional<std::vector<Variant>> values;  // the stored record, when it is
};

std::string ValueText(const Variant& value, int32_t type) {
  if (value.IsNull() || value.IsEmpty()) return {};
  if (type == emu::ftype::kDate) return emu::ReadableDate(value.ToDate());
  return value.ToString();
}

bool Concerns(const ExportRow& row, emu::ObjectTable& objects, int32_t object_id) {
  if (!row.values) return false;
  const int target = row.def->FindAttribute("CN_OBJECT_ID");
  if (target >= 0 && !(*row.values)[target].IsNull() &&
      (*row.values)[target].ToInt32() == object_id)
    return true;
  for (const emu::LinkHit& hit : objects.LinksOf(row.entry->object_id))
    if (hit.other_id == object_id) return true;
  return false;
}

const std::vector<std::string> kLedgerColumns = {"Entry",  "Action",        "Record",
                                                 "Class",  "Entry Time",    "Entry User",
                                                 "Digest", "Previous Hash", "Hash"};

// The label of an attribute: its external name; the host's own time stamps
// are labelled by the host.
std::string Label(const emu::AttributeDef& a) {
  if (a.name == emu::attr::kCreatedAt) return "Time";
  if (a.name == emu::attr::kCreatedBy) return "Created By";
  return a.external.empty() ? a.name : a.external;
}

std::vector<std::string> LedgerCells(const ExportRow& row) {
  const emu::LedgerEntry& e = *row.entry;
  return {std::to_string(e.seq),
          e.action,
          std::to_string(e.object_id),
          row.def ? row.def->name : std::to_string(e.class_id),
          emu::ReadableDate(e.stamp),
          std::to_string(e.user_id),
          e.digest,
          e.prev_hash,
          e.hash};
}

void WriteCsv(const std::vector<ExportRow>& rows, std::ostream& out) {
  std::vector<std::string> header = kLedgerColumns;
  std::vector<std::string> names = kLedgerColumns;  // then attribute names in first-seen order
  for (const ExportRow& row : rows)
    if (row.def)
      for (const emu::AttributeDef& a : row.def->attributes)
        if (std::find(names.begin() + kLedgerColumns.size(), names.end(), a.name) == names.end()) {
          names.push_back(a.name);
          header.push_back(Label(a));
        }
  out << emu::CsvRecord(emu::UniqueLabels(header, names));
  for (const ExportRow& row : rows) {
    std::vector<std::string> cells = LedgerCells(row);
    for (size_t n = kLedgerColumns.size(); n < names.size(); ++n) {
      const std::string& name = names[n];
      const int i = row.def ? row.def->FindAttribute(name) : -1;
      cells.push_back(
          i >= 0 && row.values ? ValueText((*row.values)[i], row.def->attributes[i].type) : "");
    }
    out << emu::CsvRecord(cells);
  }
}

void WriteJson(const std::vector<ExportRow>& rows, std::ostream& out) {
  nlohmann::ordered_json list = nlohmann::ordered_json::array();
  for (const ExportRow& row : rows) {
    const std::vector<std::string> cells = LedgerCells(row);
    nlohmann::ordered_json item;
    for (size_t i = 0; i < cells.size(); ++i) item[kLedgerColumns[i]] = cells[i];
    item["Values"] = nullptr;
    if (row.values) {
      std::vector<std::string> labels, names;
      for (const emu::AttributeDef& a : row.def->attributes) {
        labels.push_back(Label(a));
        names.push_back(a.name);
      }
      labels = emu::UniqueLabels(std::move(labels), names);
      item["Values"] = nlohmann::ordered_json::object();
      for (size_t i = 0; i < row.def->attributes.size(); ++i)
        item["Values"][labels[i]] = ValueText((*row.values)[i], row.def->attributes[i].type);
    }
    list.push_back(std::move(item));
  }
  out << list.dump(2) << "\n";
}

}  // namespace

int ExportCommand(const std::string& database, const std::string& format,
                  const std::optional<std::pair<std::string, std::string>>& object,
                  std::ostream& out, std::ostream& err) {
  try {
    if (format != "csv" && format != "json")
      throw UsageError("--format must be csv or json, not '" + format + "'");
    std::shared_ptr<emu::Store> store = OpenAuditDatabase(database);
    std::optional<emu::ObjectRef> about;
    if (object) about = FindAuditObject(*store, object->first, object->second);
    const std::vector<emu::LedgerEntry> entries = emu::ReadLedger(store->Db());
    std::vector<ExportRow> rows;
    for (const emu::LedgerEntry& e : entries) {
      ExportRow row{&e, store->GetModel().ById(e.class_id), std::nullopt};
      if (row.def) row.values = store->Objects().Read(*row.def, e.object_id);
      if (!about || Concerns(row, store->Objects(), about->object_id)) rows.push_back(row);
    }
    format == "csv" ? WriteCsv(rows, out) : WriteJson(rows, out);
    return 0;
  } catch (const std::exception& e) {
    return ReportAuditFailure("export", database, e, err);
  }
}

}  // namespace vtx::cli

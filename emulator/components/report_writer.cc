#include "emulator/components/report_writer.h"

#include <algorithm>
#include <system_error>

#include <fmt/format.h>

#include "platform/new_file.h"
#include "platform/utf8_path.h"
#include "runtime/ole_date.h"
#include "runtime/runtime_error.h"

namespace vtx::emu {

namespace {

// The columns of the page, each filled from an attribute of an electronic
// record; `fallback` labels it when no row gives the attribute a label.
struct PageColumn {
  const char* attribute;
  const char* fallback;
  const char* css;
};
constexpr PageColumn kTime{"KV_CREATED_AT", "Time", "time"};
constexpr PageColumn kOperation{"CN_HOOK_OPERATION", "Operation", "op"};
constexpr PageColumn kUser{"CN_USER_NAME", "User", "user"};
constexpr PageColumn kLogin{"CN_USER_NT_ID", "Logon", "user"};
constexpr PageColumn kMachine{"CN_MACHINE_NAME", "Machine", "machine"};
constexpr PageColumn kDescription{"CN_DESCRIPTION", "Description", "desc"};

constexpr const char* kStyle = R"css(
@page { size: A4 portrait; margin: 14mm 12mm; }
* { box-sizing: border-box; }
body { font-family: "DejaVu Sans", "Liberation Sans", Arial, sans-serif; font-size: 10pt;
       color: #1d1d1f; max-width: 60em; margin: 1.5em auto; padding: 0 1em; }
h1 { font-size: 16pt; margin: 0 0 .3em; }
.meta { color: #555; margin: 0 0 1.2em; line-height: 1.5; }
h2 { font-size: 12pt; margin: 1.6em 0 .4em; padding-bottom: .2em; border-bottom: 2px solid #2f4f7f;
     break-after: avoid; }
h2 .class { color: #666; font-weight: normal; font-size: 10pt; }
table { width: 100%; border-collapse: collapse; table-layout: fixed; }
thead { display: table-header-group; }
th, td { text-align: left; vertical-align: top; padding: .35em .45em; border-bottom: 1px solid #ccd;
         overflow-wrap: break-word; }
th { background: #e9eef6; font-weight: bold; }
tr { break-inside: avoid; }
col.time { width: 14%; } col.op { width: 13%; } col.user { width: 17%; }
col.machine { width: 12%; } col.desc { width: 44%; }
td.desc { white-space: pre-wrap; overflow-wrap: anywhere; }
.login { color: #555; }
.ledger { color: #555; font-size: 8pt; overflow-wrap: anywhere; }
.ledger.differs { color: #a00; font-weight: bold; }
footer { margin-top: 2em; padding-top: .5em; border-top: 1px solid #ccd; color: #555; font-size: 9pt; }
@media print {
  body { max-width: none; margin: 0; padding: 0; }
  th { -webkit-print-color-adjust: exact; print-color-adjust: exact; }
}
)css";

std::string HtmlEscape(const std::string& text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\r':  // CR LF and lone CR both end a line on the page
        break;
      default:
        out += c;
    }
  }
  return out;
}

const ReportValue* Find(const ReportRow& row, const char* attribute) {
  for (const ReportValue& v : row.values)
    if (v.name == attribute) return &v;
  return nullptr;
}

std::string Text(const ReportRow& row, const PageColumn& column) {
  const ReportValue* v = Find(row, column.attribute);
  return v ? v->text : std::string();
}

std::string Label(const std::vector<ReportRow>& rows, const PageColumn& column) {
  for (const ReportRow& row : rows)
    if (const ReportValue* v = Find(row, column.attribute); v && v->label != v->name)
      return v->label;
  return column.fallback;
}

// An object that is no electronic record shows its attributes as the
// description, one per line.
std::string Description(const ReportRow& row) {
  if (Find(row, kDescription.attribute)) return Text(row, kDescription);
  std::string text = row.key;
  for (const ReportValue& v : row.values)
    if (v.name != kTime.attribute && !v.text.empty())
      text += (text.empty() ? "" : "\n") + v.label + ": " + v.text;
  return text;
}

std::string HtmlRow(const ReportRow& row) {
  std::string user = HtmlEscape(Text(row, kUser));
  if (const std::string login = Text(row, kLogin); !login.empty())
    user +=
        (user.empty() ? "" : "<br>") + ("<span class=\"login\">" + HtmlEscape(login) + "</span>");
  std::string time = HtmlEscape(Text(row, kTime));
  if (!row.ledger.empty())
    time += fmt::format("<br><span class=\"ledger{}\">{}</span>",
                        row.ledger_matches ? "" : " differs", HtmlEscape(row.ledger));
  return fmt::format(
      "<tr><td>{}</td><td>{}</td><td>{}</td><td>{}</td><td class=\"desc\">{}</td></tr>\n", time,
      HtmlEscape(Text(row, kOperation)), user, HtmlEscape(Text(row, kMachine)),
      HtmlEscape(Description(row)));
}

std::string TableHead(const std::vector<ReportRow>& rows) {
  std::string cols, heads;
  for (const PageColumn* c : {&kTime, &kOperation, &kUser, &kMachine, &kDescription}) {
    cols += fmt::format("<col class=\"{}\">", c->css);
    std::string label = HtmlEscape(Label(rows, *c));
    if (c == &kUser) label += " / " + HtmlEscape(Label(rows, kLogin));
    heads += "<th>" + label + "</th>";
  }
  return "<table>\n<colgroup>" + cols + "</colgroup>\n<thead><tr>" + heads +
         "</tr></thead>\n<tbody>\n";
}

void WriteNew(NewFile& file, const std::filesystem::path& path, const std::string& content) {
  if (!file.WriteAndClose(content)) {
    std::filesystem::remove(path);
    Raise(err::kHostFailure, "Cannot write the report file " + Utf8FromPath(path), "KvQuickReport");
  }
}

// Creates the file only when no file of that name exists; false when one does.
bool CreateExclusive(NewFile& file, const std::filesystem::path& path) {
  const NewFile::Created created = file.Create(path);
  if (created == NewFile::Created::kFailed)
    Raise(err::kHostFailure, "Cannot create the report file " + Utf8FromPath(path),
          "KvQuickReport");
  return created == NewFile::Created::kYes;
}

}  // namespace

std::string ReadableDate(double ole_date) {
  const date::DateParts p = date::ToParts(ole_date);
  return fmt::format("{:04}-{:02}-{:02} {:02}:{:02}:{:02}", p.year, p.month, p.day, p.hour,
                     p.minute, p.second);
}

namespace {

// A number as a spreadsheet reads one: sign, digits, fraction, exponent.
bool IsPlainNumber(std::string_view text) {
  size_t i = 0;
  auto digits = [&] {
    const size_t start = i;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i;
    return i > start;
  };
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) ++i;
  if (!digits()) return false;
  if (i < text.size() && text[i] == '.' && (++i, !digits())) return false;
  if (i < text.size() && (text[i] == 'E' || text[i] == 'e')) {
    ++i;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) ++i;
    if (!digits()) return false;
  }
  return i == text.size();
}

}  // namespace

std::string SpreadsheetSafe(const std::string& cell) {
  if (cell.empty() || std::string_view("=+-@\t\r").find(cell.front()) == std::string_view::npos ||
      IsPlainNumber(cell))
    return cell;
  return "'" + cell;
}

std::vector<std::string> UniqueLabels(std::vector<std::string> labels,
                                      const std::vector<std::string>& names) {
  for (size_t i = 0; i < labels.size(); ++i) {
    auto taken = [&](const std::string& label) {
      return std::find(labels.begin(), labels.begin() + static_cast<std::ptrdiff_t>(i), label) !=
             labels.begin() + static_cast<std::ptrdiff_t>(i);
    };
    if (!taken(labels[i])) continue;
    std::string unique = labels[i] + " (" + names[i] + ")";
    for (int n = 2; taken(unique); ++n) unique = fmt::format("{} ({} {})", labels[i], names[i], n);
    labels[i] = std::move(unique);
  }
  return labels;
}

std::string CsvRecord(const std::vector<std::string>& fields) {
  std::string line;
  for (size_t i = 0; i < fields.size(); ++i) {
    line += i > 0 ? ",\"" : "\"";
    for (char c : SpreadsheetSafe(fields[i]))
      line += c == '"' ? std::string("\"\"") : std::string(1, c);
    line += '"';
  }
  return line + "\r\n";
}

std::string RenderReportCsv(const ReportHeading& heading, const std::vector<ReportRow>& rows) {
  std::vector<std::string> names = {"Section", "Class", "Object Id", "Key"}, header = names;
  for (const ReportRow& row : rows)
    for (const ReportValue& v : row.values)
      if (std::find(names.begin() + 4, names.end(), v.name) == names.end()) {
        names.push_back(v.name);
        header.push_back(v.label);
      }
  names.insert(names.end(), {"LEDGER", "LEDGER_HEAD"});
  header.insert(header.end(), {kLedgerColumn, kLedgerHeadColumn});
  std::string out = CsvRecord(UniqueLabels(header, names));
  for (const ReportRow& row : rows) {
    std::vector<std::string> cells = {row.section, row.class_name, std::to_string(row.object_id),
                                      row.key};
    for (size_t i = 4; i + 2 < names.size(); ++i) {
      const ReportValue* v = Find(row, names[i].c_str());
      cells.push_back(v ? v->text : std::string());
    }
    cells.push_back(row.ledger);
    cells.push_back(heading.ledger_head);
    out += CsvRecord(cells);
  }
  return out;
}

std::string RenderReportHtml(const ReportHeading& heading, const std::vector<ReportRow>& rows) {
  std::string out = fmt::format(
      "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
      "<title>History report: {0}</title>\n<style>{1}</style>\n</head>\n<body>\n"
      "<header><h1>History report</h1>\n<p class=\"meta\">{0}<br>Generated {2} by {3}{4}</p>"
      "</header>\n",
      HtmlEscape(heading.subject), kStyle, HtmlEscape(heading.generated_at),
      HtmlEscape(heading.generated_by),
      heading.ledger_head.empty()
          ? std::string()
          : fmt::format(
                "<br><span class=\"ledger\" data-ledger-head=\"{0}\">Ledger head: {0}</span>",
                HtmlEscape(heading.ledger_head)));
  // Sections in the order their first row comes; rows keep their order.
  std::vector<std::string> sections;
  for (const ReportRow& row : rows)
    if (std::find(sections.begin(), sections.end(), row.section) == sections.end())
      sections.push_back(row.section);
  for (const std::string& section : sections) {
    out += "<section>\n<h2>" + HtmlEscape(section) + "</h2>\n" + TableHead(rows);
    for (const ReportRow& row : rows)
      if (row.section == section) out += HtmlRow(row);
    out += "</tbody>\n</table>\n</section>\n";
  }
  return out + fmt::format(
                   "<footer>{} history object(s) in {} section(s). Generated by {}.</footer>\n"
                   "</body>\n</html>\n",
                   rows.size(), sections.size(), HtmlEscape(heading.program));
}

ReportFiles WriteReport(const std::filesystem::path& folder, const std::string& stem, int64_t first,
                        const ReportHeading& heading, const std::vector<ReportRow>& rows) {
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  if (ec)
    Raise(err::kHostFailure, "Cannot create the report folder " + Utf8FromPath(folder),
          "KvQuickReport");
  for (int64_t n = std::max<int64_t>(first, 1);; ++n) {
    const std::string base = fmt::format("{}_{:04}", stem, n);
    ReportFiles files{folder / (base + ".html"), folder / (base + ".csv")};
    NewFile html, csv;
    if (!CreateExclusive(html, files.html)) continue;
    // A csv taken by a report of another process: let go of the pair.
    if (!CreateExclusive(csv, files.csv)) {
      html.Close();
      std::filesystem::remove(files.html);
      continue;
    }
    files.number = n;
    try {
      WriteNew(html, files.html, RenderReportHtml(heading, rows));
    } catch (const RuntimeError&) {
      csv.Close();
      std::filesystem::remove(files.csv);
      throw;
    }
    WriteNew(csv, files.csv, RenderReportCsv(heading, rows));
    return files;
  }
}

}  // namespace vtx::emu

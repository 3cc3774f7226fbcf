#include "emulator/components/report_writer.h"

#include <fstream>
#include <map>
#include <system_error>

#include <fmt/format.h>

#include "runtime/runtime_error.h"

namespace vtx::emu {

namespace {

// The attribute columns after the three fixed ones, in first-seen order.
std::vector<std::string> AttributeColumns(const std::vector<ReportRow>& rows) {
  std::vector<std::string> columns;
  std::map<std::string, bool, std::less<>> seen;
  for (const ReportRow& row : rows)
    for (const auto& [name, _] : row.values)
      if (seen.emplace(name, true).second) columns.push_back(name);
  return columns;
}

// The row's cells in column order.
std::vector<std::string> Cells(const ReportRow& row, const std::vector<std::string>& columns) {
  std::vector<std::string> cells = {row.class_name, std::to_string(row.object_id), row.key};
  for (const std::string& column : columns) {
    std::string cell;
    for (const auto& [name, text] : row.values)
      if (name == column) {
        cell = text;
        break;
      }
    cells.push_back(std::move(cell));
  }
  return cells;
}

std::vector<std::string> Header(const std::vector<std::string>& columns) {
  std::vector<std::string> header = {"Class", "OBJECT_ID", "Key"};
  header.insert(header.end(), columns.begin(), columns.end());
  return header;
}

std::string CsvField(const std::string& text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
  std::string out = "\"";
  for (char c : text) {
    if (c == '"') out += '"';
    out += c;
  }
  return out + "\"";
}

std::string CsvLine(const std::vector<std::string>& cells) {
  std::string line;
  for (size_t i = 0; i < cells.size(); ++i) {
    if (i > 0) line += ',';
    line += CsvField(cells[i]);
  }
  return line + "\r\n";
}

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
      default:
        out += c;
    }
  }
  return out;
}

std::string HtmlRow(const std::vector<std::string>& cells, const char* tag) {
  std::string line = "<tr>";
  for (const std::string& cell : cells)
    line += fmt::format("<{0}>{1}</{0}>", tag, HtmlEscape(cell));
  return line + "</tr>\n";
}

void WriteFile(const std::filesystem::path& path, const std::string& content) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << content;
  out.close();
  if (!out)
    Raise(err::kHostFailure, "Cannot write the report file " + path.string(), "KvQuickReport");
}

}  // namespace

std::string RenderReportCsv(const std::vector<ReportRow>& rows) {
  const std::vector<std::string> columns = AttributeColumns(rows);
  std::string out = CsvLine(Header(columns));
  for (const ReportRow& row : rows) out += CsvLine(Cells(row, columns));
  return out;
}

std::string RenderReportHtml(const std::string& title, const std::vector<ReportRow>& rows) {
  const std::vector<std::string> columns = AttributeColumns(rows);
  std::string out = fmt::format(
      "<!DOCTYPE html>\n<html>\n<head><meta charset=\"utf-8\"><title>{0}</title></head>\n"
      "<body>\n<h1>{0}</h1>\n<p>{1} object(s)</p>\n<table border=\"1\">\n",
      HtmlEscape(title), rows.size());
  out += HtmlRow(Header(columns), "th");
  for (const ReportRow& row : rows) out += HtmlRow(Cells(row, columns), "td");
  return out + "</table>\n</body>\n</html>\n";
}

ReportFiles WriteReport(const std::filesystem::path& folder, const std::string& base_name,
                        const std::vector<ReportRow>& rows) {
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  if (ec)
    Raise(err::kHostFailure, "Cannot create the report folder " + folder.string(), "KvQuickReport");
  ReportFiles files{folder / (base_name + ".html"), folder / (base_name + ".csv")};
  WriteFile(files.html, RenderReportHtml(base_name, rows));
  WriteFile(files.csv, RenderReportCsv(rows));
  return files;
}

}  // namespace vtx::emu

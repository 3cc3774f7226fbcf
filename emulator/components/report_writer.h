#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace vtx::emu {

// One object of a report: its class name, OBJECT_ID, key text and the text of
// its other attribute values, in attribute order.
struct ReportRow {
  std::string class_name;
  int32_t object_id = 0;
  std::string key;
  std::vector<std::pair<std::string, std::string>> values;
};

struct ReportFiles {
  std::filesystem::path html;
  std::filesystem::path csv;
};

// Writes `rows` as `base_name`.html (a table) and `base_name`.csv (comma
// separated, fields quoted where needed, CRLF line ends, UTF-8) into `folder`,
// which is created when missing; existing files of those names are replaced.
// Columns: "Class", "OBJECT_ID", "Key", then every other attribute name in the
// order the rows first name it; a row lacking an attribute leaves it empty.
// Raises a RuntimeError when a file cannot be written.
// Thread-safety: a free function; concurrent calls must use distinct files.
ReportFiles WriteReport(const std::filesystem::path& folder, const std::string& base_name,
                        const std::vector<ReportRow>& rows);

// The two renderings, for tests and for writers elsewhere.
std::string RenderReportCsv(const std::vector<ReportRow>& rows);
std::string RenderReportHtml(const std::string& title, const std::vector<ReportRow>& rows);

}  // namespace vtx::emu

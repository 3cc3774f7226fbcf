#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace vtx::emu {

// One attribute value of a reported object: internal name, the label people
// read (the attribute's external name) and the value as text.
struct ReportValue {
  std::string name;
  std::string label;
  std::string text;
};

// One reported (history) object and the section it is listed under: the
// object its record is about ("Part PN-01000 A"), or its own class and key.
struct ReportRow {
  std::string section;
  std::string class_name;
  int32_t object_id = 0;
  std::string key;
  std::vector<ReportValue> values;  // every other attribute, in attribute order
  // For an electronic record: whether its stored values match its ledger
  // entry ("entry #12: matches"); empty for other objects.
  std::string ledger;
  bool ledger_matches = true;
};

// What the page says about itself.
struct ReportHeading {
  std::string subject;       // what was reported ("Part PN-01000 A, Document DOC-05000 A")
  std::string generated_at;  // readable date and time
  std::string generated_by;  // "Doe, Jane (jdoe) on WS-042"
  std::string program;       // the generating program
  // The ledger's head when the report was made, in the form checkpoints
  // write (ledger_anchor.h: "entry=42 hash=... database=... time=..."), so
  // that a kept report anchors the chain; empty: none shown.
  std::string ledger_head;
};

struct ReportFiles {
  std::filesystem::path html;
  std::filesystem::path csv;
  int64_t number = 0;  // the NNNN of the names
};

// Writes the report as a pair of new files `<stem>_NNNN.html` and `.csv` in
// `folder` (created when missing), NNNN the first number from `first` on for
// which neither file exists. Each file is created exclusively, so a report
// never replaces a file, also when several processes report at once.
// Raises a RuntimeError when a file cannot be written.
ReportFiles WriteReport(const std::filesystem::path& folder, const std::string& stem, int64_t first,
                        const ReportHeading& heading, const std::vector<ReportRow>& rows);

// The page: one section per reported object, its history in order (time,
// with the record's ledger standing under it, operation, user name and
// login, machine, description with its line breaks kept), inline style sheet
// that prints on A4 portrait without horizontal scrolling and repeats the
// table headers on each page. The ledger's head is in the heading, also as
// the attribute data-ledger-head of the element showing it.
std::string RenderReportHtml(const ReportHeading& heading, const std::vector<ReportRow>& rows);
// RFC 4180: every field quoted, CRLF line ends, UTF-8; a header of labels
// ("Section", "Class", "Object Id", "Key", then each attribute's label in the
// order the rows first name it, then "Ledger" and "Ledger Head", made
// unique) and one record per row.
std::string RenderReportCsv(const ReportHeading& heading, const std::vector<ReportRow>& rows);
// The labels of the last two columns of the CSV.
inline constexpr const char* kLedgerColumn = "Ledger";
inline constexpr const char* kLedgerHeadColumn = "Ledger Head";
// One RFC 4180 record, every field quoted, ended by CRLF, each field made
// SpreadsheetSafe: the CSV is for people, who open it in a spreadsheet.
std::string CsvRecord(const std::vector<std::string>& fields);
// A cell a spreadsheet would take for a formula (it begins with "=", "+",
// "-", "@", a tab or a carriage return) behind an apostrophe, so that it is
// shown as the text it is and never computed. A plain number ("-5",
// "+1.5E3") is left as it is: it is no formula, and a spreadsheet reads it
// as the number it is.
std::string SpreadsheetSafe(const std::string& cell);
// The labels with each one that an earlier one already uses followed by its
// name in parentheses ("Object Id (CN_OBJECT_ID)"), so that every column of
// a table can be told apart. `names` has one entry per label.
std::vector<std::string> UniqueLabels(std::vector<std::string> labels,
                                      const std::vector<std::string>& names);
// An OLE date as "2026-12-05 10:11:12".
std::string ReadableDate(double ole_date);

}  // namespace vtx::emu

#include "emulator/components/report_writer.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <fstream>
#include <set>
#include <thread>

#include "support/temp_folder.h"

namespace vtx::emu {
namespace {

ReportRow Record(const std::string& section, const std::string& description) {
  return ReportRow{
      section,
      "Electronic Record",
      9,
      "",
      {{"CN_DESCRIPTION", "Description", description}, {"CN_USER_NAME", "User Name", "Doe, Jane"}},
      "entry #3: matches",
      true};
}

const ReportHeading kHeading{"Part <P-1>", "2026-12-05 10:11:12", "Doe, Jane (jdoe) on WS-1", "vtx",
                             "entry=4 hash=ab database=cd time=2026-12-05T10:11:12"};

TEST(ReportWriterTest, CsvQuotesEveryFieldAndLabelsTheColumns) {
  const std::vector<ReportRow> rows = {
      Record("Part P-1", "say \"hi\", twice\r\nand again"),
      ReportRow{"Part P-2", "History", 5, "h1", {{"X", "X Label", "x"}}, "", true}};
  const std::string head = "\"entry=4 hash=ab database=cd time=2026-12-05T10:11:12\"\r\n";
  EXPECT_EQ(RenderReportCsv(kHeading, rows),
            "\"Section\",\"Class\",\"Object Id\",\"Key\",\"Description\",\"User Name\",\"X "
            "Label\",\"Ledger\",\"Ledger Head\"\r\n"
            "\"Part P-1\",\"Electronic Record\",\"9\",\"\",\"say \"\"hi\"\", twice\r\nand again\","
            "\"Doe, Jane\",\"\",\"entry #3: matches\"," +
                head + "\"Part P-2\",\"History\",\"5\",\"h1\",\"\",\"\",\"x\",\"\"," + head);
}

// People open the CSV in a spreadsheet: no cell in it is computed as a
// formula, a number stays a number, and every column can be told apart.
TEST(ReportWriterTest, CsvCellsAreNeverFormulasAndColumnsNeverShareALabel) {
  const std::pair<const char*, const char*> cells[] = {{"=HYPERLINK(\"x\")", "'=HYPERLINK(\"x\")"},
                                                       {"+1+1", "'+1+1"},
                                                       {"-1+1", "'-1+1"},
                                                       {"@SUM(A1)", "'@SUM(A1)"},
                                                       {"\tx", "'\tx"},
                                                       {"\rx", "'\rx"},
                                                       {"-", "'-"},
                                                       {"-5", "-5"},
                                                       {"+1.5E3", "+1.5E3"},
                                                       {"-0.25", "-0.25"},
                                                       {"a=b", "a=b"},
                                                       {"", ""}};
  for (const auto& [cell, written] : cells) EXPECT_EQ(SpreadsheetSafe(cell), written) << cell;
  const std::vector<ReportRow> rows = {
      ReportRow{"=cmd",
                "History",
                5,
                "-2",
                {{"CN_OBJECT_ID", "Object Id", "7"}, {"A", "Key", "@x"}, {"B", "Ledger", "b"}},
                "",
                true}};
  EXPECT_EQ(RenderReportCsv(ReportHeading{}, rows),
            "\"Section\",\"Class\",\"Object Id\",\"Key\",\"Object Id (CN_OBJECT_ID)\",\"Key "
            "(A)\",\"Ledger\",\"Ledger (LEDGER)\",\"Ledger Head\"\r\n"
            "\"'=cmd\",\"History\",\"5\",\"-2\",\"7\",\"'@x\",\"b\",\"\",\"\"\r\n");
}

TEST(ReportWriterTest, HtmlHasOneSectionPerObjectAndKeepsLineBreaks) {
  const std::string html = RenderReportHtml(
      kHeading,
      {Record("Part P-1", "a & b\r\nline 2"), Record("Part P-2", "x"), Record("Part P-1", "y")});
  for (const char* fragment :
       {"<title>History report: Part &lt;P-1&gt;</title>", "@page { size: A4 portrait",
        "thead { display: table-header-group; }", "<th>Description</th>",
        "<td class=\"desc\">a &amp; b\nline 2</td>", "3 history object(s) in 2 section(s)",
        "data-ledger-head=\"entry=4 hash=ab database=cd time=2026-12-05T10:11:12\"",
        "<br><span class=\"ledger\">entry #3: matches</span>"})
    EXPECT_NE(html.find(fragment), std::string::npos) << fragment << "\n" << html;
  EXPECT_LT(html.find(">y<"), html.find("<h2>Part P-2</h2>")) << "rows of one object stay together";
}

TEST(ReportWriterTest, ReportsNeverReplaceAFileAlsoWhenWrittenAtOnce) {
  const test::TempFolder reports("vtx_report_names");
  const std::filesystem::path& folder = reports.Path();
  { std::ofstream(folder / "Report_0002.csv") << "someone else's"; }
  std::vector<int64_t> numbers(6);
  std::vector<std::thread> writers;
  for (size_t i = 0; i < numbers.size(); ++i)
    writers.emplace_back([&, i] { numbers[i] = WriteReport(folder, "Report", 1, {}, {}).number; });
  for (std::thread& t : writers) t.join();
  EXPECT_EQ(std::set<int64_t>(numbers.begin(), numbers.end()),
            (std::set<int64_t>{1, 3, 4, 5, 6, 7}));
  std::ifstream kept(folder / "Report_0002.csv");
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), "someone else's");
}

}  // namespace
}  // namespace vtx::emu

#include "emulator/components/report_writer.h"

#include <gtest/gtest.h>

namespace vtx::emu {
namespace {

TEST(ReportWriterTest, CsvQuotesOnlyWhatNeedsIt) {
  struct Case {
    const char* value;
    const char* cell;
  } cases[] = {
      {"plain", "plain"},
      {"a,b", "\"a,b\""},
      {"say \"hi\"", "\"say \"\"hi\"\"\""},
      {"two\r\nlines", "\"two\r\nlines\""},
      {"", ""},
  };
  for (const Case& c : cases) {
    const std::string csv = RenderReportCsv({ReportRow{"Part", 1, "K", {{"V", c.value}}}});
    EXPECT_EQ(csv, std::string("Class,OBJECT_ID,Key,V\r\nPart,1,K,") + c.cell + "\r\n") << c.value;
  }
}

TEST(ReportWriterTest, ColumnsAreTheUnionOfAttributesInFirstSeenOrder) {
  const std::vector<ReportRow> rows = {
      ReportRow{"History", 5, "h1", {{"CN_TEXT", "created"}, {"CN_USER", "jdoe"}}},
      ReportRow{"Part", 7, "P-7", {{"TITLE", "Bolt"}, {"CN_TEXT", "x"}}},
  };
  EXPECT_EQ(RenderReportCsv(rows),
            "Class,OBJECT_ID,Key,CN_TEXT,CN_USER,TITLE\r\n"
            "History,5,h1,created,jdoe,\r\n"
            "Part,7,P-7,x,,Bolt\r\n");
}

TEST(ReportWriterTest, HtmlEscapesMarkup) {
  const std::string html = RenderReportHtml("R<1>", {ReportRow{"A&B", 1, "<k>", {}}});
  EXPECT_NE(html.find("<title>R&lt;1&gt;</title>"), std::string::npos) << html;
  EXPECT_NE(html.find("<td>A&amp;B</td><td>1</td><td>&lt;k&gt;</td>"), std::string::npos) << html;
  EXPECT_NE(html.find("1 object(s)"), std::string::npos) << html;
}

}  // namespace
}  // namespace vtx::emu

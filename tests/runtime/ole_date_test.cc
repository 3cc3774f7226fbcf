#include "runtime/ole_date.h"

#include <gtest/gtest.h>

#include <string>

#include "runtime/runtime_error.h"
#include "support/case_name.h"

namespace vtx::date {
namespace {

struct SerialCase {
  const char* name;
  std::string iso;
  double serial;
};
VTX_PRINT_CASE_BY_NAME(SerialCase)

class SerialTest : public testing::TestWithParam<SerialCase> {};

TEST_P(SerialTest, ConvertsBothWays) {
  const SerialCase& c = GetParam();
  EXPECT_DOUBLE_EQ(FromIso(c.iso), c.serial);
  EXPECT_EQ(ToIso(c.serial), c.iso);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SerialTest,
    testing::Values(SerialCase{"DayZero", "1899-12-30T00:00:00", 0},
                    SerialCase{"DayOne", "1899-12-31T00:00:00", 1},
                    SerialCase{"Noon", "1899-12-30T12:00:00", 0.5},
                    SerialCase{"BeforeDayZeroKeepsPositiveTime", "1899-12-29T06:00:00", -1.25},
                    SerialCase{"LeapDay", "2000-02-29T00:00:00", 36585},
                    SerialCase{"Recent", "2026-12-05T18:00:00", 46361.75}),
    [](const testing::TestParamInfo<SerialCase>& info) { return info.param.name; });

TEST(OleDateTest, PartsRoundTrip) {
  DateParts p = ToParts(FromParts(DateParts{2026, 12, 5, 10, 11, 12}));
  EXPECT_EQ(p.year, 2026);
  EXPECT_EQ(p.month, 12);
  EXPECT_EQ(p.day, 5);
  EXPECT_EQ(p.hour, 10);
  EXPECT_EQ(p.minute, 11);
  EXPECT_EQ(p.second, 12);
}

TEST(OleDateTest, TimeRoundsToTheNearestSecond) {
  EXPECT_EQ(ToIso(FromIso("2026-12-05T23:59:59") + 0.9 / 86400), "2026-12-06T00:00:00");
}

TEST(OleDateTest, IsoWithoutSecondsOrTime) {
  EXPECT_EQ(ToIso(FromIso("2026-12-05T10:11")), "2026-12-05T10:11:00");
  EXPECT_EQ(ToIso(FromIso("2026-12-05")), "2026-12-05T00:00:00");
}

TEST(OleDateTest, MalformedIsoRaises13) {
  for (const char* bad : {"", "2026-13-01", "2026-02-30", "2026-12-05T24:00", "2026-12-05X",
                          "2026/12/05", "2026-12-05T10:11:12Z", "2026-12-05T10"}) {
    try {
      FromIso(bad);
      ADD_FAILURE() << '"' << bad << "\": no error";
    } catch (const RuntimeError& e) {
      EXPECT_EQ(e.Number(), 13) << bad;
    }
  }
}

struct TextCase {
  const char* name;
  std::string iso;
  std::string pattern;  // empty: ToDisplayString
  std::string expected;
};
VTX_PRINT_CASE_BY_NAME(TextCase)

class DateTextTest : public testing::TestWithParam<TextCase> {};

TEST_P(DateTextTest, Writes) {
  const TextCase& c = GetParam();
  double serial = FromIso(c.iso);
  EXPECT_EQ(c.pattern.empty() ? ToDisplayString(serial) : Format(serial, c.pattern), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DateTextTest,
    testing::Values(
        TextCase{"DisplayMorning", "2026-12-05T10:11:12", "", "12/5/2026 10:11:12 AM"},
        TextCase{"DisplayAfternoon", "2026-01-09T15:04:05", "", "1/9/2026 3:04:05 PM"},
        TextCase{"DisplayNoon", "2026-01-09T12:00:01", "", "1/9/2026 12:00:01 PM"},
        TextCase{"DisplayAfterMidnight", "2026-01-09T00:30:00", "", "1/9/2026 12:30:00 AM"},
        TextCase{"DisplayMidnightIsDateOnly", "2026-01-09T00:00:00", "", "1/9/2026"},
        TextCase{"DisplayDayZeroIsTimeOnly", "1899-12-30T10:11:12", "", "10:11:12 AM"},
        TextCase{"DisplayZero", "1899-12-30T00:00:00", "", "12:00:00 AM"},
        TextCase{"IdentifierStamp", "2026-12-05T10:11:12", "yyMMMddhhmmss", "26Dec05101112"},
        TextCase{"IdentifierStampAfternoon", "2026-03-07T23:05:09", "yyMMMddhhmmss",
                 "26Mar07230509"},
        TextCase{"LowerCaseLetters", "2026-03-07T08:05:09", "yyyy-mm-dd hh:nn:ss",
                 "2026-03-07 08:05:09"},
        TextCase{"MinutesAfterHourSeparator", "2026-03-07T08:05:09", "h:m:s", "8:5:9"},
        TextCase{"LongNames", "2026-03-07T08:05:09", "dddd, mmmm d", "Saturday, March 7"},
        TextCase{"ShortWeekday", "2026-12-05T08:05:09", "ddd", "Sat"},
        TextCase{"TwelveHour", "2026-03-07T15:05:09", "h:nn AM/PM", "3:05 PM"},
        TextCase{"QuotedLiteral", "2026-03-07T15:05:09", "\"Day\" d", "Day 7"},
        TextCase{"EscapedLiteral", "2026-03-07T15:05:09", "\\d d", "d 7"}),
    [](const testing::TestParamInfo<TextCase>& info) { return info.param.name; });

}  // namespace
}  // namespace vtx::date

#include "runtime/text.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "runtime/runtime_error.h"
#include "support/case_name.h"

namespace vtx::text {
namespace {

// U+1D11E (musical G clef): one code point, two UTF-16 code units.
const std::string kClef = "\xF0\x9D\x84\x9E";

TEST(TextTest, Utf16RoundTripKeepsNonBmpCharacters) {
  const std::string s = "a" + kClef + "é";
  EXPECT_EQ(ToUtf16(s), std::u16string(u"a\U0001D11Eé"));
  EXPECT_EQ(ToUtf8(ToUtf16(s)), s);
}

TEST(TextTest, MalformedUtf8BecomesReplacementCharacter) {
  EXPECT_EQ(ToUtf16("a\xFF"
                    "b"),
            std::u16string(u"a\uFFFDb"));
  EXPECT_EQ(ToUtf16("\xC3"), std::u16string(u"\uFFFD"));  // cut short
}

TEST(TextTest, ValidUtf8IsWhatDecodesWithoutReplacement) {
  for (const std::string& good :
       std::vector<std::string>{"", "abc", "\xC3\xA9" + kClef, "\xEF\xBF\xBD"})
    EXPECT_TRUE(IsValidUtf8(good)) << good;
  // A stray byte, a sequence cut short, an overlong form, a surrogate.
  for (const char* bad : {"a\xFF", "\xC3", "\xC0\xAF", "\xED\xA0\x80"})
    EXPECT_FALSE(IsValidUtf8(bad)) << bad;
}

struct LenCase {
  const char* name;
  std::string s;
  int32_t expected;
};
VTX_PRINT_CASE_BY_NAME(LenCase)

class LenTest : public testing::TestWithParam<LenCase> {};

TEST_P(LenTest, CountsUtf16CodeUnits) { EXPECT_EQ(Len(GetParam().s), GetParam().expected); }

INSTANTIATE_TEST_SUITE_P(Cases, LenTest,
                         testing::Values(LenCase{"Empty", "", 0}, LenCase{"Ascii", "abc", 3},
                                         LenCase{"Accented", "é", 1},
                                         LenCase{"NonBmpIsTwo", kClef, 2},
                                         LenCase{"Mixed", "x" + kClef + "é", 4}),
                         [](const testing::TestParamInfo<LenCase>& info) {
                           return info.param.name;
                         });

struct SliceCase {
  const char* name;
  std::function<std::string()> run;
  std::string expected;
};
VTX_PRINT_CASE_BY_NAME(SliceCase)

class SliceTest : public testing::TestWithParam<SliceCase> {};

TEST_P(SliceTest, Slices) { EXPECT_EQ(GetParam().run(), GetParam().expected); }

INSTANTIATE_TEST_SUITE_P(
    Cases, SliceTest,
    testing::Values(
        SliceCase{"LeftWithin", [] { return Left("abcdef", 2); }, "ab"},
        SliceCase{"LeftBeyond", [] { return Left("ab", 10); }, "ab"},
        SliceCase{"LeftZero", [] { return Left("ab", 0); }, ""},
        SliceCase{"LeftAccented", [] { return Left("éèê", 2); }, "éè"},
        SliceCase{"LeftWholePair", [] { return Left(kClef + "z", 2); }, kClef},
        SliceCase{"LeftHalfPair", [] { return Left(kClef, 1); }, "\xEF\xBF\xBD"},
        SliceCase{"RightWithin", [] { return Right("abcdef", 2); }, "ef"},
        SliceCase{"RightBeyond", [] { return Right("ab", 5); }, "ab"},
        SliceCase{"RightAfterPair", [] { return Right("a" + kClef + "b", 3); }, kClef + "b"},
        SliceCase{"MidToEnd", [] { return Mid("abcdef", 3); }, "cdef"},
        SliceCase{"MidLength", [] { return Mid("abcdef", 2, 3); }, "bcd"},
        SliceCase{"MidPastEnd", [] { return Mid("abc", 4); }, ""},
        SliceCase{"MidLengthBeyond", [] { return Mid("abc", 2, 99); }, "bc"},
        SliceCase{"MidAfterPair", [] { return Mid(kClef + "xy", 3, 1); }, "x"},
        SliceCase{"UCaseAccented", [] { return UCase("école é"); }, "ÉCOLE É"},
        SliceCase{"LCaseAccented", [] { return LCase("ÉCOLE Ü"); }, "école ü"},
        SliceCase{"UCaseAsciiEnds", [] { return UCase("az@[`{"); }, "AZ@[`{"},
        SliceCase{"LCaseAsciiEnds", [] { return LCase("AZ@[`{"); }, "az@[`{"},
        SliceCase{"UCaseKeepsNonLetters", [] { return UCase("a1-" + kClef); }, "A1-" + kClef},
        SliceCase{"TrimSpacesOnly", [] { return Trim("  a b \t"); }, "a b \t"},
        SliceCase{"LTrim", [] { return LTrim("  a "); }, "a "},
        SliceCase{"RTrim", [] { return RTrim("  a "); }, "  a"},
        SliceCase{"TrimAllBlank", [] { return Trim("   "); }, ""},
        SliceCase{"ReplaceEvery", [] { return Replace("a-b-c", "-", "--"); }, "a--b--c"},
        SliceCase{"ReplaceCaseSensitive", [] { return Replace("aA", "a", "x"); }, "xA"},
        SliceCase{"ReplaceEmptyFind", [] { return Replace("abc", "", "x"); }, "abc"},
        SliceCase{"RepeatAccented", [] { return Repeat(3, u'é'); }, "ééé"},
        SliceCase{"RepeatZero", [] { return Repeat(0, u'x'); }, ""}),
    [](const testing::TestParamInfo<SliceCase>& info) { return info.param.name; });

struct InStrCase {
  const char* name;
  int32_t start;
  std::string haystack;
  std::string needle;
  int32_t expected;
};
VTX_PRINT_CASE_BY_NAME(InStrCase)

class InStrTest : public testing::TestWithParam<InStrCase> {};

TEST_P(InStrTest, FindsPosition) {
  const InStrCase& c = GetParam();
  EXPECT_EQ(InStr(c.start, c.haystack, c.needle), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, InStrTest,
                         testing::Values(InStrCase{"Found", 1, "abcabc", "bc", 2},
                                         InStrCase{"FromStart", 3, "abcabc", "bc", 5},
                                         InStrCase{"Absent", 1, "abc", "x", 0},
                                         InStrCase{"CaseSensitive", 1, "abc", "B", 0},
                                         InStrCase{"EmptyNeedleGivesStart", 2, "abc", "", 2},
                                         InStrCase{"EmptyNeedleAtEndPlusOne", 4, "abc", "", 4},
                                         InStrCase{"StartPastEnd", 5, "abc", "", 0},
                                         InStrCase{"CountsPairsAsTwo", 1, kClef + "x", "x", 3},
                                         InStrCase{"AfterAccent", 1, "éa", "a", 2}),
                         [](const testing::TestParamInfo<InStrCase>& info) {
                           return info.param.name;
                         });

TEST(TextTest, InvalidArgumentsRaise5) {
  const std::vector<std::pair<const char*, std::function<void()>>> cases = {
      {"LeftNegative", [] { Left("a", -1); }},
      {"RightNegative", [] { Right("a", -1); }},
      {"MidStartZero", [] { Mid("a", 0); }},
      {"MidNegativeLength", [] { Mid("a", 1, -1); }},
      {"InStrStartZero", [] { InStr(0, "a", "a"); }},
      {"RepeatNegative", [] { Repeat(-1, u'a'); }}};
  for (const auto& [name, run] : cases) {
    try {
      run();
      ADD_FAILURE() << name << ": no error";
    } catch (const RuntimeError& e) {
      EXPECT_EQ(e.Number(), 5) << name;
    }
  }
}

}  // namespace
}  // namespace vtx::text

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "runtime/dispatch.h"
#include "runtime/ole_date.h"
#include "runtime/variant.h"
#include "support/case_name.h"

namespace vtx {
namespace {

// An object whose default property is a fixed value, as host objects with a
// default property behave in expressions.
class ValueObject : public Dispatch {
 public:
  explicit ValueObject(Variant value) : value_(std::move(value)) {}
  Variant GetDefaultValue() override { return value_; }

 private:
  Variant value_;
};

// Runs `convert` and gives the run-time error number it raised, 0 when none.
template <class F>
int32_t ErrorOf(F convert) {
  try {
    convert();
  } catch (const RuntimeError& e) {
    return e.Number();
  }
  return 0;
}

struct IntCase {
  const char* name;
  Variant input;
  int32_t expected;  // ignored when error != 0
  int32_t error;
};
VTX_PRINT_CASE_BY_NAME(IntCase)

class ToInt16Test : public testing::TestWithParam<IntCase> {};

TEST_P(ToInt16Test, ConvertsOrRaises) {
  const IntCase& c = GetParam();
  if (c.error != 0) {
    EXPECT_EQ(ErrorOf([&] { c.input.ToInt16(); }), c.error);
  } else {
    EXPECT_EQ(c.input.ToInt16(), c.expected);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ToInt16Test,
    testing::Values(
        IntCase{"EmptyIsZero", Variant(), 0, 0}, IntCase{"NullRaises94", Variant::Null(), 0, 94},
        IntCase{"MissingRaises13", Variant::Missing(), 0, 13},
        IntCase{"MaxEdge", Variant(32767), 32767, 0},
        IntCase{"MinEdge", Variant(-32768), -32768, 0},
        IntCase{"AboveMaxOverflows", Variant(32768), 0, 6},
        IntCase{"BelowMinOverflows", Variant(-32769), 0, 6},
        IntCase{"HalfAboveMaxOverflows", Variant(32767.5), 0, 6},
        IntCase{"HalfBelowMinRoundsToEven", Variant(-32768.5), -32768, 0},
        IntCase{"TwoAndAHalfToTwo", Variant(2.5), 2, 0},
        IntCase{"ThreeAndAHalfToFour", Variant(3.5), 4, 0},
        IntCase{"MinusTwoAndAHalfToMinusTwo", Variant(-2.5), -2, 0},
        IntCase{"JustAboveHalfRoundsUp", Variant(2.5000001), 3, 0},
        IntCase{"TrueIsMinusOne", Variant(true), -1, 0},
        IntCase{"FalseIsZero", Variant(false), 0, 0},
        IntCase{"TextWithBlanks", Variant(" 12 "), 12, 0},
        IntCase{"TextWithLetters", Variant("12abc"), 0, 13},
        IntCase{"EmptyTextRaises13", Variant(""), 0, 13},
        IntCase{"BlankTextRaises13", Variant("   "), 0, 13},
        IntCase{"TextDecimalRoundsToEven", Variant("2.5"), 2, 0},
        IntCase{"TextSignedExponent", Variant("-1.5E2"), -150, 0},
        IntCase{"TextThousands", Variant("1,000"), 1000, 0},
        IntCase{"TextHexMax", Variant("&H7FFF"), 32767, 0},
        IntCase{"TextHexAllOnesIsMinusOne", Variant("&HFFFF"), -1, 0},
        IntCase{"TextHexTooWide", Variant("&H10000"), 0, 6},
        IntCase{"TextOctal", Variant("&O17"), 15, 0}, IntCase{"TextTrue", Variant("True"), -1, 0},
        IntCase{"TextFalseAnyCase", Variant("fALSE"), 0, 0},
        IntCase{"TextOverflow", Variant("40000"), 0, 6},
        IntCase{"ArrayRaises13", Variant(Variant::Array{Variant(1)}), 0, 13},
        IntCase{"NothingRaises91", Variant::Nothing(), 0, 91},
        IntCase{"ObjectDefaultValue", Variant(MakeRef<ValueObject>(Variant("7"))), 7, 0}),
    [](const testing::TestParamInfo<IntCase>& info) { return info.param.name; });

class ToInt32Test : public testing::TestWithParam<IntCase> {};

TEST_P(ToInt32Test, ConvertsOrRaises) {
  const IntCase& c = GetParam();
  if (c.error != 0) {
    EXPECT_EQ(ErrorOf([&] { c.input.ToInt32(); }), c.error);
  } else {
    EXPECT_EQ(c.input.ToInt32(), c.expected);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ToInt32Test,
    testing::Values(IntCase{"Int16Widens", Variant(int16_t{-32768}), -32768, 0},
                    IntCase{"MaxEdge", Variant(2147483647), 2147483647, 0},
                    IntCase{"MinEdge", Variant(-2147483647 - 1), -2147483647 - 1, 0},
                    IntCase{"HalfAboveMaxOverflows", Variant(2147483647.5), 0, 6},
                    IntCase{"HalfBelowMinRoundsToEven", Variant(-2147483648.5), -2147483647 - 1, 0},
                    IntCase{"FourAndAHalfToFour", Variant(4.5), 4, 0},
                    IntCase{"TextBeyondInt16", Variant("40000"), 40000, 0},
                    IntCase{"TextHexFourDigitsUnsigned", Variant("&HFFFF"), 65535, 0},
                    IntCase{"TextHexEightDigitsWraps", Variant("&HFFFFFFFF"), -1, 0},
                    IntCase{"TextExponent", Variant("1e3"), 1000, 0},
                    IntCase{"TextLeadingPoint", Variant(".5"), 0, 0},
                    IntCase{"TextSignOnly", Variant("-"), 0, 13},
                    IntCase{"TextTwoPoints", Variant("1.2.3"), 0, 13},
                    IntCase{"DateSerial", Variant::Date(46361.75), 46362, 0},
                    IntCase{"NullRaises94", Variant::Null(), 0, 94}),
    [](const testing::TestParamInfo<IntCase>& info) { return info.param.name; });

struct StringCase {
  const char* name;
  Variant input;
  const char* expected;  // ignored when error != 0
  int32_t error;
};
VTX_PRINT_CASE_BY_NAME(StringCase)

class ToStringTest : public testing::TestWithParam<StringCase> {};

TEST_P(ToStringTest, ConvertsOrRaises) {
  const StringCase& c = GetParam();
  if (c.error != 0) {
    EXPECT_EQ(ErrorOf([&] { c.input.ToString(); }), c.error);
  } else {
    EXPECT_EQ(c.input.ToString(), c.expected);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ToStringTest,
    testing::Values(
        StringCase{"EmptyIsEmptyText", Variant(), "", 0},
        StringCase{"NullRaises94", Variant::Null(), "", 94},
        StringCase{"MissingRaises13", Variant::Missing(), "", 13},
        StringCase{"Int16Negative", Variant(int16_t{-32767}), "-32767", 0},
        StringCase{"Int32", Variant(123456), "123456", 0},
        StringCase{"DoubleOneAndAHalf", Variant(1.5), "1.5", 0},
        StringCase{"DoubleTwoAndAQuarter", Variant(2.25), "2.25", 0},
        StringCase{"DoubleWhole", Variant(-32767.0), "-32767", 0},
        StringCase{"DoubleNegativeZero", Variant(-0.0), "0", 0},
        StringCase{"DoubleFifteenDigits", Variant(0.1 + 0.2), "0.3", 0},
        StringCase{"DoubleRoundsToFifteenDigits", Variant(1.0 / 3.0), "0.333333333333333", 0},
        StringCase{"DoubleLargeExponent", Variant(1e20), "1E+20", 0},
        StringCase{"DoubleSmallExponent", Variant(1.5e-5), "1.5E-05", 0},
        StringCase{"DoubleBeyondFifteenDigits", Variant(123456789012345678.0),
                   "1.23456789012346E+17", 0},
        StringCase{"True", Variant(true), "True", 0},
        StringCase{"False", Variant(false), "False", 0},
        StringCase{"DateAndTime", Variant::Date(date::FromIso("2026-12-05T10:11:12")),
                   "12/5/2026 10:11:12 AM", 0},
        StringCase{"Text", Variant("é"), "é", 0},
        StringCase{"ArrayRaises13", Variant(Variant::Array{}), "", 13},
        StringCase{"NothingRaises91", Variant::Nothing(), "", 91},
        StringCase{"ObjectDefaultValue", Variant(MakeRef<ValueObject>(Variant(2.5))), "2.5", 0},
        StringCase{"ObjectWithoutDefaultRaises438", Variant(MakeRef<Dispatch>()), "", 438}),
    [](const testing::TestParamInfo<StringCase>& info) { return info.param.name; });

struct BoolCase {
  const char* name;
  Variant input;
  bool expected;  // ignored when error != 0
  int32_t error;
};
VTX_PRINT_CASE_BY_NAME(BoolCase)

class ToBoolTest : public testing::TestWithParam<BoolCase> {};

TEST_P(ToBoolTest, ConvertsOrRaises) {
  const BoolCase& c = GetParam();
  if (c.error != 0) {
    EXPECT_EQ(ErrorOf([&] { c.input.ToBool(); }), c.error);
  } else {
    EXPECT_EQ(c.input.ToBool(), c.expected);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ToBoolTest,
    testing::Values(BoolCase{"EmptyIsFalse", Variant(), false, 0},
                    BoolCase{"NullRaises94", Variant::Null(), false, 94},
                    BoolCase{"MissingRaises13", Variant::Missing(), false, 13},
                    BoolCase{"ZeroIsFalse", Variant(0), false, 0},
                    BoolCase{"NonZeroIsTrue", Variant(int16_t{2}), true, 0},
                    BoolCase{"FractionIsTrue", Variant(0.25), true, 0},
                    BoolCase{"TextTrue", Variant("True"), true, 0},
                    BoolCase{"TextFalseLowerCase", Variant("false"), false, 0},
                    BoolCase{"TextTrueUpperCase", Variant("TRUE"), true, 0},
                    BoolCase{"TextNumberZero", Variant("0"), false, 0},
                    BoolCase{"TextNumberMinusOne", Variant("-1"), true, 0},
                    BoolCase{"TextYesRaises13", Variant("Yes"), false, 13},
                    BoolCase{"EmptyTextRaises13", Variant(""), false, 13},
                    BoolCase{"ArrayRaises13", Variant(Variant::Array{Variant(true)}), false, 13}),
    [](const testing::TestParamInfo<BoolCase>& info) { return info.param.name; });

struct DoubleCase {
  const char* name;
  Variant input;
  double expected;  // ignored when error != 0
  int32_t error;
};
VTX_PRINT_CASE_BY_NAME(DoubleCase)

class ToDoubleTest : public testing::TestWithParam<DoubleCase> {};

TEST_P(ToDoubleTest, ConvertsOrRaises) {
  const DoubleCase& c = GetParam();
  if (c.error != 0) {
    EXPECT_EQ(ErrorOf([&] { c.input.ToDouble(); }), c.error);
  } else {
    EXPECT_DOUBLE_EQ(c.input.ToDouble(), c.expected);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ToDoubleTest,
    testing::Values(DoubleCase{"EmptyIsZero", Variant(), 0, 0},
                    DoubleCase{"TrueIsMinusOne", Variant(true), -1, 0},
                    DoubleCase{"TextDecimal", Variant(" -2.75 "), -2.75, 0},
                    DoubleCase{"TextExponentD", Variant("1.5D2"), 150, 0},
                    DoubleCase{"TextTooLargeOverflows", Variant("1E999"), 0, 6},
                    DoubleCase{"TextLettersRaise13", Variant("12abc"), 0, 13},
                    DoubleCase{"DateIsSerial", Variant::Date(2.5), 2.5, 0},
                    DoubleCase{"NullRaises94", Variant::Null(), 0, 94}),
    [](const testing::TestParamInfo<DoubleCase>& info) { return info.param.name; });

TEST(ToDateTest, AcceptsIsoAndDisplayTextAndNumbers) {
  const double expected = date::FromIso("2026-12-05T10:11:12");
  EXPECT_DOUBLE_EQ(Variant("2026-12-05T10:11:12").ToDate(), expected);
  EXPECT_DOUBLE_EQ(Variant("12/5/2026 10:11:12 AM").ToDate(), expected);
  EXPECT_DOUBLE_EQ(Variant("12/5/2026").ToDate(), date::FromIso("2026-12-05"));
  EXPECT_DOUBLE_EQ(Variant("12/5/2026 12:00:00 AM").ToDate(), date::FromIso("2026-12-05"));
  EXPECT_DOUBLE_EQ(Variant("12/5/2026 12:30 PM").ToDate(), date::FromIso("2026-12-05T12:30"));
  EXPECT_DOUBLE_EQ(Variant(2.5).ToDate(), 2.5);
  EXPECT_EQ(ErrorOf([] { Variant("13/40/2026").ToDate(); }), 13);
  EXPECT_EQ(ErrorOf([] { Variant("tomorrow").ToDate(); }), 13);
  EXPECT_EQ(ErrorOf([] { Variant::Null().ToDate(); }), 94);
}

TEST(ToObjectTest, OnlyObjectsConvert) {
  auto object = MakeRef<ValueObject>(Variant(1));
  EXPECT_EQ(Variant(object).ToObject(), object);
  EXPECT_TRUE(Variant::Nothing().ToObject().IsNothing());
  EXPECT_EQ(ErrorOf([] { Variant("x").ToObject(); }), 13);
  EXPECT_EQ(ErrorOf([] { Variant().ToObject(); }), 13);
  EXPECT_EQ(ErrorOf([] { Variant(MakeRef<Dispatch>()).ToObjectAs<ValueObject>(); }), 13);
}

TEST(ArrayTest, ElementsAndUBound) {
  Variant array(Variant::Array{Variant(1), Variant("a")});
  EXPECT_EQ(array.UBound(), 1);
  EXPECT_EQ(array.Elements()[1], Variant("a"));
  EXPECT_EQ(Variant(Variant::Array{}).UBound(), -1);
  EXPECT_EQ(ErrorOf([] { Variant("a").Elements(); }), 13);
  EXPECT_EQ(ErrorOf([] { Variant(1).UBound(); }), 13);
}

struct CompareCase {
  const char* name;
  Variant a;
  Variant b;
  bool expected;  // ignored when error != 0
  int32_t error;
};
VTX_PRINT_CASE_BY_NAME(CompareCase)

class CompareEqualTest : public testing::TestWithParam<CompareCase> {};

TEST_P(CompareEqualTest, ComparesOrRaises) {
  const CompareCase& c = GetParam();
  if (c.error != 0) {
    EXPECT_EQ(ErrorOf([&] { CompareEqual(c.a, c.b); }), c.error);
  } else {
    EXPECT_EQ(CompareEqual(c.a, c.b), c.expected);
    EXPECT_EQ(CompareEqual(c.b, c.a), c.expected) << "reversed";
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CompareEqualTest,
    testing::Values(CompareCase{"NullNeverEqual", Variant::Null(), Variant::Null(), false, 0},
                    CompareCase{"NullAgainstText", Variant::Null(), Variant(""), false, 0},
                    CompareCase{"TextExactCase", Variant("Abc"), Variant("abc"), false, 0},
                    CompareCase{"TextSame", Variant("é"), Variant("é"), true, 0},
                    CompareCase{"AcrossIntegerWidths", Variant(int16_t{7}), Variant(7), true, 0},
                    CompareCase{"IntegerAndDouble", Variant(2), Variant(2.0), true, 0},
                    CompareCase{"TrueIsMinusOne", Variant(true), Variant(-1), true, 0},
                    CompareCase{"NumericText", Variant(" 12 "), Variant(12), true, 0},
                    CompareCase{"NonNumericTextRaises13", Variant("x"), Variant(1), false, 13},
                    CompareCase{"EmptyIsEmptyText", Variant(), Variant(""), true, 0},
                    CompareCase{"EmptyIsZero", Variant(), Variant(0), true, 0},
                    CompareCase{"EmptyIsNotText", Variant(), Variant("a"), false, 0},
                    CompareCase{"ObjectByDefault", Variant(MakeRef<ValueObject>(Variant("a"))),
                                Variant("a"), true, 0},
                    CompareCase{"NothingRaises91", Variant::Nothing(), Variant(1), false, 91}),
    [](const testing::TestParamInfo<CompareCase>& info) { return info.param.name; });

TEST(VarTypeCodeTest, ReportsAutomationCodes) {
  EXPECT_EQ(VarTypeCode(Variant()), 0);
  EXPECT_EQ(VarTypeCode(Variant::Null()), 1);
  EXPECT_EQ(VarTypeCode(Variant(int16_t{1})), 2);
  EXPECT_EQ(VarTypeCode(Variant(1)), 3);
  EXPECT_EQ(VarTypeCode(Variant(1.0)), 5);
  EXPECT_EQ(VarTypeCode(Variant::Date(0)), 7);
  EXPECT_EQ(VarTypeCode(Variant("")), 8);
  EXPECT_EQ(VarTypeCode(Variant::Nothing()), 9);
  EXPECT_EQ(VarTypeCode(Variant::Missing()), 10);
  EXPECT_EQ(VarTypeCode(Variant(false)), 11);
  EXPECT_EQ(VarTypeCode(Variant(Variant::Array{})), 8204);
}

TEST(RuntimeErrorTest, StandardDescriptions) {
  const std::vector<std::pair<int32_t, std::string>> cases = {
      {5, "Invalid procedure call or argument"},
      {6, "Overflow"},
      {9, "Subscript out of range"},
      {13, "Type mismatch"},
      {91, "Object variable or With block variable not set"},
      {94, "Invalid use of Null"},
      {429, "ActiveX component can't create object"},
      {438, "Object doesn't support this property or method"},
      {450, "Wrong number of arguments or invalid property assignment"}};
  for (const auto& [number, description] : cases) {
    try {
      Raise(number);
    } catch (const RuntimeError& e) {
      EXPECT_EQ(e.Number(), number);
      EXPECT_EQ(e.Description(), description) << "error " << number;
    }
  }
}

TEST(RefTest, CallThroughNothingRaises91) {
  Ref<ValueObject> nothing;
  EXPECT_EQ(ErrorOf([&] { nothing->GetDefaultValue(); }), 91);
}

}  // namespace
}  // namespace vtx

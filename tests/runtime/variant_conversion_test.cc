#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "runtime/dispatch.h"
#include "runtime/ole_date.h"
#include "runtime/variant.h"

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

}  // namespace
}  // namespace vtx

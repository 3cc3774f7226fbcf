#include "com/com_variant.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "com/com_string.h"

namespace vtx::com {
namespace {

int ErrorNumberOf(const std::function<void()>& call) {
  try {
    call();
  } catch (const RuntimeError& error) {
    return error.Number();
  }
  return 0;
}

struct RoundTrip {
  const char* name;
  Variant value;
  VARTYPE type;
};

TEST(ComVariantTest, ValuesCrossAndComeBackUnchanged) {
  const RoundTrip cases[] = {
      {"empty", Variant(), VT_EMPTY},
      {"null", Variant::Null(), VT_NULL},
      {"missing", Variant::Missing(), VT_ERROR},
      {"int16", Variant(int16_t{-32767}), VT_I2},
      {"int32", Variant(int32_t{-2147483647}), VT_I4},
      {"double", Variant(2.5), VT_R8},
      {"date", Variant::Date(46000.5), VT_DATE},
      {"text",
       Variant("Schlie\xC3\x9F"
               "en \xE2\x82\xAC \xF0\x9F\x98\x80"),
       VT_BSTR},
      {"empty text", Variant(""), VT_BSTR},
      {"true", Variant(true), VT_BOOL},
      {"false", Variant(false), VT_BOOL},
      {"array", Variant(Variant::Array{Variant(int16_t{1}), Variant("two"), Variant::Null()}),
       VT_ARRAY | VT_VARIANT},
  };
  for (const RoundTrip& c : cases) {
    VariantHolder out;
    ToVariant(c.value, out.value);
    EXPECT_EQ(V_VT(&out.value), c.type) << c.name;
    EXPECT_EQ(FromVariant(out.value), c.value) << c.name;
  }
}

TEST(ComVariantTest, AutomationBooleansAreMinusOneAndZero) {
  VariantHolder out;
  ToVariant(Variant(true), out.value);
  EXPECT_EQ(V_BOOL(&out.value), VARIANT_TRUE);
  EXPECT_EQ(V_BOOL(&out.value), -1);
  VARIANT odd;
  V_VT(&odd) = VT_BOOL;
  V_BOOL(&odd) = 1;  // any non-zero value is True
  EXPECT_EQ(FromVariant(odd), Variant(true));
}

TEST(ComVariantTest, TextsCountUtf16CodeUnits) {
  VariantHolder out;
  ToVariant(Variant("J\xC3\xB6rg \xF0\x9F\x98\x80"), out.value);
  EXPECT_EQ(SysStringLen(V_BSTR(&out.value)), 7u);  // J ö r g space + a surrogate pair
  EXPECT_EQ(V_BSTR(&out.value)[1], L'\u00F6');
}

TEST(ComVariantTest, OtherNumbersBecomeInt32OrDouble) {
  VARIANT value;
  V_VT(&value) = VT_UI1;
  V_UI1(&value) = 200;
  EXPECT_EQ(FromVariant(value), Variant(int32_t{200}));
  V_VT(&value) = VT_R4;
  V_R4(&value) = 1.5f;
  EXPECT_EQ(FromVariant(value), Variant(1.5));
  V_VT(&value) = VT_I8;
  V_I8(&value) = 1LL << 40;
  EXPECT_EQ(FromVariant(value), Variant(static_cast<double>(1LL << 40)));
  V_VT(&value) = VT_CY;
  V_CY(&value).int64 = 12345;  // 1.2345
  EXPECT_EQ(FromVariant(value), Variant(1.2345));
}

TEST(ComVariantTest, ByReferenceValuesAreFollowed) {
  short number = 42;
  VARIANT reference;
  V_VT(&reference) = VT_BYREF | VT_I2;
  V_I2REF(&reference) = &number;
  EXPECT_EQ(FromVariant(reference), Variant(int16_t{42}));

  VariantHolder inner;
  ToVariant(Variant("inner"), inner.value);
  V_VT(&reference) = VT_BYREF | VT_VARIANT;
  V_VARIANTREF(&reference) = &inner.value;
  EXPECT_EQ(FromVariant(reference), Variant("inner"));
}

TEST(ComVariantTest, WritesBackThroughReferencesInTheirOwnType) {
  BSTR text = NewBstr("old");
  VARIANT reference;
  V_VT(&reference) = VT_BYREF | VT_BSTR;
  V_BSTRREF(&reference) = &text;
  WriteByRef(Variant("new"), reference);
  EXPECT_EQ(FromBstr(text), "new");
  SysFreeString(text);

  short number = 0;
  V_VT(&reference) = VT_BYREF | VT_I2;
  V_I2REF(&reference) = &number;
  WriteByRef(Variant(int32_t{7}), reference);
  EXPECT_EQ(number, 7);
  EXPECT_EQ(ErrorNumberOf([&] { WriteByRef(Variant(int32_t{70000}), reference); }),
            err::kTypeMismatch);
  EXPECT_EQ(ErrorNumberOf([&] { WriteByRef(Variant("text"), reference); }), err::kTypeMismatch);

  VariantHolder any;
  V_VT(&reference) = VT_BYREF | VT_VARIANT;
  V_VARIANTREF(&reference) = &any.value;
  WriteByRef(Variant(true), reference);
  EXPECT_EQ(V_VT(&any.value), VT_BOOL);
}

TEST(ComVariantTest, WhatHasNoVariantFormRaisesTypeMismatch) {
  SAFEARRAYBOUND bounds[2] = {{2, 0}, {2, 0}};
  VARIANT matrix;
  V_VT(&matrix) = VT_ARRAY | VT_VARIANT;
  V_ARRAY(&matrix) = SafeArrayCreate(VT_VARIANT, 2, bounds);
  EXPECT_EQ(ErrorNumberOf([&] { FromVariant(matrix); }), err::kTypeMismatch);
  VariantClear(&matrix);
}

}  // namespace
}  // namespace vtx::com

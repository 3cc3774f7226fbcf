#include <gtest/gtest.h>

#include <string>

#include "cli/scenario/run_error.h"
#include "cli/scenario/value_builder.h"
#include "cli/scenario/value_encoder.h"
#include "cli/scenario/written_value.h"
#include "runtime/ole_date.h"

namespace vtx::cli {
namespace {

using Kind = WrittenValue::Kind;

// Values without objects never reach the source.
class NoObjects : public ObjectSource {
 public:
  Ref<KvObject> LoadObject(const WrittenRef& ref) override { throw RunError(ref.path); }
  std::pair<int16_t, int32_t> Identify(const WrittenRef& ref) override { throw RunError(ref.path); }
  Ref<KvObjects> NewObjects() override { throw RunError("objects"); }
  Ref<KvRecordList> NewRecordList() override { throw RunError("record list"); }
  Ref<KvStrings> NewStrings() override { throw RunError("strings"); }
  Ref<KvClass> FindClass(const std::string& name, const std::string&) override {
    throw RunError(name);
  }
};

ParamInfo Param(ParamType type, std::string object_type = {}) {
  return ParamInfo{"p", type, false, false, std::move(object_type)};
}

struct BuildCase {
  std::string name;
  std::string json;
  ParamType type;
  VarType expected_type;
  std::string expected_text;  // ToString of the built value ("" for Null/Empty)
};
void PrintTo(const BuildCase& c, std::ostream* os) { *os << c.name; }

class BuildValueTest : public ::testing::TestWithParam<BuildCase> {};

TEST_P(BuildValueTest, TypesTheValueByItsParameter) {
  const BuildCase& c = GetParam();
  NoObjects source;
  ParamInfo param = Param(c.type);
  WrittenValue written = ParseValue(Json::parse(c.json), "v");
  CheckValueForParameter(written, param);
  Variant v = BuildValue(written, &param, source);
  EXPECT_EQ(v.Type(), c.expected_type);
  if (!v.IsNull() && !v.IsEmpty() && !v.IsObject()) {
    EXPECT_EQ(v.ToString(), c.expected_text);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BuildValueTest,
    ::testing::Values(
        BuildCase{"WholeNumberForVariantIsI4", "12", ParamType::kVariant, VarType::kI4, "12"},
        BuildCase{"FractionForVariantIsR8", "1.5", ParamType::kVariant, VarType::kR8, "1.5"},
        BuildCase{"HugeWholeNumberForVariantIsR8", "3000000000", ParamType::kVariant, VarType::kR8,
                  "3000000000"},
        BuildCase{"NumberForInt16", "7", ParamType::kInt16, VarType::kI2, "7"},
        BuildCase{"FractionForInt16RoundsHalfToEven", "2.5", ParamType::kInt16, VarType::kI2, "2"},
        BuildCase{"NumberForInt32", "-70000", ParamType::kInt32, VarType::kI4, "-70000"},
        BuildCase{"NumberForDouble", "3", ParamType::kDouble, VarType::kR8, "3"},
        BuildCase{"TypedI2ForVariantStaysI2", R"({"i2": 5})", ParamType::kVariant, VarType::kI2,
                  "5"},
        BuildCase{"TypedI2ForInt32Widens", R"({"i2": 5})", ParamType::kInt32, VarType::kI4, "5"},
        BuildCase{"TypedR8", R"({"r8": 5})", ParamType::kVariant, VarType::kR8, "5"},
        BuildCase{"Date", R"({"date": "2026-12-05T10:11:12"})", ParamType::kVariant, VarType::kDate,
                  "12/5/2026 10:11:12 AM"},
        BuildCase{"TrueIsMinusOne", "true", ParamType::kBool, VarType::kBool, "True"},
        BuildCase{"Text", R"("Bolt")", ParamType::kString, VarType::kString, "Bolt"},
        BuildCase{"NullForVariant", "null", ParamType::kVariant, VarType::kNull, ""},
        BuildCase{"Empty", R"({"empty": true})", ParamType::kVariant, VarType::kEmpty, ""},
        BuildCase{"NothingForObject", R"({"nothing": true})", ParamType::kObject, VarType::kObject,
                  ""}),
    [](const ::testing::TestParamInfo<BuildCase>& info) { return info.param.name; });

TEST(BuildValueTest, ArrayStartsAtZeroAndKeepsElementTypes) {
  NoObjects source;
  Variant v = BuildValue(ParseValue(Json::parse(R"({"array": [1, "a", {"i2": 2}]})"), "v"), nullptr,
                         source);
  ASSERT_TRUE(v.IsArray());
  EXPECT_EQ(v.UBound(), 2);
  EXPECT_EQ(v.Elements()[0].Type(), VarType::kI4);
  EXPECT_EQ(v.Elements()[1].AsString(), "a");
  EXPECT_EQ(v.Elements()[2].Type(), VarType::kI2);
}

struct MismatchCase {
  std::string name;
  std::string json;
  ParamInfo param;
  std::string message;  // "path: message"
};
void PrintTo(const MismatchCase& c, std::ostream* os) { *os << c.name; }

class ParameterMismatchTest : public ::testing::TestWithParam<MismatchCase> {};

TEST_P(ParameterMismatchTest, IsRefusedWithThePath) {
  const MismatchCase& c = GetParam();
  WrittenValue written = ParseValue(Json::parse(c.json), "args.p");
  try {
    CheckValueForParameter(written, c.param);
    FAIL() << "accepted " << c.json;
  } catch (const JsonPathError& e) {
    EXPECT_EQ(e.what(), c.message);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ParameterMismatchTest,
    ::testing::Values(
        MismatchCase{"NumberForString", "5", Param(ParamType::kString),
                     "args.p: expected a string"},
        MismatchCase{"TextForInt16", R"("5")", Param(ParamType::kInt16),
                     "args.p: expected a number"},
        MismatchCase{"Int16Overflow", "32768", Param(ParamType::kInt16),
                     "args.p: out of range for a 16-bit integer"},
        MismatchCase{"Int32Overflow", "2147483648", Param(ParamType::kInt32),
                     "args.p: out of range for a 32-bit integer"},
        MismatchCase{"NumberForBool", "1", Param(ParamType::kBool),
                     "args.p: expected true or false"},
        MismatchCase{"NullForObject", "null", Param(ParamType::kObject, "KvObject"),
                     "args.p: expected {\"object\": ...} or {\"nothing\": true} for a KvObject "
                     "parameter"},
        MismatchCase{"ObjectsForRecordList", R"({"objects": []})",
                     Param(ParamType::kObject, "KvRecordList"),
                     "args.p: expected {\"recordList\": ...} or {\"nothing\": true} for a "
                     "KvRecordList parameter"},
        MismatchCase{"TextForAnyObject", R"("x")", Param(ParamType::kObject),
                     "args.p: expected an object value or {\"nothing\": true} for a object "
                     "parameter"}),
    [](const ::testing::TestParamInfo<MismatchCase>& info) { return info.param.name; });

TEST(DefaultValueTest, OmittedByReferenceParametersStartAtTheirTypesDefault) {
  EXPECT_EQ(DefaultValue(Param(ParamType::kString)), Variant(std::string()));
  EXPECT_EQ(DefaultValue(Param(ParamType::kInt16)), Variant(int16_t{0}));
  EXPECT_EQ(DefaultValue(Param(ParamType::kInt32)), Variant(int32_t{0}));
  EXPECT_EQ(DefaultValue(Param(ParamType::kBool)), Variant(false));
  EXPECT_TRUE(DefaultValue(Param(ParamType::kVariant)).IsEmpty());
  EXPECT_TRUE(DefaultValue(Param(ParamType::kObject, "KvObject")).IsNothing());
}

struct ColumnCase {
  std::string name;
  std::string rows;  // short-form rows
  std::vector<int32_t> types;
};
void PrintTo(const ColumnCase& c, std::ostream* os) { *os << c.name; }

class ShortFormColumnsTest : public ::testing::TestWithParam<ColumnCase> {};

TEST_P(ShortFormColumnsTest, TakeStandardOrFirstValueTypes) {
  const ColumnCase& c = GetParam();
  WrittenValue written = ParseValue(Json::parse(R"({"recordList": )" + c.rows + "}"), "v");
  ASSERT_EQ(written.columns.size(), c.types.size());
  for (size_t i = 0; i < c.types.size(); ++i) {
    EXPECT_EQ(written.columns[i].type, c.types[i]) << written.columns[i].name;
    EXPECT_EQ(written.columns[i].length, c.types[i] == 1 ? 255 : 0) << written.columns[i].name;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ShortFormColumnsTest,
    ::testing::Values(
        ColumnCase{"StandardIds",
                   R"([{"CLASS_ID": 1, "OBJECT_ID": 2, "CLASS_ID1": 3, "OBJECT_ID2": 4,
                        "PAR_OBJECT_ID": 5, "SON_OBJECT_ID": 6}])",
                   {2, 3, 2, 3, 3, 3}},
        ColumnCase{"ByFirstValue", R"([{"T": "x", "B": true, "N": 3, "D": 1.5}])", {1, 15, 3, 4}},
        ColumnCase{"TypedForms",
                   R"([{"A": {"i2": 1}, "B": {"r8": 2}, "C": {"date": "2026-01-01T00:00"}}])",
                   {2, 4, 7}},
        ColumnCase{"FirstNonNullDecides", R"([{"A": null}, {"A": 4}])", {3}},
        ColumnCase{"ColumnsInOrderOfAppearance", R"([{"A": "x"}, {"B": 1, "A": "y"}])", {1, 3}},
        ColumnCase{"OnlyNullIsText", R"([{"A": null}])", {1}}),
    [](const ::testing::TestParamInfo<ColumnCase>& info) { return info.param.name; });

TEST(ShortFormRowsTest, CellsTakeTheirColumnTypeAndMissingCellsStayUnset) {
  WrittenValue written =
      ParseValue(Json::parse(R"({"recordList": [{"CLASS_ID": 100}, {"OBJECT_ID": 7}]})"), "v");
  ASSERT_EQ(written.rows.size(), 2u);
  EXPECT_EQ(written.rows[0][0]->kind, Kind::kI2);
  EXPECT_FALSE(written.rows[0][1].has_value());
  EXPECT_FALSE(written.rows[1][0].has_value());
  EXPECT_EQ(written.rows[1][1]->kind, Kind::kI4);
}

TEST(RecordListOfObjectsTest, HasTheTwoIdColumns) {
  WrittenValue written =
      ParseValue(Json::parse(R"({"recordList": {"objects": [{"class": "Part", "key": "4711 A"},
                                                  {"label": "nut"}]}})"),
                 "v");
  EXPECT_TRUE(written.rows_from_objects);
  ASSERT_EQ(written.objects.size(), 2u);
  EXPECT_EQ(*written.objects[0].key, "4711 A");
  EXPECT_EQ(*written.objects[1].label, "nut");
  ASSERT_EQ(written.columns.size(), 2u);
  EXPECT_EQ(written.columns[0].type, 2);
  EXPECT_EQ(written.columns[1].type, 3);
}

struct EncodeCase {
  std::string name;
  Variant value;
  std::string json;
};
void PrintTo(const EncodeCase& c, std::ostream* os) { *os << c.name; }

class EncodeTest : public ::testing::TestWithParam<EncodeCase> {};

TEST_P(EncodeTest, WritesTheTranscriptForm) {
  EXPECT_EQ(ValueEncoder().Encode(GetParam().value).dump(), GetParam().json);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, EncodeTest,
    ::testing::Values(EncodeCase{"I2", Variant(int16_t{-32767}), R"({"i2":-32767})"},
                      EncodeCase{"I4", Variant(int32_t{12}), R"({"i4":12})"},
                      EncodeCase{"R8", Variant(2.25), R"({"r8":2.25})"},
                      EncodeCase{"Bool", Variant(true), "true"},
                      EncodeCase{"Text", Variant("a\r\nb"), R"("a\r\nb")"},
                      EncodeCase{"Null", Variant::Null(), "null"},
                      EncodeCase{"Empty", Variant::Empty(), R"({"empty":true})"},
                      EncodeCase{"Nothing", Variant::Nothing(), R"({"nothing":true})"},
                      EncodeCase{"Missing", Variant::Missing(), R"({"missing":true})"},
                      EncodeCase{"Date", Variant::Date(date::FromIso("2026-12-05T10:11:12")),
                                 R"({"date":"2026-12-05T10:11:12"})"},
                      EncodeCase{"Array",
                                 Variant(Variant::Array{Variant(int16_t{1}), Variant("x")}),
                                 R"({"array":[{"i2":1},"x"]})"}),
    [](const ::testing::TestParamInfo<EncodeCase>& info) { return info.param.name; });

}  // namespace
}  // namespace vtx::cli

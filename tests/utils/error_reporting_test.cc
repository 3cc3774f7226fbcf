#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "app/globals.h"
#include "support/mock_platform.h"
#include "support/scoped_module_values.h"
#include "utils/cls_utils.h"

namespace vtx::testing {
namespace {

using ::testing::_;
using ::testing::NiceMock;
using ::testing::Return;

struct DebugCase {
  std::string name;
  std::optional<std::string> value;
  bool shown;
};

class GetErrorDebugTest : public ::testing::TestWithParam<DebugCase> {};

TEST_P(GetErrorDebugTest, ShowsOnlyWhenDebugIsTrueInAnyCase) {
  NiceMock<MockPlatform> platform;
  ScopedPlatform installed(&platform);
  ON_CALL(platform, GetEnvironmentVariable("DEBUG")).WillByDefault(Return(GetParam().value));
  EXPECT_CALL(platform, MessageBox).Times(GetParam().shown ? 1 : 0);

  clsUtils().GetError("CheckTableName", RuntimeError(91, "Object variable not set"));
}

INSTANTIATE_TEST_SUITE_P(
    Values, GetErrorDebugTest,
    ::testing::Values(DebugCase{"Lower", "true", true}, DebugCase{"Upper", "TRUE", true},
                      DebugCase{"Capitalised", "True", true},
                      DebugCase{"Unset", std::nullopt, false}, DebugCase{"Empty", "", false},
                      DebugCase{"False", "false", false}, DebugCase{"Yes", "yes", false},
                      DebugCase{"One", "1", false}, DebugCase{"Padded", " true", false}),
    [](const auto& info) { return info.param.name; });

struct MessageCase {
  std::string name;
  int32_t number;
  std::string expected_number;
};

class GetErrorMessageTest : public ::testing::TestWithParam<MessageCase> {};

TEST_P(GetErrorMessageTest, ThreeLinesCriticalStopTitledVtx) {
  NiceMock<MockPlatform> platform;
  ScopedPlatform installed(&platform);
  ON_CALL(platform, GetEnvironmentVariable("DEBUG")).WillByDefault(Return("true"));
  EXPECT_CALL(platform, MessageBox("Following Error has occured in ''CheckTableName''\r"
                                   "Number      : " +
                                       GetParam().expected_number +
                                       "\r"
                                       "Description : Something broke",
                                   16, std::optional<std::string>("VTX")));

  clsUtils().GetError("CheckTableName", RuntimeError(GetParam().number, "Something broke"));
}

INSTANTIATE_TEST_SUITE_P(Numbers, GetErrorMessageTest,
                         ::testing::Values(MessageCase{"Runtime", 91, "91"},
                                           MessageCase{"HostFailure", -2147467259, "-2147467259"}),
                         [](const auto& info) { return info.param.name; });

struct FillCase {
  std::string name;
  std::string message;
  Variant::Array params;
  std::string expected;
};

class FillWithParamsTest : public ::testing::TestWithParam<FillCase> {};

TEST_P(FillWithParamsTest, ReplacesQuotedPlaceholders) {
  EXPECT_EQ(clsUtils().FillWithParams(GetParam().message, Variant(GetParam().params)),
            GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Templates, FillWithParamsTest,
    ::testing::Values(
        FillCase{"QuotesVanish",
                 "Error in function \"{0}\" !",
                 {"CheckTableName"},
                 "Error in function CheckTableName !"},
        FillCase{"BarePlaceholderUntouched", "Error in {0} !", {"X"}, "Error in {0} !"},
        FillCase{"EveryOccurrence", "\"{0}\"/\"{1}\"/\"{0}\"", {"A", "B"}, "A/B/A"},
        FillCase{"ParameterHoldingLaterPlaceholder", "\"{0}\"", {"x\"{1}\"", "y"}, "xy"},
        FillCase{"NumbersAndBooleansAsText",
                 "\"{0}\" \"{1}\" \"{2}\"",
                 {int32_t{12}, 1.5, true},
                 "12 1.5 True"},
        FillCase{"NoParameters", "\"{0}\"", {}, "\"{0}\""},
        FillCase{"MoreParametersThanPlaceholders", "plain", {"a", "b"}, "plain"}),
    [](const auto& info) { return info.param.name; });

struct FillFailureCase {
  std::string name;
  Variant params;
  int32_t number;
};

class FillWithParamsFailureTest : public ::testing::TestWithParam<FillFailureCase> {};

TEST_P(FillWithParamsFailureTest, ReportsUnderItsNameAndReturnsEmpty) {
  NiceMock<MockPlatform> platform;
  ScopedPlatform installed(&platform);
  ON_CALL(platform, GetEnvironmentVariable("DEBUG")).WillByDefault(Return("true"));
  EXPECT_CALL(
      platform,
      MessageBox(::testing::AllOf(
                     ::testing::StartsWith("Following Error has occured in ''FillWithParams''\r"),
                     ::testing::HasSubstr("Number      : " + std::to_string(GetParam().number))),
                 16, _));

  EXPECT_EQ(clsUtils().FillWithParams("\"{0}\" !", GetParam().params), "");
}

INSTANTIATE_TEST_SUITE_P(
    Params, FillWithParamsFailureTest,
    ::testing::Values(FillFailureCase{"NotAnArray", Variant("A"), 13},
                      FillFailureCase{"NullElement", Variant(Variant::Array{Variant::Null()}), 94}),
    [](const auto& info) { return info.param.name; });

// A form control as the late-bound caller sees it: controls without a font
// (lines, timers) fail on both "FontName" and "Font".
class FakeControl : public Dispatch {
 public:
  explicit FakeControl(bool has_font, bool refuses = false)
      : has_font_(has_font), refuses_(refuses) {}
  Variant Invoke(std::string_view name, InvokeKind kind, std::vector<Variant>& args) override {
    if (has_font_ && kind == InvokeKind::kPropertyGet && name == "FontName") return font;
    if (has_font_ && kind == InvokeKind::kPropertyPut && name == "Font") {
      if (refuses_) Raise(380, "Invalid property value");
      font = args[0].ToString();
      return {};
    }
    return Dispatch::Invoke(name, kind, args);
  }
  std::string font = "System";

 private:
  bool has_font_;
  bool refuses_;
};

class FakeControls : public Dispatch {
 public:
  std::vector<Ref<FakeControl>> items;
  Variant Invoke(std::string_view name, InvokeKind kind, std::vector<Variant>& args) override {
    if (name == "Count") return Variant(static_cast<int32_t>(items.size()));
    if (name == "Item") return Variant(items.at(args[0].ToInt32()));
    return Dispatch::Invoke(name, kind, args);
  }
};

class FakeForm : public Dispatch {
 public:
  Ref<FakeControls> controls;  // Nothing: the form has no Controls collection
  std::string font = "System";
  Variant Invoke(std::string_view name, InvokeKind kind, std::vector<Variant>& args) override {
    if (kind == InvokeKind::kPropertyPut && name == "Font") {
      font = args[0].ToString();
      return {};
    }
    if (kind == InvokeKind::kPropertyGet && name == "Controls" && controls)
      return Variant(controls);
    return Dispatch::Invoke(name, kind, args);
  }
};

class SetFontTest : public ::testing::Test {
 protected:
  ScopedModuleValues saved_;
  void SetUp() override { Globals().InterfaceFontName = "Tahoma"; }
  Ref<FakeControl> Add(bool has_font, bool refuses = false) {
    auto control = MakeRef<FakeControl>(has_font, refuses);
    form_->controls->items.push_back(control);
    return control;
  }
  Ref<FakeForm> form_ = [] {
    auto form = MakeRef<FakeForm>();
    form->controls = MakeRef<FakeControls>();
    return form;
  }();
};

TEST_F(SetFontTest, SkipsControlsWithoutAFont) {
  auto label = Add(true);
  auto line = Add(false);
  auto list = Add(true);

  EXPECT_TRUE(clsUtils().SetFont(form_));
  EXPECT_EQ(form_->font, "Tahoma");
  EXPECT_EQ(label->font, "Tahoma");
  EXPECT_EQ(line->font, "System");
  EXPECT_EQ(list->font, "Tahoma");
}

TEST_F(SetFontTest, StopsSilentlyAtTheFirstRefusal) {
  NiceMock<MockPlatform> platform;
  ScopedPlatform installed(&platform);
  ON_CALL(platform, GetEnvironmentVariable(_)).WillByDefault(Return("true"));
  EXPECT_CALL(platform, MessageBox).Times(0);
  auto first = Add(true);
  Add(true, /*refuses=*/true);
  auto after = Add(true);

  EXPECT_FALSE(clsUtils().SetFont(form_));
  EXPECT_EQ(first->font, "Tahoma");
  EXPECT_EQ(after->font, "System");
}

TEST_F(SetFontTest, FormWithoutControlsKeepsItsOwnFont) {
  form_->controls = nullptr;
  EXPECT_FALSE(clsUtils().SetFont(form_));
  EXPECT_EQ(form_->font, "Tahoma");
}

TEST(ErrorReportingMethods, ReachableByName) {
  clsUtils utils;
  std::vector<Variant> args{"\"{0}\"!", Variant(Variant::Array{"X"})};
  EXPECT_EQ(utils.Invoke("FillWithParams", InvokeKind::kMethod, args).ToString(), "X!");

  const MethodInfo* get_error = clsUtils::Methods().Find("GetError");
  ASSERT_NE(get_error, nullptr);
  ASSERT_EQ(get_error->params.size(), 2u);
  EXPECT_EQ(get_error->params[0].name, "FunctionName");
  EXPECT_EQ(get_error->params[1].name, "error");
  EXPECT_EQ(clsUtils::Methods().Find("HasProperty"), nullptr);
}

}  // namespace
}  // namespace vtx::testing

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

}  // namespace
}  // namespace vtx::testing

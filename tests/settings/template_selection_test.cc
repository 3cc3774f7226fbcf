#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/globals.h"
#include "nls/translation.h"
#include "settings/cls_admin_settings.h"
#include "settings/frm_templates.h"
#include "settings/settings_host.h"

namespace vtx::settings_testing {
namespace {

using Kind = DialogAction::Kind;

DialogAction Line(int32_t line) { return {Kind::kSelectAndOk, line}; }
DialogAction Ok() { return {Kind::kOk, -1}; }
DialogAction Cancel() { return {Kind::kCancel, -1}; }

struct Template {
  std::string section;
  std::string display_name;  // "" for none
};

struct TemplateCase {
  const char* name;
  std::vector<Template> templates;  // stored in this order
  std::vector<DialogAction> answers;
  bool expected;
  std::string selected;                         // "" when unchanged
  std::vector<std::vector<std::string>> shown;  // lines of each showing of the dialog
  std::vector<std::string> messages;
};

class GetSelectedTemplateTest : public ::testing::TestWithParam<TemplateCase> {
 protected:
  void SetUp() override {
    translation::SetDefaultTexts();
    Globals().InterfaceFontName = "Tahoma";
  }
};

TEST_P(GetSelectedTemplateTest, AsksOnlyWhenThereIsAChoice) {
  const TemplateCase& c = GetParam();
  SettingsHost t;
  for (const Template& tpl : c.templates) {
    t.AddAdmin(Variant(tpl.section), "OTHER", {"x"});
    if (!tpl.display_name.empty())
      t.AddAdmin(Variant(tpl.section), "GUI_DISPLAY_NAME", {tpl.display_name});
  }
  t.AddAdmin(Variant("ELSEWHERE"), "GUI_DISPLAY_NAME", {"Elsewhere"});
  t.Answer(c.answers);

  ClsAdminSettings settings;
  std::string selected = "unchanged";
  EXPECT_EQ(settings.GetSelectedTemplate(t.Session(), "TPL", selected), c.expected) << c.name;
  EXPECT_EQ(selected, c.selected.empty() ? "unchanged" : c.selected) << c.name;

  const emu::StepRecordings seen = t.Take();
  std::vector<std::vector<std::string>> shown;
  for (const DialogSnapshot& dialog : seen.platform.dialogs) {
    shown.push_back(dialog.lines);
    EXPECT_EQ(dialog.name, "frmTemplates") << c.name;
    EXPECT_EQ(dialog.caption, "Select a template") << c.name;
    EXPECT_EQ(dialog.buttons, (std::vector<std::string>{"OK", "Cancel"})) << c.name;
    EXPECT_EQ(dialog.font, "Tahoma") << c.name;
  }
  EXPECT_EQ(shown, c.shown) << c.name;
  EXPECT_EQ(Texts(seen.platform.messages), c.messages) << c.name;
  EXPECT_EQ(t.Host().Scripted().PendingDialogAnswers(), 0u) << c.name;
  // The shared dialog is emptied after every use.
  EXPECT_TRUE(frmTemplates::Shared()->ListSearch().Items().empty()) << c.name;
  EXPECT_FALSE(frmTemplates::Shared()->Visible()) << c.name;
}

const char* const kMissingHeader =
    "Error ! These sections do not have the subject \"GUI_DISPLAY_NAME\"\n\r";

INSTANTIATE_TEST_SUITE_P(
    Dialogs, GetSelectedTemplateTest,
    ::testing::Values(
        TemplateCase{"OneTemplateNoDialog", {{"TPL1", "Alpha"}}, {}, true, "TPL1", {}, {}},
        TemplateCase{"StemItselfCountsLongSuffixIgnored",
                     {{"TPL", "Plain"}, {"TPL1234", ""}},
                     {},
                     true,
                     "TPL",
                     {},
                     {}},
        TemplateCase{"PickTheSecond",
                     {{"TPL1", "Alpha"}, {"TPL2", "Beta"}},
                     {Line(1)},
                     true,
                     "TPL2",
                     {{"Alpha", "Beta"}},
                     {}},
        TemplateCase{"LinesInQueryOrder",
                     {{"TPL9", "Nine"}, {"TPL1", "One"}},
                     {Line(0)},
                     true,
                     "TPL9",
                     {{"Nine", "One"}},
                     {}},
        TemplateCase{"OkWithoutSelectionKeepsTheDialogOpen",
                     {{"TPL1", "Alpha"}, {"TPL2", "Beta"}},
                     {Ok(), Ok(), Line(0)},
                     true,
                     "TPL1",
                     {{"Alpha", "Beta"}},
                     {"Select a search or Cancel", "Select a search or Cancel"}},
        TemplateCase{"Cancel",
                     {{"TPL1", "Alpha"}, {"TPL2", "Beta"}},
                     {Cancel()},
                     false,
                     "",
                     {{"Alpha", "Beta"}},
                     {}},
        TemplateCase{"SameDisplayNameGivesTheFirstRow",
                     {{"TPL1", "Same"}, {"TPL2", "Same"}},
                     {Line(1)},
                     true,
                     "TPL1",
                     {{"Same", "Same"}},
                     {}},
        TemplateCase{"MissingDisplayNamesAreListed",
                     {{"TPL1", "Alpha"}, {"TPL2", ""}, {"TPL3", ""}},
                     {},
                     false,
                     "",
                     {},
                     {std::string(kMissingHeader) + "\n\r- TPL2\n\r- TPL3"}},
        TemplateCase{"NoTemplate",
                     {},
                     {},
                     false,
                     "",
                     {},
                     {"Error ! There is no Admin Settings concerning this function !"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(GetSelectedTemplateMessagesTest, ReminderHasNoIconAndTitleError) {
  translation::SetDefaultTexts();
  SettingsHost t;
  t.AddAdmin(Variant("TPL1"), "GUI_DISPLAY_NAME", {"Alpha"});
  t.AddAdmin(Variant("TPL2"), "GUI_DISPLAY_NAME", {"Beta"});
  t.Answer({Ok(), Cancel()});
  ClsAdminSettings settings;
  std::string selected;
  EXPECT_FALSE(settings.GetSelectedTemplate(t.Session(), "TPL", selected));
  const auto messages = t.Take().platform.messages;
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].style, 0);
  EXPECT_EQ(messages[0].title, "Error");
}

TEST(GetBackTheDescriptionsTest, KeepsTheRowsWhenADisplayNameIsMissing) {
  SettingsHost t;
  t.AddAdmin(Variant("A1"), "GUI_DISPLAY_NAME", {"First"});
  Ref<KvStrings> sections = t.Session()->CreateStringList();
  sections->Add("A1");
  sections->Add("A3");
  ClsAdminSettings settings;
  Ref<KvRecordList> list;
  EXPECT_FALSE(settings.GetBackTheDescriptions(t.Session(), sections, "A", list));
  EXPECT_EQ(Column(list, "SECTION"), (std::vector<std::string>{"A1", "A3"}));
  EXPECT_EQ(Column(list, "DESCRIPTION"), (std::vector<std::string>{"First", ""}));
  const auto messages = t.Take().platform.messages;
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].text, std::string(kMissingHeader) + "\n\r- A3");
  EXPECT_EQ(messages[0].style, 16);
  EXPECT_EQ(messages[0].title, "VTX");
}

TEST(FrmTemplatesTest, SetFontReachesEveryControlLateBound) {
  Globals().InterfaceFontName = "Verdana";
  Ref<frmTemplates> form = MakeRef<frmTemplates>();
  form->SetTranslationfrmTemplates();
  EXPECT_EQ(form->FontName(), "Verdana");
  EXPECT_EQ(form->ListSearch().FontName(), "Verdana");
  EXPECT_EQ(form->ButtonOk().FontName(), "Verdana");
  EXPECT_EQ(form->ButtonCancel().FontName(), "Verdana");
}

}  // namespace
}  // namespace vtx::settings_testing

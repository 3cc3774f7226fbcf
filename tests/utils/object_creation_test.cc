#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "history/test_host.h"
#include "platform/platform.h"
#include "utils/cls_utils.h"

namespace vtx::testing {
namespace {

constexpr int16_t kPart = 100;
constexpr int16_t kPartTree = 150;

nlohmann::json TitleRow(int class_id, const char* screen, int control, const char* column,
                        int required, int tab, int order) {
  return {{"CLASS_ID", class_id}, {"SCREEN_NAME", screen}, {"CONTROL_TYPE", control},
          {"COL_NAME", column},   {"REQUIERED", required}, {"MULTI_TAB", tab},
          {"TAB_ORDER", order}};
}

// Parts numbered by a sequence, linked in a tree, with a profile card whose
// mandatory fields are TITLE (tab 1) and NOTE (tab 2); the other rows of
// TDM_TITLES are each left out by one condition of the card's statement.
nlohmann::json PartModel() {
  auto text = [](const char* name, const char* external) {
    return nlohmann::json{{"name", name}, {"external", external}, {"type", 1}};
  };
  return {{"classes",
           {{{"id", kPart},
             {"name", "Part"},
             {"table", "TN_PARTS"},
             {"super", kPart},
             {"kind", 1},
             {"attributes",
              {text("PART_NUMBER", "Part Number"), text("TITLE", "Title"), text("NOTE", "Note"),
               text("TDMX_XML_VIEWER", "Viewer")}},
             {"identifiers", {"PART_NUMBER"}},
             {"hierarchyLink", kPartTree},
             {"sequences", {{"PART_NUMBER", {{"next", 1000}, {"format", "PN-{:05}"}}}}}},
            {{"id", kPartTree},
             {"name", "Part_Tree"},
             {"table", "TN_PART_TREE"},
             {"super", kPartTree},
             {"kind", 6},
             {"ends", {kPart, kPart}}}}},
          {"tables",
           {{"TDM_TITLES",
             {{"columns",
               {{"CLASS_ID", "integer"},
                {"SCREEN_NAME", "text"},
                {"CONTROL_TYPE", "integer"},
                {"COL_NAME", "text"},
                {"REQUIERED", "integer"},
                {"MULTI_TAB", "integer"},
                {"TAB_ORDER", "integer"}}},
              {"rows",
               {TitleRow(kPart, "Profile", 2, "NOTE", 1, 2, 1),
                TitleRow(kPart, "Profile", 2, "TITLE", 1, 1, 2),
                TitleRow(kPart, "Profile", 3, "PART_NUMBER", 0, 1, 1),
                TitleRow(kPart, "Single Object Form", 2, "TITLE", 1, 0, 0),
                TitleRow(kPart, "Profile", 0, "TITLE", 1, 0, 1),
                TitleRow(kPart, "Profile", 1, "TITLE", 1, 0, 2),
                TitleRow(kPart, "Profile", 7, "TITLE", 1, 0, 3),
                TitleRow(kPart, "Profile", 8, "TITLE", 1, 0, 4),
                TitleRow(kPart, "Profile", 2, "None", 1, 0, 5),
                TitleRow(200, "Profile", 2, "TITLE", 1, 0, 6)}}}}}}};
}

class ObjectCreationTest : public ::testing::Test {
 protected:
  ObjectCreationTest() : t_(PartModel()) {
    t_.Insert("Part", {{"PART_NUMBER", "P-1"}, {"TITLE", "Assembly"}}, 1);
  }

  Ref<KvClass> PartClass() { return t_.Session()->GetClasses()->ClassById(kPart); }
  // A free-standing record holding `values`, as a caller builds one.
  static Ref<KvRecord> Values(const std::vector<std::pair<std::string, std::string>>& values) {
    auto record = CastTo<KvRecord>(Platform::Current().CreateObject(progid::kRecord));
    for (const auto& [name, value] : values) {
      record->AddColumn(name, 40, 1);
      record->SetValue(name, value);
    }
    return record;
  }
  // The sequence's next value, consuming it.
  std::string NextPartNumber() {
    Ref<KvAttribute> attribute = PartClass()->AttributeByName("PART_NUMBER", 0);
    return t_.Session()
        ->GetObjectStore()
        ->GetSequences()
        ->GetSequenceOfAttribute(attribute)
        ->NextValue()
        .ToString();
  }
  std::vector<int32_t> StoredParts() {
    std::vector<int32_t> ids;
    for (const auto& object : t_.Store().Dump("Part")) ids.push_back(object.ref.object_id);
    return ids;
  }

  TestHost t_;
  clsUtils utils_;
};

TEST_F(ObjectCreationTest, ProfileCardRowsComeInTabThenPositionOrder) {
  Ref<KvRecordList> rows;
  ASSERT_TRUE(utils_.GetFieldsInAProfileCard(t_.Session(), PartClass(), rows));
  ASSERT_FALSE(rows.IsNothing());
  std::vector<std::string> columns;
  for (int32_t r = 0; r < rows->GetRecordCount(); ++r)
    columns.push_back(rows->GetValue("COL_NAME", r).ToString());
  EXPECT_EQ(columns, (std::vector<std::string>{"PART_NUMBER", "TITLE", "NOTE"}));
}

struct RequiredCase {
  const char* label;
  Variant title;
  Variant note;
  bool filled;
  std::string missing;  // external name named by the message
};

class AreRequiredFieldsFilledTest : public ObjectCreationTest,
                                    public ::testing::WithParamInterface<RequiredCase> {};

TEST_P(AreRequiredFieldsFilledTest, NamesTheFirstEmptyMandatoryFieldInCardOrder) {
  const RequiredCase& c = GetParam();
  Ref<KvObject> part = t_.Load({kPart, 1});
  part->SetValue("TITLE", c.title);
  part->SetValue("NOTE", c.note);

  EXPECT_EQ(utils_.AreRequiredFieldsFilled(t_.Session(), PartClass(), part->GetData()), c.filled)
      << c.label;
  const auto messages = t_.Take().platform.messages;
  if (c.missing.empty()) {
    EXPECT_TRUE(messages.empty()) << c.label;
  } else {
    ASSERT_EQ(messages.size(), 1u) << c.label;
    EXPECT_EQ(messages[0], (ShownMessage{"Error No: 00042\r\nAttribute '" + c.missing +
                                             "' is mandatory for Class 'Part'. You must enter a "
                                             "value in the Profile Card.",
                                         16, "VTX"}))
        << c.label;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Values, AreRequiredFieldsFilledTest,
    ::testing::Values(RequiredCase{"both filled", "T", "N", true, ""},
                      RequiredCase{"both empty: tab 1 first", "", "", false, "Title"},
                      RequiredCase{"note empty", "T", "", false, "Note"},
                      RequiredCase{"Null is not empty", Variant::Null(), "N", true, ""},
                      RequiredCase{"Empty is empty", Variant(), "N", false, "Title"}),
    [](const auto& info) { return "Case" + std::to_string(info.index); });

TEST_F(ObjectCreationTest, CreatesLinksAndAnnouncesWithoutTheEditor) {
  Ref<KvObject> child;
  ASSERT_TRUE(utils_.CreateAndLinkObject(t_.Session(), child, t_.Load({kPart, 1}), "TN_PARTS",
                                         Values({{"TITLE", "Bolt"}, {"TDMX_XML_VIEWER", "<xml/>"}}),
                                         false));
  emu::StepRecordings seen = t_.Take();

  ASSERT_FALSE(child.IsNothing());
  EXPECT_GT(child->GetObjectId(), 1);
  Ref<KvObject> stored = t_.Load({kPart, child->GetObjectId()});
  EXPECT_EQ(stored->GetValue("TITLE").ToString(), "Bolt");
  EXPECT_EQ(stored->GetValue("TDMX_XML_VIEWER").ToString(), "");
  // The sequence moved on once, though its value was not used.
  EXPECT_EQ(NextPartNumber(), "PN-01001");

  const auto links = t_.Store().Dump("Part_Tree");
  ASSERT_EQ(links.size(), 1u);
  ASSERT_EQ(seen.host.notifications.size(), 1u);
  EXPECT_EQ(seen.host.notifications[0].kind, 0);
  EXPECT_TRUE(seen.host.notifications[0].flag);
  EXPECT_EQ(Ids(seen.host.notifications[0].objects),
            (std::vector<int32_t>{links[0].ref.object_id}));
}

TEST_F(ObjectCreationTest, EditorOpensAgainUntilTheCardIsFilled) {
  t_.Host().AddAnswers({{}, {{true, {}}, {true, {{"TITLE", "Nut"}, {"NOTE", "M6"}}}}, {}});
  Ref<KvObject> child;
  ASSERT_TRUE(utils_.CreateAndLinkObject(t_.Session(), child, t_.Load({kPart, 1}), "TN_PARTS",
                                         Values({}), true));
  const auto messages = t_.Take().platform.messages;
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_NE(messages[0].text.find("'Title'"), std::string::npos);
  EXPECT_EQ(t_.Load({kPart, child->GetObjectId()})->GetValue("TITLE").ToString(), "Nut");
  EXPECT_EQ(NextPartNumber(), "PN-01000");  // the editor path numbers nothing
}

TEST_F(ObjectCreationTest, GivingUpInTheEditorStoresNothing) {
  t_.Host().AddAnswers({{}, {{false, {}}}, {}});
  Ref<KvObject> child;
  EXPECT_FALSE(utils_.CreateAndLinkObject(t_.Session(), child, t_.Load({kPart, 1}), "TN_PARTS",
                                          Values({}), true));
  EXPECT_FALSE(child.IsNothing());  // handed back even though nothing was stored
  EXPECT_EQ(StoredParts(), (std::vector<int32_t>{1}));
  EXPECT_TRUE(t_.Store().Dump("Part_Tree").empty());
}

TEST_F(ObjectCreationTest, NewAttributeValueComesFromTheListOrTheDatabase) {
  Ref<KvRecordList> with_column = t_.Selection({{kPart, 1}});
  with_column->AddColumn("TITLE", 40, 1);
  with_column->SetValue("TITLE", 0, "From the list");
  Variant value;
  ASSERT_TRUE(utils_.GetNewAttributeValue(t_.Session(), with_column, "TITLE", value));
  EXPECT_EQ(value.ToString(), "From the list");

  ASSERT_TRUE(
      utils_.GetNewAttributeValue(t_.Session(), t_.Selection({{kPart, 1}}), "TITLE", value));
  EXPECT_EQ(value.ToString(), "Assembly");
}

TEST_F(ObjectCreationTest, NewAttributeValueFailureKeepsTheNumberAndNamesTheOperation) {
  t_.Host().Monitor().AddFault({"KvObject.Retrieve", 1, 3021, "No current record", false});
  Variant value;
  try {
    utils_.GetNewAttributeValue(t_.Session(), t_.Selection({{kPart, 1}}), "TITLE", value);
    FAIL() << "the failure was swallowed";
  } catch (const RuntimeError& error) {
    EXPECT_EQ(error.Number(), 3021);
    EXPECT_EQ(error.Description(), "Error in GetNewAttributeValue:\r\nNo current record");
  }
  EXPECT_TRUE(t_.Take().platform.messages.empty());
}

}  // namespace
}  // namespace vtx::testing

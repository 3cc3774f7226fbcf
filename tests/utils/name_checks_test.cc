#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "history/test_host.h"
#include "utils/cls_utils.h"

namespace vtx::testing {
namespace {

nlohmann::json PartModel() {
  return {{"classes",
           {{{"id", 100},
             {"name", "Part"},
             {"table", "TN_PARTS"},
             {"super", 100},
             {"kind", 1},
             {"attributes",
              {{{"name", "PART_NUMBER"}, {"external", "Part Number"}, {"type", 1}},
               {{"name", "TITLE"}, {"external", "Title"}, {"type", 1}}}},
             {"identifiers", {"PART_NUMBER"}}},
            {{"id", 200}, {"name", "Bare"}, {"table", "TN_BARE"}, {"super", 200}, {"kind", 1}}}}};
}

class NameChecksTest : public ::testing::Test {
 protected:
  NameChecksTest() : t_(PartModel()) {}

  void SetVariables(std::map<std::string, std::string> variables) {
    emu::Environment environment = t_.Host().GetEnvironment();
    environment.variables = std::move(variables);
    t_.Host().SetEnvironment(environment);
  }
  Ref<KvClass> Class(const char* name) { return t_.Session()->GetClasses()->ClassByName(name); }

  TestHost t_;
  clsUtils utils_;
};

struct TemporaryDirectoryCase {
  const char* label;
  std::map<std::string, std::string> variables;
  std::string directory;
  std::vector<std::string> created;
};

class GetTemporaryDirectoryTest : public NameChecksTest,
                                  public ::testing::WithParamInterface<TemporaryDirectoryCase> {};

TEST_P(GetTemporaryDirectoryTest, FindsOrCreatesTheWorkFolder) {
  const TemporaryDirectoryCase& c = GetParam();
  SetVariables(c.variables);
  std::string directory = "unchanged";

  EXPECT_TRUE(utils_.GetTemporaryDirectory(directory)) << c.label;
  EXPECT_EQ(directory, c.directory) << c.label;
  EXPECT_EQ(t_.Take().platform.files_created, c.created) << c.label;

  // A second call finds everything in place.
  EXPECT_TRUE(utils_.GetTemporaryDirectory(directory)) << c.label;
  EXPECT_TRUE(t_.Take().platform.files_created.empty()) << c.label;
}

INSTANTIATE_TEST_SUITE_P(
    Variables, GetTemporaryDirectoryTest,
    ::testing::Values(
        TemporaryDirectoryCase{"TEMP with a final backslash",
                               {{"TEMP", "D:\\Tmp\\"}, {"TMP", "E:\\Other"}},
                               "D:\\Tmp\\VTX_Temp",
                               {"D:\\Tmp", "D:\\Tmp\\VTX_Temp"}},
        TemporaryDirectoryCase{"TEMP trimmed",
                               {{"TEMP", "  D:\\Work  "}},
                               "D:\\Work\\VTX_Temp",
                               {"D:\\Work", "D:\\Work\\VTX_Temp"}},
        TemporaryDirectoryCase{"TEMP blank, TMP used",
                               {{"TEMP", "   "}, {"TMP", "E:\\T"}},
                               "E:\\T\\VTX_Temp",
                               {"E:\\T", "E:\\T\\VTX_Temp"}},
        TemporaryDirectoryCase{
            "neither set", {}, "C:\\Temp\\VTX_Temp", {"C:\\Temp", "C:\\Temp\\VTX_Temp"}},
        TemporaryDirectoryCase{"drive root", {{"TEMP", "C:\\"}}, "C:\\VTX_Temp", {"C:\\VTX_Temp"}}),
    [](const auto& info) { return "Case" + std::to_string(info.index); });

TEST_F(NameChecksTest, TemporaryDirectoryWithoutParentFailsAndKeepsThePathReached) {
  SetVariables({{"TEMP", "D:\\No\\Such"}, {"DEBUG", "true"}});
  std::string directory;

  EXPECT_FALSE(utils_.GetTemporaryDirectory(directory));
  EXPECT_EQ(directory, "D:\\No\\Such");
  const auto messages = t_.Take().platform.messages;
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].text.rfind("Following Error has occured in ''GetTemporaryDirectory''", 0),
            0u);
}

TEST_F(NameChecksTest, PathChecksTellFilesFromDirectories) {
  SetVariables({{"TEMP", "C:\\Temp"}});
  std::string directory;
  ASSERT_TRUE(utils_.GetTemporaryDirectory(directory));
  const std::string file = directory + "\\TREE.inf";
  std::ofstream(t_.Host().Scripted().Paths().ToHost(file)) << "x";

  EXPECT_TRUE(utils_.CheckPathDirectory(directory));
  EXPECT_FALSE(utils_.CheckPathFile(directory));
  EXPECT_TRUE(utils_.CheckPathFile(file));
  EXPECT_FALSE(utils_.CheckPathDirectory(file));
  EXPECT_FALSE(utils_.CheckPathFile("C:\\Temp\\missing.txt"));
  EXPECT_FALSE(utils_.CheckPathDirectory("C:\\Temp\\missing"));
}

struct AttributeNameCase {
  const char* class_name;
  std::string name;
  bool internal;
  bool external;
};

class AttributeNameTest : public NameChecksTest,
                          public ::testing::WithParamInterface<AttributeNameCase> {};

TEST_P(AttributeNameTest, ChecksInternalAndExternalNames) {
  const AttributeNameCase& c = GetParam();
  EXPECT_EQ(utils_.CheckAttributeInternalName(Class(c.class_name), c.name), c.internal)
      << c.class_name << "." << c.name;
  EXPECT_EQ(utils_.CheckAttributeExternalName(Class(c.class_name), c.name), c.external)
      << c.class_name << "." << c.name;
}

INSTANTIATE_TEST_SUITE_P(Names, AttributeNameTest,
                         ::testing::Values(AttributeNameCase{"Part", "TITLE", true, false},
                                           AttributeNameCase{"Part", "Title", true, true},
                                           AttributeNameCase{"Part", "Part Number", false, true},
                                           AttributeNameCase{"Part", "CLASS_ID", true, true},
                                           AttributeNameCase{"Bare", "Title", false, false}));

TEST_F(NameChecksTest, TableNameNeedsAClassWithANonEmptyDefaultValue) {
  SetVariables({{"DEBUG", "true"}});
  EXPECT_TRUE(utils_.CheckTableName(t_.Session(), "TN_PARTS"));
  EXPECT_TRUE(t_.Take().platform.messages.empty());

  EXPECT_FALSE(utils_.CheckTableName(t_.Session(), "TN_NOWHERE"));
  const auto messages = t_.Take().platform.messages;
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].text.rfind("Following Error has occured in ''CheckTableName''\r"
                                   "Number      : 91\r",
                                   0),
            0u);
  EXPECT_EQ(messages[0].style, 16);
}

}  // namespace
}  // namespace vtx::testing

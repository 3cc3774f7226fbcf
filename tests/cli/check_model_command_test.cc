#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include <nlohmann/json.hpp>

#include "cli/check_model_command.h"
#include "cli/scenario/demo_model.h"
#include "support/temp_folder.h"

namespace vtx::cli {
namespace {

using Json = nlohmann::json;

Json& ClassNamed(Json& model, const std::string& name) {
  for (Json& c : model["classes"])
    if (c["name"] == name) return c;
  throw std::logic_error("no class " + name);
}

void EraseClass(Json& model, const std::string& name) {
  Json& classes = model["classes"];
  classes.erase(std::find_if(classes.begin(), classes.end(),
                             [&](const Json& c) { return c["name"] == name; }));
}

Json& RecordAttribute(Json& model, const std::string& name) {
  for (Json& a : ClassNamed(model, "Electronic Record")["attributes"])
    if (a["name"] == name) return a;
  throw std::logic_error("no attribute " + name);
}

// Each case breaks the demo model one way; the report must name that gap,
// and only it (a check that reports too much is as wrong as one that misses).
TEST(CheckModelCommandTest, ReportsEachGapOfABrokenModel) {
  struct Case {
    const char* name;
    std::function<void(Json&)> breaks;
    std::vector<std::string> managed;
    int status;
    const char* expected;
    size_t gaps;
  };
  const std::vector<Case> cases = {
      {"demo model", [](Json&) {}, {}, 0, "everything VTX_HA needs", 0},
      {"no record class",
       [](Json& m) { EraseClass(m, "Electronic Record"); },
       {},
       1,
       "no class named \"Electronic Record\"",
       1},
      {"attribute missing",
       [](Json& m) { RecordAttribute(m, "CN_OBJECT_ID")["name"] = "CN_OBJ_ID"; },
       {},
       1,
       "has no attribute CN_OBJECT_ID (32-bit integer)",
       1},
      {"attribute mistyped",
       [](Json& m) { RecordAttribute(m, "CN_CLASS_ID")["type"] = 1; },
       {},
       1,
       "CN_CLASS_ID of class \"Electronic Record\" has field type 1, not 2 or 3",
       1},
      {"record link not a relation",
       [](Json& m) { ClassNamed(m, "Part_History")["kind"] = 6; },
       {},
       1,
       "class \"Part\": no relation link class (kind 7)",
       1},
      {"history link misnamed",
       [](Json& m) { ClassNamed(m, "Document_History")["name"] = "Document_Records"; },
       {},
       1,
       "no link class of \"History\" whose name contains \"Document\" and \"History\"",
       1},
      {"managed class without any link",
       [](Json&) {},
       {"User"},
       1,
       "class \"User\": no relation link class",
       2},
      {"revision first",
       [](Json& m) {
         ClassNamed(m, "Part")["identifiers"] = {"REVISION", "PART_NUMBER"};
       },
       {},
       1,
       "class \"Part\": its first identifier is REVISION",
       1},
      {"no history class",
       [](Json& m) { ClassNamed(m, "History")["name"] = "Audit"; },
       {},
       1,
       "no class named \"History\"",
       1},
      {"settings class missing",
       [](Json& m) { EraseClass(m, "User Setting"); },
       {},
       1,
       "no settings class with the table TN_USER_SETTING",
       1},
      {"settings attribute missing",
       [](Json& m) { ClassNamed(m, "Admin Setting")["attributes"].erase(9); },
       {},
       1,
       "class \"Admin Setting\" has no attribute CN_VALUE_LONG",
       1},
      {"unknown managed class", [](Json&) {}, {"Gadget"}, 2, "no class named \"Gadget\"", 0},
      {"invalid model",
       [](Json& m) { ClassNamed(m, "Part")["super"] = 999; },
       {},
       2,
       "unknown class 999",
       0},
  };
  const test::TempFolder folder("vtx_check_model_test");
  const std::filesystem::path file = folder / "model.json";
  for (const Case& c : cases) {
    Json model = Json::parse(DemoModelJson());
    c.breaks(model);
    std::ofstream(file) << model.dump();
    std::ostringstream out, err;
    EXPECT_EQ(CheckModelCommand(file.string(), "", c.managed, out, err), c.status) << c.name;
    const std::string text = out.str() + err.str();
    EXPECT_NE(text.find(c.expected), std::string::npos) << c.name << ":\n" << text;
    EXPECT_EQ(static_cast<size_t>(std::count(text.begin(), text.end(), '\n')), c.gaps + 1)
        << c.name << ":\n"
        << text;
  }
  std::ostringstream out, err;
  EXPECT_EQ(CheckModelCommand(file.string(), "some.db", {}, out, err), 2);
}

}  // namespace
}  // namespace vtx::cli

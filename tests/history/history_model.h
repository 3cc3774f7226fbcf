#pragma once

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace vtx::testing {

// Class ids of the history test model.
inline constexpr int16_t kDocument = 100;
inline constexpr int16_t kDatasheet = 110;  // below Document
inline constexpr int16_t kTool = 250;           // no link class to History
inline constexpr int16_t kDrawing = 260;        // REVISION is its first identifier
inline constexpr int16_t kHistory = 400;

// Documents and datasheets linked to History through "Document_History"
// (300) and "Document_History_Archive" (301), drawings through
// "Drawing_History" (310); tools have no link class to History.
inline nlohmann::json HistoryModel() {
  auto keyed = [](int id, const char* name, const char* table, int super) {
    return nlohmann::json{
        {"id", id}, {"name", name}, {"table", table}, {"super", super}, {"kind", 1}};
  };
  auto link = [](int id, const char* name, const char* table, int from) {
    return nlohmann::json{{"id", id},    {"name", name}, {"table", table},
                          {"super", id}, {"kind", 7},    {"ends", {from, kHistory}}};
  };
  nlohmann::json document = keyed(kDocument, "Document", "TN_DOCUMENTS", kDocument);
  document["attributes"] = {{{"name", "DOC_NUMBER"}, {"external", "Number"}, {"type", 1}}};
  document["identifiers"] = {"DOC_NUMBER"};
  nlohmann::json tool = keyed(kTool, "Tool", "TN_TOOLS", kTool);
  tool["attributes"] = {{{"name", "TOOL_NUMBER"}, {"external", "Number"}, {"type", 1}}};
  tool["identifiers"] = {"TOOL_NUMBER"};
  nlohmann::json drawing = keyed(kDrawing, "Drawing", "TN_DRAWINGS", kDrawing);
  drawing["attributes"] = {{{"name", "REVISION"}, {"external", "Revision"}, {"type", 1}},
                           {{"name", "DWG_NUMBER"}, {"external", "Number"}, {"type", 1}}};
  drawing["identifiers"] = {"REVISION", "DWG_NUMBER"};
  nlohmann::json history = keyed(kHistory, "History", "TN_HISTORY", kHistory);
  history["attributes"] = {{{"name", "H_TEXT"}, {"external", "Text"}, {"type", 1}}};
  history["identifiers"] = {"H_TEXT"};
  return {{"classes",
           {document, keyed(kDatasheet, "Datasheet", "TN_DATASHEETS", kDocument), tool,
            drawing, link(300, "Document_History", "TN_DOC_HIST", kDocument),
            link(301, "Document_History_Archive", "TN_DOC_HIST_ARCH", kDocument),
            link(310, "Drawing_History", "TN_DWG_HIST", kDrawing), history}}};
}

}  // namespace vtx::testing

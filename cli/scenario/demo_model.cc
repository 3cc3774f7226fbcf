#include "cli/scenario/demo_model.h"

namespace vtx::cli {

// Class ids by family: 50 projects, 100 parts, 200 documents, 400 history,
// 500 users, 700 administrator tree, 800 user settings, 900 lookup tables;
// link classes sit in the same hundred as the family they belong to.
std::string_view DemoModelJson() {
  static constexpr std::string_view kModel = R"json({
  "classes": [
    {"id": 50, "name": "Project", "table": "TN_PROJECTS", "super": 50, "kind": 1,
     "attributes": [
       {"name": "PROJECT_NUMBER", "external": "Project Number", "type": 1, "length": 20},
       {"name": "TITLE", "external": "Title", "type": 1, "length": 80}],
     "identifiers": ["PROJECT_NUMBER"]},
    {"id": 60, "name": "Project_Part", "table": "TN_PROJECT_PART", "super": 60, "kind": 7, "ends": [50, 100]},
    {"id": 61, "name": "Project_Document", "table": "TN_PROJECT_DOCUMENT", "super": 61, "kind": 7, "ends": [50, 200]},
    {"id": 62, "name": "Project_Admin", "table": "TN_PROJECT_ADMIN", "super": 62, "kind": 7, "ends": [50, 700]},
    {"id": 100, "name": "Part", "table": "TN_PARTS", "super": 100, "kind": 1,
     "attributes": [
       {"name": "PART_NUMBER", "external": "Part Number", "type": 1, "length": 40},
       {"name": "REVISION", "external": "Revision", "type": 1, "length": 4},
       {"name": "TITLE", "external": "Title", "type": 1, "length": 80},
       {"name": "STATE", "external": "State", "type": 10, "lookup": 900},
       {"name": "WEIGHT", "external": "Weight", "type": 4},
       {"name": "QUANTITY", "external": "Quantity", "type": 3},
       {"name": "NOTE", "external": "Note", "type": 1, "length": 200, "excludedFromHistory": true}],
     "identifiers": ["PART_NUMBER", "REVISION"],
     "hierarchyLink": 150,
     "sequences": {"PART_NUMBER": {"next": 1000, "format": "PN-{:05}"}},
     "defaults": {"STATE": 1, "REVISION": "A"}},
    {"id": 110, "name": "Mechanical Part", "table": "TN_MECHANICAL_PARTS", "super": 100, "kind": 1,
     "attributes": [
       {"name": "MATERIAL", "external": "Material", "type": 1, "length": 40}]},
    {"id": 150, "name": "Part_Tree", "table": "TN_PART_TREE", "super": 150, "kind": 6, "ends": [100, 100],
     "attributes": [
       {"name": "TDMX_ORDERING", "external": "Position", "type": 3},
       {"name": "QUANTITY", "external": "Quantity", "type": 3}]},
    {"id": 200, "name": "Document", "table": "TN_DOCUMENTS", "super": 200, "kind": 1,
     "attributes": [
       {"name": "DOC_NUMBER", "external": "Document Number", "type": 1, "length": 40},
       {"name": "REVISION", "external": "Revision", "type": 1, "length": 4},
       {"name": "TITLE", "external": "Title", "type": 1, "length": 80},
       {"name": "DOC_TYPE", "external": "Document Type", "type": 10, "lookup": 910},
       {"name": "STATE", "external": "State", "type": 10, "lookup": 900}],
     "identifiers": ["DOC_NUMBER", "REVISION"],
     "sequences": {"DOC_NUMBER": {"next": 5000, "format": "DOC-{:05}"}},
     "defaults": {"STATE": 1, "REVISION": "A"}},
    {"id": 250, "name": "Part_Document", "table": "TN_PART_DOCUMENT", "super": 250, "kind": 7, "ends": [100, 200],
     "attributes": [
       {"name": "LINK_ROLE", "external": "Role", "type": 1, "length": 40}]},
    {"id": 300, "name": "Part_History", "table": "TN_PART_HISTORY", "super": 300, "kind": 7, "ends": [100, 400]},
    {"id": 310, "name": "Document_History", "table": "TN_DOCUMENT_HISTORY", "super": 310, "kind": 7, "ends": [200, 400]},
    {"id": 320, "name": "Project_History", "table": "TN_PROJECT_HISTORY", "super": 320, "kind": 7, "ends": [50, 400]},
    {"id": 400, "name": "History", "table": "TN_HISTORY", "super": 400, "kind": 1,
     "attributes": [
       {"name": "CN_HISTORY_NUMBER", "external": "History Number", "type": 1, "length": 20}],
     "identifiers": ["CN_HISTORY_NUMBER"]},
    {"id": 410, "name": "Electronic Record", "table": "TN_ELECTRONIC_RECORD", "super": 400, "kind": 1,
     "attributes": [
       {"name": "CN_USER_ID", "external": "User Id", "type": 3},
       {"name": "CN_USER_NAME", "external": "User Name", "type": 1, "length": 80},
       {"name": "CN_MACHINE_NAME", "external": "Machine Name", "type": 1, "length": 64},
       {"name": "CN_USER_NT_ID", "external": "Windows Logon", "type": 1, "length": 64},
       {"name": "CN_OBJECT_ID", "external": "Object Id", "type": 3},
       {"name": "CN_CLASS_ID", "external": "Class Id", "type": 2},
       {"name": "CN_HOOK_OPERATION", "external": "Operation", "type": 1, "length": 40},
       {"name": "CN_DESCRIPTION", "external": "Description", "type": 1, "length": 4000}]},
    {"id": 500, "name": "User", "table": "TN_USERS", "super": 500, "kind": 1,
     "attributes": [
       {"name": "LOGIN", "external": "Login", "type": 1, "length": 40},
       {"name": "FIRST_NAME", "external": "First Name", "type": 1, "length": 40},
       {"name": "LAST_NAME", "external": "Last Name", "type": 1, "length": 40}],
     "identifiers": ["LOGIN"]},
    {"id": 700, "name": "Admin", "table": "TN_ADMIN", "super": 700, "kind": 1,
     "attributes": [
       {"name": "CN_NAME", "external": "Name", "type": 1, "length": 80}],
     "identifiers": ["CN_NAME"],
     "hierarchyLink": 750},
    {"id": 710, "name": "Settings Folder", "table": "TN_SETTINGS_FOLDER", "super": 700, "kind": 1,
     "attributes": [
       {"name": "CN_FOLDER_ID", "external": "Folder Id", "type": 1, "length": 40}],
     "identifiers": ["CN_FOLDER_ID"]},
    {"id": 720, "name": "Admin Setting", "table": "TN_ADMIN_SETTING", "super": 700, "kind": 1,
     "attributes": [
       {"name": "CN_SETTING_ID", "external": "Setting Id", "type": 1, "length": 20},
       {"name": "CN_SECTION", "external": "Section", "type": 1, "length": 128},
       {"name": "CN_SUBJECT", "external": "Subject", "type": 1, "length": 128},
       {"name": "CN_USER_ID", "external": "User Id", "type": 3},
       {"name": "CN_VALUE_1", "external": "Value 1", "type": 1, "length": 255},
       {"name": "CN_VALUE_2", "external": "Value 2", "type": 1, "length": 255},
       {"name": "CN_VALUE_3", "external": "Value 3", "type": 1, "length": 255},
       {"name": "CN_VALUE_4", "external": "Value 4", "type": 1, "length": 255},
       {"name": "CN_VALUE_5", "external": "Value 5", "type": 1, "length": 255},
       {"name": "CN_VALUE_LONG", "external": "Long Value", "type": 1, "length": 32000},
       {"name": "CN_INSTRUCTIONS", "external": "Instructions", "type": 1, "length": 2000}],
     "identifiers": ["CN_SETTING_ID"],
     "sequences": {"CN_SETTING_ID": {"next": 100, "format": "AS-{:05}"}}},
    {"id": 740, "name": "Admin_Desktop", "table": "TN_ADMIN_DESKTOP", "super": 740, "kind": 7, "ends": [700, 700]},
    {"id": 750, "name": "Admin_Tree", "table": "TN_ADMIN_TREE", "super": 750, "kind": 6, "ends": [700, 700],
     "attributes": [
       {"name": "TDMX_ORDERING", "external": "Position", "type": 3}]},
    {"id": 800, "name": "User Setting", "table": "TN_USER_SETTING", "super": 800, "kind": 1,
     "attributes": [
       {"name": "CN_SETTING_ID", "external": "Setting Id", "type": 1, "length": 20},
       {"name": "CN_SECTION", "external": "Section", "type": 1, "length": 128},
       {"name": "CN_SUBJECT", "external": "Subject", "type": 1, "length": 128},
       {"name": "CN_USER_ID", "external": "User Id", "type": 3},
       {"name": "CN_VALUE_1", "external": "Value 1", "type": 1, "length": 255},
       {"name": "CN_VALUE_2", "external": "Value 2", "type": 1, "length": 255},
       {"name": "CN_VALUE_3", "external": "Value 3", "type": 1, "length": 255},
       {"name": "CN_VALUE_4", "external": "Value 4", "type": 1, "length": 255},
       {"name": "CN_VALUE_5", "external": "Value 5", "type": 1, "length": 255},
       {"name": "CN_VALUE_LONG", "external": "Long Value", "type": 1, "length": 32000},
       {"name": "CN_INSTRUCTIONS", "external": "Instructions", "type": 1, "length": 2000}],
     "identifiers": ["CN_SETTING_ID"],
     "sequences": {"CN_SETTING_ID": {"next": 1, "format": "US-{:05}"}}},
    {"id": 900, "name": "States", "table": "TN_STATES", "super": 900, "kind": 5,
     "items": [{"id": 1, "text": "In Work"}, {"id": 2, "text": "Released"}, {"id": 3, "text": "Obsolete"}]},
    {"id": 910, "name": "Document Types", "table": "TN_DOCUMENT_TYPES", "super": 910, "kind": 5,
     "items": [{"id": 1, "text": "Drawing"}, {"id": 2, "text": "Datasheet"}, {"id": 3, "text": "Manual"}]}
  ],
  "tables": {
    "TDM_TITLES": {
      "columns": {"CLASS_ID": "integer", "SCREEN_NAME": "text", "CONTROL_TYPE": "integer",
                  "COL_NAME": "text", "REQUIERED": "integer", "MULTI_TAB": "integer",
                  "TAB_ORDER": "integer"},
      "rows": [
        {"CLASS_ID": 100, "SCREEN_NAME": "Part Card", "CONTROL_TYPE": 2, "COL_NAME": "PART_NUMBER", "REQUIERED": 1, "MULTI_TAB": 1, "TAB_ORDER": 1},
        {"CLASS_ID": 100, "SCREEN_NAME": "Part Card", "CONTROL_TYPE": 2, "COL_NAME": "TITLE", "REQUIERED": 1, "MULTI_TAB": 1, "TAB_ORDER": 2},
        {"CLASS_ID": 100, "SCREEN_NAME": "Part Card", "CONTROL_TYPE": 3, "COL_NAME": "STATE", "REQUIERED": 0, "MULTI_TAB": 1, "TAB_ORDER": 3},
        {"CLASS_ID": 100, "SCREEN_NAME": "Part Card", "CONTROL_TYPE": 2, "COL_NAME": "NOTE", "REQUIERED": 0, "MULTI_TAB": 2, "TAB_ORDER": 1},
        {"CLASS_ID": 100, "SCREEN_NAME": "Part Card", "CONTROL_TYPE": 1, "COL_NAME": "None", "REQUIERED": 0, "MULTI_TAB": 1, "TAB_ORDER": 0},
        {"CLASS_ID": 100, "SCREEN_NAME": "Single Object Form", "CONTROL_TYPE": 2, "COL_NAME": "WEIGHT", "REQUIERED": 1, "MULTI_TAB": 1, "TAB_ORDER": 4},
        {"CLASS_ID": 200, "SCREEN_NAME": "Document Card", "CONTROL_TYPE": 2, "COL_NAME": "DOC_NUMBER", "REQUIERED": 1, "MULTI_TAB": 1, "TAB_ORDER": 1},
        {"CLASS_ID": 200, "SCREEN_NAME": "Document Card", "CONTROL_TYPE": 2, "COL_NAME": "TITLE", "REQUIERED": 0, "MULTI_TAB": 1, "TAB_ORDER": 2},
        {"CLASS_ID": 720, "SCREEN_NAME": "Setting Card", "CONTROL_TYPE": 2, "COL_NAME": "CN_SECTION", "REQUIERED": 1, "MULTI_TAB": 1, "TAB_ORDER": 1},
        {"CLASS_ID": 720, "SCREEN_NAME": "Setting Card", "CONTROL_TYPE": 2, "COL_NAME": "CN_SUBJECT", "REQUIERED": 1, "MULTI_TAB": 1, "TAB_ORDER": 2},
        {"CLASS_ID": 720, "SCREEN_NAME": "Setting Card", "CONTROL_TYPE": 2, "COL_NAME": "CN_VALUE_1", "REQUIERED": 0, "MULTI_TAB": 2, "TAB_ORDER": 1}
      ]
    }
  },
  "host": {"maxQuerySize": 10000}
})json";
  return kModel;
}

}  // namespace vtx::cli

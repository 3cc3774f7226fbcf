#include "cli/demo_session.h"

namespace vtx::cli {

// Objects are named by key or label, never by an id the session creates, so
// that the session can be played again on a database it already filled.
std::string_view DemoSessionJson() {
  static constexpr std::string_view kSession = R"json({
  "model": "builtin:demo",
  "objects": [
    {"class": "User", "id": 1, "values": {"LOGIN": "jdoe", "FIRST_NAME": "Jane", "LAST_NAME": "Doe"}},
    {"class": "User", "id": 2, "values": {"LOGIN": "msmith", "FIRST_NAME": "Mark", "LAST_NAME": "Smith"}},
    {"class": "Project", "id": 10, "values": {"PROJECT_NUMBER": "PRJ-001", "TITLE": "Pump Station"}},
    {"class": "Part", "id": 100, "values": {"PART_NUMBER": "PN-00100", "REVISION": "A", "TITLE": "Pump Assembly", "STATE": 1, "WEIGHT": 12.5, "QUANTITY": 1}},
    {"class": "Part", "id": 101, "values": {"PART_NUMBER": "PN-00101", "REVISION": "A", "TITLE": "Impeller", "STATE": 1, "WEIGHT": 1.25, "QUANTITY": 1}},
    {"class": "Mechanical Part", "id": 102, "values": {"PART_NUMBER": "PN-00102", "REVISION": "A", "TITLE": "Drive Shaft", "STATE": 1, "WEIGHT": 3.4, "MATERIAL": "Stainless steel"}},
    {"class": "Document", "id": 200, "values": {"DOC_NUMBER": "DOC-00200", "REVISION": "A", "TITLE": "Pump Assembly Drawing", "DOC_TYPE": 1, "STATE": 1}},
    {"class": "Document", "id": 201, "values": {"DOC_NUMBER": "DOC-00201", "REVISION": "A", "TITLE": "Pump Maintenance Manual", "DOC_TYPE": 3, "STATE": 1}},
    {"class": "Part_Tree", "id": 300, "values": {"PAR_OBJECT_ID": 100, "SON_OBJECT_ID": 101, "TDMX_ORDERING": 1, "QUANTITY": 1}},
    {"class": "Part_Tree", "id": 301, "values": {"PAR_OBJECT_ID": 100, "SON_OBJECT_ID": 102, "TDMX_ORDERING": 2, "QUANTITY": 1}},
    {"class": "Part_Document", "id": 302, "values": {"CLASS_ID1": 100, "OBJECT_ID1": 100, "CLASS_ID2": 200, "OBJECT_ID2": 200, "LINK_ROLE": "Drawing"}},
    {"class": "Project_Part", "id": 303, "values": {"CLASS_ID1": 50, "OBJECT_ID1": 10, "CLASS_ID2": 100, "OBJECT_ID2": 100}},
    {"class": "Settings Folder", "id": 600, "values": {"CN_FOLDER_ID": "ROOT", "CN_NAME": "Settings"}},
    {"class": "Admin Setting", "id": 601, "values": {"CN_SETTING_ID": "AS-00001", "CN_NAME": "History report folder", "CN_SECTION": "History", "CN_SUBJECT": "REPORT FOLDER", "CN_USER_ID": 0, "CN_VALUE_1": "C:\\Korvel\\Reports", "CN_INSTRUCTIONS": "Folder the history reports are written to"}},
    {"class": "Settings Folder", "id": 620, "values": {"CN_FOLDER_ID": "GENERAL", "CN_NAME": "General"}},
    {"class": "Admin_Desktop", "id": 621, "values": {"CLASS_ID1": 710, "OBJECT_ID1": 600, "CLASS_ID2": 710, "OBJECT_ID2": 620}},
    {"class": "Admin_Tree", "id": 602, "values": {"PAR_OBJECT_ID": 620, "SON_OBJECT_ID": 601, "TDMX_ORDERING": 1}},
    {"class": "Admin Setting", "id": 610, "values": {"CN_SETTING_ID": "AS-00002", "CN_NAME": "Part search", "CN_SECTION": "SEARCH1", "CN_SUBJECT": "GUI_DISPLAY_NAME", "CN_USER_ID": 0, "CN_VALUE_1": "Parts by number"}},
    {"class": "Admin Setting", "id": 611, "values": {"CN_SETTING_ID": "AS-00003", "CN_NAME": "Document search", "CN_SECTION": "SEARCH2", "CN_SUBJECT": "GUI_DISPLAY_NAME", "CN_USER_ID": 0, "CN_VALUE_1": "Documents by title"}},
    {"class": "Admin_Tree", "id": 612, "values": {"PAR_OBJECT_ID": 620, "SON_OBJECT_ID": 610, "TDMX_ORDERING": 2}},
    {"class": "Admin_Tree", "id": 613, "values": {"PAR_OBJECT_ID": 620, "SON_OBJECT_ID": 611, "TDMX_ORDERING": 3}},
    {"class": "Admin Setting", "id": 614, "values": {"CN_SETTING_ID": "AS-00004", "CN_NAME": "Old export folder", "CN_SECTION": "Export", "CN_SUBJECT": "FOLDER", "CN_USER_ID": 0, "CN_VALUE_1": "C:\\Export"}}
  ],
  "environment": {
    "user": {"class": "User", "key": "jdoe"},
    "logonName": "jdoe",
    "computerName": "WS-042",
    "language": "en-US",
    "variables": {"TEMP": "C:\\Temp", "DEBUG": "false"}
  },
  "answers": {"modalViews": [null]},
  "steps": [
    {"comment": "Jane opens the pump assembly for editing: Korvel hands over the stored object first",
     "call": "Application.ExecuteSaveObjectAsGlobal",
     "args": {"Operation": "UPDATE", "RecordList": {"recordList": {"objects": [{"class": "Part", "key": "PN-00100 A"}]}}}},
    {"comment": "Jane changes title, weight and an internal note, and saves",
     "host": "update", "object": {"class": "Part", "key": "PN-00100 A"},
     "values": {"TITLE": "Pump Assembly, stainless", "WEIGHT": 13.75, "NOTE": "checked by quality"}},
    {"comment": "The update hook writes an electronic record with the old and new values",
     "call": "Application.ExecuteCreateNewERObject",
     "args": {"Operation": "UPDATE", "RecordList": {"recordList": {"objects": [{"class": "Part", "key": "PN-00100 A"}]}}}},
    {"comment": "Mark logs on at his workstation",
     "host": "environment", "user": {"class": "User", "key": "msmith"}, "logonName": "msmith", "computerName": "WS-017"},
    {"comment": "Mark checks the pump assembly out",
     "call": "Application.ExecuteCreateNewERObject",
     "args": {"Operation": "CHECKOUT", "RecordList": {"recordList": {"objects": [{"class": "Part", "key": "PN-00100 A"}]}}}},
    {"comment": "... and checks it in again",
     "call": "Application.ExecuteCreateNewERObject",
     "args": {"Operation": "CHECKIN", "RecordList": {"recordList": {"objects": [{"class": "Part", "key": "PN-00100 A"}]}}}},
    {"comment": "Jane is back",
     "host": "environment", "user": {"class": "User", "key": "jdoe"}, "logonName": "jdoe", "computerName": "WS-042"},
    {"comment": "Jane releases the pump assembly",
     "call": "Application.ExecuteCreateNewERObject",
     "args": {"Operation": "NEWRELEASE", "RecordList": {"recordList": {"objects": [{"class": "Part", "key": "PN-00100 A"}]}}}},
    {"comment": "Jane attaches the maintenance manual to the impeller",
     "host": "link", "class": "Part_Document", "from": {"class": "Part", "key": "PN-00101 A"},
     "to": {"class": "Document", "key": "DOC-00201 A"}, "values": {"LINK_ROLE": "Manual"}, "label": "manual link"},
    {"comment": "The link hook records the new relation on both of its ends",
     "call": "Application.ExecuteCreateNewERObject",
     "args": {"Operation": "ADD", "RecordList": {"recordList": {"objects": [{"label": "manual link"}]}}}},
    {"comment": "Jane removes the link again: the hook runs before Korvel deletes it",
     "call": "Application.ExecuteCreateNewERObject",
     "args": {"Operation": "DELETE", "RecordList": {"recordList": {"objects": [{"label": "manual link"}]}}}},
    {"host": "delete", "object": {"label": "manual link"}},
    {"comment": "Jane creates a test gasket by mistake",
     "host": "insert", "class": "Part", "values": {"PART_NUMBER": "PN-00999", "REVISION": "A", "TITLE": "Test Gasket", "WEIGHT": 0.05}, "label": "gasket"},
    {"call": "Application.ExecuteCreateNewERObject",
     "args": {"Operation": "ADD", "RecordList": {"recordList": {"objects": [{"label": "gasket"}]}}}},
    {"comment": "... and deletes it: the record keeps its last values",
     "call": "Application.ExecuteCreateNewERObject",
     "args": {"Operation": "DELETE", "RecordList": {"recordList": {"objects": [{"label": "gasket"}]}}}},
    {"host": "delete", "object": {"label": "gasket"}},
    {"comment": "Jane looks at the history of the pump assembly",
     "call": "Application.ViewHistory",
     "args": {"FirstRec": {"recordList": {"objects": [{"class": "Part", "key": "PN-00100 A"}]}}}},
    {"comment": "She prints a history report of the assembly, the impeller and the manual",
     "call": "Application.GenerateHistoryReport",
     "args": {"FirstRec": {"recordList": {"objects": [{"class": "Part", "key": "PN-00100 A"}, {"class": "Part", "key": "PN-00101 A"}, {"class": "Document", "key": "DOC-00201 A"}]}}}},
    {"comment": "The administrator clears the history of the manual",
     "call": "Application.DeleteHistory",
     "args": {"FirstRec": {"recordList": {"objects": [{"class": "Document", "key": "DOC-00201 A"}]}}}},
    {"comment": "Its history is now empty",
     "call": "Application.ViewHistory",
     "args": {"FirstRec": {"recordList": {"objects": [{"class": "Document", "key": "DOC-00201 A"}]}}}}
  ]
})json";
  return kSession;
}

}  // namespace vtx::cli

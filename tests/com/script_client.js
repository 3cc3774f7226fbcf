// The script client: drives VTX_HA.dll through COM as Korvel does, against
// the JScript stand-in, and checks the answers and what was written.
// Prints one line per failed check and "N checks, M failed"; exits with the
// number of failed checks (0 when all passed).

var checks = 0, failures = 0;
function check(what, actual, expected) {
  ++checks;
  if (actual !== expected) {
    ++failures;
    WScript.Echo("FAIL " + what + "\n  expected: " + show(expected) + "\n  actual:   " + show(actual));
  }
}
function show(value) {
  if (typeof value == "string") return '"' + value.replace(/\r/g, "\\r").replace(/\n/g, "\\n") + '"';
  return String(value) + " (" + typeof value + ")";
}
function fail(what, error) {
  ++checks;
  ++failures;
  WScript.Echo("FAIL " + what + ": error " + (error.number >>> 0).toString(16) + " " + error.description);
}
function insertedOfClass(host, classId) {
  var found = [];
  for (var i = 0; i < host.inserted.length; ++i) if (host.inserted[i].classId == classId) found.push(host.inserted[i]);
  return found;
}

// What GetComputerNameA and GetUserNameA answer, as the environment tells it.
var environment = new ActiveXObject("WScript.Shell").Environment("PROCESS");
var computerName = environment("COMPUTERNAME");
var userName = environment("USERNAME");

// The lines of the message log that VTX_MESSAGE_LOG names.
function readMessageLog() {
  var files = new ActiveXObject("Scripting.FileSystemObject");
  var path = environment("VTX_MESSAGE_LOG");
  if (!files.FileExists(path)) return [];
  var file = files.OpenTextFile(path, 1);
  var lines = [];
  while (!file.AtEndOfStream) lines.push(file.ReadLine());
  file.Close();
  return lines;
}

var host = KorvelStandIn();
var part = host.recordList([{CLASS_ID: 100, OBJECT_ID: 1}]);
var app = new ActiveXObject("VTX_HA.Application");
var nls = new ActiveXObject("VTX_HA.clsNLS");

// An audit record for a check-in: one sentence, stored and linked.
try {
  check("CHECKIN status", app.ExecuteCreateNewERObject(host.session, "CHECKIN", part), 0);
  var records = insertedOfClass(host, 500);
  check("CHECKIN records written", records.length, 1);
  var record = records[0].values;
  check("CN_USER_ID", record.CN_USER_ID, 7);
  check("CN_USER_NAME", record.CN_USER_NAME, "Doe, J\u00f6rg");
  check("CN_MACHINE_NAME", record.CN_MACHINE_NAME, computerName);
  check("CN_USER_NT_ID", record.CN_USER_NT_ID, userName);
  check("CN_OBJECT_ID", record.CN_OBJECT_ID, 1);
  check("CN_CLASS_ID", record.CN_CLASS_ID, 100);
  check("CN_HOOK_OPERATION", record.CN_HOOK_OPERATION, "Checkin");
  check("CN_DESCRIPTION", record.CN_DESCRIPTION, "Checkin object: '4711 A' of class: 'Part'");
  check("record store mode", records[0].options.mode, 2);
  check("record store flags", [records[0].options.flagA, records[0].options.flagB, records[0].options.flagC].join(), "false,false,false");
  var links = insertedOfClass(host, 510);
  check("CHECKIN links written", links.length, 1);
  check("link ends", [links[0].values.CLASS_ID1, links[0].values.OBJECT_ID1, links[0].values.CLASS_ID2,
                      links[0].values.OBJECT_ID2].join(), "500," + records[0].objectId + ",100,1");
  check("session language read", host.calls["KvSession.GetLanguage"], 1);
} catch (e) {
  fail("CHECKIN", e);
}

// Before an update the host hands the object over; the copy stays in the
// session as "OriginalObject" until the record of the update compares it.
try {
  check("SaveObjectAsGlobal status", app.ExecuteSaveObjectAsGlobal(host.session, "UPDATE", part), 0);
  var original = host.globals.OriginalObject;
  check("OriginalObject kept", typeof original, "object");
  check("OriginalObject is the part", original.GetObjectId() + "/" + original.GetValue("TITLE"), "1/Bolt");
  host.database["100:1"].TITLE = "Screw";
  host.database["100:1"].STATE = 2;
  host.database["100:1"].NOTE = "changed, but kept out of the history";
  host.inserted = [];
  check("UPDATE status", app.ExecuteCreateNewERObject(host.session, "UPDATE", part), 0);
  var updates = insertedOfClass(host, 500);
  check("UPDATE records written", updates.length, 1);
  check("UPDATE CN_HOOK_OPERATION", updates[0].values.CN_HOOK_OPERATION, "Update");
  check("UPDATE CN_DESCRIPTION", updates[0].values.CN_DESCRIPTION,
        "Update object: '4711 A' of class: 'Part'\r\n" +
        "\r\nTitle was: 'Bolt' is: 'Screw '\r\n" +
        "\r\nState was: 'New' is: 'Released '\r\n");
  check("UPDATE links written", insertedOfClass(host, 510).length, 1);
} catch (e) {
  fail("UPDATE", e);
}

// No current user: the worker fails, the host reads 1, nothing is written.
try {
  var user = host.currentUser;
  host.currentUser = null;
  host.inserted = [];
  check("no user status", app.ExecuteCreateNewERObject(host.session, "CHECKIN", part), 1);
  check("no user nothing written", host.inserted.length, 0);
  host.currentUser = user;
} catch (e) {
  fail("no user", e);
}

// A failing host call reaches the caller as the host's own error. (Wine's
// JScript hands a thrown error back as the HRESULT of Invoke, without
// EXCEPINFO, so its number arrives and its description does not; the
// description then names the operation that failed.)
try {
  host.failures["KvObjectStore.CreateObject"] = new Error(-2147220736, "Korvel: the store is read-only");
  app.ExecuteCreateNewERObject(host.session, "CHECKIN", part);
  check("host failure raised", "no error", "an error");
} catch (e) {
  check("host failure number", e.number, -2147220736);
  check("host failure names the operation", /CreateObject/.test(e.description), true);
}
host.failures = {};

// Translations: the session language "de-DE" falls back to "de"; a key the
// catalog lacks keeps the default.
try {
  check("translation", nls.GetTranslation("orbent.solutions.NLS.Controls.VT9", "Common.Button.Close", "CONTROLS", "Close"),
        "Schlie\u00dfen");
  check("translation default", nls.GetTranslation("orbent.solutions.NLS.Controls.VT9", "No.Such.Key", "CONTROLS", "Fallback"),
        "Fallback");
} catch (e) {
  fail("GetTranslation", e);
}

// Late binding by name rejects what the class does not have.
try {
  app.NoSuchOperation();
  check("unknown member raised", "no error", "an error");
} catch (e) {
  check("unknown member number", e.number & 0xFFFF, 438);
  check("unknown member description", e.description, "Object doesn't support this property or method");
}

// With DEBUG=true (set by the test runner) an error a routine traps is
// reported in a message box, titled "VTX" with the critical-stop icon; the
// headless switch writes it to the message log instead of showing it. Here
// the viewer finds no class "History" in the model.
try {
  app.ViewHistory(host.session, part);
  var messages = readMessageLog();
  check("message boxes during the run", messages.length, 1);
  check("the viewer's report", messages[0],
        "box\t16\tVTX\tFollowing Error has occured in ''ViewHistory''\\rNumber      : 91\\r" +
        "Description : Object variable or With block variable not set");
} catch (e) {
  fail("ViewHistory", e);
}

app = null;
nls = null;
CollectGarbage();
WScript.Echo(checks + " checks, " + failures + " failed");
WScript.Quit(failures);

// Checks what regsvr32 left in the registry for VTX_HA.dll.
// Usage: cscript registry_check.js registered|unregistered DLL LIBID APPLICATION_CLSID NLS_CLSID
// Prints one line per mismatch and "N checks, M failed"; exits with M.
var args = WScript.Arguments;
var expectRegistered = args(0) == "registered";
var dll = args(1), libraryId = args(2);
var classes = [["VTX_HA.Application", args(3)], ["VTX_HA.clsNLS", args(4)]];
var shell = new ActiveXObject("WScript.Shell");
var checks = 0, failures = 0;

// The value of a key ("...\\" for its default value), or null when absent.
function read(name) {
  try {
    return String(shell.RegRead("HKCR\\" + name));
  } catch (e) {
    return null;
  }
}
function check(name, expected) {
  ++checks;
  var actual = read(name);
  if (!expectRegistered) expected = null;
  if (actual !== expected) {
    ++failures;
    WScript.Echo("FAIL HKCR\\" + name + ": expected " + expected + ", found " + actual);
  }
}

for (var i = 0; i < classes.length; ++i) {
  var progId = classes[i][0], clsid = classes[i][1];
  check(progId + "\\CLSID\\", clsid);
  check("CLSID\\" + clsid + "\\ProgID\\", progId);
  check("CLSID\\" + clsid + "\\InprocServer32\\", dll);
  check("CLSID\\" + clsid + "\\InprocServer32\\ThreadingModel", "Apartment");
  check("CLSID\\" + clsid + "\\TypeLib\\", libraryId);
}
check("TypeLib\\" + libraryId + "\\1.0\\", "VTX_HA");
WScript.Echo(checks + " checks, " + failures + " failed");
WScript.Quit(failures);

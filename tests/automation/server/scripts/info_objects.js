// A JScript client of the automation server: the same objects through their
// ProgIDs; quits with the number of failed checks.
var failures = 0;

function check(condition, what) {
  if (!condition) {
    failures++;
    WScript.Echo("failed: " + what);
  }
}

// The HRESULT of the error a call raised, unsigned; 0 when it went through.
function errorOf(call) {
  try {
    call();
  } catch (e) {
    return e.number >>> 0;
  }
  return 0;
}

var E_INVALIDARG = 0x80070057;

var app = null, xbase = null, page = null, text = null, format = null;

// A call that raised an error nobody expected ends the checks; the host
// would end the script quietly with 0, so it counts as 100 failures.
try {
  app = new ActiveXObject("Talver.Application");
  xbase = app.CreateXBaseInfo();
  check(xbase.GetXBaseFormat() == 4, "xBase format");
  xbase.SetXBaseFormat(5);
  check(xbase.GetXBaseFormat() == 5, "xBase format after setting 5");
  check(errorOf(function () { xbase.SetEncoding(1); }) == E_INVALIDARG, "xBase encoding 1");

  page = new ActiveXObject("Talver.PageInfo");
  page.SetMargins(10, 20, 30, 40);

  text = new ActiveXObject("Talver.TextFileInfo");
  check(text.GetSeparator() == ",", "separator");
  text.SetQuotingSymbol("'x");
  check(text.GetQuotingSymbol() == "'", "quoting symbol");

  format = new ActiveXObject("Talver.FormatInfo");
  check(errorOf(function () { format.fontSize = 255; }) == E_INVALIDARG, "font size 255");
  format.styleID = 0x1FF;
  check(format.styleID == 0xFF, "style id keeps its low byte");
} catch (e) {
  WScript.Echo("error " + (e.number >>> 0).toString(16) + ": " + e.description);
  failures += 100;
}

// The script host keeps what global variables hold until the process ends;
// the server ends only once every object is released.
app = xbase = page = text = format = null;
CollectGarbage();
WScript.Quit(failures);

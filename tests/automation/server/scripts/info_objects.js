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

var app = new ActiveXObject("Talver.Application");
var xbase = app.CreateXBaseInfo();
check(xbase.GetXBaseFormat() == 4, "xBase format");
xbase.SetXBaseFormat(5);
check(xbase.GetXBaseFormat() == 5, "xBase format after setting 5");
check(errorOf(function () { xbase.SetEncoding(1); }) == E_INVALIDARG, "xBase encoding 1");

var page = new ActiveXObject("Talver.PageInfo");
page.SetMargins(10, 20, 30, 40);

var text = new ActiveXObject("Talver.TextFileInfo");
check(text.GetSeparator() == ",", "separator");
text.SetQuotingSymbol("'x");
check(text.GetQuotingSymbol() == "'", "quoting symbol");

var format = new ActiveXObject("Talver.FormatInfo");
check(errorOf(function () { format.fontSize = 255; }) == E_INVALIDARG, "font size 255");
format.styleID = 0x1FF;
check(format.styleID == 0xFF, "style id keeps its low byte");

// The script host keeps what global variables hold until the process ends;
// the server ends only once every object is released.
app = xbase = page = text = format = null;
CollectGarbage();
WScript.Quit(failures);

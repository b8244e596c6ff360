' A script client opening documents through the Application object: a
' native workbook, a text file, an xBase table and an Excel XML file named
' by the arguments (in that order), a new workbook, and a file that is not
' there; quits with the number of failed checks, or with 100 more when a
' call raised an error the script did not expect (this host would end the
' script quietly with 0).
Option Explicit

Dim failures
failures = 0

Sub Check(condition, what)
  If Not condition Then
    failures = failures + 1
    WScript.Echo "failed: " & what
  End If
End Sub

' A cell of the active worksheet, as text.
Function Cell(book, reference)
  Cell = CStr(book.GetValue(reference))
End Function

Dim app, book, text, xbase

On Error Resume Next
OpenEveryKind
If Err.Number <> 0 Then
  WScript.Echo "error " & Hex(Err.Number) & ": " & Err.Description
  failures = failures + 100
End If
On Error GoTo 0
Set book = Nothing
Set xbase = Nothing
Set text = Nothing
Set app = Nothing
WScript.Quit failures

Sub OpenEveryKind
Set app = CreateObject("Talver.Application")

Set book = app.Open(WScript.Arguments(0), "")
Check Cell(book, "$A$1") = "42", "native A1 " & Cell(book, "$A$1")

Set text = app.CreateTextFileInfo()
text.SetSeparator ";"
Set book = app.OpenTextFile(WScript.Arguments(1), text)
Check Cell(book, "$B$1") = "Count", "text B1 " & Cell(book, "$B$1")
Check Cell(book, "$B$2") = "2", "text B2 " & Cell(book, "$B$2")

Set xbase = app.CreateXBaseInfo()
xbase.SetXBaseFormat 3
Set book = app.OpenDatabase(WScript.Arguments(2), xbase)
Check Cell(book, "$A$2") = "Alpha", "xBase A2 " & Cell(book, "$A$2")
' The table's fields are left in the info object.
Check xbase.GetFieldCount() = 1, "xBase fields " & xbase.GetFieldCount()

Set book = app.OpenExcelFile(WScript.Arguments(3))
Check Cell(book, "$A$1") = "1.5", "Excel A1 " & Cell(book, "$A$1")

Set book = app.New()
Check Cell(book, "$A$1") = "", "new workbook A1 " & Cell(book, "$A$1")

' A file that is not there raises the code of error 34 with its text and
' leaves no workbook.
Set book = Nothing
On Error Resume Next
Set book = app.Open(WScript.Arguments(0) & ".missing", "")
Check Err.Number = &H80040022, "missing file error " & Hex(Err.Number)
Check Err.Description = "Can't open the specified file for reading", "missing file text " & Err.Description
Err.Clear
On Error GoTo 0
Check book Is Nothing, "a workbook after a failed open"
End Sub

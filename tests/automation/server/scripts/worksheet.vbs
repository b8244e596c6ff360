' A VBScript client of the Workbook object: formulas, formats, protection,
' files of every kind written into the folder named first and read back,
' and a picture of a range; quits with the number of failed checks.
Option Explicit

Dim failures, folder, files
failures = 0
folder = WScript.Arguments(0)
If Right(folder, 1) <> "\" Then folder = folder & "\"
Set files = CreateObject("Scripting.FileSystemObject")

Sub Check(condition, what)
  If Not condition Then
    failures = failures + 1
    WScript.Echo "failed: " & what
  End If
End Sub

' The error number a call raised; 0 when it went through.
Function ErrorOf(book, member, a, b)
  On Error Resume Next
  Select Case member
    Case "PutFormula": book.PutFormula a, b
    Case "format": book.format a, b, book.CreateFormatInfo()
    Case "SetProtection": book.SetProtection a, b
  End Select
  ErrorOf = Err.Number
  Err.Clear
End Function

' The error number of a call given a path; 0 when it went through.
Function ErrorOfPath(book, member, path)
  On Error Resume Next
  Select Case member
    Case "SaveAs": book.SaveAs path
    Case "SaveAsExcelFile": book.SaveAsExcelFile path
    Case "Load": book.Load path, "", 0, Nothing, Nothing
  End Select
  ErrorOfPath = Err.Number
  Err.Clear
End Function

' The first characters of a file as the ANSI code page reads them; the
' document that wrote it must have let it go.
Function FileStart(path, count)
  FileStart = ""
  If Not files.FileExists(path) Then Exit Function
  Dim stream
  Set stream = files.OpenTextFile(path, 1)
  FileStart = stream.Read(count)
  stream.Close
End Function

Function NewBook()
  Set NewBook = CreateObject("Talver.Workbook")
  NewBook.NewDocument
End Function

Const E_INVALIDARG = 5
Sub RunChecks
Dim book, fmt, kind
Set book = NewBook()

' Formulas give their results after an update; a value has no formula.
book.PutValue "$A$1", 4
book.PutFormula "$B$1", "=A1*2"
book.PutFormula "$C$1", "=""x""&""y"""
book.UpdateWorksheet
Check book.GetValue("$B$1") = 8, "=A1*2 gives 8"
Check book.GetValue("$C$1") = "xy", "a text result"
Check book.GetFormula("$B$1") = "=A1*2", "the formula in display form"
Check Len(book.GetFormula("$A$1")) = 0, "a number has no formula"
Check ErrorOf(book, "PutFormula", "$D$1", "text") = E_INVALIDARG, "a text is no formula"

' Values convert as RTD and UDF convert what they receive: true is 1, a
' date the ISO text of its day.
book.PutValue "$D$2", True
book.PutValue "$D$3", DateSerial(2009, 7, 6)
Check book.GetValue("$D$2") = 1, "True is stored as 1"
Check book.GetValue("$D$3") = "2009-07-06", "a date is its ISO text"

' Every format type by name; 18 (the outline kind) changes nothing, 19 (the
' fill kind) fills, and clearing the formats takes the style away again.
Set fmt = book.CreateFormatInfo()
fmt.fillType = 1
fmt.styleID = 2
For kind = 1 To 19
  book.format "$E$" & kind, kind, fmt
Next
Check book.GetStyleID("$E$18") = 0, "type 18 (the outline kind) changes nothing"
Check book.GetStyleID("$E$19") <> 0, "type 19 (the fill kind) fills the cell"
Check ErrorOf(book, "format", "$E$1", 20) = E_INVALIDARG, "type 20 refused"
kind = book.GetStyleID("$E$19")
book.PutStyleID "$A$3:$D$3", kind
book.PutStyleID "$B$3", 0
Check book.GetStyleID("$C$3") = kind And book.GetStyleID("$B$3") = 0, "style indexes by rectangle"
book.Clear "$E$19", 2
Check book.GetStyleID("$E$19") = 0, "formats cleared"

' Too short a password is refused; a protected workbook is binary.
Check ErrorOf(book, "SetProtection", "abc", 0) = E_INVALIDARG, "3 characters refused"
book.SetProtection "secret", 0
book.SaveAs folder & "talvero_script_protected.tlv"
book.NewDocument
Check Asc(FileStart(folder & "talvero_script_protected.tlv", 1)) = 31, "a protected file is gzip"
files.DeleteFile folder & "talvero_script_protected.tlv"

' Every kind of file, written and read back. The values stand in the second
' row too: an xBase table keeps its first row for the field names.
Dim text, xbase, reader, i, path, kinds(6), starts(6)
Set text = CreateObject("Talver.TextFileInfo")
text.SetSeparator ";"
Set xbase = CreateObject("Talver.XBaseInfo")
xbase.SetFieldCount 2
xbase.SetField 0, "N", 78, 6, 0
xbase.SetField 1, "T", 67, 10, 0
kinds(0) = "tlv" : starts(0) = "<?xml"
kinds(1) = "txt" : starts(1) = "41;pear"
kinds(2) = "xml" : starts(2) = "<?xml"
For i = 3 To 6
  kinds(i) = "dbf" : starts(i) = Chr(3)
Next
For i = 0 To 6
  path = folder & "talvero_script_" & i & "." & kinds(i)
  Set book = NewBook()
  book.PutValue "$A$1:$A$2", 41
  book.PutValue "$B$1:$B$2", "pear"
  Select Case i
    Case 0: book.SaveAs path
    Case 1: book.SaveAsTextFile path, text
    Case 2: book.SaveAsExcelFile path
    Case Else
      xbase.SetXBaseFormat i
      book.SaveAsDatabase path, xbase
  End Select
  book.Save
  book.NewDocument
  Check FileStart(path, Len(starts(i))) = starts(i), "file of format " & i
  Set reader = NewBook()
  reader.Load path, "", i, text, xbase
  Check reader.GetValue("$A$2") = 41 And reader.GetValue("$B$2") = "pear", "values of format " & i
  Set reader = Nothing
  files.DeleteFile path
Next

' A FoxPro table with a memo leaves its fields in the info object.
xbase.SetFieldCount 1
xbase.SetField 0, "NOTE", 77, 10, 0
xbase.SetXBaseFormat 5
book.PutValue "$A$2", "a memo"
book.SaveAsDatabase folder & "talvero_script_fox.dbf", xbase
book.NewDocument
Check Asc(FileStart(folder & "talvero_script_fox.dbf", 1)) = 245, "FoxPro with memos"
Dim fields
Set fields = CreateObject("Talver.XBaseInfo")
Set reader = NewBook()
reader.Load folder & "talvero_script_fox.dbf", "", 5, Nothing, fields
Check fields.GetFieldCount() = 1, "FoxPro fields"
Check reader.GetValue("$A$2") = "a memo", "FoxPro memo"
Set reader = Nothing
files.DeleteFile folder & "talvero_script_fox.dbf"
files.DeleteFile folder & "talvero_script_fox.fpt"

' A workbook a client loads from a file calls no other program: its UDF
' gives #REF! (error 6, a byte) and its command does not run; the
' client's own formula calls.
Dim marker, calls, exists
marker = folder & "talvero_script_called.txt"
calls = folder & "talvero_script_calls.xml"
exists = "=UDF(""Scripting.FileSystemObject"","""",""FolderExists"",""" & folder & """)"
If files.FileExists(marker) Then files.DeleteFile marker
book.NewDocument
book.PutFormula "$A$1", "=UDF(""WScript.Shell"","""",""Run"",""cmd /c echo called>" & marker & """,0,1)"
book.PutFormula "$A$2", exists
book.SaveAsExcelFile calls
book.NewDocument
Set reader = NewBook()
reader.Load calls, "", 2, Nothing, Nothing
Check reader.GetFormula("$A$2") = exists, "the file holds the call"
reader.UpdateWorksheet
Check VarType(reader.GetValue("$A$2")) = 17 And reader.GetValue("$A$2") = 6, "a loaded file's UDF gives #REF!"
Check VarType(reader.GetValue("$A$1")) = 17, "a loaded file's command gives #REF!"
Check Not files.FileExists(marker), "a loaded file runs no command"
reader.PutFormula "$B$2", exists
reader.UpdateWorksheet
Check VarType(reader.GetValue("$B$2")) = 5 And reader.GetValue("$B$2") <> 0, "the client's own formula calls"
Set reader = Nothing
files.DeleteFile calls

' A path longer than a file name can be is refused with an error, never
' cut: no file appears under a part of its name, and the document keeps
' what it held.
Dim longName, found, each
longName = String(290, "q") & ".tlv"
book.NewDocument
book.PutValue "$A$1", 5
Check ErrorOfPath(book, "SaveAs", folder & longName) <> 0, "a too long path is refused on save"
Check ErrorOfPath(book, "SaveAsExcelFile", folder & longName) <> 0, "a too long path is refused on export"
Check ErrorOfPath(book, "Load", folder & longName) <> 0, "a too long path is refused on load"
Check book.GetValue("$A$1") = 5, "the document keeps its values"
found = 0
For Each each In files.GetFolder(folder).Files
  If Left(each.Name, 20) = String(20, "q") Then found = found + 1
Next
Check found = 0, "no file under a cut name"

' A range as a picture.
book.PutValue "$A$1:$B$2", 3
book.SaveRangeAsImage "$A$1:$B$2", folder & "talvero_script.png", 1.0
Check Mid(FileStart(folder & "talvero_script.png", 4), 2, 3) = "PNG", "a PNG picture"
files.DeleteFile folder & "talvero_script.png"

Set fields = Nothing
Set reader = Nothing
Set xbase = Nothing
Set text = Nothing
Set fmt = Nothing
Set book = Nothing
End Sub

' A call that raised an error nobody expected ends the checks; this host
' would end the script quietly with 0, so it counts as 100 failures.
On Error Resume Next
RunChecks
If Err.Number <> 0 Then
  WScript.Echo "error " & Hex(Err.Number) & ": " & Err.Description
  failures = failures + 100
End If
On Error GoTo 0
WScript.Quit failures

' A VBScript client of the Workbook object: cells, ranges, formulas and
' formats by name, files of every kind saved into the folder named first and
' loaded back, protection and pictures; quits with the number of failed
' checks.
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

' The error number a call raised (0 when it went through), its description
' kept in lastDescription.
Dim lastDescription
Function ErrorOf(book, member, a, b)
  On Error Resume Next
  Select Case member
    Case "GetValue": book.GetValue a
    Case "PutValue": book.PutValue a, b
    Case "PutFormula": book.PutFormula a, b
    Case "format": book.format a, b, fmt
    Case "Load": book.Load a, "", b, Nothing, Nothing
    Case "SetProtection": book.SetProtection a, b
    Case "PutStyleID": book.PutStyleID a, b
  End Select
  ErrorOf = Err.Number
  lastDescription = Err.Description
  Err.Clear
End Function

' The first characters of a file as the ANSI code page reads them.
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
Dim book, fmt, values, words(0, 1), kind
Set book = NewBook()
Set fmt = book.CreateFormatInfo()

' Cells are named by absolute references.
Check ErrorOf(book, "GetValue", "$B$2", 0) = 0, "$B$2 read"
Check ErrorOf(book, "GetValue", "B2", 0) = E_INVALIDARG, "B2 refused"
Check ErrorOf(book, "GetValue", "$B$2:$C", 0) = E_INVALIDARG, "$B$2:$C refused"

' One value fills a range; Empty clears it.
book.PutValue "$A$1:$B$2", 5
Check book.GetValue("$B$2") = 5, "5 in $B$2"
Check TypeName(book.GetValue("$A$1")) = "Double", "a number reads as a Double"
book.PutValue "$A$1:$B$2", Empty
Check IsEmpty(book.GetValue("$A$2")), "Empty clears $A$2"

' A byte is a cell error code.
book.PutValue "$C$3", CByte(7)
Check TypeName(book.GetValue("$C$3")) = "Byte", "an error reads as a Byte"
Check book.GetValue("$C$3") = 7, "error 7 kept"
Check ErrorOf(book, "PutValue", "$C$3", CByte(13)) = E_INVALIDARG, "byte 13 refused"

' Formulas give their results after an update; a plain value has none.
book.PutValue "$A$1", 4
book.PutFormula "$B$1", "=A1*2"
book.PutFormula "$C$1", "=""x""&""y"""
book.UpdateWorksheet
Check book.GetValue("$B$1") = 8, "=A1*2 gives 8"
Check book.GetValue("$C$1") = "xy", "a text result"
Check book.GetFormula("$B$1") = "=A1*2", "the formula in display form"
Check Len(book.GetFormula("$A$1")) = 0, "a number has no formula"
Check ErrorOf(book, "PutFormula", "$D$1", "text") = E_INVALIDARG, "a text is no formula"

' Ranges come as arrays, rows first.
values = book.GetRange("$A$1:$C$2")
Check UBound(values, 1) = 1 And UBound(values, 2) = 2, "GetRange is 2 by 3"
Check values(0, 1) = 8, "GetRange element (0, 1)"
Check IsEmpty(values(1, 2)), "an empty cell is Empty"
words(0, 0) = "north"
words(0, 1) = "south"
book.PutRange "$A$5:$B$5", words
Check book.GetValue("$A$5") = "north" And book.GetValue("$B$5") = "south", "PutRange texts"

' Every format type; the interior and the number format leave a style.
fmt.fontSize = 16
fmt.fillType = 1
fmt.styleID = 2
For kind = 1 To 19
  Check ErrorOf(book, "format", "$E$" & kind, kind) = 0, "format type " & kind
Next
Check book.GetStyleID("$E$18") <> 0, "type 18 fills the cell"
Check book.GetStyleID("$E$19") = 0, "type 19 changes nothing"
Check book.GetStyleID("$E$1") <> 0, "type 1 sets the number format"
Check ErrorOf(book, "format", "$E$1", 20) = E_INVALIDARG, "type 20 refused"
Check ErrorOf(book, "PutStyleID", "$E$1", 600) = E_INVALIDARG, "style 600 refused"

' A missing file is error 34 with its text.
Check ErrorOf(book, "Load", folder & "talvero_none.tlv", 0) = &H80040022, "missing file code"
Check InStr(lastDescription, "open") > 0, "missing file text: " & lastDescription

' Protection: too short a password is refused; a protected workbook is
' written in the binary format.
Check ErrorOf(book, "SetProtection", "abc", 0) = E_INVALIDARG, "3 characters refused"
book.SetProtection "secret", 0
book.SaveAs folder & "talvero_script_protected.tlv"
' The document holds its file shut to others until it lets it go.
book.NewDocument
Check Asc(FileStart(folder & "talvero_script_protected.tlv", 1)) = 31, "protected file is gzip"
book.SetProtection "", 0
files.DeleteFile folder & "talvero_script_protected.tlv"

' Every kind of file, written and read back.
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
  book.NewDocument
  Check FileStart(path, Len(starts(i))) = starts(i), "file of format " & i
  Set reader = NewBook()
  reader.Load path, "", i, text, xbase
  Check reader.GetValue("$A$2") = 41, "number of format " & i
  Check reader.GetValue("$B$2") = "pear", "text of format " & i
  Set reader = Nothing
  files.DeleteFile path
Next

' A FoxPro table leaves its fields in the info object.
xbase.SetXBaseFormat 5
book.PutValue "$A$2", 1
book.SaveAsDatabase folder & "talvero_script_fox.dbf", xbase
book.NewDocument
Dim fields
Set fields = CreateObject("Talver.XBaseInfo")
Set reader = NewBook()
reader.Load folder & "talvero_script_fox.dbf", "", 5, Nothing, fields
Check fields.GetFieldCount() = 2, "FoxPro fields"
Set reader = Nothing
files.DeleteFile folder & "talvero_script_fox.dbf"

'' A range as a picture.
book.PutValue "$A$1:$B$2", 3
book.SaveRangeAsImage "$A$1:$B$2", folder & "talvero_script.png", 1.0
Check Mid(FileStart(folder & "talvero_script.png", 4), 2, 3) = "PNG", "PNG picture"
files.DeleteFile folder & "talvero_script.png"

Set fields = Nothing
Set reader = Nothing
Set xbase = Nothing
Set text = Nothing
Set fmt = Nothing
Set book = Nothing
WScript.Quit failures

' A script client of the automation server: creates its objects by their
' ProgIDs, reads the info objects' defaults and bounds, and quits with the
' number of failed checks.
Option Explicit

Dim failures
failures = 0

Sub Check(condition, what)
  If Not condition Then
    failures = failures + 1
    WScript.Echo "failed: " & what
  End If
End Sub

' The error number a call raised; 0 when it went through.
Function ErrorOf(object, member, value)
  On Error Resume Next
  Select Case member
    Case "fontSize": object.fontSize = value
    Case "SetEncoding": object.SetEncoding value
    Case "SetConversion": object.SetConversion value
    Case "DeleteField": object.DeleteField value
    Case "SetFieldCount": object.SetFieldCount value
  End Select
  ErrorOf = Err.Number
  Err.Clear
End Function

Sub RunChecks
Dim app, book, text, xbase, fmt
Set app = CreateObject("Talver.Application")
Check TypeName(app) = "IDocuments", "the application answers as " & TypeName(app)
Set book = CreateObject("Talver.Workbook.1")
Check TypeName(book) = "IWorksheet", "the workbook answers as " & TypeName(book)
' A script reaches a second interface's members only through the object's
' default IDispatch, as every dual object's.
Check IsObject(book.WorksheetTree), "the workbook's tree"
Check IsObject(app.Options), "the options"

Set text = app.CreateTextFileInfo()
Check text.GetSeparator() = ",", "separator " & text.GetSeparator()
Check text.GetQuotingSymbol() = """", "quote " & text.GetQuotingSymbol()
Check text.GetEncoding() = 1, "text encoding " & text.GetEncoding()
Check text.GetConversion() = 1, "conversion " & text.GetConversion()
Check text.useFixedColWidths = 0, "fixed widths at first"
text.useFixedColWidths = 1
Check text.useFixedColWidths = 1, "fixed widths after 1"
text.useFixedColWidths = -1
Check text.useFixedColWidths = 0, "fixed widths after -1"
text.useFixedColWidths = 1
text.SetSeparator ";"
Check text.GetSeparator() = ";", "separator after SetSeparator"
Check text.useFixedColWidths = 0, "a separator ends fixed widths"
Check ErrorOf(text, "SetEncoding", 4) = 5, "encoding 4"
Check ErrorOf(text, "SetEncoding", 3) = 0, "encoding 3"
Check ErrorOf(text, "SetConversion", 2) = 5, "conversion 2"

Set xbase = CreateObject("Talver.XBaseInfo")
Check xbase.GetXBaseFormat() = 4, "xBase format " & xbase.GetXBaseFormat()
Check xbase.GetEncoding() = 2, "xBase encoding " & xbase.GetEncoding()
xbase.SetFieldCount 4
xbase.SetField 0, "A", 67, 10, 0
xbase.SetField 3, "D", 78, 8, 2
Check ErrorOf(xbase, "DeleteField", 1) = 0, "deleting field 1"
Check xbase.GetFieldCount() = 3, "field count after a deletion " & xbase.GetFieldCount()
Check ErrorOf(xbase, "DeleteField", 3) = 5, "deleting past the fields"
Check ErrorOf(xbase, "DeleteField", -1) = 5, "deleting field -1"
Check ErrorOf(xbase, "SetFieldCount", 2048) = 5, "2048 fields"

Set fmt = book.CreateFormatInfo()
Check ErrorOf(fmt, "fontSize", 0) = 5, "font size 0"
Check ErrorOf(fmt, "fontSize", 255) = 5, "font size 255"
Check ErrorOf(fmt, "fontSize", 254) = 0, "font size 254"
Check fmt.fontSize = 254, "font size kept"
fmt.fillType = 4
Check CLng(fmt.fillPatternColor) = CLng(fmt.fontColor), "a hatched fill's pattern takes the text colour"
fmt.boldFont = -7
Check fmt.boldFont = 1, "bold flag"
fmt.fontName = "Courier New"
Check fmt.fontName = "Courier New", "font name"

Set fmt = Nothing
Set xbase = Nothing
Set text = Nothing
Set book = Nothing
Set app = Nothing
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

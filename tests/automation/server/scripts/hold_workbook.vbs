' Holds a workbook object of the running program until told to let it go:
' creates the file named first once it holds it, then waits (a bounded
' number of times) for the file named second.
Option Explicit
Dim files, shell, book, i
Set files = CreateObject("Scripting.FileSystemObject")
Set shell = CreateObject("WScript.Shell")
Set book = CreateObject("Talver.Workbook")
files.CreateTextFile(WScript.Arguments(0)).Close
For i = 1 To 600
  If files.FileExists(WScript.Arguments(1)) Then Exit For
  Pause
Next
Set book = Nothing
If i > 600 Then WScript.Quit 2
WScript.Quit 0

' A short wait; a host without WScript.Sleep waits for a program that does
' nothing.
Sub Pause
  On Error Resume Next
  WScript.Sleep 50
  If Err.Number <> 0 Then shell.Run "cmd /c exit 0", 0, True
End Sub

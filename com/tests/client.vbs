' A script host of the server through its ProgID.
' Arguments: samples folder, a scratch folder. Prints "N passed, M failed".
Option Explicit
Dim passed, failed
passed = 0
failed = 0
Sub Check(condition, what)
  If condition Then
    passed = passed + 1
  Else
    failed = failed + 1
    WScript.Echo "FAIL: " & what
  End If
End Sub

Dim samples, scratch, fso
samples = WScript.Arguments(0)
scratch = WScript.Arguments(1)
Set fso = CreateObject("Scripting.FileSystemObject")

Dim conv, first, second, text, out
Set conv = CreateObject("kvr.CLCCsvConvDataCRS")

' Check, conversion and read-back of the shipped sample.
Set first = conv.CRSCsvCheck2(samples & "\crs-sample-2.0.csv", "2023")
Check first.Result = "S_OK" And first.DetailErrorInfo = "", "sample passes the schema 2.0 check"
Check first.HojinNo = "8000000000001" And first.GIIN = "" And first.AccountReportCount = 3, _
      "check finds the corporate number and three account reports"

out = scratch & "\sample.xml"
If fso.FileExists(out) Then fso.DeleteFile out
Set second = conv.CsvConvCRSData2(samples & "\crs-sample-2.0.csv", out)
Check second Is first, "every call hands out the same result object"
Check first.Result = "S_OK" And Left(first.CRSData, 14) = "<crs:CRS_OECD " And first.AccountReportCount = 3, _
      "conversion returns the XML"
text = ""
If fso.FileExists(out) Then text = fso.OpenTextFile(out).ReadAll
Check text <> "" And text = first.CRSData, "the written file holds the returned XML"
Set second = conv.ReadXMLFile(out, -1)
Check second.Result = "S_OK" And second.XMLData = text And second.CRSData = "", "read-back returns the file's text"

' A file with mistakes: the call succeeds, the result says E_FAIL.
Set second = conv.CRSCsvCheck2(samples & "\crs-mistakes-2.0.csv", "2023")
Check second.Result = "E_FAIL" And InStr(second.DetailErrorInfo, "-HE400") > 0, "bad file: E_FAIL with detail errors"
Check second.HojinNo = "" And second.AccountReportCount = 0 And second.CRSData = "", "failure clears the other fields"

' A null BSTR path and an empty one are the same missing argument.
Dim viaNull, viaEmpty
viaNull = conv.CRSCsvCheck(vbNullString).DetailErrorInfo
viaEmpty = conv.CRSCsvCheck("").DetailErrorInfo
Check viaNull <> "" And viaNull = viaEmpty, "null and empty paths give the same detail error"

' The input is never overwritten, however the output path spells it.
Dim same, size
same = scratch & "\same.csv"
fso.CopyFile samples & "\crs-sample-2.0.csv", same, True
size = fso.GetFile(same).Size
Check conv.CsvConvCRSData2(same, UCase(same)).Result = "E_FAIL" And fso.GetFile(same).Size = size, _
      "conversion onto its own input is refused and the input kept"

WScript.Echo passed & " passed, " & failed & " failed"

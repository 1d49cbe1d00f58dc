' Checks a CRS CSV file against the schema 2.0 rules and prints the outcome.
'   cscript //nologo example.vbs C:\data\accounts.csv 2023
Dim conv, result
Set conv = CreateObject("kvr.CLCCsvConvDataCRS")
Set result = conv.CRSCsvCheck2(WScript.Arguments(0), WScript.Arguments(1))
If result.Result = "S_OK" Then
  WScript.Echo "Result: S_OK, " & result.AccountReportCount & " account reports, corporate number " & result.HojinNo
Else
  WScript.Echo "Result: E_FAIL " & result.DetailErrorInfo
End If

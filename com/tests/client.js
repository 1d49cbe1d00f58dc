// A JScript host: exact UTF-16 code units through the BSTR boundary.
// Arguments: test data folder, scratch folder, a Japanese folder name (through
// the command line, which Wine converts with the Unix locale).
// Prints "N passed, M failed".
var passed = 0, failed = 0;
function check(condition, what) {
  if (condition) { passed++; } else { failed++; WScript.Echo("FAIL: " + what); }
}

var data = WScript.Arguments(0), scratch = WScript.Arguments(1);
var fso = new ActiveXObject("Scripting.FileSystemObject");
var conv = new ActiveXObject("kvr.CLCCsvConvDataCRS");

// The institution's name is Shift_JIS in the file ("表" and "ソ" end in byte 0x5C).
var name = "\u8868\u30bd\u4fe1\u8a17\u9280\u884c\u682a\u5f0f\u4f1a\u793e";
// Japanese folder and file names reach the file system intact both ways:
// 申告データ\口座一覧.csv in, 申告データ\出力\変換結果.xml out and read back.
check(WScript.Arguments(2) == "\u7533\u544a\u30c7\u30fc\u30bf", "the folder name arrives whole from the command line");
var folder = scratch + "\\" + WScript.Arguments(2), outFolder = folder + "\\\u51fa\u529b";
if (!fso.FolderExists(folder)) fso.CreateFolder(folder);
if (!fso.FolderExists(outFolder)) fso.CreateFolder(outFolder);
var csv = folder + "\\\u53e3\u5ea7\u4e00\u89a7.csv", xml = outFolder + "\\\u5909\u63db\u7d50\u679c.xml";
fso.CopyFile(data + "\\japanese-2.0.csv", csv, true);
if (fso.FileExists(xml)) fso.DeleteFile(xml);

var japanese = [
  {what: "conversion to a Japanese output path", call: function () { return conv.CsvConvCRSData2(csv, xml); },
   ok: function (r) { return r.Result == "S_OK" && r.CRSData.indexOf(">" + name + "<") >= 0 && fso.FileExists(xml); }},
  // The check decodes the name and refuses it by the character rule of its own column.
  {what: "check of a Japanese CSV path", call: function () { return conv.CRSCsvCheck2(csv, "2023"); },
   ok: function (r) { return r.DetailErrorInfo == "00001-0000023-HE40011E"; }},
  // The read takes plain ASCII only; its path need not be.
  {what: "read of a Japanese XML path", call: function () {
     var text = fso.CreateTextFile(outFolder + "\\\u8aad\u8fbc.xml", true);
     text.Write("<a>text</a>");
     text.Close();
     return conv.ReadXMLFile(outFolder + "\\\u8aad\u8fbc.xml", -1);
   },
   ok: function (r) { return r.Result == "S_OK" && r.XMLData == "<a>text</a>"; }}
];
for (var j = 0; j < japanese.length; j++) {
  var outcome = japanese[j].call();
  check(japanese[j].ok(outcome), japanese[j].what + ": " + outcome.DetailErrorInfo);
}

// Bytes code page 932 does not map are refused, not read as something else.
check(conv.CRSCsvCheck2(data + "\\undecodable.csv", "2023").Result == "E_FAIL", "an undecodable file fails the check");

// Text that is not UTF-16 (an unpaired surrogate) is that argument's path
// error: it never opens or writes the file whose name has U+FFFD in its place.
fso.CopyFile(data + "\\japanese-2.0.csv", folder + "\\a\ufffdb.csv", true);
fso.CopyFile(xml, folder + "\\r\ufffd.xml", true);
fso.CopyFile(xml, folder + "\\r\ufffd\ufffd.xml", true);
if (fso.FileExists(folder + "\\o\ufffd.xml")) fso.DeleteFile(folder + "\\o\ufffd.xml");
var unpaired = [
  {what: "unpaired high surrogate in the CSV path", call: function () { return conv.CRSCsvCheck2(folder + "\\a\ud800b.csv", "2023"); }, error: "99999-0000001-HE40004E"},
  {what: "unpaired low surrogate in the CSV path", call: function () { return conv.CsvConvCRSData2(folder + "\\a\udc00b.csv", ""); }, error: "99999-0000001-HE40004E"},
  {what: "surrogates in the wrong order in the XML path", call: function () { return conv.ReadXMLFile(folder + "\\r\udc00\ud800.xml", -1); }, error: "99999-0000001-HE40004E"},
  {what: "unpaired high surrogate in the XML path", call: function () { return conv.ReadXMLFile(folder + "\\r\ud800.xml", -1); }, error: "99999-0000001-HE40004E"},
  {what: "unpaired surrogate in the output path", call: function () { return conv.CsvConvCRSData2(csv, folder + "\\o\ud800.xml"); }, error: "99999-0000002-"}
];
for (var i = 0; i < unpaired.length; i++) {
  var refused = unpaired[i].call();
  check(refused.Result == "E_FAIL" && refused.DetailErrorInfo.indexOf(unpaired[i].error) == 0,
        unpaired[i].what + ": " + refused.DetailErrorInfo);
}
check(!fso.FileExists(folder + "\\o\ufffd.xml"), "no output under the name with U+FFFD");

WScript.Echo(passed + " passed, " + failed + " failed");

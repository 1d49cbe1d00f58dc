// Validation of CRS XML messages: the schema and the Status Message rules, on
// our own conversion of the sample and on mutations of it.
#include "CLCCsvConvDataCRS.h"
#include "quorvex.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <regex>
#include <string>
#include <vector>

namespace {

std::string SampleMessage() {
  CLCCsvConvDataCRS facade;
  facade.SetClock([] { return CLCLocalTime{2024, 3, 1, 10, 0, 0}; });
  const CLCCsvConvResultCRS* record =
      facade.CsvConvCRSData2(QUORVEX_SOURCE_DIR "/samples/crs-sample-2.0.csv", "");
  EXPECT_TRUE(record->succeeded()) << record->getDetailErrorInfo();
  return record->getCRSData();
}

// Replaces the n-th (from 0) occurrence of `from`.
std::string Replace(std::string text, const std::string& from, const std::string& to, int nth = 0) {
  std::size_t at = text.find(from);
  for (int i = 0; i < nth && at != std::string::npos; ++i) at = text.find(from, at + 1);
  if (at == std::string::npos) {
    ADD_FAILURE() << "not in the sample: " << from;
  } else {
    text.replace(at, from.size(), to);
  }
  return text;
}

std::string DocRefId(const std::string& message, int nth) {
  const std::regex docRefId("<stf:DocRefId>([^<]*)<");
  auto it = std::sregex_iterator(message.begin(), message.end(), docRefId);
  for (int i = 0; i < nth; ++i) ++it;
  return (*it)[1];
}

// The reporting FI's content as a Sponsor's, with a DocRefId of its own.
std::string SponsorOf(const std::string& message) {
  const std::size_t begin = message.find("<crs:ReportingFI>") + std::string("<crs:ReportingFI>").size();
  const std::string content = message.substr(begin, message.find("</crs:ReportingFI>") - begin);
  return std::regex_replace(content, std::regex("FI0000001"), "SP0000001");
}

// The resent reporting FI (OECD0) with every account a correction (OECD2) of
// the record named in `targets`, in order.
std::string Corrected(std::string message, const std::vector<std::string>& targets) {
  message = Replace(message, "OECD1<", "OECD0<");
  for (std::size_t i = 0; i < targets.size(); ++i) {
    const std::string id = DocRefId(message, static_cast<int>(i) + 1);
    message = Replace(message, "OECD1<", "OECD2<");
    message = Replace(message, id + "</stf:DocRefId>",
                      id + "</stf:DocRefId><stf:CorrDocRefId>" + targets[i] + "</stf:CorrDocRefId>");
  }
  return message;
}

const CLCValidationResult& Validate(CLCCsvConvDataCRS& facade, const std::string& message,
                                    CLCValidationContext context = CLCValidationContext::Automatic) {
  return facade.ValidateXMLBuffer(message.data(), message.size(), context);
}

std::string Codes(const CLCValidationResult& result) {
  std::string codes;
  for (const CLCValidationFinding& finding : result.findings) {
    codes += (codes.empty() ? "" : " ") + finding.code + (finding.severity == CLCFindingSeverity::Error ? "E" : "W");
  }
  return codes;
}

TEST(MessageValidation, OurConversionOfTheSampleHasNoFinding) {
  CLCCsvConvDataCRS facade;
  const CLCValidationResult& result = Validate(facade, SampleMessage());
  EXPECT_TRUE(result.valid);
  EXPECT_EQ(Codes(result), "");
  EXPECT_EQ(result.context, CLCValidationContext::Domestic);  // JP to JP
}

// Each rule caught by one small mutation: the codes found and where the first
// finding points.
TEST(MessageValidation, EachRuleOnAMutatedMessage) {
  const std::string sample = SampleMessage();
  const std::string fi = DocRefId(sample, 0), first = DocRefId(sample, 1), second = DocRefId(sample, 2),
                    third = DocRefId(sample, 3);
  const std::string noAccounts = std::regex_replace(sample, std::regex("<crs:AccountReport>.*?</crs:AccountReport>"), "");
  struct Case {
    const char* name;
    std::string message;
    CLCValidationContext context;
    const char* codes;
    const char* path;  // of the first finding
    std::string docRefId;
  };
  const auto automatic = CLCValidationContext::Automatic;
  const std::vector<Case> cases = {
      {"value outside the enumeration", Replace(sample, "OECD1<", "OECD9<", 1), automatic, "50007E",
       "/CRS_OECD/CrsBody/ReportingGroup/AccountReport/DocSpec/DocTypeIndic", first},
      {"missing required element", Replace(sample, "<crs:ReceivingCountry>JP</crs:ReceivingCountry>", ""), automatic,
       "50007E", "/CRS_OECD/MessageSpec", ""},
      {"not well-formed", sample.substr(0, sample.size() / 2), automatic, "50007E", nullptr, ""},
      {"document type declaration", "<!DOCTYPE x [<!ENTITY a 'b'>]>" + sample.substr(sample.find("<crs:CRS_OECD")),
       automatic, "50007E", nullptr, ""},
      {"double dash in a name", Replace(sample, ">Johnny<", ">Jo--hnny<"), automatic, "50005E", nullptr, first},
      {"character reference in a value", Replace(sample, ">Johnny<", ">John&#13;ny<"), automatic, "50005E", nullptr,
       first},
      {"slash star in CDATA", Replace(sample, ">Johnny<", "><![CDATA[Jo/*hnny]]><"), automatic, "50005E", nullptr,
       first},
      {"test record among live ones", Replace(sample, "OECD1<", "OECD11<", 1), automatic, "50010E", nullptr, first},
      {"DocRefId used twice", Replace(sample, second, first), automatic, "80000E",
       "/CRS_OECD/CrsBody/ReportingGroup/AccountReport[2]/DocSpec/DocRefId", first},
      {"DocRefId without the country, domestic", Replace(sample, ">" + first + "<", ">X" + first + "<"), automatic,
       "80001W", nullptr, "X" + first},
      {"DocRefId without the country, exchange", Replace(sample, ">" + first + "<", ">X" + first + "<"),
       CLCValidationContext::Exchange, "80001E 60011E 60012E 60011E", nullptr, "X" + first},
      {"new record with CorrDocRefId",
       Replace(sample, "<stf:DocRefId>" + first + "</stf:DocRefId>",
               "<stf:DocRefId>" + first + "</stf:DocRefId><stf:CorrDocRefId>" + fi + "</stf:CorrDocRefId>"),
       automatic, "80004E", nullptr, first},
      {"correction without CorrDocRefId and among new records", Replace(sample, "OECD1<", "OECD2<", 2), automatic,
       "80005E 80010E", nullptr, second},
      {"IBAN with a wrong checksum", Replace(sample, "GB82WEST12345698765432", "GB82WEST12345698765433"), automatic,
       "60000E", "/CRS_OECD/CrsBody/ReportingGroup/AccountReport[3]/AccountNumber", third},
      {"ISIN with a wrong check digit", Replace(sample, "\"OECD605\" UndocumentedAccount=\"false\" ClosedAccount=\"false\" "
                                                        "DormantAccount=\"false\">ACC-000001",
                                                "\"OECD603\">US0378331006"),
       automatic, "60001E", nullptr, first},
      {"a valid ISIN", Replace(sample, "\"OECD605\" UndocumentedAccount=\"false\" ClosedAccount=\"false\" "
                                       "DormantAccount=\"false\">ACC-000001", "\"OECD603\">US0378331005"),
       automatic, "", nullptr, ""},
      {"negative balance", Replace(sample, ">1500000<", ">-1500000<"), automatic, "60002E",
       "/CRS_OECD/CrsBody/ReportingGroup/AccountReport/AccountBalance", first},
      {"closed account with a balance", Replace(sample, "\"JPY\">0<", "\"JPY\">5<"), automatic, "60003E", nullptr, third},
      {"name type OECD201", Replace(sample, "OECD202", "OECD201"), automatic, "60004E",
       "/CRS_OECD/CrsBody/ReportingGroup/AccountReport/AccountHolder/Individual/Name", first},
      {"controlling persons of an active NFE", Replace(sample, ">CRS101<", ">CRS102<"), automatic, "60005E",
       "/CRS_OECD/CrsBody/ReportingGroup/AccountReport[2]/ControllingPerson", second},
      {"passive NFE without controlling persons",
       std::regex_replace(sample, std::regex("<crs:ControllingPerson>.*?</crs:ControllingPerson>"), ""), automatic,
       "60006E", nullptr, second},
      {"a second ReportingGroup",
       Replace(sample, "</crs:ReportingGroup>", "</crs:ReportingGroup><crs:ReportingGroup></crs:ReportingGroup>"),
       automatic, "60007E", "/CRS_OECD/CrsBody/ReportingGroup[2]", ""},
      {"a Sponsor", Replace(sample, "<crs:ReportingGroup>", "<crs:ReportingGroup><crs:Sponsor>" + SponsorOf(sample) +
                                                                "</crs:Sponsor>"),
       automatic, "60008E", "/CRS_OECD/CrsBody/ReportingGroup/Sponsor", ""},
      {"residence outside the receiving country",
       Replace(sample, "<crs:ReceivingCountry>JP<", "<crs:ReceivingCountry>GB<"), automatic, "60011E 60012E",
       "/CRS_OECD/CrsBody/ReportingGroup/AccountReport/AccountHolder", first},
      {"reporting FI resident elsewhere", Replace(sample, "<crs:ResCountryCode>JP<", "<crs:ResCountryCode>KR<"),
       automatic, "60013E", "/CRS_OECD/CrsBody/ReportingFI/ResCountryCode", fi},
      {"birth date before 1900", Replace(sample, ">1980-04-15<", ">1899-12-31<"), automatic, "60014E", nullptr, first},
      {"placeholder birth date", Replace(sample, ">1975-09-30<", ">1900-01-01<"), automatic, "60014W",
       "/CRS_OECD/CrsBody/ReportingGroup/AccountReport[2]/ControllingPerson/Individual/BirthInfo/BirthDate", second},
      {"birth date after the message", Replace(sample, ">1980-04-15<", ">2999-01-01<"), automatic, "60014E", nullptr,
       first},
      {"no account in a message of new data", noAccounts, automatic, "60015E",
       "/CRS_OECD/MessageSpec/MessageTypeIndic", ""},
      {"a nil report", Replace(noAccounts, ">CRS701<", ">CRS703<"), automatic, "", nullptr, ""},
      {"CorrMessageRefId in a DocSpec",
       Replace(sample, first + "</stf:DocRefId>", first + "</stf:DocRefId><stf:CorrMessageRefId>M</stf:CorrMessageRefId>"),
       automatic, "80006E", "/CRS_OECD/CrsBody/ReportingGroup/AccountReport/DocSpec/CorrMessageRefId", first},
      {"CorrMessageRefId in the MessageSpec",
       Replace(sample, "CRS701</crs:MessageTypeIndic>",
               "CRS701</crs:MessageTypeIndic><crs:CorrMessageRefId>M</crs:CorrMessageRefId>"),
       automatic, "80007E", "/CRS_OECD/MessageSpec/CorrMessageRefId", ""},
      {"an account resent", Replace(sample, "OECD1<", "OECD0<", 1), automatic, "80008E", nullptr, first},
      {"one record corrected twice", Corrected(Replace(sample, ">CRS701<", ">CRS702<"), {"A", "A", "B"}), automatic,
       "80011E", "/CRS_OECD/CrsBody/ReportingGroup/AccountReport[2]/DocSpec/CorrDocRefId", second},
      {"corrections in a message of new data", Corrected(sample, {"A", "B", "C"}), automatic, "80010E 80010E 80010E",
       nullptr, first},
  };
  CLCCsvConvDataCRS facade;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const CLCValidationResult& result = Validate(facade, c.message, c.context);
    EXPECT_EQ(Codes(result), c.codes);
    for (const CLCValidationFinding& finding : result.findings) {
      EXPECT_NE(quorvex_finding_title(finding.code.c_str(), "ja"), nullptr) << finding.code;
      EXPECT_NE(quorvex_finding_title(finding.code.c_str(), "en"), nullptr) << finding.code;
    }
    EXPECT_EQ(result.valid, std::string(c.codes).find('E') == std::string::npos);
    if (result.findings.empty()) continue;
    const CLCValidationFinding& finding = result.findings.front();
    if (c.path != nullptr) {
      EXPECT_EQ(finding.path, c.path);
    }
    EXPECT_EQ(finding.docRefId, c.docRefId);
    EXPECT_GE(finding.line, 1);
    EXPECT_GE(finding.column, 1);
  }
}

// Another tool's shape of the same message: other prefixes, a default
// namespace, line breaks and indentation. The findings are the same, and the
// positions follow the lines.
TEST(MessageValidation, AnotherToolsShapeGivesTheSameFindings) {
  const std::string sample = SampleMessage();
  const std::string mutated = Replace(sample, "OECD1<", "OECD9<", 1);
  std::string reshaped = std::regex_replace(mutated, std::regex("<(/?)crs:"), "<$1");
  reshaped = std::regex_replace(reshaped, std::regex("xmlns:crs="), "xmlns=");
  reshaped = std::regex_replace(reshaped, std::regex("<(/?)stf:"), "<$1oecd:");
  reshaped = std::regex_replace(reshaped, std::regex("xmlns:stf="), "xmlns:oecd=");
  reshaped = std::regex_replace(reshaped, std::regex("><"), ">\r\n  <");
  CLCCsvConvDataCRS facade;
  const CLCValidationResult original = Validate(facade, mutated);
  const CLCValidationResult& other = Validate(facade, reshaped);
  ASSERT_EQ(Codes(other), Codes(original));
  ASSERT_EQ(Codes(other), "50007E");
  EXPECT_EQ(other.findings[0].path, original.findings[0].path);
  EXPECT_EQ(other.findings[0].docRefId, original.findings[0].docRefId);
  // The value sits on its own line, counted from the CRLF breaks.
  const std::size_t at = reshaped.find("OECD9");
  const long line = 1 + static_cast<long>(std::count(reshaped.begin(), reshaped.begin() + at, '\n'));
  EXPECT_EQ(other.findings[0].line, line);
}

TEST(MessageValidation, SchemaOneAndUnreadableInputsSayWhy) {
  CLCCsvConvDataCRS facade;
  std::string one = std::regex_replace(SampleMessage(), std::regex("urn:oecd:ties:crs:v2"), "urn:oecd:ties:crs:v1");
  const CLCValidationResult& result = Validate(facade, one);
  EXPECT_FALSE(result.valid);
  EXPECT_EQ(Codes(result), "50007E");
  EXPECT_NE(result.note.find("1.0"), std::string::npos);
  const CLCValidationResult& missing = facade.ValidateXMLFile("/nonexistent/message.xml");
  EXPECT_FALSE(missing.valid);
  EXPECT_TRUE(missing.findings.empty());
  EXPECT_FALSE(missing.note.empty());
  EXPECT_FALSE(facade.ValidateXMLBuffer(nullptr, 5).valid);
}

// The CSV line of each record, counted in physical lines: a quoted value with
// a line break moves every later record down.
TEST(MessageValidation, RecordOriginsNameTheCsvLines) {
  CLCCsvConvDataCRS facade;
  const std::vector<CLCRecordOrigin> origins =
      facade.CsvRecordOrigins(QUORVEX_SOURCE_DIR "/samples/crs-sample-2.0.csv");
  const std::string message = SampleMessage();
  ASSERT_GE(origins.size(), 3u);
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(origins[i].docRefId, DocRefId(message, static_cast<int>(i)));
    EXPECT_EQ(origins[i].fileLine, static_cast<long>(i) + 1);
  }
  std::ifstream in(QUORVEX_SOURCE_DIR "/samples/crs-sample-2.0.csv", std::ios::binary);
  std::string csv((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  csv = Replace(csv, "Marunouchi, ", "Marunouchi,\r\n");
  const std::vector<CLCRecordOrigin> shifted = facade.CsvRecordOriginsBuffer(csv.data(), csv.size());
  ASSERT_EQ(shifted.size(), origins.size());
  EXPECT_EQ(shifted[0].fileLine, 1);
  EXPECT_EQ(shifted[1].fileLine, 3);
  EXPECT_TRUE(facade.CsvRecordOrigins("/nonexistent/file.csv").empty());
}

}  // namespace

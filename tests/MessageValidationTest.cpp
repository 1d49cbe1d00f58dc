// Validation of CRS XML messages: the schema and the Status Message rules, on
// our own conversion of the sample and on mutations of it.
#include "CLCCsvConvDataCRS.h"

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
  const std::string fi = DocRefId(sample, 0), first = DocRefId(sample, 1), second = DocRefId(sample, 2);
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
       CLCValidationContext::Exchange, "80001E", nullptr, "X" + first},
      {"new record with CorrDocRefId",
       Replace(sample, "<stf:DocRefId>" + first + "</stf:DocRefId>",
               "<stf:DocRefId>" + first + "</stf:DocRefId><stf:CorrDocRefId>" + fi + "</stf:CorrDocRefId>"),
       automatic, "80004E", nullptr, first},
      {"correction without CorrDocRefId and among new records", Replace(sample, "OECD1<", "OECD2<", 2), automatic,
       "80005E 80010E", nullptr, second},
  };
  CLCCsvConvDataCRS facade;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const CLCValidationResult& result = Validate(facade, c.message, c.context);
    EXPECT_EQ(Codes(result), c.codes);
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

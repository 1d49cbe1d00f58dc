#pragma once
#include <string>

// Outcome of one facade operation. A plain record: every get returns a copy,
// every put replaces the field.
class CLCCsvConvResultCRS {
 public:
  std::string getResult() const { return m_strResult; }
  void putResult(const std::string& value) { m_strResult = value; }
  std::string getDetailErrorInfo() const { return m_strDetailErrorInfo; }
  void putDetailErrorInfo(const std::string& value) { m_strDetailErrorInfo = value; }
  std::string getHojinNo() const { return m_strHojinNo; }
  void putHojinNo(const std::string& value) { m_strHojinNo = value; }
  std::string getGIIN() const { return m_strGIIN; }
  void putGIIN(const std::string& value) { m_strGIIN = value; }
  long getAccountReportCount() const { return m_lAccountReportCount; }
  void putAccountReportCount(long value) { m_lAccountReportCount = value; }
  std::string getCRSData() const { return m_strCRSData; }
  void putCRSData(const std::string& value) { m_strCRSData = value; }
  std::string getXMLData() const { return m_strXMLData; }
  void putXMLData(const std::string& value) { m_strXMLData = value; }

  // Moves the generated XML in, sparing a copy of up to 19 MiB.
  void putCRSData(std::string&& value) { m_strCRSData = std::move(value); }
  void putXMLData(std::string&& value) { m_strXMLData = std::move(value); }

 private:
  std::string m_strResult;
  std::string m_strDetailErrorInfo;
  std::string m_strHojinNo;
  std::string m_strGIIN;
  long m_lAccountReportCount = 0;
  std::string m_strCRSData;
  std::string m_strXMLData;
};

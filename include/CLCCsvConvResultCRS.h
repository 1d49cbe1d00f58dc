#pragma once
#include "CLCErrorDescription.h"

#include <string>
#include <utility>
#include <vector>

// Outcome of one facade operation. A plain record: every put replaces the
// field; the text getters hand out references that stay valid until the next
// put of that field.
class CLCCsvConvResultCRS {
 public:
  const std::string& getResult() const { return m_strResult; }
  // True when Result is "S_OK": the one place that reads the status text.
  bool succeeded() const { return m_strResult == "S_OK"; }
  void putResult(const std::string& value) { m_strResult = value; }
  const std::string& getDetailErrorInfo() const { return m_strDetailErrorInfo; }
  void putDetailErrorInfo(const std::string& value) { m_strDetailErrorInfo = value; }
  const std::string& getHojinNo() const { return m_strHojinNo; }
  void putHojinNo(const std::string& value) { m_strHojinNo = value; }
  const std::string& getGIIN() const { return m_strGIIN; }
  void putGIIN(const std::string& value) { m_strGIIN = value; }
  long getAccountReportCount() const { return m_lAccountReportCount; }
  void putAccountReportCount(long value) { m_lAccountReportCount = value; }
  const std::string& getCRSData() const { return m_strCRSData; }
  void putCRSData(const std::string& value) { m_strCRSData = value; }
  const std::string& getXMLData() const { return m_strXMLData; }
  void putXMLData(const std::string& value) { m_strXMLData = value; }

  // Moves the generated XML in, sparing a copy of up to 19 MiB.
  void putCRSData(std::string&& value) { m_strCRSData = std::move(value); }
  void putXMLData(std::string&& value) { m_strXMLData = std::move(value); }

  // Calls visit(name, value) for the seven published fields in their order:
  // Result, DetailErrorInfo, HojinNo, GIIN, AccountReportCount (a long),
  // CRSData, XMLData. Every front end that copies or prints the record walks it
  // here, so that a field is added in one place.
  template <typename Visitor>
  void ForEachField(Visitor&& visit) const {
    visit("Result", m_strResult);
    visit("DetailErrorInfo", m_strDetailErrorInfo);
    visit("HojinNo", m_strHojinNo);
    visit("GIIN", m_strGIIN);
    visit("AccountReportCount", m_lAccountReportCount);
    visit("CRSData", m_strCRSData);
    visit("XMLData", m_strXMLData);
  }

  // One description per item of DetailErrorInfo, in the same order, when the
  // facade was asked to describe errors; empty otherwise.
  const std::vector<CLCErrorDescription>& getErrorDescriptions() const { return m_vecErrorDescriptions; }
  void putErrorDescriptions(std::vector<CLCErrorDescription> value) { m_vecErrorDescriptions = std::move(value); }

 private:
  std::string m_strResult;
  std::string m_strDetailErrorInfo;
  std::string m_strHojinNo;
  std::string m_strGIIN;
  long m_lAccountReportCount = 0;
  std::string m_strCRSData;
  std::string m_strXMLData;
  std::vector<CLCErrorDescription> m_vecErrorDescriptions;
};

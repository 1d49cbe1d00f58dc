#include "CLCCsvConvResultCRSObject.h"

#include "CLCComMessages.h"
#include "diagnostics/CLCDebugDump.h"

using namespace quorvex::internal;

HRESULT CLCCsvConvResultCRSObject::GetText(const std::wstring& field, BSTR* pVal, const char* function) {
  if (pVal == nullptr) {
    CLCDebugDump::OutputLog(__FILE__, __LINE__, function, CLCComMessages::kInvalidPointer);
    return Fail(E_POINTER, function, CLCComMessages::kInvalidPointer);
  }
  *pVal = nullptr;  // an empty field comes back as the null BSTR, which COM reads as ""
  if (field.empty()) return S_OK;
  *pVal = SysAllocStringLen(field.data(), static_cast<UINT>(field.size()));
  return *pVal != nullptr ? S_OK : E_OUTOFMEMORY;
}

HRESULT CLCCsvConvResultCRSObject::PutText(std::wstring& field, BSTR newVal, const char* function) {
  try {
    field.assign(newVal != nullptr ? newVal : L"", SysStringLen(newVal));
    return S_OK;
  } catch (...) {
    CLCDebugDump::OutputLog(__FILE__, __LINE__, function, CLCDebugDump::kUnexpectedError);
    return Fail(E_FAIL, function, CLCDebugDump::kUnexpectedError);
  }
}

STDMETHODIMP CLCCsvConvResultCRSObject::get_Result(BSTR* pVal) {
  return GetText(m_strResult, pVal, "CLCCsvConvResultCRS::get_Result");
}
STDMETHODIMP CLCCsvConvResultCRSObject::put_Result(BSTR newVal) {
  return PutText(m_strResult, newVal, "CLCCsvConvResultCRS::put_Result");
}
STDMETHODIMP CLCCsvConvResultCRSObject::get_DetailErrorInfo(BSTR* pVal) {
  return GetText(m_strDetailErrorInfo, pVal, "CLCCsvConvResultCRS::get_DetailErrorInfo");
}
STDMETHODIMP CLCCsvConvResultCRSObject::put_DetailErrorInfo(BSTR newVal) {
  return PutText(m_strDetailErrorInfo, newVal, "CLCCsvConvResultCRS::put_DetailErrorInfo");
}
STDMETHODIMP CLCCsvConvResultCRSObject::get_HojinNo(BSTR* pVal) {
  return GetText(m_strHojinNo, pVal, "CLCCsvConvResultCRS::get_HojinNo");
}
STDMETHODIMP CLCCsvConvResultCRSObject::put_HojinNo(BSTR newVal) {
  return PutText(m_strHojinNo, newVal, "CLCCsvConvResultCRS::put_HojinNo");
}
STDMETHODIMP CLCCsvConvResultCRSObject::get_GIIN(BSTR* pVal) {
  return GetText(m_strGIIN, pVal, "CLCCsvConvResultCRS::get_GIIN");
}
STDMETHODIMP CLCCsvConvResultCRSObject::put_GIIN(BSTR newVal) {
  return PutText(m_strGIIN, newVal, "CLCCsvConvResultCRS::put_GIIN");
}
STDMETHODIMP CLCCsvConvResultCRSObject::get_AccountReportCount(long* pVal) {
  if (pVal == nullptr) {
    CLCDebugDump::OutputLog(__FILE__, __LINE__, "CLCCsvConvResultCRS::get_AccountReportCount",
                            CLCComMessages::kInvalidPointer);
    return Fail(E_POINTER, "CLCCsvConvResultCRS::get_AccountReportCount", CLCComMessages::kInvalidPointer);
  }
  *pVal = m_lAccountReportCount;
  return S_OK;
}
STDMETHODIMP CLCCsvConvResultCRSObject::put_AccountReportCount(long newVal) {
  m_lAccountReportCount = newVal;
  return S_OK;
}
STDMETHODIMP CLCCsvConvResultCRSObject::get_CRSData(BSTR* pVal) {
  return GetText(m_strCRSData, pVal, "CLCCsvConvResultCRS::get_CRSData");
}
STDMETHODIMP CLCCsvConvResultCRSObject::put_CRSData(BSTR newVal) {
  return PutText(m_strCRSData, newVal, "CLCCsvConvResultCRS::put_CRSData");
}
STDMETHODIMP CLCCsvConvResultCRSObject::get_XMLData(BSTR* pVal) {
  return GetText(m_strXMLData, pVal, "CLCCsvConvResultCRS::get_XMLData");
}
STDMETHODIMP CLCCsvConvResultCRSObject::put_XMLData(BSTR newVal) {
  return PutText(m_strXMLData, newVal, "CLCCsvConvResultCRS::put_XMLData");
}

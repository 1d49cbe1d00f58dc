#pragma once
#include "CLCDispatchObject.h"
#include "Quorvex.h"

#include <string>

// The result object a host receives: the seven fields of one operation's
// outcome as read-write properties. The operations object fills it through
// the same put methods a host may call.
class CLCCsvConvResultCRSObject : public CLCDispatchObject<CLICsvConvResultCRS> {
 public:
  static HRESULT Create(IUnknown* outer, REFIID iid, void** object) {
    return CreateInstance<CLCCsvConvResultCRSObject>(outer, iid, object);
  }
  explicit CLCCsvConvResultCRSObject(IUnknown* outer) : CLCDispatchObject(outer) {}

  STDMETHODIMP get_Result(BSTR* pVal) override;
  STDMETHODIMP put_Result(BSTR newVal) override;
  STDMETHODIMP get_DetailErrorInfo(BSTR* pVal) override;
  STDMETHODIMP put_DetailErrorInfo(BSTR newVal) override;
  STDMETHODIMP get_HojinNo(BSTR* pVal) override;
  STDMETHODIMP put_HojinNo(BSTR newVal) override;
  STDMETHODIMP get_GIIN(BSTR* pVal) override;
  STDMETHODIMP put_GIIN(BSTR newVal) override;
  STDMETHODIMP get_AccountReportCount(long* pVal) override;
  STDMETHODIMP put_AccountReportCount(long newVal) override;
  STDMETHODIMP get_CRSData(BSTR* pVal) override;
  STDMETHODIMP put_CRSData(BSTR newVal) override;
  STDMETHODIMP get_XMLData(BSTR* pVal) override;
  STDMETHODIMP put_XMLData(BSTR newVal) override;

 private:
  static HRESULT GetText(const std::wstring& field, BSTR* pVal, const char* function);
  static HRESULT PutText(std::wstring& field, BSTR newVal, const char* function);

  std::wstring m_strResult;
  std::wstring m_strDetailErrorInfo;
  std::wstring m_strHojinNo;
  std::wstring m_strGIIN;
  long m_lAccountReportCount = 0;
  std::wstring m_strCRSData;
  std::wstring m_strXMLData;
};

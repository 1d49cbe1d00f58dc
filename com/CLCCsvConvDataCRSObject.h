#pragma once
#include "CLCDispatchObject.h"
#include "Quorvex.h"

#include "CLCCsvConvDataCRS.h"

#include <objsafe.h>

#include <functional>
#include <memory>

// The operations object: the five operations of the engine's facade behind the
// dual interface. It keeps one result object for its lifetime, created through
// the registry on the first call, and hands out a new reference to it on every
// call; the HRESULT says whether the call was carried out, the result object's
// Result whether the file passed.
class CLCCsvConvDataCRSObject : public CLCDispatchObject<CLICsvConvDataCRS>, public IObjectSafety {
 public:
  static HRESULT Create(IUnknown* outer, REFIID iid, void** object) {
    return CreateInstance<CLCCsvConvDataCRSObject>(outer, iid, object);
  }
  explicit CLCCsvConvDataCRSObject(IUnknown* outer) : CLCDispatchObject(outer) {}

  // One IUnknown for every base.
  STDMETHODIMP QueryInterface(REFIID iid, void** object) override {
    return CLCDispatchObject::QueryInterface(iid, object);
  }
  STDMETHODIMP_(ULONG) AddRef() override { return CLCDispatchObject::AddRef(); }
  STDMETHODIMP_(ULONG) Release() override { return CLCDispatchObject::Release(); }

  STDMETHODIMP CRSCsvCheck(BSTR bstrCsvPathName, IDispatch** pResultInfo) override;
  STDMETHODIMP CsvConvCRSData(BSTR bstrCsvPathName, BSTR bstrOutputPathName, IDispatch** pResultInfo) override;
  STDMETHODIMP ReadXMLFile(BSTR bstrXMLPathName, long lReadLimitSize, IDispatch** pResultInfo) override;
  STDMETHODIMP CRSCsvCheck2(BSTR bstrCsvPathName, BSTR bstrNenbun, IDispatch** pResultInfo) override;
  STDMETHODIMP CsvConvCRSData2(BSTR bstrCsvPathName, BSTR bstrOutputPathName, IDispatch** pResultInfo) override;

  // IObjectSafety: safe for untrusted callers and untrusted data.
  STDMETHODIMP GetInterfaceSafetyOptions(REFIID iid, DWORD* supported, DWORD* enabled) override;
  STDMETHODIMP SetInterfaceSafetyOptions(REFIID iid, DWORD mask, DWORD enabled) override;

 protected:
  void* FindInterface(REFIID iid) override;

 private:
  static constexpr DWORD kSafetyOptions = INTERFACESAFE_FOR_UNTRUSTED_CALLER | INTERFACESAFE_FOR_UNTRUSTED_DATA;

  struct Releaser {
    void operator()(IUnknown* object) const { object->Release(); }
  };
  using Operation = std::function<const CLCCsvConvResultCRS*(CLCCsvConvDataCRS&)>;

  HRESULT Run(const char* function, const Operation& operation, IDispatch** pResultInfo);
  HRESULT CreateResultObject();
  HRESULT PutFields(const CLCCsvConvResultCRS& record);

  CLCCsvConvDataCRS m_facade;
  std::unique_ptr<CLICsvConvResultCRS, Releaser> m_pResult;
  DWORD m_dwSafetyEnabled = 0;
};

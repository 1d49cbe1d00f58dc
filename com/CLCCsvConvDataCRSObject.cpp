#include "CLCCsvConvDataCRSObject.h"

#include "CLCBstrText.h"
#include "CLCComMessages.h"
#include "diagnostics/CLCDebugDump.h"

#include <ole2.h>

#include <cstring>
#include <string>
#include <type_traits>

using namespace quorvex::internal;

namespace {

// A BSTR that frees itself.
class OwnedBstr {
 public:
  explicit OwnedBstr(const std::string& utf8) {
    const std::wstring text = CLCBstrText::FromUtf8(utf8);
    m_bstr = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    if (m_bstr == nullptr) throw std::bad_alloc();
  }
  ~OwnedBstr() { SysFreeString(m_bstr); }
  OwnedBstr(const OwnedBstr&) = delete;
  OwnedBstr& operator=(const OwnedBstr&) = delete;
  BSTR get() const { return m_bstr; }

 private:
  BSTR m_bstr;
};

// Sets the property `name` (ASCII) of a dispatch object, as a script would.
HRESULT PutProperty(IDispatch& object, const char* name, VARIANT& value) {
  std::wstring wideName(name, name + std::strlen(name));
  LPOLESTR names[] = {wideName.data()};
  DISPID property = DISPID_UNKNOWN;
  const HRESULT hr = object.GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &property);
  if (FAILED(hr)) return hr;
  DISPID named = DISPID_PROPERTYPUT;
  DISPPARAMS parameters{&value, &named, 1, 1};
  return object.Invoke(property, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYPUT, &parameters, nullptr, nullptr,
                       nullptr);
}

}  // namespace

void* CLCCsvConvDataCRSObject::FindInterface(REFIID iid) {
  if (iid == IID_IObjectSafety) return static_cast<IObjectSafety*>(this);
  return CLCDispatchObject::FindInterface(iid);
}

HRESULT CLCCsvConvDataCRSObject::CreateResultObject() {
  m_pResult.reset();
  IUnknown* unknown = nullptr;
  HRESULT hr = CoCreateInstance(CLSID_CLCCsvConvResultCRS, nullptr, CLSCTX_ALL, IID_IUnknown,
                                reinterpret_cast<void**>(&unknown));
  if (FAILED(hr)) return hr;
  hr = OleRun(unknown);
  CLICsvConvResultCRS* result = nullptr;
  if (SUCCEEDED(hr)) hr = unknown->QueryInterface(IID_CLICsvConvResultCRS, reinterpret_cast<void**>(&result));
  unknown->Release();
  if (SUCCEEDED(hr)) m_pResult.reset(result);
  return hr;
}

// Puts each field of the record through the result object's property of the
// same name, so that a field of the record is one property here without a
// copy of its own. The dispatch interface calls the object's own put methods.
HRESULT CLCCsvConvDataCRSObject::PutFields(const CLCCsvConvResultCRS& record) {
  CLICsvConvResultCRS& result = *m_pResult;
  HRESULT hr = S_OK;
  record.ForEachField([&](const char* name, const auto& value) {
    if (FAILED(hr)) return;
    VARIANT argument;
    VariantInit(&argument);
    if constexpr (std::is_same_v<std::decay_t<decltype(value)>, std::string>) {
      const OwnedBstr text(value);
      argument.vt = VT_BSTR;
      argument.bstrVal = text.get();
      hr = PutProperty(result, name, argument);
    } else {
      argument.vt = VT_I4;
      argument.lVal = value;
      hr = PutProperty(result, name, argument);
    }
  });
  return hr;
}

HRESULT CLCCsvConvDataCRSObject::Run(const char* function, const Operation& operation, IDispatch** pResultInfo) {
  if (pResultInfo == nullptr) {
    CLCDebugDump::OutputLog(__FILE__, __LINE__, function, CLCComMessages::kInvalidPointer);
    return Fail(E_POINTER, function, CLCComMessages::kInvalidPointer);
  }
  // An out pointer is cleared first, so a failed call never leaves the host a
  // stale value to release.
  *pResultInfo = nullptr;
  try {
    if (!m_pResult && FAILED(CreateResultObject())) {
      CLCDebugDump::OutputLog(__FILE__, __LINE__, function, CLCComMessages::kResultCreateFailed);
      return Fail(E_FAIL, function, CLCComMessages::kResultCreateFailed);
    }
    const CLCCsvConvResultCRS* record = operation(m_facade);
    if (record == nullptr || FAILED(PutFields(*record))) {
      CLCDebugDump::OutputLog(__FILE__, __LINE__, function, CLCDebugDump::kUnexpectedError);
      return Fail(E_FAIL, function, CLCDebugDump::kUnexpectedError);
    }
    m_pResult->AddRef();
    *pResultInfo = m_pResult.get();
    Succeeded();
    return S_OK;
  } catch (...) {
    CLCDebugDump::OutputLog(__FILE__, __LINE__, function, CLCDebugDump::kUnexpectedError);
    return Fail(E_FAIL, function, CLCDebugDump::kUnexpectedError);
  }
}

STDMETHODIMP CLCCsvConvDataCRSObject::CRSCsvCheck(BSTR bstrCsvPathName, IDispatch** pResultInfo) {
  return Run("CLCCsvConvDataCRS::CRSCsvCheck", [&](CLCCsvConvDataCRS& facade) {
    return facade.CRSCsvCheck(CLCBstrText::ToUtf8(bstrCsvPathName).c_str());
  }, pResultInfo);
}

STDMETHODIMP CLCCsvConvDataCRSObject::CsvConvCRSData(BSTR bstrCsvPathName, BSTR bstrOutputPathName,
                                                     IDispatch** pResultInfo) {
  return Run("CLCCsvConvDataCRS::CsvConvCRSData", [&](CLCCsvConvDataCRS& facade) {
    return facade.CsvConvCRSData(CLCBstrText::ToUtf8(bstrCsvPathName).c_str(),
                                 CLCBstrText::ToUtf8(bstrOutputPathName).c_str());
  }, pResultInfo);
}

STDMETHODIMP CLCCsvConvDataCRSObject::ReadXMLFile(BSTR bstrXMLPathName, long lReadLimitSize,
                                                  IDispatch** pResultInfo) {
  return Run("CLCCsvConvDataCRS::ReadXMLFile", [&](CLCCsvConvDataCRS& facade) {
    return facade.ReadXMLFile(CLCBstrText::ToUtf8(bstrXMLPathName).c_str(), lReadLimitSize);
  }, pResultInfo);
}

STDMETHODIMP CLCCsvConvDataCRSObject::CRSCsvCheck2(BSTR bstrCsvPathName, BSTR bstrNenbun,
                                                   IDispatch** pResultInfo) {
  return Run("CLCCsvConvDataCRS::CRSCsvCheck2", [&](CLCCsvConvDataCRS& facade) {
    return facade.CRSCsvCheck2(CLCBstrText::ToUtf8(bstrCsvPathName).c_str(),
                               CLCBstrText::ToUtf8(bstrNenbun).c_str());
  }, pResultInfo);
}

STDMETHODIMP CLCCsvConvDataCRSObject::CsvConvCRSData2(BSTR bstrCsvPathName, BSTR bstrOutputPathName,
                                                      IDispatch** pResultInfo) {
  return Run("CLCCsvConvDataCRS::CsvConvCRSData2", [&](CLCCsvConvDataCRS& facade) {
    return facade.CsvConvCRSData2(CLCBstrText::ToUtf8(bstrCsvPathName).c_str(),
                                  CLCBstrText::ToUtf8(bstrOutputPathName).c_str());
  }, pResultInfo);
}

STDMETHODIMP CLCCsvConvDataCRSObject::GetInterfaceSafetyOptions(REFIID iid, DWORD* supported, DWORD* enabled) {
  if (supported == nullptr || enabled == nullptr) return E_POINTER;
  *supported = 0;
  *enabled = 0;
  if (iid != IID_IUnknown && FindInterface(iid) == nullptr) return E_NOINTERFACE;
  *supported = kSafetyOptions;
  *enabled = m_dwSafetyEnabled;
  return S_OK;
}

STDMETHODIMP CLCCsvConvDataCRSObject::SetInterfaceSafetyOptions(REFIID iid, DWORD mask, DWORD enabled) {
  if (iid != IID_IUnknown && FindInterface(iid) == nullptr) return E_NOINTERFACE;
  if ((mask & ~kSafetyOptions) != 0) return E_FAIL;
  m_dwSafetyEnabled = (m_dwSafetyEnabled & ~mask) | (enabled & mask);
  return S_OK;
}

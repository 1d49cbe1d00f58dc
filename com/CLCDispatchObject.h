#pragma once
#include "CLCBstrText.h"
#include "CLCComCall.h"
#include "CQuorvexModule.h"

#include <windows.h>
#include <oleauto.h>

#include <new>

// Base of the server's objects for one dual interface: an IUnknown that can be
// part of an aggregate, IDispatch served from the module's type library, and
// ISupportErrorInfo naming the dual interface, whose failing calls set an error
// object that says why. Objects are apartment-threaded:
// COM calls each on its creating thread only, so nothing here takes a lock.
template <class Interface>
class CLCDispatchObject : public Interface, public ISupportErrorInfo {
 public:
  CLCDispatchObject(const CLCDispatchObject&) = delete;
  CLCDispatchObject& operator=(const CLCDispatchObject&) = delete;

  // Creates an object of class T (aggregated inside outer when given) and asks it
  // for iid. An aggregate may only ask for IUnknown, as COM requires. A
  // constructor that throws gives E_OUTOFMEMORY (or E_UNEXPECTED), not an
  // exception in the host.
  template <class T>
  static HRESULT CreateInstance(IUnknown* outer, REFIID iid, void** object) {
    if (object == nullptr) return E_POINTER;
    *object = nullptr;
    if (outer != nullptr && iid != IID_IUnknown) return CLASS_E_NOAGGREGATION;
    return CLCComCall([&]() -> HRESULT {
      T* created = new T(outer);
      IUnknown* inner = &created->m_inner;
      inner->AddRef();
      const HRESULT hr = inner->QueryInterface(iid, object);
      inner->Release();  // deletes the object when the query failed
      return hr;
    });
  }

  // IUnknown: always the controlling unknown's (the outer object's when aggregated).
  STDMETHODIMP QueryInterface(REFIID iid, void** object) override { return m_pControl->QueryInterface(iid, object); }
  STDMETHODIMP_(ULONG) AddRef() override { return m_pControl->AddRef(); }
  STDMETHODIMP_(ULONG) Release() override { return m_pControl->Release(); }

  // IDispatch
  STDMETHODIMP GetTypeInfoCount(UINT* count) override {
    if (count == nullptr) return E_POINTER;
    *count = 1;
    return S_OK;
  }
  STDMETHODIMP GetTypeInfo(UINT index, LCID, ITypeInfo** info) override {
    if (info == nullptr) return E_POINTER;
    *info = nullptr;
    if (index != 0) return DISP_E_BADINDEX;
    const HRESULT hr = LoadTypeInfo();
    if (FAILED(hr)) return hr;
    m_pTypeInfo->AddRef();
    *info = m_pTypeInfo;
    return S_OK;
  }
  STDMETHODIMP GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
    if (iid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
    const HRESULT hr = LoadTypeInfo();
    if (FAILED(hr)) return hr;
    return DispGetIDsOfNames(m_pTypeInfo, names, count, ids);
  }
  STDMETHODIMP Invoke(DISPID id, REFIID iid, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                      EXCEPINFO* exception, UINT* argumentError) override {
    if (iid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
    const HRESULT hr = LoadTypeInfo();
    if (FAILED(hr)) return hr;
    return DispInvoke(static_cast<Interface*>(this), m_pTypeInfo, id, flags, params, result, exception,
                      argumentError);
  }

  // ISupportErrorInfo: a failing HRESULT of the dual interface comes with an
  // error object (see Fail); a file that fails its check is not such a failure,
  // it travels in the result object.
  STDMETHODIMP InterfaceSupportsErrorInfo(REFIID iid) override {
    return iid == __uuidof(Interface) ? S_OK : S_FALSE;
  }

 protected:
  explicit CLCDispatchObject(IUnknown* outer)
      : m_inner(this), m_pControl(outer != nullptr ? outer : &m_inner) {
    CQuorvexModule::Lock();
  }
  virtual ~CLCDispatchObject() {
    if (m_pTypeInfo != nullptr) m_pTypeInfo->Release();
    CQuorvexModule::Unlock();
  }

  // Returns hr after setting the thread's error object: the description (UTF-8)
  // and, as its source, the routine's name. A host's script engine shows it.
  static HRESULT Fail(HRESULT hr, const char* function, const char* description) {
    ICreateErrorInfo* created = nullptr;
    if (FAILED(CreateErrorInfo(&created))) return hr;
    try {
      const std::wstring source = CLCBstrText::FromUtf8(function);
      const std::wstring text = CLCBstrText::FromUtf8(description);
      created->SetGUID(__uuidof(Interface));
      created->SetSource(const_cast<LPOLESTR>(source.c_str()));
      created->SetDescription(const_cast<LPOLESTR>(text.c_str()));
      IErrorInfo* info = nullptr;
      if (SUCCEEDED(created->QueryInterface(IID_IErrorInfo, reinterpret_cast<void**>(&info)))) {
        SetErrorInfo(0, info);
        info->Release();
      }
    } catch (...) {
      // Without memory for the texts the HRESULT alone tells the failure.
    }
    created->Release();
    return hr;
  }
  // A call that succeeds leaves no error object of an earlier failure behind.
  static void Succeeded() { SetErrorInfo(0, nullptr); }

  // The object's interfaces other than IUnknown; a class with more extends it.
  virtual void* FindInterface(REFIID iid) {
    if (iid == __uuidof(Interface) || iid == IID_IDispatch) return static_cast<Interface*>(this);
    if (iid == IID_ISupportErrorInfo) return static_cast<ISupportErrorInfo*>(this);
    return nullptr;
  }

 private:
  // The object's own IUnknown, which owns its lifetime; when the object is
  // aggregated only the outer object holds it.
  class Inner : public IUnknown {
   public:
    explicit Inner(CLCDispatchObject* owner) : m_pOwner(owner) {}
    virtual ~Inner() = default;
    STDMETHODIMP QueryInterface(REFIID iid, void** object) override {
      if (object == nullptr) return E_POINTER;
      *object = iid == IID_IUnknown ? static_cast<IUnknown*>(this) : m_pOwner->FindInterface(iid);
      if (*object == nullptr) return E_NOINTERFACE;
      static_cast<IUnknown*>(*object)->AddRef();
      return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++m_ulRefs; }
    STDMETHODIMP_(ULONG) Release() override {
      const ULONG refs = --m_ulRefs;
      if (refs == 0) delete m_pOwner;
      return refs;
    }

   private:
    CLCDispatchObject* m_pOwner;
    ULONG m_ulRefs = 0;
  };

  HRESULT LoadTypeInfo() {
    if (m_pTypeInfo != nullptr) return S_OK;
    return CQuorvexModule::GetTypeInfo(__uuidof(Interface), &m_pTypeInfo);
  }

  Inner m_inner;
  IUnknown* m_pControl;
  ITypeInfo* m_pTypeInfo = nullptr;
};

#include "CLCClassFactory.h"

#include "CLCComCall.h"
#include "CQuorvexModule.h"
#include "diagnostics/CLCDebugDump.h"

STDMETHODIMP CLCClassFactory::QueryInterface(REFIID iid, void** object) {
  if (object == nullptr) return E_POINTER;
  if (iid == IID_IUnknown || iid == IID_IClassFactory) {
    *object = static_cast<IClassFactory*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

// A reference to a class object keeps the library loaded like a server lock.
STDMETHODIMP_(ULONG) CLCClassFactory::AddRef() {
  CQuorvexModule::Lock();
  return 2;
}

STDMETHODIMP_(ULONG) CLCClassFactory::Release() {
  CQuorvexModule::Unlock();
  return 1;
}

STDMETHODIMP CLCClassFactory::CreateInstance(IUnknown* outer, REFIID iid, void** object) {
  // The debug-log switch is read here, outside the loader lock, before any
  // object can write a record.
  return CLCComCall([&]() {
    quorvex::internal::CLCDebugDump::InitDebugDump();
    return m_pCreator(outer, iid, object);
  });
}

STDMETHODIMP CLCClassFactory::LockServer(BOOL lock) {
  if (lock) {
    CQuorvexModule::Lock();
  } else {
    CQuorvexModule::Unlock();
  }
  return S_OK;
}

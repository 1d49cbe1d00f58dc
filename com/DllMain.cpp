// Entry points of the in-process server.
#include "CLCClassFactory.h"
#include "CLCComRegistrar.h"
#include "CLCCsvConvDataCRSObject.h"
#include "CLCCsvConvResultCRSObject.h"
#include "CLCWindowsNative.h"
#include "CQuorvexModule.h"
#include "Quorvex.h"

using namespace quorvex::internal;

namespace {

CLCClassFactory g_dataFactory(&CLCCsvConvDataCRSObject::Create);
CLCClassFactory g_resultFactory(&CLCCsvConvResultCRSObject::Create);

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  // Under the loader lock only the module handle is stored: anything more
  // (the environment, files, the clock, a lock) could deadlock the process.
  // The debug log is set up when an object is created (CLCClassFactory).
  if (reason == DLL_PROCESS_ATTACH) {
    DisableThreadLibraryCalls(instance);
    CQuorvexModule::SetModule(instance);
    CLCWindowsNative::setResourceModule(instance);
  }
  return TRUE;
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, LPVOID* object) {
  if (object == nullptr) return E_POINTER;
  *object = nullptr;
  if (clsid == CLSID_CLCCsvConvDataCRS) return g_dataFactory.QueryInterface(iid, object);
  if (clsid == CLSID_CLCCsvConvResultCRS) return g_resultFactory.QueryInterface(iid, object);
  return CLASS_E_CLASSNOTAVAILABLE;
}

STDAPI DllCanUnloadNow() {
  if (!CQuorvexModule::CanUnload()) return S_FALSE;
  // Live objects hold their own references to the type information.
  CQuorvexModule::ReleaseTypeLibrary();
  return S_OK;
}

STDAPI DllRegisterServer() { return CLCComRegistrar::Register(); }

STDAPI DllUnregisterServer() { return CLCComRegistrar::Unregister(); }

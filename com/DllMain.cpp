// Entry points of the in-process server.
#include "CLCClassFactory.h"
#include "CLCComRegistrar.h"
#include "CLCCsvConvDataCRSObject.h"
#include "CLCCsvConvResultCRSObject.h"
#include "CLCDebugDump.h"
#include "CLCWindowsNative.h"
#include "CQuorvexModule.h"
#include "Quorvex.h"

namespace {

CLCClassFactory g_dataFactory(&CLCCsvConvDataCRSObject::Create);
CLCClassFactory g_resultFactory(&CLCCsvConvResultCRSObject::Create);

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD, LPVOID) {
  // Every notification refreshes the module handle that resources are looked
  // up in and re-reads the debug-log switch.
  CQuorvexModule::SetModule(instance);
  CLCWindowsNative::setResourceModule(instance);
  CLCDebugDump::InitDebugDump();
  return TRUE;
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, LPVOID* object) {
  if (object == nullptr) return E_POINTER;
  *object = nullptr;
  if (clsid == CLSID_CLCCsvConvDataCRS) return g_dataFactory.QueryInterface(iid, object);
  if (clsid == CLSID_CLCCsvConvResultCRS) return g_resultFactory.QueryInterface(iid, object);
  return CLASS_E_CLASSNOTAVAILABLE;
}

STDAPI DllCanUnloadNow() { return CQuorvexModule::CanUnload() ? S_OK : S_FALSE; }

STDAPI DllRegisterServer() { return CLCComRegistrar::Register(); }

STDAPI DllUnregisterServer() { return CLCComRegistrar::Unregister(); }

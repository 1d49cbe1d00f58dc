// Entry points of the in-process server.
#include "CLCClassFactory.h"
#include "CLCComRegistrar.h"
#include "CLCCsvConvDataCRSObject.h"
#include "CLCCsvConvResultCRSObject.h"
#include "diagnostics/CLCDebugDump.h"
#include "CLCWindowsNative.h"
#include "CQuorvexModule.h"
#include "Quorvex.h"

using namespace quorvex::internal;

namespace {

CLCClassFactory g_dataFactory(&CLCCsvConvDataCRSObject::Create);
CLCClassFactory g_resultFactory(&CLCCsvConvResultCRSObject::Create);

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  // Every notification refreshes the module handle that resources are looked
  // up in and re-reads the debug-log switch; not the last one, when the
  // process may be ending with other threads stopped while holding the log's lock.
  CQuorvexModule::SetModule(instance);
  CLCWindowsNative::setResourceModule(instance);
  if (reason != DLL_PROCESS_DETACH) CLCDebugDump::InitDebugDump();
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

#pragma once
#include <windows.h>
#include <oaidl.h>

#include <string>

// Process-wide state of the COM server: the module handle the entry point
// stores, the count of live objects and server locks that DllCanUnloadNow
// answers from, and the module's own type library.
class CQuorvexModule {
 public:
  static void SetModule(HMODULE module);
  static HMODULE Module();
  // Full path of this library, as registration writes it; empty on failure.
  static std::wstring ModulePath();

  static void Lock();
  static void Unlock();
  static bool CanUnload();

  // Type information of one interface, taken from the type library embedded in
  // this module (not from the registry), so dispatch works even before
  // registration. The library is loaded once and kept until the module may
  // unload. The caller releases the type information.
  static HRESULT GetTypeInfo(REFIID iid, ITypeInfo** info);
  // Lets go of the loaded type library; the next GetTypeInfo loads it again.
  static void ReleaseTypeLibrary();
};

#pragma once
#include <windows.h>

// Writes and removes the server's registry entries and its type-library
// registration, machine-wide under HKEY_CLASSES_ROOT.
class CLCComRegistrar {
 public:
  static HRESULT Register();
  // Removes both classes and the type library; the AppID entries stay.
  static HRESULT Unregister();
};

#include "CLCComRegistrar.h"

#include "CQuorvexModule.h"
#include "Quorvex.h"

#include <oleauto.h>

#include <string>

namespace {

constexpr const wchar_t* kAppName = L"Quorvex";
constexpr const wchar_t* kAppId = L"{4CB59165-7AFF-41FB-A8AC-750FA1026133}";
constexpr WORD kLibraryMajor = 1;
constexpr WORD kLibraryMinor = 0;
constexpr LCID kLibraryLocale = 0x0409;

struct ComClass {
  const CLSID* clsid;
  const wchar_t* name;  // coclass name; ProgIDs are kvr.<name>[.1]
};

constexpr ComClass kClasses[] = {
    {&CLSID_CLCCsvConvDataCRS, L"CLCCsvConvDataCRS"},
    {&CLSID_CLCCsvConvResultCRS, L"CLCCsvConvResultCRS"},
};

std::wstring GuidText(REFGUID guid) {
  wchar_t text[40];
  StringFromGUID2(guid, text, 40);
  return text;
}

// Sets a string value (the default value when name is null) on HKCR\key,
// creating the key.
HRESULT SetValue(const std::wstring& key, const wchar_t* name, const std::wstring& value) {
  HKEY handle = nullptr;
  LONG status = RegCreateKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE,
                                nullptr, &handle, nullptr);
  if (status == ERROR_SUCCESS) {
    status = RegSetValueExW(handle, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                            static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(handle);
  }
  return HRESULT_FROM_WIN32(status);
}

HRESULT CreateKey(const std::wstring& key) {
  HKEY handle = nullptr;
  const LONG status = RegCreateKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                      KEY_SET_VALUE, nullptr, &handle, nullptr);
  if (status == ERROR_SUCCESS) RegCloseKey(handle);
  return HRESULT_FROM_WIN32(status);
}

// Removes HKCR\key with everything below it; a missing key is no error.
HRESULT DeleteTree(const std::wstring& key) {
  const LONG status = RegDeleteTreeW(HKEY_CLASSES_ROOT, key.c_str());
  return status == ERROR_FILE_NOT_FOUND ? S_OK : HRESULT_FROM_WIN32(status);
}

HRESULT RegisterClass(const ComClass& entry, const std::wstring& modulePath, const std::wstring& libraryId) {
  const std::wstring clsid = GuidText(*entry.clsid);
  const std::wstring progId = std::wstring(L"kvr.") + entry.name;
  const std::wstring versionedProgId = progId + L".1";
  const std::wstring description = std::wstring(entry.name) + L" Class";
  const std::wstring classKey = L"CLSID\\" + clsid;

  HRESULT hr = SetValue(versionedProgId, nullptr, description);
  if (SUCCEEDED(hr)) hr = SetValue(versionedProgId + L"\\CLSID", nullptr, clsid);
  if (SUCCEEDED(hr)) hr = SetValue(progId, nullptr, description);
  if (SUCCEEDED(hr)) hr = SetValue(progId + L"\\CLSID", nullptr, clsid);
  if (SUCCEEDED(hr)) hr = SetValue(progId + L"\\CurVer", nullptr, versionedProgId);
  // The class key is rewritten whole, so nothing of an older registration lingers.
  if (SUCCEEDED(hr)) hr = DeleteTree(classKey);
  if (SUCCEEDED(hr)) hr = SetValue(classKey, nullptr, description);
  if (SUCCEEDED(hr)) hr = SetValue(classKey, L"AppID", kAppId);
  if (SUCCEEDED(hr)) hr = SetValue(classKey + L"\\ProgID", nullptr, versionedProgId);
  if (SUCCEEDED(hr)) hr = SetValue(classKey + L"\\VersionIndependentProgID", nullptr, progId);
  if (SUCCEEDED(hr)) hr = CreateKey(classKey + L"\\Programmable");
  if (SUCCEEDED(hr)) hr = SetValue(classKey + L"\\InprocServer32", nullptr, modulePath);
  if (SUCCEEDED(hr)) hr = SetValue(classKey + L"\\InprocServer32", L"ThreadingModel", L"Apartment");
  if (SUCCEEDED(hr)) hr = SetValue(classKey + L"\\TypeLib", nullptr, libraryId);
  return hr;
}

HRESULT UnregisterClass(const ComClass& entry) {
  const std::wstring progId = std::wstring(L"kvr.") + entry.name;
  HRESULT hr = DeleteTree(progId + L".1");
  if (SUCCEEDED(hr)) hr = DeleteTree(progId);
  if (SUCCEEDED(hr)) hr = DeleteTree(L"CLSID\\" + GuidText(*entry.clsid));
  return hr;
}

// Registration runs in the system's default locale whatever the caller's
// thread uses, and puts the caller's back on every way out.
class SystemThreadLocale {
 public:
  SystemThreadLocale() : m_saved(GetThreadLocale()) { SetThreadLocale(LOCALE_SYSTEM_DEFAULT); }
  ~SystemThreadLocale() { SetThreadLocale(m_saved); }
  SystemThreadLocale(const SystemThreadLocale&) = delete;
  SystemThreadLocale& operator=(const SystemThreadLocale&) = delete;

 private:
  LCID m_saved;
};

}  // namespace

HRESULT CLCComRegistrar::Register() {
  SystemThreadLocale locale;
  const std::wstring modulePath = CQuorvexModule::ModulePath();
  if (modulePath.empty()) return E_UNEXPECTED;

  HRESULT hr = SetValue(std::wstring(L"AppID\\") + kAppId, nullptr, kAppName);
  if (SUCCEEDED(hr)) hr = SetValue(L"AppID\\Quorvex.DLL", L"AppID", kAppId);
  const std::wstring libraryId = GuidText(LIBID_QuorvexLib);
  for (const ComClass& entry : kClasses) {
    if (SUCCEEDED(hr)) hr = RegisterClass(entry, modulePath, libraryId);
  }
  if (FAILED(hr)) return hr;

  ITypeLib* library = nullptr;
  hr = LoadTypeLibEx(modulePath.c_str(), REGKIND_NONE, &library);
  if (FAILED(hr)) return hr;
  std::wstring path = modulePath;
  hr = RegisterTypeLib(library, path.data(), nullptr);
  library->Release();
  return hr;
}

HRESULT CLCComRegistrar::Unregister() {
  SystemThreadLocale locale;
  HRESULT hr = S_OK;
  for (const ComClass& entry : kClasses) {
    if (SUCCEEDED(hr)) hr = UnregisterClass(entry);
  }
  if (FAILED(hr)) return hr;
#ifdef _WIN64
  constexpr SYSKIND kKind = SYS_WIN64;
#else
  constexpr SYSKIND kKind = SYS_WIN32;
#endif
  hr = UnRegisterTypeLib(LIBID_QuorvexLib, kLibraryMajor, kLibraryMinor, kLibraryLocale, kKind);
  // Unregistering twice is no error.
  if (hr == TYPE_E_REGISTRYACCESS || hr == TYPE_E_CANTLOADLIBRARY) hr = S_OK;
  return hr;
}

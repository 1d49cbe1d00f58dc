#include "CQuorvexModule.h"

#include <oleauto.h>

#include <mutex>

namespace {

HMODULE g_module = nullptr;
LONG g_lockCount = 0;
// Objects may be created in several apartments at once.
std::mutex g_typeLibraryMutex;
ITypeLib* g_typeLibrary = nullptr;

}  // namespace

void CQuorvexModule::SetModule(HMODULE module) { g_module = module; }

HMODULE CQuorvexModule::Module() { return g_module; }

std::wstring CQuorvexModule::ModulePath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(g_module, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    // A full buffer means the path was cut: grow and ask again.
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    if (path.size() >= 32768) return {};
    path.resize(path.size() * 2);
  }
}

void CQuorvexModule::Lock() { InterlockedIncrement(&g_lockCount); }

void CQuorvexModule::Unlock() { InterlockedDecrement(&g_lockCount); }

bool CQuorvexModule::CanUnload() { return InterlockedCompareExchange(&g_lockCount, 0, 0) == 0; }

HRESULT CQuorvexModule::GetTypeInfo(REFIID iid, ITypeInfo** info) {
  if (info == nullptr) return E_POINTER;
  *info = nullptr;
  std::lock_guard<std::mutex> lock(g_typeLibraryMutex);
  if (g_typeLibrary == nullptr) {
    const std::wstring path = ModulePath();
    if (path.empty()) return E_UNEXPECTED;
    const HRESULT hr = LoadTypeLibEx(path.c_str(), REGKIND_NONE, &g_typeLibrary);
    if (FAILED(hr)) {
      g_typeLibrary = nullptr;
      return hr;
    }
  }
  return g_typeLibrary->GetTypeInfoOfGuid(iid, info);
}

void CQuorvexModule::ReleaseTypeLibrary() {
  ITypeLib* library = nullptr;
  {
    std::lock_guard<std::mutex> lock(g_typeLibraryMutex);
    library = g_typeLibrary;
    g_typeLibrary = nullptr;
  }
  if (library != nullptr) library->Release();
}

#include "CQuorvexModule.h"

#include <oleauto.h>

namespace {

HMODULE g_module = nullptr;
LONG g_lockCount = 0;

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
  const std::wstring path = ModulePath();
  if (path.empty()) return E_UNEXPECTED;
  ITypeLib* library = nullptr;
  HRESULT hr = LoadTypeLibEx(path.c_str(), REGKIND_NONE, &library);
  if (FAILED(hr)) return hr;
  hr = library->GetTypeInfoOfGuid(iid, info);
  library->Release();
  return hr;
}

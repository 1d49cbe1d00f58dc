// A C++ host of the server: everything a script host cannot see (vtable calls,
// null out pointers, aggregation, unloading, resources, the registry).
// Arguments: the server's path, the samples folder. Prints "N passed, M failed".
#include "Quorvex.h"

#include <windows.h>
#include <objsafe.h>
#include <sddl.h>
#include <ole2.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

int g_passed = 0;
int g_failed = 0;

void Check(bool condition, const char* what) {
  if (condition) {
    ++g_passed;
  } else {
    ++g_failed;
    std::printf("FAIL: %s\n", what);
  }
}

// Releases a COM pointer on scope exit.
template <class T>
class Ptr {
 public:
  Ptr() = default;
  ~Ptr() { reset(); }
  Ptr(const Ptr&) = delete;
  Ptr& operator=(const Ptr&) = delete;
  T** out() { reset(); return &m_p; }
  void** outVoid() { return reinterpret_cast<void**>(out()); }
  T* operator->() const { return m_p; }
  T* get() const { return m_p; }
  void reset() {
    if (m_p != nullptr) m_p->Release();
    m_p = nullptr;
  }

 private:
  T* m_p = nullptr;
};

class Bstr {
 public:
  explicit Bstr(const wchar_t* text) : m_b(SysAllocString(text)) {}
  Bstr() = default;
  ~Bstr() { SysFreeString(m_b); }
  Bstr(const Bstr&) = delete;
  Bstr& operator=(const Bstr&) = delete;
  BSTR* out() { SysFreeString(m_b); m_b = nullptr; return &m_b; }
  operator BSTR() const { return m_b; }
  bool is(const wchar_t* text) const { return std::wcscmp(m_b != nullptr ? m_b : L"", text) == 0; }

 private:
  BSTR m_b = nullptr;
};

std::string ReadWhole(const std::wstring& path) {
  std::string bytes;
  if (std::FILE* file = _wfopen(path.c_str(), L"rb")) {
    char chunk[4096];
    for (std::size_t n; (n = std::fread(chunk, 1, sizeof chunk, file)) > 0;) bytes.append(chunk, n);
    std::fclose(file);
  }
  return bytes;
}

// An outer object that aggregates the server's object and forwards nothing.
class Outer : public IUnknown {
 public:
  STDMETHODIMP QueryInterface(REFIID iid, void** object) override {
    *object = iid == IID_IUnknown ? this : nullptr;
    if (*object == nullptr) return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return ++m_refs; }
  STDMETHODIMP_(ULONG) Release() override { return --m_refs; }

 private:
  ULONG m_refs = 1;
};

// The thread's error object after a call: its description, or "(none)".
std::wstring ErrorDescription() {
  IErrorInfo* info = nullptr;
  if (GetErrorInfo(0, &info) != S_OK || info == nullptr) return L"(none)";
  Bstr description;
  info->GetDescription(description.out());
  info->Release();
  return description != nullptr ? std::wstring(description) : std::wstring();
}

void CheckDispatchIds(IDispatch* dispatch) {
  const wchar_t* names[] = {L"CRSCsvCheck", L"CsvConvCRSData", L"ReadXMLFile", L"CRSCsvCheck2", L"CsvConvCRSData2"};
  for (DISPID expected = 1; expected <= 5; ++expected) {
    LPOLESTR name = const_cast<LPOLESTR>(names[expected - 1]);
    DISPID id = 0;
    Check(SUCCEEDED(dispatch->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id)) && id == expected,
          "operations have dispatch ids 1 to 5 by name");
  }
}

void CheckInterfaces(CLICsvConvDataCRS* data, CLICsvConvResultCRS* result) {
  Ptr<IObjectSafety> safety;
  DWORD supported = 0;
  DWORD enabled = 0;
  Check(SUCCEEDED(data->QueryInterface(IID_IObjectSafety, safety.outVoid())) &&
            SUCCEEDED(safety->GetInterfaceSafetyOptions(IID_IDispatch, &supported, &enabled)) && supported == 3,
        "operations object is safe for scripting with options 3");
  Ptr<IObjectSafety> none;
  Check(result->QueryInterface(IID_IObjectSafety, none.outVoid()) == E_NOINTERFACE,
        "result object does not claim scripting safety");

  Ptr<ISupportErrorInfo> errorInfo;
  Check(SUCCEEDED(data->QueryInterface(IID_ISupportErrorInfo, errorInfo.outVoid())) &&
            errorInfo->InterfaceSupportsErrorInfo(IID_CLICsvConvDataCRS) == S_OK &&
            errorInfo->InterfaceSupportsErrorInfo(IID_IDispatch) == S_FALSE,
        "ISupportErrorInfo names the dual interface only");
}

void CheckAggregation() {
  Outer outer;
  Ptr<IUnknown> inner;
  Check(CoCreateInstance(CLSID_CLCCsvConvDataCRS, &outer, CLSCTX_INPROC_SERVER, IID_IUnknown, inner.outVoid()) ==
            S_OK,
        "operations object can be aggregated");
  if (inner.get() == nullptr) return;
  Ptr<CLICsvConvDataCRS> data;
  Ptr<IUnknown> identity;
  Check(SUCCEEDED(inner->QueryInterface(IID_CLICsvConvDataCRS, data.outVoid())) &&
            SUCCEEDED(data->QueryInterface(IID_IUnknown, identity.outVoid())) && identity.get() == &outer,
        "an aggregated object answers IUnknown with the outer object");
  Ptr<IUnknown> refused;
  Check(CoCreateInstance(CLSID_CLCCsvConvResultCRS, &outer, CLSCTX_INPROC_SERVER, IID_IDispatch,
                         refused.outVoid()) == CLASS_E_NOAGGREGATION,
        "an aggregate may only ask for IUnknown");
}

// The same result object comes back from every call, holding the latest values.
void CheckResultReuse(CLICsvConvDataCRS* data, const std::wstring& samples) {
  Bstr good((samples + L"\\crs-sample-2.0.csv").c_str());
  Bstr bad((samples + L"\\crs-mistakes-2.0.csv").c_str());
  Bstr year(L"2023");
  Ptr<IDispatch> first;
  Ptr<IDispatch> second;
  Check(data->CRSCsvCheck2(good, year, first.out()) == S_OK, "check of the sample runs");
  Check(data->CRSCsvCheck2(bad, year, second.out()) == S_OK, "check of a bad file runs (S_OK)");
  Check(first.get() != nullptr && first.get() == second.get(), "both calls hand out the same result object");
  Ptr<CLICsvConvResultCRS> result;
  Bstr value;
  long count = -1;
  Check(second.get() != nullptr && SUCCEEDED(second->QueryInterface(IID_CLICsvConvResultCRS, result.outVoid())) &&
            SUCCEEDED(result->get_Result(value.out())) && value.is(L"E_FAIL") &&
            SUCCEEDED(result->get_AccountReportCount(&count)) && count == 0,
        "the result object holds the second call's values");
  // A failing HRESULT comes with an error object that says why; a call that
  // succeeds after a failure leaves none behind (the rows run in order).
  const struct {
    const char* what;
    HRESULT (*call)(CLICsvConvDataCRS*, CLICsvConvResultCRS*, BSTR);
    HRESULT hr;
    const wchar_t* description;
  } errorObjects[] = {
      {"get with a null pointer", [](CLICsvConvDataCRS*, CLICsvConvResultCRS* r, BSTR) { return r->get_Result(nullptr); },
       E_POINTER, L"無効なポインタが渡されました。"},
      {"method with a null result pointer",
       [](CLICsvConvDataCRS* d, CLICsvConvResultCRS*, BSTR csv) { return d->CRSCsvCheck(csv, nullptr); }, E_POINTER,
       L"無効なポインタが渡されました。"},
      {"method that runs", [](CLICsvConvDataCRS* d, CLICsvConvResultCRS*, BSTR csv) {
         Ptr<IDispatch> handed;
         return d->CRSCsvCheck(csv, handed.out());
       }, S_OK, L"(none)"},
  };
  for (const auto& row : errorObjects) {
    if (result.get() == nullptr) break;
    const HRESULT hr = row.call(data, result.get(), good);
    Check(hr == row.hr && ErrorDescription() == row.description, row.what);
  }
}

// The DACL of a file in SDDL form, or empty.
std::wstring DaclOf(const std::wstring& path) {
  DWORD size = 0;
  GetFileSecurityW(path.c_str(), DACL_SECURITY_INFORMATION, nullptr, 0, &size);
  std::string buffer(size, '\0');
  wchar_t* text = nullptr;
  if (size == 0 || !GetFileSecurityW(path.c_str(), DACL_SECURITY_INFORMATION, buffer.data(), size, &size) ||
      !ConvertSecurityDescriptorToStringSecurityDescriptorW(buffer.data(), SDDL_REVISION_1, DACL_SECURITY_INFORMATION,
                                                            &text, nullptr)) {
    return {};
  }
  std::wstring dacl = text;
  LocalFree(text);
  return dacl;
}

// A replaced output keeps what the user set on the old file: its attributes and
// its security descriptor.
void CheckReplacedOutputKeepsItsSettings(CLICsvConvDataCRS* data, const std::wstring& samples) {
  wchar_t folder[MAX_PATH + 1];
  GetTempPathW(MAX_PATH + 1, folder);
  const std::wstring out = std::wstring(folder) + L"quorvex-replaced.xml";
  SetFileAttributesW(out.c_str(), FILE_ATTRIBUTE_NORMAL);
  DeleteFileW(out.c_str());
  if (std::FILE* file = _wfopen(out.c_str(), L"wb")) {
    std::fputs("old", file);
    std::fclose(file);
  }
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  Check(ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:P(A;;FA;;;WD)(A;;FR;;;BU)", SDDL_REVISION_1,
                                                             &descriptor, nullptr) &&
            SetFileSecurityW(out.c_str(), DACL_SECURITY_INFORMATION, descriptor),
        "a DACL is set on the old output");
  LocalFree(descriptor);
  Check(SetFileAttributesW(out.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE), "the old output is hidden");
  const std::wstring dacl = DaclOf(out);

  Bstr csv((samples + L"\\crs-sample-2.0.csv").c_str());
  Bstr target(out.c_str());
  Ptr<IDispatch> handed;
  Ptr<CLICsvConvResultCRS> result;
  Bstr value;
  Check(data->CsvConvCRSData2(csv, target, handed.out()) == S_OK && handed.get() != nullptr &&
            SUCCEEDED(handed->QueryInterface(IID_CLICsvConvResultCRS, result.outVoid())) &&
            SUCCEEDED(result->get_Result(value.out())) && value.is(L"S_OK"),
        "conversion over an existing output runs");
  Check(ReadWhole(out).rfind("<crs:CRS_OECD", 0) == 0, "the output was replaced");
  WIN32_FIND_DATAW found;
  const HANDLE leftover = FindFirstFileW((std::wstring(folder) + L".quorvex-*").c_str(), &found);
  Check(leftover == INVALID_HANDLE_VALUE, "no temporary file left beside the output");
  if (leftover != INVALID_HANDLE_VALUE) FindClose(leftover);
  // Wine's ReplaceFileW moves the new file in without the old one's attributes
  // and security descriptor; Windows keeps them.
  if (GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr) {
    std::printf("attributes and DACL of a replaced output not checked: Wine does not keep them\n");
  } else {
    const DWORD attributes = GetFileAttributesW(out.c_str());
    Check(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_HIDDEN) != 0,
          "the replaced output is still hidden");
    Check(!dacl.empty() && DaclOf(out) == dacl, "the replaced output keeps its DACL");
  }
  SetFileAttributesW(out.c_str(), FILE_ATTRIBUTE_NORMAL);
  DeleteFileW(out.c_str());
}

// Without a registered result class every method fails with E_FAIL and hands out nothing.
void CheckMissingResultClass(const std::wstring& server, const std::wstring& samples) {
  wchar_t key[64] = L"CLSID\\";
  StringFromGUID2(CLSID_CLCCsvConvResultCRS, key + 6, 40);
  Check(RegDeleteTreeW(HKEY_CLASSES_ROOT, key) == ERROR_SUCCESS, "result class key removed");
  Ptr<CLICsvConvDataCRS> data;
  if (SUCCEEDED(CoCreateInstance(CLSID_CLCCsvConvDataCRS, nullptr, CLSCTX_INPROC_SERVER, IID_CLICsvConvDataCRS,
                                 data.outVoid()))) {
    Bstr csv((samples + L"\\crs-sample-2.0.csv").c_str());
    IDispatch* handed = reinterpret_cast<IDispatch*>(1);
    Check(data->CRSCsvCheck(csv, &handed) == E_FAIL && handed == nullptr &&
              ErrorDescription() == L"CLCCsvConvResultCRS の作成に失敗しました。",
          "unregistered result class: E_FAIL, no result, an error object that says why");
  }
  HMODULE module = LoadLibraryW(server.c_str());
  auto registerServer = reinterpret_cast<HRESULT(STDAPICALLTYPE*)()>(
      reinterpret_cast<void*>(GetProcAddress(module, "DllRegisterServer")));
  Check(registerServer != nullptr && registerServer() == S_OK, "registration restores the class");
  FreeLibrary(module);
}

// Definition documents 205 to 208 are byte-for-byte copies tagged Japanese; 209 does not exist.
void CheckResources(const std::wstring& server, const std::wstring& definitions) {
  HMODULE module = LoadLibraryExW(server.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  const struct { WORD id; const wchar_t* file; } documents[] = {
      {205, L"CRSValidateDefine.xml"}, {206, L"CRSDataConvDefine.xml"},
      {207, L"CRSValidateDefine_2.0.xml"}, {208, L"CRSDataConvDefine_2.0.xml"}};
  for (const auto& document : documents) {
    HRSRC found = FindResourceExW(module, L"DEFINITION", MAKEINTRESOURCEW(document.id),
                                  MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT));
    const std::string expected = ReadWhole(definitions + L"\\" + document.file);
    const char* bytes = found != nullptr ? static_cast<const char*>(LockResource(LoadResource(module, found))) : nullptr;
    Check(bytes != nullptr && !expected.empty() &&
              std::string(bytes, SizeofResource(module, found)) == expected,
          "definition resource holds its document's bytes, language 1041");
  }
  Check(FindResourceW(module, MAKEINTRESOURCEW(209), L"DEFINITION") == nullptr, "no definition resource 209");
  FreeLibrary(module);
}

// Help strings come back readable where the ANSI code page is 932.
void CheckHelpStrings(IDispatch* dispatch) {
  if (GetACP() != 932) {
    std::printf("help strings not checked: ANSI code page is %u\n", GetACP());
    return;
  }
  Ptr<ITypeInfo> info;
  Bstr interfaceHelp;
  Bstr methodHelp;
  Check(SUCCEEDED(dispatch->GetTypeInfo(0, LOCALE_USER_DEFAULT, info.out())) &&
            SUCCEEDED(info->GetDocumentation(MEMBERID_NIL, nullptr, interfaceHelp.out(), nullptr, nullptr)) &&
            SUCCEEDED(info->GetDocumentation(1, nullptr, methodHelp.out(), nullptr, nullptr)) &&
            interfaceHelp.is(L"CLICsvConvDataCRS インターフェイス") && methodHelp.is(L"メソッド CRSCsvCheck"),
        "help strings read back in code page 932");
}

// With QUORVEX_OUTPUT set, a null result pointer leaves a record in code page 932 in the temporary folder.
void CheckDebugLog() {
  if (GetEnvironmentVariableW(L"QUORVEX_OUTPUT", nullptr, 0) == 0) return;
  wchar_t folder[MAX_PATH + 1];
  GetTempPathW(MAX_PATH + 1, folder);
  SYSTEMTIME now;
  GetLocalTime(&now);
  wchar_t name[64];
  std::swprintf(name, 64, L"_KVR_QUORVEX_%04u%02u%02u.log", now.wYear, now.wMonth, now.wDay);
  const std::string log = ReadWhole(std::wstring(folder) + name);
  char expected[128] = {};
  WideCharToMultiByte(932, 0, L" CLCCsvConvDataCRS::CRSCsvCheck--\n無効なポインタが渡されました。\n", -1, expected,
                      sizeof expected, nullptr, nullptr);
  Check(log.find(expected) != std::string::npos, "log record of a null result pointer, in code page 932");
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 4) {
    std::printf("usage: ComClientTest SERVER.dll SAMPLES DEFINITIONS\n");
    return 2;
  }
  const std::wstring server = argv[1];
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  HMODULE module = LoadLibraryW(server.c_str());
  auto canUnloadNow =
      reinterpret_cast<HRESULT(STDAPICALLTYPE*)()>(reinterpret_cast<void*>(GetProcAddress(module, "DllCanUnloadNow")));
  {
    Ptr<CLICsvConvDataCRS> data;
    Ptr<CLICsvConvResultCRS> result;
    Check(SUCCEEDED(CoCreateInstance(CLSID_CLCCsvConvDataCRS, nullptr, CLSCTX_INPROC_SERVER, IID_CLICsvConvDataCRS,
                                     data.outVoid())) &&
              SUCCEEDED(CoCreateInstance(CLSID_CLCCsvConvResultCRS, nullptr, CLSCTX_INPROC_SERVER,
                                         IID_CLICsvConvResultCRS, result.outVoid())),
          "both classes are created by CLSID");
    if (data.get() != nullptr && result.get() != nullptr) {
      Check(canUnloadNow != nullptr && canUnloadNow() == S_FALSE, "DllCanUnloadNow: S_FALSE while objects live");
      CheckDispatchIds(data.get());
      CheckInterfaces(data.get(), result.get());
      CheckAggregation();
      CheckResultReuse(data.get(), argv[2]);
      CheckReplacedOutputKeepsItsSettings(data.get(), argv[2]);
      CheckHelpStrings(data.get());
      CheckDebugLog();
    }
  }
  Check(canUnloadNow != nullptr && canUnloadNow() == S_OK, "DllCanUnloadNow: S_OK once all are released");
  FreeLibrary(module);
  CheckResources(server, argv[3]);
  CheckMissingResultClass(server, argv[2]);
  CoUninitialize();
  std::printf("%d passed, %d failed\n", g_passed, g_failed);
  return g_failed == 0 ? 0 : 1;
}

#pragma once
#include <windows.h>
#include <unknwn.h>

// Class object of one creatable class. The factories are static objects that
// live as long as the library; server locks keep the library loaded.
class CLCClassFactory : public IClassFactory {
 public:
  using Creator = HRESULT (*)(IUnknown* outer, REFIID iid, void** object);

  explicit constexpr CLCClassFactory(Creator creator) : m_pCreator(creator) {}
  virtual ~CLCClassFactory() = default;

  STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;
  STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** object) override;
  STDMETHODIMP LockServer(BOOL lock) override;

 private:
  Creator m_pCreator;
};

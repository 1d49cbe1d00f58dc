#pragma once
#include <windows.h>

#include <new>

// Runs a COM entry's work and turns any exception into the HRESULT a host
// expects, so that none crosses the COM boundary.
template <class Work>
HRESULT CLCComCall(Work&& work) noexcept {
  try {
    return work();
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  } catch (...) {
    return E_UNEXPECTED;
  }
}

// COM initialisation for the scope of one call or of the program's main
// thread. Works whether or not the thread already belongs to an apartment:
// it undoes only what it did itself.
#pragma once

#include "platform/win32/windows_win32.h"

#include <objbase.h>

namespace veltrane {

class ComApartment {
 public:
  explicit ComApartment(DWORD model = COINIT_APARTMENTTHREADED)
      : result_(CoInitializeEx(nullptr, model | COINIT_DISABLE_OLE1DDE)) {}
  ~ComApartment() {
    if (SUCCEEDED(result_)) CoUninitialize();
  }
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;

  // COM can be used on this thread: initialised here, before (S_FALSE), or
  // before in the other threading model.
  bool IsUsable() const { return SUCCEEDED(result_) || result_ == RPC_E_CHANGED_MODE; }

 private:
  HRESULT result_;
};

}  // namespace veltrane

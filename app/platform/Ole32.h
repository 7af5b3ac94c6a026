// The ole32 functions the project calls, as a seam.
#pragma once

#include "core/Unique.h"
#include "platform/WinTypes.h"

class IOle32 {
 public:
  virtual ~IOle32() = default;
  /// Makes the thread a single-threaded apartment; S_OK, S_FALSE when already one, or a failure code.
  virtual HRESULT CoInitialize(LPVOID pvReserved) = 0;
  /// Undoes one successful or repeated initialisation.
  virtual void CoUninitialize() = 0;
  /// Creates an object of a class and asks it for an interface.
  virtual HRESULT CoCreateInstance(REFCLSID rclsid, LPUNKNOWN pUnkOuter, DWORD dwClsContext, REFIID riid,
                                   LPVOID* ppv) = 0;
};

/// Undoes a successful CoInitialize: the releaser of TComApartment.
struct TComUninitialize {
  void operator()(IOle32* Ole32) const { Ole32->CoUninitialize(); }
};
/// The thread's COM apartment, from a CoInitialize that succeeded (S_FALSE
/// included) to its one CoUninitialize; empty when the initialisation failed,
/// which must not be undone.
using TComApartment = TUnique<IOle32*, TComUninitialize>;

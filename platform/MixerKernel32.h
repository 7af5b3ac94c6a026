// The one kernel32 function the mixer library calls, as a seam: the
// comparison of list-item names.
#pragma once

#include "platform/WinTypes.h"

class IMixerKernel32 {
 public:
  virtual ~IMixerKernel32() = default;
  /// Compares two strings in a locale: CSTR_LESS_THAN, CSTR_EQUAL, CSTR_GREATER_THAN, or 0 on failure.
  virtual int CompareStringW(LCID Locale, DWORD dwCmpFlags, LPCWSTR lpString1, int cchCount1, LPCWSTR lpString2,
                             int cchCount2) = 0;
};

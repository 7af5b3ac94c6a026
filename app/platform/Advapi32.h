// The advapi32 functions the project calls, as a seam.
#pragma once

#include "platform/WinTypes.h"

class IAdvapi32 {
 public:
  virtual ~IAdvapi32() = default;
  /// Opens a process's access token into *TokenHandle; nonzero on success.
  virtual BOOL OpenProcessToken(HANDLE ProcessHandle, DWORD DesiredAccess, PHANDLE TokenHandle) = 0;
  /// Looks up a privilege's identifier on a system (0: the local one); nonzero on success.
  virtual BOOL LookupPrivilegeValueW(LPCWSTR lpSystemName, LPCWSTR lpName, PLUID lpLuid) = 0;
  /// Enables or disables privileges of a token; nonzero when the call succeeded.
  virtual BOOL AdjustTokenPrivileges(HANDLE TokenHandle, BOOL DisableAllPrivileges, PTOKEN_PRIVILEGES NewState,
                                     DWORD BufferLength, PTOKEN_PRIVILEGES PreviousState, PDWORD ReturnLength) = 0;
};

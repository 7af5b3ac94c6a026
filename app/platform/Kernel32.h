// The kernel32 functions Lullscreen.exe calls beyond its console's, as a seam.
// The mixer library (platform/MixerKernel32.h), the console
// (console/ConsoleKernel32.h) and the inspector have seams of their own size.
#pragma once

#include "platform/WinTypes.h"

class IKernel32 {
 public:
  virtual ~IKernel32() = default;
  /// Milliseconds since the system started, wrapping modulo 2^32.
  virtual DWORD GetTickCount() = 0;
  /// Suspends the thread for at least the given milliseconds (0 yields).
  virtual void Sleep(DWORD dwMilliseconds) = 0;
  /// The pseudo handle of the current process.
  virtual HANDLE GetCurrentProcess() = 0;
  /// Closes a handle; nonzero on success.
  virtual BOOL CloseHandle(HANDLE hObject) = 0;
  /// Suspends (fSuspend true) or hibernates the machine; nonzero on success.
  virtual BOOL SetSystemPowerState(BOOL fSuspend, BOOL fForce) = 0;
  /// Fills the version record whose size field is set; nonzero on success.
  virtual BOOL GetVersionExW(LPOSVERSIONINFOW lpVersionInformation) = 0;
  /// Formats a system message into the buffer; its length in characters, 0 on failure.
  virtual DWORD FormatMessageW(DWORD dwFlags, LPCVOID lpSource, DWORD dwMessageId, DWORD dwLanguageId, LPWSTR lpBuffer,
                               DWORD nSize, void* Arguments) = 0;
};

// The user32 functions Lullscreen.exe calls, as a seam. The mixer library's
// window functions (platform/MixerUser32.h) and the inspector's message loop
// are seams of their own.
#pragma once

#include "platform/WinTypes.h"

class IUser32 {
 public:
  virtual ~IUser32() = default;
  /// The top-level window of the class (and title, when given); 0 when none.
  virtual HWND FindWindowW(LPCWSTR lpClassName, LPCWSTR lpWindowName) = 0;
  /// Queues a message for a window without waiting; nonzero on success.
  virtual BOOL PostMessageW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) = 0;
  /// Asks the system to lock the workstation; nonzero when the request was made.
  virtual BOOL LockWorkStation() = 0;
  /// Asks the system to log off, shut down or restart; nonzero when the request was made.
  virtual BOOL ExitWindowsEx(UINT uFlags, DWORD dwReason) = 0;
};

// The user32 functions the program calls, as a seam. The mixer library's
// window functions are a seam of their own (platform/MixerUser32.h).
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

  // A message loop, for programs that receive the mixer library's events.
  /// Waits for the next message of the thread's queue; 0 for WM_QUIT, -1 on failure, else nonzero.
  virtual BOOL GetMessageW(MSG* lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax) = 0;
  /// The next queued message without waiting, taken off the queue with PM_REMOVE; nonzero when there was one.
  virtual BOOL PeekMessageW(MSG* lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax, UINT wRemoveMsg) = 0;
  /// Hands a message to its window's procedure; the procedure's result.
  virtual LRESULT DispatchMessageW(const MSG* lpMsg) = 0;
  /// Queues a message for a thread; nonzero on success.
  virtual BOOL PostThreadMessageW(DWORD idThread, UINT Msg, WPARAM wParam, LPARAM lParam) = 0;
};

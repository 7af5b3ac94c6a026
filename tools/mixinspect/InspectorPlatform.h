// The seams the inspector is handed: the mixer library's, the console's, and
// the thread and message-loop functions its -watch mode calls. The system's
// adapters exist only in Windows builds.
#pragma once

#include "console/ConsoleKernel32.h"
#include "platform/MixerPlatform.h"

class IInspectorKernel32 {
 public:
  virtual ~IInspectorKernel32() = default;
  /// The calling thread's identifier.
  virtual DWORD GetCurrentThreadId() = 0;
  /// Starts a thread running lpStartAddress(lpParameter); its handle, or 0 on failure.
  virtual HANDLE CreateThread(LPSECURITY_ATTRIBUTES lpThreadAttributes, SIZE_T dwStackSize,
                              LPTHREAD_START_ROUTINE lpStartAddress, LPVOID lpParameter, DWORD dwCreationFlags,
                              LPDWORD lpThreadId) = 0;
  /// Waits until the object is signalled or the time is up: WAIT_OBJECT_0, WAIT_TIMEOUT or WAIT_FAILED.
  virtual DWORD WaitForSingleObject(HANDLE hHandle, DWORD dwMilliseconds) = 0;
  /// Closes a handle; nonzero on success.
  virtual BOOL CloseHandle(HANDLE hObject) = 0;
};

class IInspectorUser32 {
 public:
  virtual ~IInspectorUser32() = default;
  /// Waits for the next message of the thread's queue; 0 for WM_QUIT, -1 on failure, else nonzero.
  virtual BOOL GetMessageW(MSG* lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax) = 0;
  /// Hands a message to its window's procedure; the procedure's result.
  virtual LRESULT DispatchMessageW(const MSG* lpMsg) = 0;
  /// Queues a message for a thread; nonzero on success.
  virtual BOOL PostThreadMessageW(DWORD idThread, UINT Msg, WPARAM wParam, LPARAM lParam) = 0;
};

struct TInspectorPlatform {
  TMixerPlatform Mixer;
  IConsoleKernel32* Console;
  IInspectorKernel32* Kernel32;
  IInspectorUser32* User32;
};

/// The adapters that forward to the running system (Windows builds only).
TInspectorPlatform SystemInspectorPlatform();

// The kernel32 functions the program calls, as a seam. The mixer library has
// a seam of its own size (platform/MixerKernel32.h).
#pragma once

#include "core/Unique.h"
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
  /// The process's command line as the system holds it.
  virtual LPWSTR GetCommandLineW() = 0;
  /// A standard device's handle; INVALID_HANDLE_VALUE on failure, 0 when there is none.
  virtual HANDLE GetStdHandle(DWORD nStdHandle) = 0;
  /// Writes bytes to a file or device; nonzero on success.
  virtual BOOL WriteFile(HANDLE hFile, LPCVOID lpBuffer, DWORD nNumberOfBytesToWrite, LPDWORD lpNumberOfBytesWritten,
                         LPVOID lpOverlapped) = 0;
  /// The input or output mode of a console handle; nonzero only when the handle is a console.
  virtual BOOL GetConsoleMode(HANDLE hConsoleHandle, LPDWORD lpMode) = 0;
  /// Writes UTF-16 text to a console; nonzero on success.
  virtual BOOL WriteConsoleW(HANDLE hConsoleOutput, LPCVOID lpBuffer, DWORD nNumberOfCharsToWrite,
                             LPDWORD lpNumberOfCharsWritten, LPVOID lpReserved) = 0;
  /// Reads bytes from a file or device; nonzero on success, with 0 bytes read at the end of input.
  virtual BOOL ReadFile(HANDLE hFile, LPVOID lpBuffer, DWORD nNumberOfBytesToRead, LPDWORD lpNumberOfBytesRead,
                        LPVOID lpOverlapped) = 0;
  /// Converts UTF-16 text to a code page; the bytes written (or needed), 0 on failure.
  virtual int WideCharToMultiByte(UINT CodePage, DWORD dwFlags, LPCWSTR lpWideCharStr, int cchWideChar,
                                  LPSTR lpMultiByteStr, int cbMultiByte, LPCSTR lpDefaultChar,
                                  LPBOOL lpUsedDefaultChar) = 0;
  /// Formats a system message into the buffer; its length in characters, 0 on failure.
  virtual DWORD FormatMessageW(DWORD dwFlags, LPCVOID lpSource, DWORD dwMessageId, DWORD dwLanguageId, LPWSTR lpBuffer,
                               DWORD nSize, void* Arguments) = 0;
  /// The calling thread's identifier.
  virtual DWORD GetCurrentThreadId() = 0;
  /// Starts a thread running lpStartAddress(lpParameter); its handle, or 0 on failure.
  virtual HANDLE CreateThread(LPSECURITY_ATTRIBUTES lpThreadAttributes, SIZE_T dwStackSize,
                              LPTHREAD_START_ROUTINE lpStartAddress, LPVOID lpParameter, DWORD dwCreationFlags,
                              LPDWORD lpThreadId) = 0;
  /// Waits until the object is signalled or the time is up: WAIT_OBJECT_0, WAIT_TIMEOUT or WAIT_FAILED.
  virtual DWORD WaitForSingleObject(HANDLE hHandle, DWORD dwMilliseconds) = 0;
};

/// Closes a kernel object's handle through the seam: the releaser of TKernelHandle.
struct TKernelHandleClose {
  IKernel32* Kernel32;
  void operator()(HANDLE Handle) const { Kernel32->CloseHandle(Handle); }
};
/// A kernel object's handle (a token, a thread), closed when its owner goes.
using TKernelHandle = TUnique<HANDLE, TKernelHandleClose>;

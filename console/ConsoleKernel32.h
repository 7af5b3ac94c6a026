// The kernel32 functions both programs' consoles call, as a seam: the command
// line, and lines in and out over the standard handles.
#pragma once

#include "platform/WinTypes.h"

class IConsoleKernel32 {
 public:
  virtual ~IConsoleKernel32() = default;
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
};

/// The console functions of the running system (Windows builds only).
IConsoleKernel32& SystemConsole();

// The real adapter of the console seam: each member forwards to the Windows
// function of the same name and does nothing else.
#include "console/ConsoleKernel32.h"

namespace {

class SystemConsoleKernel32 final : public IConsoleKernel32 {
 public:
  LPWSTR GetCommandLineW() override { return ::GetCommandLineW(); }
  HANDLE GetStdHandle(DWORD nStdHandle) override { return ::GetStdHandle(nStdHandle); }
  BOOL WriteFile(HANDLE hFile, LPCVOID lpBuffer, DWORD nNumberOfBytesToWrite, LPDWORD lpNumberOfBytesWritten,
                 LPVOID lpOverlapped) override {
    return ::WriteFile(hFile, lpBuffer, nNumberOfBytesToWrite, lpNumberOfBytesWritten,
                       static_cast<LPOVERLAPPED>(lpOverlapped));
  }
  BOOL GetConsoleMode(HANDLE hConsoleHandle, LPDWORD lpMode) override {
    return ::GetConsoleMode(hConsoleHandle, lpMode);
  }
  BOOL WriteConsoleW(HANDLE hConsoleOutput, LPCVOID lpBuffer, DWORD nNumberOfCharsToWrite,
                     LPDWORD lpNumberOfCharsWritten, LPVOID lpReserved) override {
    return ::WriteConsoleW(hConsoleOutput, lpBuffer, nNumberOfCharsToWrite, lpNumberOfCharsWritten, lpReserved);
  }
  BOOL ReadFile(HANDLE hFile, LPVOID lpBuffer, DWORD nNumberOfBytesToRead, LPDWORD lpNumberOfBytesRead,
                LPVOID lpOverlapped) override {
    return ::ReadFile(hFile, lpBuffer, nNumberOfBytesToRead, lpNumberOfBytesRead,
                      static_cast<LPOVERLAPPED>(lpOverlapped));
  }
  int WideCharToMultiByte(UINT CodePage, DWORD dwFlags, LPCWSTR lpWideCharStr, int cchWideChar, LPSTR lpMultiByteStr,
                          int cbMultiByte, LPCSTR lpDefaultChar, LPBOOL lpUsedDefaultChar) override {
    return ::WideCharToMultiByte(CodePage, dwFlags, lpWideCharStr, cchWideChar, lpMultiByteStr, cbMultiByte,
                                 lpDefaultChar, lpUsedDefaultChar);
  }
};

}  // namespace

IConsoleKernel32& SystemConsole() {
  static SystemConsoleKernel32 console;
  return console;
}

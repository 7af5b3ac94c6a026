// The real adapters of the seams only the program calls: each member
// forwards to the Windows function of the same name and does nothing else.
#include "platform/Platform.h"

#ifdef _MSC_VER
#pragma warning(disable : 4996)  // GetVersionExW is deprecated but is exactly what is wanted.
#endif
#if defined(__GNUC__)
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#endif

namespace {

class SystemUser32 final : public IUser32 {
 public:
  HWND FindWindowW(LPCWSTR lpClassName, LPCWSTR lpWindowName) override {
    return ::FindWindowW(lpClassName, lpWindowName);
  }
  BOOL PostMessageW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) override {
    return ::PostMessageW(hWnd, Msg, wParam, lParam);
  }
  BOOL LockWorkStation() override { return ::LockWorkStation(); }
  BOOL ExitWindowsEx(UINT uFlags, DWORD dwReason) override { return ::ExitWindowsEx(uFlags, dwReason); }
  BOOL GetMessageW(MSG* lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax) override {
    return ::GetMessageW(lpMsg, hWnd, wMsgFilterMin, wMsgFilterMax);
  }
  BOOL PeekMessageW(MSG* lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax, UINT wRemoveMsg) override {
    return ::PeekMessageW(lpMsg, hWnd, wMsgFilterMin, wMsgFilterMax, wRemoveMsg);
  }
  LRESULT DispatchMessageW(const MSG* lpMsg) override { return ::DispatchMessageW(lpMsg); }
  BOOL PostThreadMessageW(DWORD idThread, UINT Msg, WPARAM wParam, LPARAM lParam) override {
    return ::PostThreadMessageW(idThread, Msg, wParam, lParam);
  }
};

class SystemKernel32 final : public IKernel32 {
 public:
  DWORD GetTickCount() override { return ::GetTickCount(); }
  void Sleep(DWORD dwMilliseconds) override { ::Sleep(dwMilliseconds); }
  HANDLE GetCurrentProcess() override { return ::GetCurrentProcess(); }
  BOOL CloseHandle(HANDLE hObject) override { return ::CloseHandle(hObject); }
  BOOL SetSystemPowerState(BOOL fSuspend, BOOL fForce) override { return ::SetSystemPowerState(fSuspend, fForce); }
  BOOL GetVersionExW(LPOSVERSIONINFOW lpVersionInformation) override { return ::GetVersionExW(lpVersionInformation); }
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
  DWORD FormatMessageW(DWORD dwFlags, LPCVOID lpSource, DWORD dwMessageId, DWORD dwLanguageId, LPWSTR lpBuffer,
                       DWORD nSize, void* Arguments) override {
    return ::FormatMessageW(dwFlags, lpSource, dwMessageId, dwLanguageId, lpBuffer, nSize,
                            static_cast<va_list*>(Arguments));
  }
  DWORD GetCurrentThreadId() override { return ::GetCurrentThreadId(); }
  HANDLE CreateThread(LPSECURITY_ATTRIBUTES lpThreadAttributes, SIZE_T dwStackSize,
                      LPTHREAD_START_ROUTINE lpStartAddress, LPVOID lpParameter, DWORD dwCreationFlags,
                      LPDWORD lpThreadId) override {
    return ::CreateThread(lpThreadAttributes, dwStackSize, lpStartAddress, lpParameter, dwCreationFlags, lpThreadId);
  }
  DWORD WaitForSingleObject(HANDLE hHandle, DWORD dwMilliseconds) override {
    return ::WaitForSingleObject(hHandle, dwMilliseconds);
  }
};

class SystemAdvapi32 final : public IAdvapi32 {
 public:
  BOOL OpenProcessToken(HANDLE ProcessHandle, DWORD DesiredAccess, PHANDLE TokenHandle) override {
    return ::OpenProcessToken(ProcessHandle, DesiredAccess, TokenHandle);
  }
  BOOL LookupPrivilegeValueW(LPCWSTR lpSystemName, LPCWSTR lpName, PLUID lpLuid) override {
    return ::LookupPrivilegeValueW(lpSystemName, lpName, lpLuid);
  }
  BOOL AdjustTokenPrivileges(HANDLE TokenHandle, BOOL DisableAllPrivileges, PTOKEN_PRIVILEGES NewState,
                             DWORD BufferLength, PTOKEN_PRIVILEGES PreviousState, PDWORD ReturnLength) override {
    return ::AdjustTokenPrivileges(TokenHandle, DisableAllPrivileges, NewState, BufferLength, PreviousState,
                                   ReturnLength);
  }
};

class SystemOle32 final : public IOle32 {
 public:
  HRESULT CoInitialize(LPVOID pvReserved) override { return ::CoInitialize(pvReserved); }
  void CoUninitialize() override { ::CoUninitialize(); }
  HRESULT CoCreateInstance(REFCLSID rclsid, LPUNKNOWN pUnkOuter, DWORD dwClsContext, REFIID riid,
                           LPVOID* ppv) override {
    return ::CoCreateInstance(rclsid, pUnkOuter, dwClsContext, riid, ppv);
  }
};

}  // namespace

TPlatform SystemPlatform() {
  static SystemKernel32 kernel32;
  static SystemUser32 user32;
  static SystemAdvapi32 advapi32;
  static SystemOle32 ole32;
  return TPlatform{SystemMixerPlatform(), &kernel32, &user32, &advapi32, &ole32, &SystemPlantedLibrary};
}

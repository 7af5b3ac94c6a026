// The real adapters of the seams only Lullscreen.exe calls: each member
// forwards to the Windows function of the same name and does nothing else.
#include "app/platform/Platform.h"

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
};

class SystemKernel32 final : public IKernel32 {
 public:
  DWORD GetTickCount() override { return ::GetTickCount(); }
  void Sleep(DWORD dwMilliseconds) override { ::Sleep(dwMilliseconds); }
  HANDLE GetCurrentProcess() override { return ::GetCurrentProcess(); }
  BOOL CloseHandle(HANDLE hObject) override { return ::CloseHandle(hObject); }
  BOOL SetSystemPowerState(BOOL fSuspend, BOOL fForce) override { return ::SetSystemPowerState(fSuspend, fForce); }
  BOOL GetVersionExW(LPOSVERSIONINFOW lpVersionInformation) override { return ::GetVersionExW(lpVersionInformation); }
  DWORD FormatMessageW(DWORD dwFlags, LPCVOID lpSource, DWORD dwMessageId, DWORD dwLanguageId, LPWSTR lpBuffer,
                       DWORD nSize, void* Arguments) override {
    return ::FormatMessageW(dwFlags, lpSource, dwMessageId, dwLanguageId, lpBuffer, nSize,
                            static_cast<va_list*>(Arguments));
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
  return TPlatform{SystemMixerPlatform(), &SystemConsole(), &kernel32, &user32, &advapi32, &ole32,
                   &SystemPlantedLibrary};
}

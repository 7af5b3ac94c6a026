// The real adapters of the seams the mixer library calls: each member
// forwards to the Windows function of the same name and does nothing else.
#include "platform/MixerPlatform.h"

#ifdef _MSC_VER
#pragma warning(disable : 4996)  // GetVersionExW is deprecated but is exactly what is wanted.
#endif
#if defined(__GNUC__)
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#endif

namespace {

class SystemWinmm final : public IWinmm {
 public:
  UINT mixerGetNumDevs() override { return ::mixerGetNumDevs(); }
  MMRESULT mixerGetDevCapsW(UINT_PTR uMxId, LPMIXERCAPSW pmxcaps, UINT cbmxcaps) override {
    return ::mixerGetDevCapsW(uMxId, pmxcaps, cbmxcaps);
  }
  MMRESULT mixerOpen(LPHMIXER phmx, UINT uMxId, DWORD_PTR dwCallback, DWORD_PTR dwInstance, DWORD fdwOpen) override {
    return ::mixerOpen(phmx, uMxId, dwCallback, dwInstance, fdwOpen);
  }
  MMRESULT mixerClose(HMIXER hmx) override { return ::mixerClose(hmx); }
  MMRESULT mixerGetLineInfoW(HMIXEROBJ hmxobj, LPMIXERLINEW pmxl, DWORD fdwInfo) override {
    return ::mixerGetLineInfoW(hmxobj, pmxl, fdwInfo);
  }
  MMRESULT mixerGetLineControlsW(HMIXEROBJ hmxobj, LPMIXERLINECONTROLSW pmxlc, DWORD fdwControls) override {
    return ::mixerGetLineControlsW(hmxobj, pmxlc, fdwControls);
  }
  MMRESULT mixerGetControlDetailsW(HMIXEROBJ hmxobj, LPMIXERCONTROLDETAILS pmxcd, DWORD fdwDetails) override {
    return ::mixerGetControlDetailsW(hmxobj, pmxcd, fdwDetails);
  }
  MMRESULT mixerSetControlDetails(HMIXEROBJ hmxobj, LPMIXERCONTROLDETAILS pmxcd, DWORD fdwDetails) override {
    return ::mixerSetControlDetails(hmxobj, pmxcd, fdwDetails);
  }
};

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
  ATOM RegisterClassExW(const WNDCLASSEXW* lpwcx) override { return ::RegisterClassExW(lpwcx); }
  BOOL UnregisterClassW(LPCWSTR lpClassName, HINSTANCE hInstance) override {
    return ::UnregisterClassW(lpClassName, hInstance);
  }
  HWND CreateWindowExW(DWORD dwExStyle, LPCWSTR lpClassName, LPCWSTR lpWindowName, DWORD dwStyle, int X, int Y,
                       int nWidth, int nHeight, HWND hWndParent, HMENU hMenu, HINSTANCE hInstance,
                       LPVOID lpParam) override {
    return ::CreateWindowExW(dwExStyle, lpClassName, lpWindowName, dwStyle, X, Y, nWidth, nHeight, hWndParent, hMenu,
                             hInstance, lpParam);
  }
  BOOL DestroyWindow(HWND hWnd) override { return ::DestroyWindow(hWnd); }
  LRESULT CallWindowProcW(WNDPROC lpPrevWndFunc, HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) override {
    return ::CallWindowProcW(lpPrevWndFunc, hWnd, Msg, wParam, lParam);
  }
  LRESULT DefWindowProcW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) override {
    return ::DefWindowProcW(hWnd, Msg, wParam, lParam);
  }
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
  int CompareStringW(LCID Locale, DWORD dwCmpFlags, LPCWSTR lpString1, int cchCount1, LPCWSTR lpString2,
                     int cchCount2) override {
    return ::CompareStringW(Locale, dwCmpFlags, lpString1, cchCount1, lpString2, cchCount2);
  }
  LPWSTR GetCommandLineW() override { return ::GetCommandLineW(); }
  HANDLE GetStdHandle(DWORD nStdHandle) override { return ::GetStdHandle(nStdHandle); }
  BOOL WriteFile(HANDLE hFile, LPCVOID lpBuffer, DWORD nNumberOfBytesToWrite, LPDWORD lpNumberOfBytesWritten,
                 LPVOID lpOverlapped) override {
    return ::WriteFile(hFile, lpBuffer, nNumberOfBytesToWrite, lpNumberOfBytesWritten,
                       static_cast<LPOVERLAPPED>(lpOverlapped));
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
  HMODULE GetModuleHandleW(LPCWSTR lpModuleName) override { return ::GetModuleHandleW(lpModuleName); }
  HANDLE CreateThread(LPSECURITY_ATTRIBUTES lpThreadAttributes, SIZE_T dwStackSize,
                      LPTHREAD_START_ROUTINE lpStartAddress, LPVOID lpParameter, DWORD dwCreationFlags,
                      LPDWORD lpThreadId) override {
    return ::CreateThread(lpThreadAttributes, dwStackSize, lpStartAddress, lpParameter, dwCreationFlags, lpThreadId);
  }
  DWORD WaitForSingleObject(HANDLE hHandle, DWORD dwMilliseconds) override {
    return ::WaitForSingleObject(hHandle, dwMilliseconds);
  }
  DWORD GetCurrentThreadId() override { return ::GetCurrentThreadId(); }
};

}  // namespace

TMixerPlatform SystemMixerPlatform() {
  // Stateless forwarders: one of each serves the whole process.
  static SystemKernel32 kernel32;
  static SystemUser32 user32;
  static SystemWinmm winmm;
  return TMixerPlatform{&kernel32, &user32, &winmm, ::DefWindowProcW};
}

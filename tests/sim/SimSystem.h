// Simulators of the system DLLs behind the seam, and the one object a test
// makes to get all of them over one shared call log. Each records every call
// in the log ("Name(arg,...)") and fails it when the log's plan says so.
#pragma once

#include <cstddef>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "sim/CallLog.h"
#include "sim/SimWinmm.h"

// kernel32: a tick clock that only Sleep moves, console handles over byte
// buffers, a command line, a reported version, and locale comparison.
class SimKernel32 : public IKernel32 {
 public:
  explicit SimKernel32(CallLog& Log);

  DWORD Tick = 1000;          // what GetTickCount answers; Sleep(n) adds n
  DWORD TicksPerSleep = 0;    // added on top of n by every Sleep, to model a coarse timer
  String CommandLine = WSTR("Lullscreen.exe");
  DWORD MajorVersion = 5, MinorVersion = 1;
  std::string Output;         // bytes written to standard output
  std::string Input;          // bytes standard input still holds
  bool InputClosed = false;   // ReadFile on standard input fails once Input is empty
  /// Texts FormatMessageW gives per message identifier (others: failure).
  std::map<DWORD, String> SystemMessages;

  /// Handles given out by other simulators (tokens) that CloseHandle may close.
  HANDLE NewHandle();
  std::size_t OpenHandleCount() const;

  DWORD GetTickCount() override;
  void Sleep(DWORD dwMilliseconds) override;
  HANDLE GetCurrentProcess() override;
  BOOL CloseHandle(HANDLE hObject) override;
  BOOL SetSystemPowerState(BOOL fSuspend, BOOL fForce) override;
  BOOL GetVersionExW(LPOSVERSIONINFOW lpVersionInformation) override;
  int CompareStringW(LCID Locale, DWORD dwCmpFlags, LPCWSTR lpString1, int cchCount1, LPCWSTR lpString2,
                     int cchCount2) override;
  LPWSTR GetCommandLineW() override;
  HANDLE GetStdHandle(DWORD nStdHandle) override;
  BOOL WriteFile(HANDLE hFile, LPCVOID lpBuffer, DWORD nNumberOfBytesToWrite, LPDWORD lpNumberOfBytesWritten,
                 LPVOID lpOverlapped) override;
  BOOL ReadFile(HANDLE hFile, LPVOID lpBuffer, DWORD nNumberOfBytesToRead, LPDWORD lpNumberOfBytesRead,
                LPVOID lpOverlapped) override;
  /// CP_ACP is modelled as a single-byte code page: ASCII passes, any other code unit becomes '?'.
  int WideCharToMultiByte(UINT CodePage, DWORD dwFlags, LPCWSTR lpWideCharStr, int cchWideChar, LPSTR lpMultiByteStr,
                          int cbMultiByte, LPCSTR lpDefaultChar, LPBOOL lpUsedDefaultChar) override;
  DWORD FormatMessageW(DWORD dwFlags, LPCVOID lpSource, DWORD dwMessageId, DWORD dwLanguageId, LPWSTR lpBuffer,
                       DWORD nSize, void* Arguments) override;
  HMODULE GetModuleHandleW(LPCWSTR lpModuleName) override;

 private:
  CallLog& FLog;
  String FCommandLineBuffer;
  std::vector<bool> FHandles;  // open state of each handle given out
};

// user32: windows with classes and procedures, the shell's window, posted
// messages, lock and exit requests.
class SimUser32 : public IUser32 {
 public:
  explicit SimUser32(CallLog& Log);

  /// The window FindWindowW answers for class "ProgMan" (0: none).
  HWND ShellWindow = nullptr;
  struct Posted {
    HWND Window;
    UINT Msg;
    WPARAM wParam;
    LPARAM lParam;
  };
  std::vector<Posted> PostedMessages;
  BOOL LockResult = TRUE;
  BOOL ExitResult = TRUE;
  /// What DefWindowProcW answers, so tests can tell it apart from 0.
  LRESULT DefaultResult = 0x5EED;

  /// Delivers a message to a window's procedure as dispatching would; 0 for an unknown window.
  LRESULT Dispatch(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam);
  bool IsWindow(HWND hWnd) const;
  std::size_t WindowCount() const;
  /// The procedure to pass to CallWindowProcW for the default handling (TPlatform::DefWindowProc).
  static WNDPROC DefWindowProcAddress();

  HWND FindWindowW(LPCWSTR lpClassName, LPCWSTR lpWindowName) override;
  BOOL PostMessageW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) override;
  BOOL LockWorkStation() override;
  BOOL ExitWindowsEx(UINT uFlags, DWORD dwReason) override;
  ATOM RegisterClassExW(const WNDCLASSEXW* lpwcx) override;
  BOOL UnregisterClassW(LPCWSTR lpClassName, HINSTANCE hInstance) override;
  /// Sends WM_NCCREATE (lParam: a CREATESTRUCTW carrying lpParam; 0 from it fails the creation) and WM_CREATE.
  HWND CreateWindowExW(DWORD dwExStyle, LPCWSTR lpClassName, LPCWSTR lpWindowName, DWORD dwStyle, int X, int Y,
                       int nWidth, int nHeight, HWND hWndParent, HMENU hMenu, HINSTANCE hInstance,
                       LPVOID lpParam) override;
  /// Sends WM_DESTROY and WM_NCDESTROY, then forgets the window.
  BOOL DestroyWindow(HWND hWnd) override;
  LRESULT CallWindowProcW(WNDPROC lpPrevWndFunc, HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) override;
  LRESULT DefWindowProcW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) override;

 private:
  CallLog& FLog;
  std::map<String, WNDPROC> FClasses;
  std::map<HWND, WNDPROC> FWindows;
  std::size_t FNextWindow = 0x2000;
};

// advapi32: the process token and the shutdown privilege.
class SimAdvapi32 : public IAdvapi32 {
 public:
  SimAdvapi32(CallLog& Log, SimKernel32& Kernel32);

  LUID ShutdownLuid = {0x13, 0};
  bool ShutdownEnabled = false;  // the token's state of the shutdown privilege

  BOOL OpenProcessToken(HANDLE ProcessHandle, DWORD DesiredAccess, PHANDLE TokenHandle) override;
  BOOL LookupPrivilegeValueW(LPCWSTR lpSystemName, LPCWSTR lpName, PLUID lpLuid) override;
  BOOL AdjustTokenPrivileges(HANDLE TokenHandle, BOOL DisableAllPrivileges, PTOKEN_PRIVILEGES NewState,
                             DWORD BufferLength, PTOKEN_PRIVILEGES PreviousState, PDWORD ReturnLength) override;

 private:
  CallLog& FLog;
  SimKernel32& FKernel32;
};

// ole32 and the endpoint objects: a device enumerator, a default render
// endpoint (or none) and its volume interface, with counted references.
class SimOle32 : public IOle32 {
 public:
  explicit SimOle32(CallLog& Log);
  ~SimOle32() override;

  bool EnumeratorRegistered = true;   // false: CoCreateInstance answers REGDB_E_CLASSNOTREG
  bool EnumeratorInterface = true;    // false: the object does not offer IMMDeviceEnumerator
  bool HasEndpoint = true;            // false: GetDefaultAudioEndpoint answers 0x80070490
  bool ActivateSucceeds = true;
  HRESULT SetMuteResult = S_OK;       // a failure code fails SetMute; S_OK changes the state or finds it set
  BOOL Muted = FALSE;                 // the endpoint's mute state
  int InitCount = 0;                  // CoInitialize calls less CoUninitialize calls
  /// References held on every endpoint object right now.
  int LiveReferences() const;
  /// References still held when CoUninitialize was last called.
  int ReferencesAtUninitialize = -1;

  HRESULT CoInitialize(LPVOID pvReserved) override;
  void CoUninitialize() override;
  HRESULT CoCreateInstance(REFCLSID rclsid, LPUNKNOWN pUnkOuter, DWORD dwClsContext, REFIID riid,
                           LPVOID* ppv) override;

  struct Objects;  // the endpoint objects, defined with the simulator

 private:
  CallLog& FLog;
  Objects* FObjects;
};

// Every simulator over one call log; Platform() hands them out as the seam.
class SimSystem {
 public:
  SimSystem();
  SimSystem(const SimSystem&) = delete;
  SimSystem& operator=(const SimSystem&) = delete;

  TPlatform Platform();

  CallLog Log;
  SimKernel32 Kernel32;
  SimUser32 User32;
  SimAdvapi32 Advapi32;
  SimOle32 Ole32;
  SimWinmm Winmm;
};

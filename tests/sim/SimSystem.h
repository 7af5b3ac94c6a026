// Simulators of the system DLLs behind the seam, and the one object a test
// makes to get all of them over one shared call log. Each records every call
// in the log ("Name(arg,...)") and fails it when the log's plan says so.
//
// A call the plan fails is recorded, then answers what the system answers on
// failure (FALSE, 0, null, INVALID_HANDLE_VALUE for GetStdHandle, an HRESULT
// failure code) and changes nothing. Calls that cannot fail (GetTickCount,
// Sleep, GetCurrentProcess, GetCommandLineW, CoUninitialize, AddRef, Release)
// are recorded but never failed. Dispatch, NewHandle and the other helpers
// for tests are not recorded, nor are messages the simulator itself delivers
// to window procedures.
//
// Call records. Strings are quoted ("..."; counted strings only up to their
// count), handles and pointers are hexadecimal via Arg(const void*) or
// "null", "hex" marks numbers written as 0x..., all others are decimal.
// Output parameters are not shown; inputs passed by pointer show what they
// point to.
//   kernel32:
//   GetTickCount()
//   Sleep(ms)
//   GetCurrentProcess()                    answers the pseudo handle (HANDLE)-1
//   CloseHandle(handle)
//   SetSystemPowerState(fSuspend,fForce)
//   GetVersionExW(dwOSVersionInfoSize)     or GetVersionExW(null)
//   CompareStringW(locale hex,flags hex,"text1",cch1,"text2",cch2)
//   GetCommandLineW()
//   GetStdHandle(n)                        n signed: -10 input, -11 output, -12 error
//   WriteFile(handle,"bytes",count)        bytes escaped C-style: \r \n \t \" \\ \xNN
//   GetConsoleMode(handle)
//   WriteConsoleW(handle,"text",count)
//   ReadFile(handle,count)
//   WideCharToMultiByte(codepage,flags hex,"text",cchWideChar,cbMultiByte)
//   FormatMessageW(flags hex,messageid hex,languageid,nSize)
//   GetCurrentThreadId()
//   CreateThread(stacksize,flags hex)      threads are not modelled: it fails
//   WaitForSingleObject(handle,ms)         fails
//   user32 (messages and wParam in hex):
//   FindWindowW("class","title")           either may be null
//   PostMessageW(hwnd,msg hex,wParam hex,lParam)
//   LockWorkStation()
//   ExitWindowsEx(flags hex,reason)
//   RegisterClassExW(cbSize,"class")       or RegisterClassExW(null)
//   UnregisterClassW("class",hinstance)
//   CreateWindowExW(exstyle hex,"class","title",style hex,x,y,width,height,parent,menu,hinstance,param)
//   DestroyWindow(hwnd)
//   CallWindowProcW(proc,hwnd,msg hex,wParam hex,lParam)
//                                          proc: DefWindowProcW for DefWindowProcAddress(), else hex or null
//   DefWindowProcW(hwnd,msg hex,wParam hex,lParam)
//   GetMessageW(hwnd,min hex,max hex)
//   DispatchMessageW(hwnd,msg hex,wParam hex,lParam)
//   PostThreadMessageW(thread,msg hex,wParam hex,lParam)
//   advapi32:
//   OpenProcessToken(process,access hex)
//   LookupPrivilegeValueW(system,"name")   system usually null
//   AdjustTokenPrivileges(token,disableAll,count,{luidLow,luidHigh},attributes hex,BufferLength)
//                                          the luid and attributes of the first entry only when count >= 1;
//                                          AdjustTokenPrivileges(token,disableAll,null,BufferLength) without one
//   ole32 and the endpoint objects (GUIDs braced, upper case):
//   CoInitialize(reserved)                 CoInitialize(null) as the program calls it
//   CoUninitialize()
//   CoCreateInstance({clsid},outer,context hex,{iid})
//   Each object's methods are recorded under the object's interface, IUnknown's included:
//   IMMDeviceEnumerator.QueryInterface({iid})   .AddRef()   .Release()
//   IMMDeviceEnumerator.GetDefaultAudioEndpoint(dataFlow,role)
//   IMMDevice.QueryInterface({iid})   IMMDevice.AddRef()   IMMDevice.Release()
//   IMMDevice.Activate({iid},context,activationParams)
//   IAudioEndpointVolume.QueryInterface({iid})   .AddRef()   .Release()
//   IAudioEndpointVolume.SetMute(bMute,{context})   context "null" when no pointer is given
//   IAudioEndpointVolume.GetMute()
//   Methods the program does not use are recorded as Interface.Method() and answer E_NOTIMPL.
//   e.g. "IMMDevice.Activate({5CDF2C82-841E-4546-9722-0CF74078229A},7,null)",
//        "IAudioEndpointVolume.SetMute(1,{00000000-0000-0000-0000-000000000000})".
#pragma once

#include <cstddef>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "app/platform/Platform.h"
#include "tools/mixinspect/InspectorPlatform.h"
#include "sim/CallLog.h"
#include "sim/SimWindows.h"
#include "sim/SimWinmm.h"

// kernel32: a tick clock that only Sleep moves, console input and output over
// byte buffers, a command line, a reported version, and locale comparison.
class SimKernel32 : public IKernel32, public IConsoleKernel32, public IInspectorKernel32, public IMixerKernel32 {
 public:
  explicit SimKernel32(CallLog& Log);

  DWORD Tick = 1000;        // what GetTickCount answers; Sleep(n) adds n
  DWORD TicksPerSleep = 0;  // added on top of n by every Sleep, to model a coarse timer
  String CommandLine = WSTR("Lullscreen.exe");
  DWORD MajorVersion = 5, MinorVersion = 1;
  DWORD BuildNumber = 2600;
  std::string Output;                      // bytes written to standard output
  bool ConsoleOutput = false;              // standard output is a console: GetConsoleMode succeeds on it
  String ConsoleText;                      // text written to that console with WriteConsoleW
  std::vector<std::size_t> ConsolePieces;  // the length of each WriteConsoleW that succeeded
  DWORD ConsoleTakesAtMost = 0xFFFFFFFF;   // WriteConsoleW fails above it, as the console's shared heap does
  DWORD PipeTakes = 0xFFFFFFFF;            // the most bytes one WriteFile takes, as a full pipe does
  std::string Input;                       // bytes standard input still holds
  bool InputClosed = false;                // ReadFile on standard input fails once Input is empty
  /// Texts FormatMessageW gives per message identifier (others: failure).
  std::map<DWORD, String> SystemMessages;

  /// Handles given out by other simulators (tokens) that CloseHandle may close.
  HANDLE NewHandle();
  std::size_t OpenHandleCount() const;
  /// True for a handle NewHandle gave out that is not yet closed.
  bool IsOpenHandle(HANDLE Handle) const;
  /// The case folding of CompareStringW and of window class names: ASCII and
  /// Latin-1 capitals to small letters.
  static WCHAR Fold(WCHAR c);

  // CompareStringW orders by the folded code units, whatever the flags.
  // Standard handles: reads come from Input, writes go to Output; other
  // handles fail. FormatMessageW needs FORMAT_MESSAGE_FROM_SYSTEM and a
  // caller's buffer, and truncates to nSize.
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
  BOOL GetConsoleMode(HANDLE hConsoleHandle, LPDWORD lpMode) override;
  BOOL WriteConsoleW(HANDLE hConsoleOutput, LPCVOID lpBuffer, DWORD nNumberOfCharsToWrite,
                     LPDWORD lpNumberOfCharsWritten, LPVOID lpReserved) override;
  BOOL ReadFile(HANDLE hFile, LPVOID lpBuffer, DWORD nNumberOfBytesToRead, LPDWORD lpNumberOfBytesRead,
                LPVOID lpOverlapped) override;
  /// CP_ACP is modelled as a single-byte code page: ASCII passes, any other character (a surrogate
  /// pair is one) becomes '?'; other code pages fail.
  int WideCharToMultiByte(UINT CodePage, DWORD dwFlags, LPCWSTR lpWideCharStr, int cchWideChar, LPSTR lpMultiByteStr,
                          int cbMultiByte, LPCSTR lpDefaultChar, LPBOOL lpUsedDefaultChar) override;
  DWORD FormatMessageW(DWORD dwFlags, LPCVOID lpSource, DWORD dwMessageId, DWORD dwLanguageId, LPWSTR lpBuffer,
                       DWORD nSize, void* Arguments) override;
  DWORD GetCurrentThreadId() override;
  HANDLE CreateThread(LPSECURITY_ATTRIBUTES lpThreadAttributes, SIZE_T dwStackSize,
                      LPTHREAD_START_ROUTINE lpStartAddress, LPVOID lpParameter, DWORD dwCreationFlags,
                      LPDWORD lpThreadId) override;
  DWORD WaitForSingleObject(HANDLE hHandle, DWORD dwMilliseconds) override;

 private:
  CallLog& FLog;
  String FCommandLineBuffer;
  String FCommandLineSource;   // the CommandLine the buffer was copied from
  std::vector<bool> FHandles;  // open state of each handle given out
};

// user32: the window machinery of SimWindows with its calls recorded, the
// shell's window, posted messages, lock and exit requests.
class SimUser32 : public SimWindows, public IUser32, public IInspectorUser32 {
 public:
  explicit SimUser32(CallLog& Log);

  /// The window FindWindowW answers for class "ProgMan" (0: none).
  HWND ShellWindow = nullptr;

  // Class names are given by name and compared without regard to case.
  // FindWindowW finds only the shell's window. PostMessageW succeeds for a
  // null window (the thread's queue), ShellWindow and windows made here, and
  // fails for others; nothing is queued. DefaultResult is 0x5EED, so tests can
  // tell DefWindowProcW's answer apart from 0.

  HWND FindWindowW(LPCWSTR lpClassName, LPCWSTR lpWindowName) override;
  BOOL PostMessageW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) override;
  BOOL LockWorkStation() override;
  BOOL ExitWindowsEx(UINT uFlags, DWORD dwReason) override;
  ATOM RegisterClassExW(const WNDCLASSEXW* lpwcx) override;
  BOOL UnregisterClassW(LPCWSTR lpClassName, HINSTANCE hInstance) override;
  HWND CreateWindowExW(DWORD dwExStyle, LPCWSTR lpClassName, LPCWSTR lpWindowName, DWORD dwStyle, int X, int Y,
                       int nWidth, int nHeight, HWND hWndParent, HMENU hMenu, HINSTANCE hInstance,
                       LPVOID lpParam) override;
  BOOL DestroyWindow(HWND hWnd) override;
  LRESULT CallWindowProcW(WNDPROC lpPrevWndFunc, HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) override;
  LRESULT DefWindowProcW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) override;

  // The message queue is not modelled: GetMessageW answers as for WM_QUIT, 0,
  // and PostThreadMessageW only succeeds.
  BOOL GetMessageW(MSG* lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax) override;
  /// Dispatch() for the message's window.
  LRESULT DispatchMessageW(const MSG* lpMsg) override;
  BOOL PostThreadMessageW(DWORD idThread, UINT Msg, WPARAM wParam, LPARAM lParam) override;

 protected:
  /// The folded name of a class.
  String ClassKey(LPCWSTR lpClassName) const override;

 private:
  CallLog& FLog;
};

// advapi32: the process token and the shutdown privilege.
class SimAdvapi32 : public IAdvapi32 {
 public:
  SimAdvapi32(CallLog& Log, SimKernel32& Kernel32);

  LUID ShutdownLuid = {0x13, 0};
  bool ShutdownEnabled = false;  // the token's state of the shutdown privilege

  // OpenProcessToken needs the process pseudo handle and gives a handle from
  // SimKernel32::NewHandle. LookupPrivilegeValueW knows "SeShutdownPrivilege"
  // on the local system only. AdjustTokenPrivileges needs an open token and at
  // most one entry; it fails without adjusting when PreviousState is given
  // with a BufferLength below sizeof(TOKEN_PRIVILEGES).
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
  SimOle32(const SimOle32&) = delete;
  SimOle32& operator=(const SimOle32&) = delete;

  bool EnumeratorRegistered = true;  // false: CoCreateInstance answers REGDB_E_CLASSNOTREG
  bool EnumeratorInterface = true;   // false: the object does not offer IMMDeviceEnumerator
  bool HasEndpoint = true;           // false: GetDefaultAudioEndpoint answers 0x80070490
  bool ActivateSucceeds = true;
  HRESULT SetMuteResult = S_OK;  // a failure code fails SetMute; S_OK changes the state or finds it set
  BOOL Muted = FALSE;            // the endpoint's mute state
  int InitCount = 0;             // CoInitialize calls less CoUninitialize calls
  /// References held on every endpoint object right now.
  int LiveReferences() const;
  /// References still held when CoUninitialize was last called.
  int ReferencesAtUninitialize = -1;
  /// Calls made on an endpoint object after its last reference was released (each a fault of the caller).
  int CallsAfterRelease = 0;
  /// What a call the plan fails answers (QueryInterface answers E_NOINTERFACE).
  HRESULT FailResult = E_FAIL;

  // CoCreateInstance: E_POINTER, CO_E_NOTINITIALIZED, REGDB_E_CLASSNOTREG
  // (also without CLSCTX_INPROC_SERVER), CLASS_E_NOAGGREGATION, E_NOINTERFACE
  // in that order of checks. Every object starts with one reference; objects
  // stay allocated until ~SimOle32 even when released. SetMute answers S_OK
  // when it changes Muted and S_FALSE when Muted already had that state.

  HRESULT CoInitialize(LPVOID pvReserved) override;
  void CoUninitialize() override;
  HRESULT CoCreateInstance(REFCLSID rclsid, LPUNKNOWN pUnkOuter, DWORD dwClsContext, REFIID riid, LPVOID* ppv) override;

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

  /// The module the mixer library's window class is registered under.
  static HINSTANCE Module();
  TPlatform Platform();
  TMixerPlatform MixerPlatform();

  CallLog Log;
  SimKernel32 Kernel32;
  SimUser32 User32;
  SimAdvapi32 Advapi32;
  SimOle32 Ole32;
  SimWinmm Winmm;
  /// What the platform says was planted beside the program.
  String (*PlantedLibrary)() = [] { return String(); };
};

// The window and kernel functions the mixer library needs besides the
// driver, as small stand-ins for the fuzz target. The library's seams hold
// nothing else, so it cannot reach any other function of the system's.
//
// The window functions answer from the windows stream: class registration,
// window creation and destruction can fail, WM_CREATE can refuse, and memory
// can run out while a message is in the window procedure. Every message the
// system would send goes through Deliver, where nothing may escape: on
// Windows an exception that unwinds through the system's own frames ends the
// process.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "fuzz/FuzzInput.h"
#include "platform/MixerKernel32.h"
#include "platform/MixerUser32.h"

class TFuzzUser32 : public IMixerUser32 {
 public:
  explicit TFuzzUser32(TFuzzStream& Answers);
  ~TFuzzUser32() override;
  TFuzzUser32(const TFuzzUser32&) = delete;
  TFuzzUser32& operator=(const TFuzzUser32&) = delete;

  /// The procedure to hand over as TMixerPlatform::DefaultWindowProc.
  static WNDPROC DefWindowProcAddress();
  /// Sends a message to a window's procedure as the system's dispatch would; 0 for a window without one.
  LRESULT Dispatch(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam);
  /// A window of the client's own, without a procedure, to be named as CallbackWindow.
  HWND NewClientWindow();
  std::vector<HWND> Windows() const;
  /// The windows that have a procedure, which only the library makes.
  std::size_t LibraryWindowCount() const;
  /// The classes registered and not yet unregistered.
  std::size_t ClassCount() const { return FClasses.size(); }

  ATOM RegisterClassExW(const WNDCLASSEXW* lpwcx) override;
  BOOL UnregisterClassW(LPCWSTR lpClassName, HINSTANCE hInstance) override;
  HWND CreateWindowExW(DWORD dwExStyle, LPCWSTR lpClassName, LPCWSTR lpWindowName, DWORD dwStyle, int X, int Y,
                       int nWidth, int nHeight, HWND hWndParent, HMENU hMenu, HINSTANCE hInstance,
                       LPVOID lpParam) override;
  BOOL DestroyWindow(HWND hWnd) override;
  LRESULT CallWindowProcW(WNDPROC lpPrevWndFunc, HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) override;
  LRESULT DefWindowProcW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) override;

 private:
  struct TWindow {
    WNDPROC Procedure;  // null for a client's window
    String Class;
  };
  /// Calls Procedure with the message; an exception leaving it is a finding.
  LRESULT Deliver(WNDPROC Procedure, HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam);

  TFuzzStream& FAnswers;
  std::map<String, WNDPROC> FClasses;
  std::map<HWND, TWindow> FWindows;
  std::uintptr_t FNextWindow = 0x7000;
  ATOM FNextAtom = 0xC000;
};

class TFuzzKernel32 : public IMixerKernel32 {
 public:
  /// Ordinal comparison, ASCII letters folded with NORM_IGNORECASE; reads exactly the counted units.
  int CompareStringW(LCID Locale, DWORD dwCmpFlags, LPCWSTR lpString1, int cchCount1, LPCWSTR lpString2,
                     int cchCount2) override;
};

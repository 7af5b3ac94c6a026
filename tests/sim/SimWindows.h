// The window machinery under both the unit tests' user32 simulator and the
// fuzz target's stand-in: window classes, windows and their procedures, the
// messages of a window's creation and destruction, and dispatch. What tells
// the two apart goes through the hooks: how class names compare, where the
// system refuses of its own accord, how a sent message reaches a procedure,
// and what a malformed call is besides a failure.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <vector>

#include "platform/MixerUser32.h"

class SimWindows : public IMixerUser32 {
 public:
  /// Window handles count up from FirstWindow in steps of WindowStep.
  SimWindows(std::uintptr_t FirstWindow, std::uintptr_t WindowStep);

  /// What DefWindowProcW answers for messages other than WM_NCCREATE and WM_CREATE.
  LRESULT DefaultResult = 0;

  /// The procedure to hand over as TMixerPlatform::DefaultWindowProc.
  static WNDPROC DefWindowProcAddress();
  /// Delivers a message to a window's procedure as dispatching would; 0 for a window unknown or without one.
  LRESULT Dispatch(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam);
  bool IsWindow(HWND hWnd) const;
  std::size_t WindowCount() const { return FWindows.size(); }
  std::vector<HWND> Windows() const;
  /// The classes registered and not yet unregistered.
  std::size_t ClassCount() const { return FClasses.size(); }

  // Classes are given by name, never by atom. RegisterClassExW needs a
  // complete class with a name no other class has. UnregisterClassW fails
  // while windows of the class exist. CreateWindowExW sends WM_NCCREATE
  // (lParam: a CREATESTRUCTW carrying lpParam) and WM_CREATE; a creation that
  // WM_NCCREATE (0) or WM_CREATE (-1) refuses sends WM_NCDESTROY before the
  // window is forgotten. DestroyWindow sends WM_DESTROY and WM_NCDESTROY, then
  // forgets the window; it fails for one already being destroyed.
  // DefWindowProcW answers TRUE for WM_NCCREATE, 0 for WM_CREATE (-1 where
  // refused) and DefaultResult otherwise.
  ATOM RegisterClassExW(const WNDCLASSEXW* lpwcx) override;
  BOOL UnregisterClassW(LPCWSTR lpClassName, HINSTANCE hInstance) override;
  HWND CreateWindowExW(DWORD dwExStyle, LPCWSTR lpClassName, LPCWSTR lpWindowName, DWORD dwStyle, int X, int Y,
                       int nWidth, int nHeight, HWND hWndParent, HMENU hMenu, HINSTANCE hInstance,
                       LPVOID lpParam) override;
  BOOL DestroyWindow(HWND hWnd) override;
  LRESULT CallWindowProcW(WNDPROC lpPrevWndFunc, HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) override;
  /// The system's default window procedure, as the simulator answers for it.
  virtual LRESULT DefWindowProcW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam);

 protected:
  /// Where the system may refuse of its own accord.
  enum class Refusal { ClassRegistration, WindowCreation, DefaultCreate, WindowDestruction };
  /// Whether it refuses there; never, unless a stand-in says otherwise.
  virtual bool Refuses(Refusal) { return false; }
  /// The key a class is registered under: the name itself, unless a stand-in folds it.
  virtual String ClassKey(LPCWSTR lpClassName) const { return lpClassName; }
  /// Hands a message the system sends to a window's procedure.
  virtual LRESULT Deliver(WNDPROC Procedure, HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam);
  /// Told of a call that fails for being malformed (an incomplete class, no class name).
  virtual void Malformed(const char*) {}

  /// A new window; a client's own has no procedure and no class.
  HWND AddWindow(WNDPROC Procedure, const String& Class);
  /// Null for a window unknown or without a procedure.
  WNDPROC ProcedureOf(HWND hWnd) const;

  /// Whether a creation that WM_CREATE refuses sends WM_DESTROY before WM_NCDESTROY.
  bool DestroyRefusedCreation = false;

 private:
  struct TWindow {
    WNDPROC Procedure;
    String Class;
    bool Destroying = false;
  };
  std::map<String, WNDPROC> FClasses;
  std::map<HWND, TWindow> FWindows;
  std::uintptr_t FNextWindow;
  std::uintptr_t FWindowStep;
  ATOM FNextAtom = 0xC000;
};

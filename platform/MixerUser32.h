// The user32 functions of the mixer library's notification window, as a seam.
#pragma once

#include "platform/WinTypes.h"

class IMixerUser32 {
 public:
  virtual ~IMixerUser32() = default;
  /// Registers a window class; its atom, or 0 on failure.
  virtual ATOM RegisterClassExW(const WNDCLASSEXW* lpwcx) = 0;
  /// Unregisters a window class; nonzero on success.
  virtual BOOL UnregisterClassW(LPCWSTR lpClassName, HINSTANCE hInstance) = 0;
  /// Creates a window; 0 on failure.
  virtual HWND CreateWindowExW(DWORD dwExStyle, LPCWSTR lpClassName, LPCWSTR lpWindowName, DWORD dwStyle, int X, int Y,
                               int nWidth, int nHeight, HWND hWndParent, HMENU hMenu, HINSTANCE hInstance,
                               LPVOID lpParam) = 0;
  /// Destroys a window; nonzero on success.
  virtual BOOL DestroyWindow(HWND hWnd) = 0;
  /// Passes a message to a window procedure and returns its result.
  virtual LRESULT CallWindowProcW(WNDPROC lpPrevWndFunc, HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) = 0;
};

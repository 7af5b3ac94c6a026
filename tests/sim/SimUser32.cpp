#include <cstring>

#include "sim/SimSystem.h"

namespace {

const String ShellClass = WSTR("progman");          // folded
const String ShellTitle = WSTR("program manager");  // folded

String Folded(const WCHAR* text) {
  String out;
  for (; *text != 0; ++text) out.push_back(SimKernel32::Fold(*text));
  return out;
}

std::string ProcArg(WNDPROC proc) {
  if (proc == nullptr) return "null";
  if (proc == SimUser32::DefWindowProcAddress()) return "DefWindowProcW";
  std::uintptr_t value = 0;
  static_assert(sizeof proc <= sizeof value, "a procedure's address fits a pointer-sized integer");
  std::memcpy(&value, &proc, sizeof proc);
  return Hex(value);
}

}  // namespace

SimUser32::SimUser32(CallLog& Log) : SimWindows(0x2000, 4), FLog(Log) { DefaultResult = 0x5EED; }

String SimUser32::ClassKey(LPCWSTR lpClassName) const { return Folded(lpClassName); }

HWND SimUser32::FindWindowW(LPCWSTR lpClassName, LPCWSTR lpWindowName) {
  if (FLog.Record(CallText("FindWindowW", lpClassName, lpWindowName))) return nullptr;
  if ((lpClassName == nullptr || ClassKey(lpClassName) == ShellClass) &&
      (lpWindowName == nullptr || Folded(lpWindowName) == ShellTitle))
    return ShellWindow;
  return nullptr;
}

BOOL SimUser32::PostMessageW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
  if (FLog.Record(CallText("PostMessageW", hWnd, Hex(Msg), Hex(wParam), lParam))) return FALSE;
  // A null window posts to the thread's own queue.
  return hWnd == nullptr || hWnd == ShellWindow || IsWindow(hWnd) ? TRUE : FALSE;
}

BOOL SimUser32::LockWorkStation() { return FLog.Record(CallText("LockWorkStation")) ? FALSE : TRUE; }

BOOL SimUser32::ExitWindowsEx(UINT uFlags, DWORD dwReason) {
  return FLog.Record(CallText("ExitWindowsEx", Hex(uFlags), dwReason)) ? FALSE : TRUE;
}

ATOM SimUser32::RegisterClassExW(const WNDCLASSEXW* lpwcx) {
  if (lpwcx == nullptr) {
    FLog.Record(CallText("RegisterClassExW", "null"));
    return 0;
  }
  if (FLog.Record(CallText("RegisterClassExW", lpwcx->cbSize, lpwcx->lpszClassName))) return 0;
  return SimWindows::RegisterClassExW(lpwcx);
}

BOOL SimUser32::UnregisterClassW(LPCWSTR lpClassName, HINSTANCE hInstance) {
  if (FLog.Record(CallText("UnregisterClassW", lpClassName, hInstance))) return FALSE;
  return SimWindows::UnregisterClassW(lpClassName, hInstance);
}

HWND SimUser32::CreateWindowExW(DWORD dwExStyle, LPCWSTR lpClassName, LPCWSTR lpWindowName, DWORD dwStyle, int X, int Y,
                                int nWidth, int nHeight, HWND hWndParent, HMENU hMenu, HINSTANCE hInstance,
                                LPVOID lpParam) {
  if (FLog.Record(CallText("CreateWindowExW", Hex(dwExStyle), lpClassName, lpWindowName, Hex(dwStyle), X, Y, nWidth,
                           nHeight, hWndParent, hMenu, hInstance, lpParam)))
    return nullptr;
  return SimWindows::CreateWindowExW(dwExStyle, lpClassName, lpWindowName, dwStyle, X, Y, nWidth, nHeight, hWndParent,
                                     hMenu, hInstance, lpParam);
}

BOOL SimUser32::DestroyWindow(HWND hWnd) {
  if (FLog.Record(CallText("DestroyWindow", hWnd))) return FALSE;
  return SimWindows::DestroyWindow(hWnd);
}

LRESULT SimUser32::CallWindowProcW(WNDPROC lpPrevWndFunc, HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
  if (FLog.Record(CallText("CallWindowProcW", ProcArg(lpPrevWndFunc), hWnd, Hex(Msg), Hex(wParam), lParam))) return 0;
  return SimWindows::CallWindowProcW(lpPrevWndFunc, hWnd, Msg, wParam, lParam);
}

LRESULT SimUser32::DefWindowProcW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
  if (FLog.Record(CallText("DefWindowProcW", hWnd, Hex(Msg), Hex(wParam), lParam))) return 0;
  return SimWindows::DefWindowProcW(hWnd, Msg, wParam, lParam);
}

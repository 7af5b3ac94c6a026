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

// Only its address matters: the library reaches the default handling through CallWindowProcW.
LRESULT CALLBACK DefaultProcedure(HWND, UINT, WPARAM, LPARAM) { return 0; }

}  // namespace

SimUser32::SimUser32(CallLog& Log) : FLog(Log) {}

WNDPROC SimUser32::DefWindowProcAddress() { return &DefaultProcedure; }

LRESULT SimUser32::Dispatch(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
  const auto found = FWindows.find(hWnd);
  if (found == FWindows.end()) return 0;
  return found->second(hWnd, Msg, wParam, lParam);
}

bool SimUser32::IsWindow(HWND hWnd) const { return FWindows.count(hWnd) != 0; }

std::size_t SimUser32::WindowCount() const { return FWindows.size(); }

String SimUser32::ClassKey(LPCWSTR lpClassName) const {
  return lpClassName != nullptr ? Folded(lpClassName) : String();
}

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
  if (lpwcx->cbSize != sizeof(WNDCLASSEXW) || lpwcx->lpfnWndProc == nullptr || lpwcx->lpszClassName == nullptr ||
      lpwcx->lpszClassName[0] == 0)
    return 0;
  const String key = Folded(lpwcx->lpszClassName);
  if (FClasses.count(key) != 0) return 0;  // class names are unique regardless of case
  FClasses[key] = lpwcx->lpfnWndProc;
  return FNextAtom++;
}

BOOL SimUser32::UnregisterClassW(LPCWSTR lpClassName, HINSTANCE hInstance) {
  if (FLog.Record(CallText("UnregisterClassW", lpClassName, hInstance))) return FALSE;
  const String key = ClassKey(lpClassName);
  if (key.empty() || FClasses.count(key) == 0) return FALSE;
  // The system refuses while windows of the class still exist.
  for (const auto& info : FWindowInfo)
    if (info.second.Class == key) return FALSE;
  FClasses.erase(key);
  return TRUE;
}

HWND SimUser32::CreateWindowExW(DWORD dwExStyle, LPCWSTR lpClassName, LPCWSTR lpWindowName, DWORD dwStyle, int X, int Y,
                                int nWidth, int nHeight, HWND hWndParent, HMENU hMenu, HINSTANCE hInstance,
                                LPVOID lpParam) {
  if (FLog.Record(CallText("CreateWindowExW", Hex(dwExStyle), lpClassName, lpWindowName, Hex(dwStyle), X, Y, nWidth,
                           nHeight, hWndParent, hMenu, hInstance, lpParam)))
    return nullptr;
  const String key = ClassKey(lpClassName);
  const auto found = FClasses.find(key);
  if (key.empty() || found == FClasses.end()) return nullptr;
  const WNDPROC procedure = found->second;
  HWND const hWnd = reinterpret_cast<HWND>(FNextWindow);
  FNextWindow += 4;
  FWindows[hWnd] = procedure;
  FWindowInfo[hWnd] = WindowInfo{key};

  CREATESTRUCTW create{};
  create.lpCreateParams = lpParam;
  create.hInstance = hInstance;
  create.hMenu = hMenu;
  create.hwndParent = hWndParent;
  create.cy = nHeight;
  create.cx = nWidth;
  create.y = Y;
  create.x = X;
  create.style = static_cast<LONG>(dwStyle);
  create.lpszName = lpWindowName;
  create.lpszClass = lpClassName;
  create.dwExStyle = dwExStyle;
  const LPARAM createParam = reinterpret_cast<LPARAM>(&create);
  if (procedure(hWnd, WM_NCCREATE, 0, createParam) == 0 || procedure(hWnd, WM_CREATE, 0, createParam) == -1) {
    // A refused creation still ends the window's life with WM_NCDESTROY, so
    // state a procedure attached at WM_NCCREATE is let go.
    procedure(hWnd, WM_NCDESTROY, 0, 0);
    FWindows.erase(hWnd);
    FWindowInfo.erase(hWnd);
    return nullptr;
  }
  return hWnd;
}

BOOL SimUser32::DestroyWindow(HWND hWnd) {
  if (FLog.Record(CallText("DestroyWindow", hWnd))) return FALSE;
  const auto found = FWindows.find(hWnd);
  if (found == FWindows.end() || FWindowInfo.at(hWnd).Destroying) return FALSE;
  const WNDPROC procedure = found->second;
  FWindowInfo.at(hWnd).Destroying = true;
  procedure(hWnd, WM_DESTROY, 0, 0);
  procedure(hWnd, WM_NCDESTROY, 0, 0);
  FWindows.erase(hWnd);
  FWindowInfo.erase(hWnd);
  return TRUE;
}

LRESULT SimUser32::CallWindowProcW(WNDPROC lpPrevWndFunc, HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
  if (FLog.Record(CallText("CallWindowProcW", ProcArg(lpPrevWndFunc), hWnd, Hex(Msg), Hex(wParam), lParam))) return 0;
  if (lpPrevWndFunc == nullptr) return 0;
  if (lpPrevWndFunc == DefWindowProcAddress()) return DefWindowProcW(hWnd, Msg, wParam, lParam);
  return lpPrevWndFunc(hWnd, Msg, wParam, lParam);
}

LRESULT SimUser32::DefWindowProcW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
  if (FLog.Record(CallText("DefWindowProcW", hWnd, Hex(Msg), Hex(wParam), lParam))) return 0;
  if (Msg == WM_NCCREATE) return TRUE;
  if (Msg == WM_CREATE) return 0;
  return DefaultResult;
}

#include <algorithm>
#include <cstring>
#include <vector>

#include "sim/SimSystem.h"

namespace {

// Every instance alive, oldest first; the default procedure's address stands for the newest.
std::vector<SimUser32*>& LiveUser32() {
  static std::vector<SimUser32*> live;
  return live;
}

const String ShellClass = WSTR("progman");         // folded
const String ShellTitle = WSTR("program manager");  // folded

String Folded(const WCHAR* text) {
  String out;
  for (; *text != 0; ++text) out.push_back(SimKernel32::Fold(*text));
  return out;
}

bool IsAtom(LPCWSTR name) { return name != nullptr && reinterpret_cast<std::uintptr_t>(name) <= 0xFFFF; }

ATOM AtomOf(LPCWSTR name) { return static_cast<ATOM>(reinterpret_cast<std::uintptr_t>(name)); }

// A class name argument: a quoted name, "#atom" for an integer atom, or null.
std::string ClassArg(LPCWSTR name) {
  return IsAtom(name) ? "#" + std::to_string(AtomOf(name)) : Arg(name);
}

std::string ProcArg(WNDPROC proc) {
  if (proc == nullptr) return "null";
  if (proc == SimUser32::DefWindowProcAddress()) return "DefWindowProcW";
  std::uintptr_t value = 0;
  static_assert(sizeof proc <= sizeof value, "a procedure's address fits a pointer-sized integer");
  std::memcpy(&value, &proc, sizeof proc);
  return Hex(value);
}

LRESULT CALLBACK DefaultProcedure(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
  // Reached only when a caller invokes the address directly instead of
  // through CallWindowProcW; it still lands on the simulator's default handling.
  const std::vector<SimUser32*>& live = LiveUser32();
  return live.empty() ? 0 : live.back()->DefWindowProcW(hWnd, Msg, wParam, lParam);
}

}  // namespace

SimUser32::SimUser32(CallLog& Log) : FLog(Log) { LiveUser32().push_back(this); }

SimUser32::~SimUser32() {
  std::vector<SimUser32*>& live = LiveUser32();
  live.erase(std::remove(live.begin(), live.end(), this), live.end());
}

WNDPROC SimUser32::DefWindowProcAddress() { return &DefaultProcedure; }

LRESULT SimUser32::Dispatch(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
  const auto found = FWindows.find(hWnd);
  if (found == FWindows.end()) return 0;
  return found->second(hWnd, Msg, wParam, lParam);
}

bool SimUser32::IsWindow(HWND hWnd) const { return FWindows.count(hWnd) != 0; }

std::size_t SimUser32::WindowCount() const { return FWindows.size(); }

String SimUser32::ClassKey(LPCWSTR lpClassName) const {
  if (lpClassName == nullptr) return String();
  if (!IsAtom(lpClassName)) return Folded(lpClassName);
  for (const auto& entry : FClassAtoms)
    if (entry.second == AtomOf(lpClassName)) return entry.first;
  return String();
}

HWND SimUser32::FindWindowW(LPCWSTR lpClassName, LPCWSTR lpWindowName) {
  if (FLog.Record(CallText("FindWindowW", ClassArg(lpClassName), lpWindowName))) return nullptr;
  const String key = ClassKey(lpClassName);
  if (lpClassName != nullptr && key.empty()) return nullptr;
  const String title = lpWindowName != nullptr ? Folded(lpWindowName) : String();
  if (ShellWindow != nullptr && (lpClassName == nullptr || key == ShellClass) &&
      (lpWindowName == nullptr || title == ShellTitle))
    return ShellWindow;
  for (const auto& window : FWindows) {
    const WindowInfo& info = FWindowInfo.at(window.first);
    if ((lpClassName == nullptr || key == info.Class) && (lpWindowName == nullptr || title == info.Title))
      return window.first;
  }
  return nullptr;
}

BOOL SimUser32::PostMessageW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
  if (FLog.Record(CallText("PostMessageW", hWnd, Hex(Msg), Hex(wParam), lParam))) return FALSE;
  // A null window posts to the thread's own queue, and 0xFFFF broadcasts; both succeed.
  const bool known = hWnd == nullptr || hWnd == ShellWindow || IsWindow(hWnd) ||
                     reinterpret_cast<std::uintptr_t>(hWnd) == 0xFFFF;
  if (!known) return FALSE;
  PostedMessages.push_back({hWnd, Msg, wParam, lParam});
  return TRUE;
}

BOOL SimUser32::LockWorkStation() {
  if (FLog.Record(CallText("LockWorkStation"))) return FALSE;
  return LockResult;
}

BOOL SimUser32::ExitWindowsEx(UINT uFlags, DWORD dwReason) {
  if (FLog.Record(CallText("ExitWindowsEx", Hex(uFlags), dwReason))) return FALSE;
  return ExitResult;
}

ATOM SimUser32::RegisterClassExW(const WNDCLASSEXW* lpwcx) {
  if (lpwcx == nullptr) {
    FLog.Record(CallText("RegisterClassExW", "null"));
    return 0;
  }
  if (FLog.Record(CallText("RegisterClassExW", lpwcx->cbSize, ClassArg(lpwcx->lpszClassName)))) return 0;
  if (lpwcx->cbSize != sizeof(WNDCLASSEXW) || lpwcx->lpfnWndProc == nullptr || lpwcx->lpszClassName == nullptr ||
      IsAtom(lpwcx->lpszClassName) || lpwcx->lpszClassName[0] == 0)
    return 0;
  const String key = Folded(lpwcx->lpszClassName);
  if (FClasses.count(key) != 0) return 0;  // class names are unique regardless of case
  FClasses[key] = lpwcx->lpfnWndProc;
  const ATOM atom = FNextAtom++;
  FClassAtoms[key] = atom;
  return atom;
}

BOOL SimUser32::UnregisterClassW(LPCWSTR lpClassName, HINSTANCE hInstance) {
  if (FLog.Record(CallText("UnregisterClassW", ClassArg(lpClassName), hInstance))) return FALSE;
  const String key = ClassKey(lpClassName);
  if (key.empty() || FClasses.count(key) == 0) return FALSE;
  // The system refuses while windows of the class still exist.
  for (const auto& info : FWindowInfo)
    if (info.second.Class == key) return FALSE;
  FClasses.erase(key);
  FClassAtoms.erase(key);
  return TRUE;
}

HWND SimUser32::CreateWindowExW(DWORD dwExStyle, LPCWSTR lpClassName, LPCWSTR lpWindowName, DWORD dwStyle, int X,
                                int Y, int nWidth, int nHeight, HWND hWndParent, HMENU hMenu, HINSTANCE hInstance,
                                LPVOID lpParam) {
  if (FLog.Record(CallText("CreateWindowExW", Hex(dwExStyle), ClassArg(lpClassName), lpWindowName, Hex(dwStyle), X,
                           Y, nWidth, nHeight, hWndParent, hMenu, hInstance, lpParam)))
    return nullptr;
  const String key = ClassKey(lpClassName);
  const auto found = FClasses.find(key);
  if (key.empty() || found == FClasses.end()) return nullptr;
  const WNDPROC procedure = found->second;
  HWND const hWnd = reinterpret_cast<HWND>(FNextWindow);
  FNextWindow += 4;
  FWindows[hWnd] = procedure;
  FWindowInfo[hWnd] = WindowInfo{key, lpWindowName != nullptr ? Folded(lpWindowName) : String()};

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
  if (FLog.Record(CallText("CallWindowProcW", ProcArg(lpPrevWndFunc), hWnd, Hex(Msg), Hex(wParam), lParam)))
    return 0;
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

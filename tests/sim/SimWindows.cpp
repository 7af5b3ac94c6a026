#include "sim/SimWindows.h"

namespace {

// A class is given by name; values up to 0xFFFF would be atoms.
bool IsName(LPCWSTR Name) { return reinterpret_cast<std::uintptr_t>(Name) > 0xFFFF; }

// Only its address matters: the library reaches the default handling through CallWindowProcW.
LRESULT CALLBACK DefaultProcedure(HWND, UINT, WPARAM, LPARAM) { return 0; }

}  // namespace

SimWindows::SimWindows(std::uintptr_t FirstWindow, std::uintptr_t WindowStep)
    : FNextWindow(FirstWindow), FWindowStep(WindowStep) {}

WNDPROC SimWindows::DefWindowProcAddress() { return &DefaultProcedure; }

LRESULT SimWindows::Dispatch(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
  const WNDPROC procedure = ProcedureOf(hWnd);
  return procedure != nullptr ? Deliver(procedure, hWnd, Msg, wParam, lParam) : 0;
}

bool SimWindows::IsWindow(HWND hWnd) const { return FWindows.count(hWnd) != 0; }

std::vector<HWND> SimWindows::Windows() const {
  std::vector<HWND> out;
  for (const auto& w : FWindows) out.push_back(w.first);
  return out;
}

LRESULT SimWindows::Deliver(WNDPROC Procedure, HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
  return Procedure(hWnd, Msg, wParam, lParam);
}

HWND SimWindows::AddWindow(WNDPROC Procedure, const String& Class) {
  const HWND hWnd = reinterpret_cast<HWND>(FNextWindow);
  FNextWindow += FWindowStep;
  FWindows[hWnd] = TWindow{Procedure, Class};
  return hWnd;
}

WNDPROC SimWindows::ProcedureOf(HWND hWnd) const {
  const auto found = FWindows.find(hWnd);
  return found != FWindows.end() ? found->second.Procedure : nullptr;
}

ATOM SimWindows::RegisterClassExW(const WNDCLASSEXW* lpwcx) {
  if (lpwcx == nullptr || lpwcx->cbSize != sizeof(WNDCLASSEXW) || lpwcx->lpfnWndProc == nullptr ||
      !IsName(lpwcx->lpszClassName)) {
    Malformed("RegisterClassExW with an incomplete class");
    return 0;
  }
  if (Refuses(Refusal::ClassRegistration)) return 0;
  const String key = ClassKey(lpwcx->lpszClassName);
  if (key.empty() || FClasses.count(key) != 0) return 0;
  FClasses[key] = lpwcx->lpfnWndProc;
  return FNextAtom++;
}

BOOL SimWindows::UnregisterClassW(LPCWSTR lpClassName, HINSTANCE) {
  if (!IsName(lpClassName)) {
    Malformed("UnregisterClassW without a class name");
    return FALSE;
  }
  const String key = ClassKey(lpClassName);
  if (key.empty() || FClasses.count(key) == 0) return FALSE;
  // The system refuses while windows of the class still exist.
  for (const auto& w : FWindows)
    if (w.second.Class == key) return FALSE;
  FClasses.erase(key);
  return TRUE;
}

HWND SimWindows::CreateWindowExW(DWORD dwExStyle, LPCWSTR lpClassName, LPCWSTR lpWindowName, DWORD dwStyle, int X,
                                 int Y, int nWidth, int nHeight, HWND hWndParent, HMENU hMenu, HINSTANCE hInstance,
                                 LPVOID lpParam) {
  if (!IsName(lpClassName)) {
    Malformed("CreateWindowExW without a class name");
    return nullptr;
  }
  const String key = ClassKey(lpClassName);
  const auto found = FClasses.find(key);
  if (key.empty() || found == FClasses.end()) return nullptr;
  if (Refuses(Refusal::WindowCreation)) return nullptr;
  const WNDPROC procedure = found->second;
  const HWND hWnd = AddWindow(procedure, key);

  // In the fields' declared order, from lpCreateParams to dwExStyle.
  const LONG style = static_cast<LONG>(dwStyle);
  CREATESTRUCTW create{lpParam, hInstance, hMenu, hWndParent,   nHeight,     nWidth,
                       Y,       X,         style, lpWindowName, lpClassName, dwExStyle};
  const LPARAM createParam = reinterpret_cast<LPARAM>(&create);
  if (Deliver(procedure, hWnd, WM_NCCREATE, 0, createParam) != 0) {
    if (Deliver(procedure, hWnd, WM_CREATE, 0, createParam) != -1) return hWnd;
    if (DestroyRefusedCreation) Deliver(procedure, hWnd, WM_DESTROY, 0, 0);
  }
  // A refused creation still ends the window's life with WM_NCDESTROY, so
  // state a procedure attached at WM_NCCREATE is let go.
  Deliver(procedure, hWnd, WM_NCDESTROY, 0, 0);
  FWindows.erase(hWnd);
  return nullptr;
}

BOOL SimWindows::DestroyWindow(HWND hWnd) {
  const auto found = FWindows.find(hWnd);
  if (found == FWindows.end() || found->second.Destroying) return FALSE;
  if (Refuses(Refusal::WindowDestruction)) return FALSE;
  found->second.Destroying = true;
  const WNDPROC procedure = found->second.Procedure;
  if (procedure != nullptr) {
    Deliver(procedure, hWnd, WM_DESTROY, 0, 0);
    Deliver(procedure, hWnd, WM_NCDESTROY, 0, 0);
  }
  FWindows.erase(hWnd);
  return TRUE;
}

LRESULT SimWindows::CallWindowProcW(WNDPROC lpPrevWndFunc, HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
  if (lpPrevWndFunc == nullptr) return 0;
  if (lpPrevWndFunc == DefWindowProcAddress()) return DefWindowProcW(hWnd, Msg, wParam, lParam);
  return lpPrevWndFunc(hWnd, Msg, wParam, lParam);
}

LRESULT SimWindows::DefWindowProcW(HWND, UINT Msg, WPARAM, LPARAM) {
  if (Msg == WM_NCCREATE) return TRUE;
  if (Msg == WM_CREATE) return Refuses(Refusal::DefaultCreate) ? -1 : 0;
  return DefaultResult;
}

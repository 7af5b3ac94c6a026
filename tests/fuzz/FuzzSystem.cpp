#include "fuzz/FuzzSystem.h"

#include <exception>
#include <memory>
#include <optional>

#include "fuzz/FuzzCheck.h"
#include "sim/SimHeap.h"

namespace {

TFuzzUser32* Current = nullptr;

LRESULT CALLBACK DefaultProcedure(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
  // Reached only when called directly instead of through CallWindowProcW.
  return Current != nullptr ? Current->DefWindowProcW(hWnd, Msg, wParam, lParam) : 0;
}

bool IsAtom(LPCWSTR Name) { return reinterpret_cast<std::uintptr_t>(Name) <= 0xFFFF; }

std::string MessageName(UINT Msg) {
  switch (Msg) {
    case WM_NCCREATE:
      return "WM_NCCREATE";
    case WM_CREATE:
      return "WM_CREATE";
    case WM_DESTROY:
      return "WM_DESTROY";
    case WM_NCDESTROY:
      return "WM_NCDESTROY";
    case MM_MIXM_LINE_CHANGE:
      return "MM_MIXM_LINE_CHANGE";
    case MM_MIXM_CONTROL_CHANGE:
      return "MM_MIXM_CONTROL_CHANGE";
    default:
      return "message " + std::to_string(Msg);
  }
}

}  // namespace

TFuzzUser32::TFuzzUser32(TFuzzStream& Answers) : FAnswers(Answers) { Current = this; }

TFuzzUser32::~TFuzzUser32() {
  if (Current == this) Current = nullptr;
}

WNDPROC TFuzzUser32::DefWindowProcAddress() { return &DefaultProcedure; }

LRESULT TFuzzUser32::Deliver(WNDPROC Procedure, HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
  // From 0xE0 memory runs out while the procedure has the message, after as
  // many allocations as the low four bits say.
  const std::uint8_t b = FAnswers.Byte();
  try {
    std::optional<SimHeap::Shortage> shortage;
    if (b >= 0xE0) shortage.emplace(b & 15);
    return Procedure(hWnd, Msg, wParam, lParam);
  } catch (const std::exception& e) {
    Finding("an exception (" + std::string(e.what()) + ") left the window procedure on " + MessageName(Msg));
  } catch (...) {
    Finding("an exception left the window procedure on " + MessageName(Msg));
  }
}

LRESULT TFuzzUser32::Dispatch(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
  const auto found = FWindows.find(hWnd);
  if (found == FWindows.end() || found->second.Procedure == nullptr) return 0;
  return Deliver(found->second.Procedure, hWnd, Msg, wParam, lParam);
}

HWND TFuzzUser32::NewClientWindow() {
  const HWND window = reinterpret_cast<HWND>(FNextWindow);
  FNextWindow += 16;
  FWindows[window] = TWindow{nullptr, String()};
  return window;
}

std::vector<HWND> TFuzzUser32::Windows() const {
  std::vector<HWND> out;
  for (const auto& w : FWindows) out.push_back(w.first);
  return out;
}

std::size_t TFuzzUser32::LibraryWindowCount() const {
  std::size_t n = 0;
  for (const auto& w : FWindows)
    if (w.second.Procedure != nullptr) ++n;
  return n;
}

ATOM TFuzzUser32::RegisterClassExW(const WNDCLASSEXW* lpwcx) {
  Check(lpwcx != nullptr && lpwcx->cbSize == sizeof(WNDCLASSEXW) && lpwcx->lpfnWndProc != nullptr &&
            lpwcx->lpszClassName != nullptr && !IsAtom(lpwcx->lpszClassName),
        "RegisterClassExW with an incomplete class");
  if (FAnswers.Byte() >= 0xF0) return 0;
  const String name = lpwcx->lpszClassName;
  if (name.empty() || FClasses.count(name) != 0) return 0;
  FClasses[name] = lpwcx->lpfnWndProc;
  return FNextAtom++;
}

BOOL TFuzzUser32::UnregisterClassW(LPCWSTR lpClassName, HINSTANCE) {
  Check(lpClassName != nullptr && !IsAtom(lpClassName), "UnregisterClassW without a class name");
  const String name = lpClassName;
  if (FClasses.count(name) == 0) return FALSE;
  // The system refuses while windows of the class exist.
  for (const auto& w : FWindows)
    if (w.second.Class == name) return FALSE;
  FClasses.erase(name);
  return TRUE;
}

HWND TFuzzUser32::CreateWindowExW(DWORD dwExStyle, LPCWSTR lpClassName, LPCWSTR lpWindowName, DWORD dwStyle, int X,
                                  int Y, int nWidth, int nHeight, HWND hWndParent, HMENU hMenu, HINSTANCE hInstance,
                                  LPVOID lpParam) {
  Check(lpClassName != nullptr && !IsAtom(lpClassName), "CreateWindowExW without a class name");
  const auto found = FClasses.find(String(lpClassName));
  if (found == FClasses.end()) return nullptr;
  if (FAnswers.Byte() >= 0xF0) return nullptr;
  const WNDPROC procedure = found->second;
  const HWND window = reinterpret_cast<HWND>(FNextWindow);
  FNextWindow += 16;
  FWindows[window] = TWindow{procedure, found->first};

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
  const LPARAM param = reinterpret_cast<LPARAM>(&create);
  if (Deliver(procedure, window, WM_NCCREATE, 0, param) == 0) {
    Deliver(procedure, window, WM_NCDESTROY, 0, 0);
    FWindows.erase(window);
    return nullptr;
  }
  if (Deliver(procedure, window, WM_CREATE, 0, param) == -1) {
    Deliver(procedure, window, WM_DESTROY, 0, 0);
    Deliver(procedure, window, WM_NCDESTROY, 0, 0);
    FWindows.erase(window);
    return nullptr;
  }
  return window;
}

BOOL TFuzzUser32::DestroyWindow(HWND hWnd) {
  const auto found = FWindows.find(hWnd);
  if (found == FWindows.end()) return FALSE;
  // Now and then the window refuses to go and stays.
  if (FAnswers.Byte() >= 0xF8) return FALSE;
  const WNDPROC procedure = found->second.Procedure;
  if (procedure != nullptr) {
    Deliver(procedure, hWnd, WM_DESTROY, 0, 0);
    Deliver(procedure, hWnd, WM_NCDESTROY, 0, 0);
  }
  FWindows.erase(hWnd);
  return TRUE;
}

LRESULT TFuzzUser32::CallWindowProcW(WNDPROC lpPrevWndFunc, HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
  if (lpPrevWndFunc == nullptr) return 0;
  if (lpPrevWndFunc == DefWindowProcAddress()) return DefWindowProcW(hWnd, Msg, wParam, lParam);
  return lpPrevWndFunc(hWnd, Msg, wParam, lParam);
}

LRESULT TFuzzUser32::DefWindowProcW(HWND, UINT Msg, WPARAM, LPARAM) {
  if (Msg == WM_NCCREATE) return TRUE;
  if (Msg == WM_CREATE) return FAnswers.Byte() >= 0xF8 ? -1 : 0;
  return 0;
}

int TFuzzKernel32::CompareStringW(LCID, DWORD dwCmpFlags, LPCWSTR lpString1, int cchCount1, LPCWSTR lpString2,
                                  int cchCount2) {
  Check(cchCount1 >= 0 && cchCount2 >= 0, "CompareStringW with an uncounted string");
  Check((cchCount1 == 0 || lpString1 != nullptr) && (cchCount2 == 0 || lpString2 != nullptr),
        "CompareStringW with a null string");
  const auto fold = [dwCmpFlags](WCHAR c) {
    if ((dwCmpFlags & NORM_IGNORECASE) != 0 && c >= WCHAR('A') && c <= WCHAR('Z')) return WCHAR(c - 'A' + 'a');
    return c;
  };
  for (int i = 0; i < cchCount1 && i < cchCount2; ++i) {
    const WCHAR a = fold(lpString1[i]);
    const WCHAR b = fold(lpString2[i]);
    if (a != b) return a < b ? CSTR_LESS_THAN : CSTR_GREATER_THAN;
  }
  if (cchCount1 == cchCount2) return CSTR_EQUAL;
  return cchCount1 < cchCount2 ? CSTR_LESS_THAN : CSTR_GREATER_THAN;
}

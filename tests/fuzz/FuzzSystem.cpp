#include "fuzz/FuzzSystem.h"

#include <exception>
#include <optional>

#include "fuzz/FuzzCheck.h"
#include "sim/SimHeap.h"

namespace {

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

TFuzzUser32::TFuzzUser32(TFuzzStream& Answers) : SimWindows(0x7000, 16), FAnswers(Answers) {
  DestroyRefusedCreation = true;
}

bool TFuzzUser32::Refuses(Refusal At) {
  // Registration and creation fail from 0xF0; the default handling refuses
  // WM_CREATE, and now and then a window refuses to go and stays, from 0xF8.
  const bool rarer = At == Refusal::DefaultCreate || At == Refusal::WindowDestruction;
  return FAnswers.Byte() >= (rarer ? 0xF8 : 0xF0);
}

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

HWND TFuzzUser32::NewClientWindow() { return AddWindow(nullptr, String()); }

std::size_t TFuzzUser32::LibraryWindowCount() const {
  std::size_t n = 0;
  for (HWND window : Windows())
    if (ProcedureOf(window) != nullptr) ++n;
  return n;
}

void TFuzzUser32::Malformed(const char* What) { Finding(What); }

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

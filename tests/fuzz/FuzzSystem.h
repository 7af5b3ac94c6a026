// The window and kernel functions the mixer library needs besides the
// driver, as small stand-ins for the fuzz target. The library's seams hold
// nothing else, so it cannot reach any other function of the system's.
//
// The window functions are SimWindows', answering from the windows stream:
// class registration, window creation and destruction can fail, WM_CREATE can
// refuse, and memory can run out while a message is in the window procedure.
// A window whose WM_CREATE refuses gets WM_DESTROY too. Every message the
// system would send goes through Deliver, where nothing may escape: on
// Windows an exception that unwinds through the system's own frames ends the
// process.
#pragma once

#include <cstddef>

#include "fuzz/FuzzInput.h"
#include "platform/MixerKernel32.h"
#include "sim/SimWindows.h"

class TFuzzUser32 : public SimWindows {
 public:
  explicit TFuzzUser32(TFuzzStream& Answers);

  /// A window of the client's own, without a procedure, to be named as CallbackWindow.
  HWND NewClientWindow();
  /// The windows that have a procedure, which only the library makes.
  std::size_t LibraryWindowCount() const;

 protected:
  bool Refuses(Refusal At) override;
  /// Calls Procedure with the message; an exception leaving it is a finding.
  LRESULT Deliver(WNDPROC Procedure, HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) override;
  /// A malformed call is a finding.
  void Malformed(const char* What) override;

 private:
  TFuzzStream& FAnswers;
};

class TFuzzKernel32 : public IMixerKernel32 {
 public:
  /// Ordinal comparison, ASCII letters folded with NORM_IGNORECASE; reads exactly the counted units.
  int CompareStringW(LCID Locale, DWORD dwCmpFlags, LPCWSTR lpString1, int cchCount1, LPCWSTR lpString2,
                     int cchCount2) override;
};
